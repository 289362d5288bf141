#include "appkit/WindowLevel.h"

namespace appkit {

int windowLevelForKey(int key) {
  switch (key) {
    case kMinimumWindowLevelKey:
      return -1000;
    case kFloatingWindowLevelKey:
      return 3;
    case kMaximumWindowLevelKey:
      return 1000;
    default:
      return 0;
  }
}

}  // namespace appkit
