#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "appkit/Application.h"
#include "appkit/ScriptedUser.h"

// A clean toolkit (clock at 0, no timers, no defaults) and a scripted user whose failures fail the test.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appkit::app().resetForTesting();
    user = std::make_unique<appkit::ScriptedUser>([](const std::string& message) { ADD_FAILURE() << message; });
  }
  void TearDown() override {
    EXPECT_TRUE(user->finished()) << user->pendingSteps() << " script steps were never taken";
    user.reset();
    appkit::app().resetForTesting();
  }

  std::unique_ptr<appkit::ScriptedUser> user;
};
