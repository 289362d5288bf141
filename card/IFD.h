#pragma once
// The reader layer: thin wrappers round the PC/SC calls, over one process-wide context.
//
// Every function returns the PC/SC result (0 = success) as an unsigned 32-bit value and, except
// IFD_DisConnectReader and IFD_DisConnectCard, also leaves it in ulRtn (card/CardBuffers.h).
// Card handles are CardHandle values (card/CardHandle.h).

#include <cstddef>
#include <cstdint>

#include "card/CardHandle.h"

constexpr int kReaderSlots = 40;
constexpr int kReaderNameSlot = 50;  // a name keeps at most 49 characters and its terminating zero

struct stReaderList {
  unsigned char names[kReaderSlots][kReaderNameSlot];  // each zero-padded in its slot
  std::int32_t count;
};

struct stCardStatus {
  std::uint64_t state;      // PC/SC card state word
  std::uint64_t protocol;   // active protocol (SCARD_PROTOCOL_T0 / _T1)
  std::uint64_t atrLength;  // bytes used in ATR (at most 32)
  unsigned char ATR[80];
};

// Card-presence codes of IFD_CheckCardInsert.
constexpr int kCardPresent = 0;
constexpr int kReaderEmpty = 1;
constexpr int kCardStateOther = 2;

// "IFDAPI V1.2" and "2002.10.04", each zero-terminated and cut to its buffer. Always 0.
std::uint32_t IFD_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize);

// Opens the process-wide context (user scope). A second call replaces the context handle.
std::uint32_t IFD_ConnectReader();
// Releases it.
std::uint32_t IFD_DisConnectReader();

// Lists up to 40 readers (names longer than 49 characters are cut); count 0 on failure.
std::uint32_t IFD_ListReaders(stReaderList* list);

// SCardGetAttrib pass-through: with attr == nullptr only *attrLength is filled.
std::uint32_t IFD_GetReaderStatus(CardHandle hCard, std::uint32_t attrId, unsigned char* attr,
                                  std::uint32_t* attrLength);

// Clears *status, then fills state, protocol and ATR (an ATR over 32 bytes fails, record cleared).
std::uint32_t IFD_GetCardStatus(CardHandle hCard, const char* readerName, stCardStatus* status);

// *cardType := kCardPresent, kReaderEmpty or kCardStateOther; untouched when the call fails.
std::uint32_t IFD_CheckCardInsert(const char* readerName, int* cardType);

// Exclusive connection offering T=0 or T=1; on success *hCard is set and *status filled.
std::uint32_t IFD_ConnectCard(CardHandle* hCard, const char* readerName, stCardStatus* status);

// disposition 0 leave, 1 reset, 2 unpower, anything else (negative too) eject.
std::uint32_t IFD_DisConnectCard(CardHandle hCard, int disposition);

// initialisation 0 unpower, 1 reset, anything else leave; then the card status as IFD_ConnectCard.
std::uint32_t IFD_ReConnectCard(CardHandle hCard, const char* readerName, int initialisation, stCardStatus* status);

// Sends a command with the T=1 header and copies the whole answer (data, SW1, SW2) into `response`.
// An answer longer than responseCapacity gives SCARD_E_INSUFFICIENT_BUFFER; on any failure neither
// `response` nor *responseLength is touched. An answer shorter than two bytes (a card that drops
// mid-command) fails with SCARD_F_COMM_ERROR.
std::uint32_t IFD_T1Transmit(CardHandle hCard, const unsigned char* command, std::uint32_t commandLength,
                             unsigned char* response, std::size_t responseCapacity, std::uint32_t* responseLength);
