#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "appkit/AppKit.h"

// A clean toolkit for every test.
class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override { appkit::app().resetForTesting(); }
  void TearDown() override { appkit::app().resetForTesting(); }

  static std::unique_ptr<appkit::ScriptedUser> strictUser() {
    return std::make_unique<appkit::ScriptedUser>([](const std::string& m) { ADD_FAILURE() << m; });
  }
  static std::unique_ptr<appkit::Window> plainWindow(const std::string& name) {
    return std::make_unique<appkit::Window>(name, name, appkit::Size{200, 100});
  }
};
