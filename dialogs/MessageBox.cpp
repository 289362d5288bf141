#include "MessageBox.h"

#include <optional>

#include "appkit/Alert.h"

namespace {
const char* const kConfirm = "確定";
const char* const kCancel = "取消";
}  // namespace

// The texts are shown as they stand: a "%" in a message (a card's or the page's text) is never read as
// a formatting directive.
int MessageBox(const std::string& text, const std::string& title, int type) {
  auto alert = appkit::Alert::alertWithMessageText(
      title, std::string(kConfirm), type == 3 ? std::optional<std::string>(kCancel) : std::nullopt, std::nullopt, text);
  if (type == 1) alert->setAlertStyle(appkit::AlertStyle::Informational);
  if (type == 2) alert->setAlertStyle(appkit::AlertStyle::Critical);
  return alert->runModal() == appkit::kAlertDefaultReturn ? 6 : 7;
}

int MessageBox(const char* text, const char* title, int type) {
  return MessageBox(std::string(text ? text : ""), std::string(title ? title : ""), type);
}
