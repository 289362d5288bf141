#include <string>
#include <vector>

#include "ToolkitFixture.h"

namespace {

using namespace appkit::layout;

appkit::Layout windowWith(std::vector<appkit::LayoutItem> items, appkit::Size size = {300, 200}) {
  return appkit::Layout{"Checked", "Checked", size, std::move(items), ""};
}

TEST(LayoutProblems, ASoundLayoutHasNone) {
  // Neighbours that only touch, a caption over a picture, and a hidden control in a shown one's place.
  auto layout = windowWith({
      imageView("picture", rect(0, 0, 300, 100)),
      label("caption", rect(10, 10, 100, 20), "標題"),
      button("btnOK", rect(10, 150, 100, 30), "確定", "btnOK:"),
      button("btnCancel", rect(110, 150, 100, 30), "取消", "btnCancel:"),
      textField("edtLater", rect(10, 150, 100, 30)).withHidden(),
  });
  EXPECT_EQ(std::vector<std::string>{}, appkit::layoutProblems(layout));
}

TEST(LayoutProblems, EachFaultIsNamed) {
  appkit::LayoutItem classless;
  classless.outlet = "ghost";
  classless.frame = rect(0, 0, 10, 10);
  struct Case {
    const char* fault;
    appkit::Layout layout;
    std::string expected;
  };
  const Case cases[] = {
      {"no size", windowWith({}, {0, 200}), "the window has no size"},
      {"no class", windowWith({classless}), "ghost has no class"},
      {"outlet twice", windowWith({label("tf", rect(0, 0, 10, 10), ""), label("tf", rect(20, 0, 10, 10), "")}),
       "outlet tf is declared twice"},
      {"outside", windowWith({button("btnFar", rect(250, 10, 100, 30), "遠", "")}), "btnFar lies outside the window"},
      {"empty frame", windowWith({button("btnFlat", rect(10, 10, 100, 0), "扁", "")}),
       "btnFlat lies outside the window"},
      {"controls overlap",
       windowWith({label("", rect(10, 10, 100, 20), "金額"), textField("edtAmount", rect(60, 15, 100, 24))}),
       "(金額) and edtAmount overlap"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    EXPECT_EQ(std::vector<std::string>{c.expected}, appkit::layoutProblems(c.layout));
  }
}

}  // namespace
