#pragma once
// The controller's answer to a bank challenge, opened with the bank-side tool.
#include <gtest/gtest.h>

#include <string>

#include "tools/banktool/banktool.h"

// The answer opens with the challenge's clear text to the 86-byte layout: MAC, component token, client
// flag and install path.
inline void expectChallengeAnswer(const std::string& answer, const std::string& clear) {
  banktool::ChallengeAnswer opened = banktool::decodeChallengeAnswer(answer, clear);
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_EQ(opened.clear.size(), 86u);
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.token, "Hk4nZp7Q");
  EXPECT_EQ(opened.clientFlag, "T");
  EXPECT_EQ(opened.installPath, "/Library/Internet Plug-Ins/npDUZIVUREZORO.plugin");
}
