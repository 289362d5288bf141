#include "CommACCTMDFY.h"

namespace {
const appkit::LayoutRegistration kLayout(accountBookEntryLayout("CommACCTMDFY"));
}  // namespace

void CommACCTMDFY::presentWindow() {
  appkit::Window* w = isWindowLoaded() ? window() : nullptr;
  if (!w) return;
  w->center();
  w->setAutodisplay(true);
  w->display();
}
