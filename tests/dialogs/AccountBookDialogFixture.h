#pragma once
// What the account-book dialog tests share: the compiled-in bank list, its combo items, the keypad
// typed as a person types it, and ink counted in a part of a rendered window.
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "AccountBookEntryDialog.h"
#include "appkit/Clock.h"
#include "appkit/Controls.h"
#include "appkit/ScriptedUser.h"
#include "appkit/Window.h"
#include "crypto/ParseEncParam.h"
#include "crypto/Setting.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "graphics/Graphics.h"

namespace bookdialogs {

// The combo item of a bank of the compiled-in list ("" when the code is not in it).
inline std::string bankItem(const std::string& code) {
  std::vector<std::string> banks;
  CParseEncParam().SplitString_1(BankIDtxtList, '#', banks);
  for (const std::string& bank : banks)
    if (bank.compare(0, 3, code) == 0) return bank + std::string(AccountBookEntryDialog::kItemPadding, ' ');
  return std::string();
}

// What an entry display of the window shows.
inline std::string displayOf(appkit::Window& window, const std::string& outlet) {
  auto* shown = dynamic_cast<appkit::Button*>(window.viewWithIdentifier(outlet));
  return shown ? shown->displayedText() : "(no display " + outlet + ")";
}

inline std::string placeholderItem() {
  return std::string(AccountBookEntryDialog::kBankPlaceholder) + std::string(AccountBookEntryDialog::kItemPadding, ' ');
}

// Empties a text field the way a person does: focus, then delete each character.
inline void eraseField(appkit::ScriptedUser& user, const std::string& outlet, int characters) {
  user.focus(outlet);
  for (int i = 0; i < characters; ++i) user.pressKey(appkit::KeyEvent::backspace());
}

// Pixels much darker than the light background inside a part of the window's content (the picture
// has the title bar above it): drawn text.
inline int inkIn(appkit::Window& window, const appkit::Rect& part) {
  std::shared_ptr<graphics::Image> image = window.renderImage();
  int count = 0;
  const int top = static_cast<int>(part.origin.y + appkit::Window::kTitleBarHeight);
  for (int y = top; y < top + static_cast<int>(part.size.height); ++y)
    for (int x = static_cast<int>(part.origin.x); x < static_cast<int>(part.origin.x + part.size.width); ++x) {
      const std::uint32_t p = image->pixelAt(x, y);
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 250) ++count;
    }
  return count;
}

inline std::string picture(const std::string& name) {
  ::mkdir(RVP_PICTURE_DIR, 0755);
  return std::string(RVP_PICTURE_DIR) + "/" + name;
}

const char* const kAddQuestion = "是否確定新增此筆常用轉入帳號資料";
const char* const kModifyQuestion = "是否確定修改此筆常用轉入帳號資料";

}  // namespace bookdialogs
