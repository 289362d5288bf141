#include "ToolkitFixture.h"

namespace {

using appkit::Alert;

class AlertTest : public ToolkitTest {};

TEST_F(AlertTest, EachButtonEndsTheAlertWithItsOwnReturn) {
  const long expected[] = {appkit::kAlertDefaultReturn, appkit::kAlertAlternateReturn, appkit::kAlertOtherReturn};
  for (int button = 1; button <= 3; ++button) {
    auto user = strictUser();
    user->expectAlert("info", "message", appkit::AlertStyle::Critical, std::vector<std::string>{"Yes", "No", "Later"})
        .answerAlert(button);
    auto alert =
        Alert::alertWithMessageText("message", std::string("Yes"), std::string("No"), std::string("Later"), "info");
    alert->setAlertStyle(appkit::AlertStyle::Critical);
    EXPECT_EQ(expected[button - 1], alert->runModal());
    EXPECT_FALSE(alert->window()->isVisible());
    EXPECT_TRUE(user->finished());
  }
}

TEST_F(AlertTest, AnAlertCutShortByTheSessionBeneathReportsNoButton) {
  auto owner = plainWindow("Owner");
  long result = 0;
  auto user = strictUser();
  user->run([&] {
        auto alert = Alert::alertWithMessageText("m", std::nullopt, std::nullopt, std::nullopt, "i");
        result = alert->runModal();
      })
      .expectAlert("i", "m", appkit::AlertStyle::Warning, std::vector<std::string>{"OK"})
      .run([&] { appkit::app().stopModal(owner.get()); });
  appkit::app().runModalForWindow(owner.get());
  EXPECT_EQ(appkit::kAlertErrorReturn, result);
}

TEST_F(AlertTest, AlertWindowsAreFoundAsAlertsAndOthersAreNot) {
  auto alert = Alert::alertWithMessageText("m", std::nullopt, std::nullopt, std::nullopt, "i");
  EXPECT_EQ(alert.get(), Alert::forWindow(alert->window()));
  auto other = plainWindow("Other");
  EXPECT_EQ(nullptr, Alert::forWindow(other.get()));
  EXPECT_EQ(nullptr, Alert::forWindow(nullptr));
}

}  // namespace
