#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "DialogFrame.h"
#include "dialogfixture/ScriptedUserFixture.h"
#include "MessageBox.h"
#include "SampleDialog.h"
#include "appkit/Layout.h"
#include "appkit/Window.h"
#include "graphics/Graphics.h"

namespace {

class RenderTest : public WithScriptedUser<> {
 protected:
  static std::string picture(const std::string& name) {
    ::mkdir(RVP_PICTURE_DIR, 0755);
    return std::string(RVP_PICTURE_DIR) + "/" + name;
  }
  static long fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
  }
};

// Counts pixels of the image that are much darker than the light window background: drawn text.
int darkPixels(const graphics::Image& image) {
  int count = 0;
  for (int y = 0; y < static_cast<int>(image.size().height); ++y) {
    for (int x = 0; x < static_cast<int>(image.size().width); ++x) {
      std::uint32_t p = image.pixelAt(x, y);
      int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r + g + b < 200) ++count;
    }
  }
  return count;
}

TEST_F(RenderTest, TheSampleDialogAndTheMessageBoxRenderToPng) {
  const std::string dialogPng = picture("SampleDialog.png");
  const std::string alertPng = picture("MessageBox.png");
  const std::string criticalPng = picture("MessageBoxCritical.png");
  user->wait(5)
      .chooseItem("cmbBankList", "700 中華郵政")
      .selectRow("tblRows", 0)
      .savePng(dialogPng)
      .click("btnAsk")
      .savePng(alertPng)
      .saveScreenPng(picture("Screen.png"))
      .answerAlert(2);  // declining the question cancels the dialog
  SampleDialog dialog;
  dialog.initWithWindowNibName("SampleDialog");
  appkit::app().runModalForWindow(dialog.window());
  EXPECT_GT(fileSize(dialogPng), 2000);
  EXPECT_GT(fileSize(alertPng), 2000);
  EXPECT_GT(fileSize(picture("Screen.png")), 10000);

  user->savePng(criticalPng).answerAlert(1);
  MessageBox("元件參數錯誤，請確認元件版本是否正確", "", 2);
  EXPECT_GT(fileSize(criticalPng), 2000);

  // A text of two lines, as the keyboard refusal has.
  const std::string twoLinesPng = picture("MessageBoxTwoLines.png");
  user->savePng(twoLinesPng).answerAlert(1);
  MessageBox(DialogFrame::kKeyboardRefusal, "", 1);
  EXPECT_GT(fileSize(twoLinesPng), 2000);
}

TEST_F(RenderTest, ChineseCaptionsDrawGlyphs) {
  // The same caption as text and as nothing: the text must leave real ink behind.
  graphics::Image withText(graphics::Size{200, 40});
  withText.lockFocus();
  graphics::Color::whiteColor().set();
  graphics::rectFill(graphics::Rect::make(0, 0, 200, 40));
  graphics::drawString("晶片金融卡", graphics::Point{4, 4}, graphics::Font::named("Helvetica", 24));
  withText.unlockFocus();
  EXPECT_GT(darkPixels(withText), 150);
}

}  // namespace

namespace {

// Every dialog of the library, drawn from its layout alone, so a person can look at each one; and
// every layout checked for items that no dialog could use.
TEST_F(RenderTest, EveryRegisteredLayoutIsSoundAndRenders) {
  const std::vector<std::string> names = appkit::registeredLayoutNames();
  EXPECT_FALSE(names.empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const appkit::Layout* layout = appkit::findLayout(name);
    ASSERT_NE(nullptr, layout);
    EXPECT_EQ(std::vector<std::string>{}, appkit::layoutProblems(*layout));
    auto window = appkit::Window::fromLayout(name);
    ASSERT_NE(nullptr, window);
    const std::string path = picture("layout-" + name + ".png");
    EXPECT_TRUE(window->renderToPng(path));
    EXPECT_GT(fileSize(path), 1000);
  }
}

}  // namespace
