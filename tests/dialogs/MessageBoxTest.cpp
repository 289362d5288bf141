#include <optional>
#include <string>
#include <vector>

#include "dialogfixture/ScriptedUserFixture.h"
#include "MessageBox.h"

namespace {

class MessageBoxTest : public WithScriptedUser<> {};

TEST_F(MessageBoxTest, ReturnsSixForTheFirstButtonAndSevenOtherwise) {
  struct Case {
    int type;
    int button;
    appkit::AlertStyle style;
    std::vector<std::string> buttons;
    int expected;
  };
  const std::vector<std::string> one{"確定"};
  const std::vector<std::string> two{"確定", "取消"};
  const Case cases[] = {
      {1, 1, appkit::AlertStyle::Informational, one, 6}, {2, 1, appkit::AlertStyle::Critical, one, 6},
      {3, 1, appkit::AlertStyle::Warning, two, 6},       {3, 2, appkit::AlertStyle::Warning, two, 7},
      {0, 1, appkit::AlertStyle::Warning, one, 6},       {7, 1, appkit::AlertStyle::Warning, one, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + ", button " + std::to_string(c.button));
    user->expectAlert("請插入晶片卡", "轉帳交易", c.style, c.buttons).answerAlert(c.button);
    EXPECT_EQ(c.expected, MessageBox("請插入晶片卡", "轉帳交易", c.type));
    EXPECT_TRUE(user->finished());
  }
}

TEST_F(MessageBoxTest, TextsAreShownAsTheyAre) {
  // Percent signs and line breaks are text, not formatting; a missing text is an empty one.
  user->expectAlert("100% 完成\n%s%n", "").answerAlert(1).expectAlert("", "標題").answerAlert(1);
  EXPECT_EQ(6, MessageBox(std::string("100% 完成\n%s%n"), std::string(), 1));
  EXPECT_EQ(6, MessageBox(nullptr, "標題", 1));
}

TEST_F(MessageBoxTest, AnAlertNobodyAnswersIsEndedByTheWatchdog) {
  std::vector<std::string> failures;
  appkit::ScriptedUser silent([&](const std::string& m) { failures.push_back(m); });
  EXPECT_EQ(7, MessageBox("無人回應", "", 3));
  ASSERT_EQ(1u, failures.size());
  EXPECT_NE(std::string::npos, failures[0].find("script ran out")) << failures[0];
  EXPECT_EQ(0u, appkit::app().modalDepth());
}

}  // namespace
