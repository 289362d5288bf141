#include "cardbench/ReaderWatch.h"

#include <winscard.h>

#include <functional>
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

bool waitForState(const std::string& reader, const std::function<bool(DWORD)>& wanted,
                  std::chrono::milliseconds timeout) {
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
    if (wanted(state.dwEventState)) return true;
    if (state.dwEventState & SCARD_STATE_UNKNOWN)
      throw std::runtime_error("pcscd does not know reader '" + reader + "'");
    if (left.count() == 0) return false;
    state.dwCurrentState = state.dwEventState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
  }
}

}  // namespace

bool waitForPresence(const std::string& reader, CardPresence wanted, std::chrono::milliseconds timeout) {
  return waitForState(
      reader, [wanted](DWORD state) { return matches(state, wanted); }, timeout);
}

unsigned eventCount(std::uint64_t state) { return static_cast<unsigned>(state >> 16 & 0xFFFF); }

bool waitForRemovalSeen(const std::string& reader, std::uint64_t earlier, std::chrono::milliseconds timeout) {
  return waitForState(
      reader,
      [earlier](DWORD state) { return (state & SCARD_STATE_EMPTY) && eventCount(state) != eventCount(earlier); },
      timeout);
}

bool heldByAConnection(std::uint64_t state) { return state & (SCARD_STATE_EXCLUSIVE | SCARD_STATE_INUSE); }

bool waitUntilFree(const std::string& reader, std::chrono::milliseconds timeout) {
  // pcscd wakes the wait when a connection ends, with or without a reset of the card.
  return waitForState(
      reader, [](DWORD state) { return !heldByAConnection(state); }, timeout);
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
