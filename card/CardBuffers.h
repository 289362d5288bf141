#pragma once
// Process-wide state of the card layer: one PC/SC context, one command buffer, one response buffer
// and the last result. One card operation at a time, main thread only.

#include <winscard.h>

#include <cstddef>
#include <cstdint>

#include "card/CardHandle.h"

constexpr std::size_t kCardBufferSize = 10240;

extern SCARDCONTEXT EZPR_ezContext;               // opened by IFD_ConnectReader
extern unsigned char baSendBuf[kCardBufferSize];  // the command being built
extern std::uint32_t ulSendLen;                   // its length
extern unsigned char baRecBuf[kCardBufferSize];   // reader names, or the last card answer (data, SW1, SW2)
extern std::uint32_t ulRecLen;                    // bytes received into baRecBuf
extern std::uint32_t ulRtn;                       // last PC/SC result of the card layer (0 = success)

namespace card {

// Leaves a result of the card layer in ulRtn and returns it (PC/SC results keep their 32 bits).
inline std::uint32_t storeResult(std::int64_t code) {
  ulRtn = static_cast<std::uint32_t>(code);
  return ulRtn;
}

// Sends `length` bytes of `command` with the T=1 header; the answer lands in baRecBuf/ulRecLen.
// Returns (and leaves in ulRtn) the PC/SC result. An answer shorter than its two status bytes (a card
// that dropped mid-command) is a failed command, SCARD_F_COMM_ERROR, with ulRecLen 0: no caller can
// read it as a success.
std::uint32_t transmitToCard(CardHandle hCard, const unsigned char* command, std::uint32_t length);

// Wipes the command in baSendBuf once it is sent, for commands that carry a PIN: the PIN lives no
// longer than its command. ulSendLen keeps the count sent.
void wipeCommand();

}  // namespace card
