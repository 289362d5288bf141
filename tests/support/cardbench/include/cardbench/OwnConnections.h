#pragma once
// The PC/SC contexts and card connections this test process holds. Every card test program is linked
// with SCardEstablishContext, SCardReleaseContext, SCardConnect and SCardDisconnect wrapped (the linker's
// --wrap, set by rvp_cardbench), so whatever opens them, the code under test included, is seen here and
// the bench can end what a finished test left open.
#include <string>

namespace rvp::cardbench {

// Whether a card connection this process opened to `reader` is still open (not disconnected, its
// context not released). pcscd keeps such a connection holding the reader even after the card left.
bool holdsConnectionTo(const std::string& reader);

// Releases every context this process still has open; pcscd ends their card connections (resetting a
// card still present) before it answers, so the readers are free once this returns. The code that
// opened them is left with stale handles, which pcscd answers with SCARD_E_INVALID_HANDLE.
void endOwnConnections();

}  // namespace rvp::cardbench
