#include "ToolkitFixture.h"

namespace {

class UserDefaultsTest : public ToolkitTest {};

TEST_F(UserDefaultsTest, StoredTextsReadAsYesOrNoLikeThePlatformReadsThem) {
  struct Case {
    const char* stored;
    bool expected;
  };
  const Case cases[] = {
      {"YES", true}, {"yes", true},  {"Yes", true}, {"Y", true},   {"true", true},   {"TRUE", true}, {"t", true},
      {"1", true},   {" 1", true},   {"007", true}, {"-2", true},  {"NO", false},    {"no", false},  {"false", false},
      {"0", false},  {"000", false}, {"", false},   {"  ", false}, {"maybe", false},
  };
  appkit::UserDefaults& defaults = appkit::UserDefaults::standard();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.stored + "\"");
    defaults.setString(c.stored, "DefaultAlwaysOnTop");
    EXPECT_EQ(c.expected, defaults.boolForKey("DefaultAlwaysOnTop"));
  }
  defaults.setBool(true, "DefaultAlwaysOnTop");
  EXPECT_TRUE(defaults.boolForKey("DefaultAlwaysOnTop"));
  defaults.removeObjectForKey("DefaultAlwaysOnTop");
  EXPECT_FALSE(defaults.boolForKey("DefaultAlwaysOnTop"));
}

}  // namespace
