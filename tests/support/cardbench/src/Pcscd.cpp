#include "cardbench/Pcscd.h"

#include <winscard.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace rvp::cardbench {

namespace {

LONG tryContext() {
  SCARDCONTEXT context = 0;
  LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
  if (rv == SCARD_S_SUCCESS) SCardReleaseContext(context);
  return rv;
}

}  // namespace

void ensurePcscd(std::chrono::milliseconds timeout) {
  if (tryContext() == SCARD_S_SUCCESS) return;
  // pcscd-up waits until pcscd serves; it fails harmlessly when another test started one meanwhile.
  const std::string command = std::string("'") + RVP_PCSCD_UP + "' >/dev/null";
  [[maybe_unused]] int status = std::system(command.c_str());
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  LONG rv = tryContext();
  // The service may come up a moment after a concurrent starter reported; poll it within the limit.
  while (rv == SCARD_E_NO_SERVICE && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    rv = tryContext();
  }
  if (rv != SCARD_S_SUCCESS)
    throw std::runtime_error("no pcscd serves this process (SCardEstablishContext: " + std::to_string(rv) +
                             "); run scripts/pcscd-up or use scripts/private-bench");
}

std::string readerName(int slot) {
  if (slot != 0 && slot != 1) throw std::invalid_argument("vpcd slot must be 0 or 1");
  return "Virtual PCD 00 0" + std::to_string(slot);
}

}  // namespace rvp::cardbench
