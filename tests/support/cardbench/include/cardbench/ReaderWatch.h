#pragma once
// Waiting for what pcscd reports about a reader, through SCardGetStatusChange (never by sleeping).
#include <chrono>
#include <cstdint>
#include <string>

namespace rvp::cardbench {

enum class CardPresence { Present, Empty };

// Blocks until pcscd reports the reader in the wanted state (a present card has been powered and
// its ATR read). Returns false when `timeout` passes first. Throws std::runtime_error when pcscd
// cannot be asked (no service, unknown reader).
bool waitForPresence(const std::string& reader, CardPresence wanted,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The reader's current event state word (SCARD_STATE_* bits) as pcscd reports it right now.
std::uint64_t readerState(const std::string& reader);

}  // namespace rvp::cardbench
