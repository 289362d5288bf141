#pragma once

#include "AccountBookEntryDialog.h"

// The entry dialog the account-book list opens to add or modify an entry. It runs above the list, so
// it is centred and shown but neither lifted to the topmost level nor made key.
class CommACCTMDFY : public AccountBookEntryDialog {
 protected:
  void presentWindow() override;
};
