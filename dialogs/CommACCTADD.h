#pragma once

#include "AccountBookEntryDialog.h"

// The entry dialog of an entry the page proposes (CommACCT_Add): shown at the topmost level.
class CommACCTADD : public AccountBookEntryDialog {
 public:
  // Defined beside the layout, so that whoever makes the dialog links its layout too.
  CommACCTADD();
};
