#pragma once

#include <string>
#include <vector>

#include "appkit/Layout.h"

// The layout every transfer form shares, so a form's layout names only its own rows: the form's rows
// on top (a caption and a control each, e.g. the paying account and the payee-bank list), then the
// agreed and account-book lists, the payee-account, amount and PIN displays with the PIN counter, the
// code image and its entry, the countdown, OK and cancel, and the keypad on the right.
namespace transfer_form_layout {

struct OwnRow {
  std::string caption;
  // Its frame's size is kept (0 x 0 takes the width of the lists); the layout places it.
  appkit::LayoutItem control;
};

struct Options {
  std::string okOutlet = "btnOK";  // two forms name it otherwise: btnConfirm, btbOK
  std::string contentView;         // outlet of the form's content view
};

appkit::Layout build(const std::string& name, const std::string& title, std::vector<OwnRow> ownRows,
                     const Options& options);

}  // namespace transfer_form_layout
