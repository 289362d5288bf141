#pragma once

namespace appkit {

// Keys naming the window levels the dialogs use, with the key numbers their code passes.
enum WindowLevelKey : int {
  kMinimumWindowLevelKey = 1,
  kNormalWindowLevelKey = 4,
  kFloatingWindowLevelKey = 5,
  kMaximumWindowLevelKey = 14,
};

// The level of a key; windows with a higher level stay in front. Unknown keys give the normal level.
int windowLevelForKey(int key);

}  // namespace appkit
