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

// How many insertions and removals pcscd's own reader watch has counted (the upper half of a state word).
unsigned eventCount(std::uint64_t state);

// Blocks until pcscd's own watch has seen the slot empty since `earlier` (a state word read before):
// the reader is empty and the event count has moved on. A reader emptied while the count stands still
// does not do: pcscd clears the state itself when it fails to reset a card that is already gone, and
// until its watch notices the slot empty it takes the next card for that one. False on expiry.
bool waitForRemovalSeen(const std::string& reader, std::uint64_t earlier,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Whether a state word shows the reader's card held by a connection (SCARD_STATE_EXCLUSIVE or
// SCARD_STATE_INUSE). pcscd reports that only while a card is present.
bool heldByAConnection(std::uint64_t state);

// Blocks until pcscd reports the reader's card held by no connection, e.g. until pcscd has ended the
// connections of a process that exited still connected (it does so some time after the exit, later
// still on a busy machine). False when `timeout` passes first.
bool waitUntilFree(const std::string& reader, std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace rvp::cardbench
