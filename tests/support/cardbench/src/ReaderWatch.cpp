#include "cardbench/ReaderWatch.h"

#include <winscard.h>

#include <stdexcept>

namespace rvp::cardbench {

namespace {

class Context {
 public:
  Context() {
    LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &handle_);
    if (rv != SCARD_S_SUCCESS) throw std::runtime_error("SCardEstablishContext failed: " + std::to_string(rv));
  }
  ~Context() { SCardReleaseContext(handle_); }
  SCARDCONTEXT get() const { return handle_; }

 private:
  SCARDCONTEXT handle_ = 0;
};

bool matches(DWORD state, CardPresence wanted) {
  if (wanted == CardPresence::Empty) return state & SCARD_STATE_EMPTY;
  return (state & SCARD_STATE_PRESENT) && !(state & SCARD_STATE_MUTE);
}

}  // namespace

bool waitForPresence(const std::string& reader, CardPresence wanted, std::chrono::milliseconds timeout) {
  Context context;
  SCARD_READERSTATE state{};
  state.szReader = reader.c_str();
  state.dwCurrentState = SCARD_STATE_UNAWARE;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() < 0) left = std::chrono::milliseconds(0);
    LONG rv = SCardGetStatusChange(context.get(), static_cast<DWORD>(left.count()), &state, 1);
    if (rv == SCARD_E_TIMEOUT) return false;
    if (rv != SCARD_S_SUCCESS)
      throw std::runtime_error("SCardGetStatusChange on '" + reader + "' failed: " + std::to_string(rv));
    if (matches(state.dwEventState, wanted)) return true;
    if (state.dwEventState & SCARD_STATE_UNKNOWN) throw std::runtime_error("pcscd does not know reader '" + reader + "'");
    if (left.count() == 0) return false;
    state.dwCurrentState = state.dwEventState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
  }
}

std::uint64_t readerState(const std::string& reader) {
  Context context;
  SCARD_READERSTATE state{};
  state.szReader = reader.c_str();
  state.dwCurrentState = SCARD_STATE_UNAWARE;
  LONG rv = SCardGetStatusChange(context.get(), 0, &state, 1);
  if (rv != SCARD_S_SUCCESS)
    throw std::runtime_error("SCardGetStatusChange on '" + reader + "' failed: " + std::to_string(rv));
  return state.dwEventState;
}

}  // namespace rvp::cardbench
