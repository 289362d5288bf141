#pragma once
// A clean toolkit (clock at 0, no timers, no defaults) and a scripted user whose failures fail the test.
#include <gtest/gtest.h>

#include <memory>

#include "appkit/Application.h"
#include "appkit/ScriptedUser.h"

template <class Base = ::testing::Test>
class WithScriptedUser : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    appkit::app().resetForTesting();
    user = std::make_unique<appkit::ScriptedUser>([](const std::string& message) { ADD_FAILURE() << message; });
  }
  void TearDown() override {
    EXPECT_TRUE(user->finished()) << user->pendingSteps() << " script steps were never taken";
    user.reset();
    appkit::app().resetForTesting();
    Base::TearDown();
  }

  std::unique_ptr<appkit::ScriptedUser> user;
};
