#include "CommACCTADD.h"

namespace {
const appkit::LayoutRegistration kLayout(accountBookEntryLayout("CommACCTADD"));
}  // namespace

CommACCTADD::CommACCTADD() = default;
