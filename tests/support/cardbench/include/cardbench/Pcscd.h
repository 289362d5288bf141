#pragma once
// The PC/SC service the card tests talk to.
#include <chrono>
#include <string>

namespace rvp::cardbench {

// Makes sure a pcscd serves this process. When none answers (a test program run on its own), starts
// one with scripts/pcscd-up and waits until it serves; that pcscd is left running for later tests.
// Under scripts/private-bench the private pcscd is found through PCSCLITE_CSOCK_NAME.
// Throws std::runtime_error when no pcscd serves within `timeout`.
void ensurePcscd(std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Name of the vpcd reader of slot 0 or 1 ("Virtual PCD 00 00", "Virtual PCD 00 01").
std::string readerName(int slot);

}  // namespace rvp::cardbench
