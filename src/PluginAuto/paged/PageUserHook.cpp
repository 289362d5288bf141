// Only in the plug-in built for page tests and the demo: while the test browser runs the page
// (RVP_TESTBROWSER set), the dialogs are answered by the user steps its page scripts queue.
#include <cstdlib>
#include <memory>

#include "testbrowser/PageScriptedUser.h"

namespace {

struct PageUserHook {
  PageUserHook() {
    if (std::getenv("RVP_TESTBROWSER")) user.reset(new testbrowser::PageScriptedUser());
  }
  std::unique_ptr<testbrowser::PageScriptedUser> user;
};

PageUserHook hook;

}  // namespace
