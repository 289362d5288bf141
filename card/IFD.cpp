#include "card/IFD.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "card/CardBuffers.h"
#include "card/PcscCalls.h"
#include "card/SecureWipe.h"
#include "card/TextHelpers.h"

SCARDCONTEXT EZPR_ezContext = 0;
unsigned char baSendBuf[kCardBufferSize];
std::uint32_t ulSendLen = 0;
unsigned char baRecBuf[kCardBufferSize];
std::uint32_t ulRecLen = 0;
std::uint32_t ulRtn = 0;

namespace {

using card::pcsc;

constexpr std::size_t kAtrArea = 32;

using card::storeResult;

std::uint32_t result(LONG rv) { return static_cast<std::uint32_t>(rv); }

SCARDHANDLE toPcsc(CardHandle hCard) { return static_cast<SCARDHANDLE>(hCard); }

DWORD disconnectDisposition(int disposition) {
  switch (disposition) {
    case 0:
      return SCARD_LEAVE_CARD;
    case 1:
      return SCARD_RESET_CARD;
    case 2:
      return SCARD_UNPOWER_CARD;
    default:
      return SCARD_EJECT_CARD;
  }
}

DWORD reconnectInitialisation(int initialisation) {
  switch (initialisation) {
    case 0:
      return SCARD_UNPOWER_CARD;
    case 1:
      return SCARD_RESET_CARD;
    default:
      return SCARD_LEAVE_CARD;
  }
}

}  // namespace

namespace card {

std::uint32_t transmitToCard(CardHandle hCard, const unsigned char* command, std::uint32_t length) {
  ulRecLen = kCardBufferSize;
  DWORD received = ulRecLen;
  const LONG rv = pcsc().transmit(toPcsc(hCard), SCARD_PCI_T1, command, length, nullptr, baRecBuf, &received);
  if (rv != SCARD_S_SUCCESS) {
    ulRecLen = 0;
    return storeResult(rv);
  }
  if (received < 2) {
    ulRecLen = 0;
    return storeResult(SCARD_F_COMM_ERROR);
  }
  ulRecLen = static_cast<std::uint32_t>(std::min<DWORD>(received, kCardBufferSize));
  return storeResult(rv);
}

void wipeCommand() { wipe(baSendBuf, std::min<std::size_t>(ulSendLen, kCardBufferSize)); }

}  // namespace card

std::uint32_t IFD_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize) {
  copyText("IFDAPI V1.2", version, versionSize);
  copyText("2002.10.04", date, dateSize);
  return 0;
}

std::uint32_t IFD_ConnectReader() {
  return storeResult(pcsc().establishContext(SCARD_SCOPE_USER, nullptr, nullptr, &EZPR_ezContext));
}

std::uint32_t IFD_DisConnectReader() { return result(pcsc().releaseContext(EZPR_ezContext)); }

std::uint32_t IFD_ListReaders(stReaderList* list) {
  if (list == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  list->count = 0;
  ulRecLen = kCardBufferSize;
  DWORD length = ulRecLen;
  const LONG rv = pcsc().listReaders(EZPR_ezContext, nullptr, reinterpret_cast<char*>(baRecBuf), &length);
  if (rv != SCARD_S_SUCCESS) return storeResult(rv);
  ulRecLen = static_cast<std::uint32_t>(std::min<DWORD>(length, kCardBufferSize));

  // Walk the multi-string: names end at a zero byte, an empty name (or the buffer's end) ends the list.
  const char* cursor = reinterpret_cast<const char*>(baRecBuf);
  const char* end = cursor + ulRecLen;
  int count = 0;
  while (count < kReaderSlots && cursor < end && *cursor != '\0') {
    const std::size_t nameLength = strnlen(cursor, static_cast<std::size_t>(end - cursor));
    std::memset(list->names[count], 0, kReaderNameSlot);
    std::memcpy(list->names[count], cursor, std::min<std::size_t>(nameLength, kReaderNameSlot - 1));
    ++count;
    cursor += nameLength + 1;
  }
  list->count = count;
  return storeResult(rv);
}

std::uint32_t IFD_GetReaderStatus(CardHandle hCard, std::uint32_t attrId, unsigned char* attr,
                                  std::uint32_t* attrLength) {
  if (attrLength == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  DWORD length = *attrLength;
  const LONG rv = pcsc().getAttrib(toPcsc(hCard), attrId, attr, &length);
  *attrLength = static_cast<std::uint32_t>(std::min<DWORD>(length, std::numeric_limits<std::uint32_t>::max()));
  return storeResult(rv);
}

std::uint32_t IFD_GetCardStatus(CardHandle hCard, const char* readerName, stCardStatus* status) {
  if (status == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  std::memset(status, 0, sizeof *status);
  unsigned char atr[kAtrArea] = {};
  DWORD atrLength = kAtrArea;

  // baRecBuf is the reader-name area SCardStatus fills; it starts with the caller's name.
  std::memset(baRecBuf, 0, kCardBufferSize);
  if (readerName != nullptr) std::memcpy(baRecBuf, readerName, strnlen(readerName, kCardBufferSize - 1));
  ulRecLen = kCardBufferSize;
  DWORD nameLength = ulRecLen;
  DWORD state = 0;
  DWORD protocol = 0;
  const LONG rv =
      pcsc().status(toPcsc(hCard), reinterpret_cast<char*>(baRecBuf), &nameLength, &state, &protocol, atr, &atrLength);
  if (rv != SCARD_S_SUCCESS) return storeResult(rv);
  ulRecLen = static_cast<std::uint32_t>(std::min<DWORD>(nameLength, kCardBufferSize));
  status->state = state;
  status->protocol = protocol;
  status->atrLength = std::min<std::size_t>(atrLength & 0xFFFF, kAtrArea);
  std::memcpy(status->ATR, atr, status->atrLength);
  return storeResult(rv);
}

std::uint32_t IFD_CheckCardInsert(const char* readerName, int* cardType) {
  if (readerName == nullptr || cardType == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  SCARD_READERSTATE reader = {};
  reader.szReader = readerName;
  reader.dwCurrentState = SCARD_STATE_UNAWARE;
  const LONG rv = pcsc().getStatusChange(EZPR_ezContext, 0, &reader, 1);
  if (rv != SCARD_S_SUCCESS) return storeResult(rv);
  if (reader.dwEventState & SCARD_STATE_PRESENT) {
    *cardType = kCardPresent;
  } else if (reader.dwEventState & SCARD_STATE_EMPTY) {
    *cardType = kReaderEmpty;
  } else {
    *cardType = kCardStateOther;
  }
  return storeResult(rv);
}

std::uint32_t IFD_ConnectCard(CardHandle* hCard, const char* readerName, stCardStatus* status) {
  if (hCard == nullptr || readerName == nullptr || status == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  SCARDHANDLE handle = 0;
  DWORD protocol = 0;
  const LONG rv = pcsc().connect(EZPR_ezContext, readerName, SCARD_SHARE_EXCLUSIVE,
                                 SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &handle, &protocol);
  if (rv != SCARD_S_SUCCESS) return storeResult(rv);
  if (handle > std::numeric_limits<std::uint32_t>::max()) {
    // Callers keep the handle in 32 bits: one that does not fit would address another card.
    pcsc().disconnect(handle, SCARD_LEAVE_CARD);
    return storeResult(SCARD_E_INVALID_HANDLE);
  }
  *hCard = static_cast<std::uint32_t>(handle);
  return IFD_GetCardStatus(*hCard, readerName, status);
}

std::uint32_t IFD_DisConnectCard(CardHandle hCard, int disposition) {
  return result(pcsc().disconnect(toPcsc(hCard), disconnectDisposition(disposition)));
}

std::uint32_t IFD_ReConnectCard(CardHandle hCard, const char* readerName, int initialisation, stCardStatus* status) {
  if (status == nullptr) return storeResult(SCARD_E_INVALID_PARAMETER);
  DWORD protocol = 0;
  const LONG rv = pcsc().reconnect(toPcsc(hCard), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1,
                                   reconnectInitialisation(initialisation), &protocol);
  if (rv != SCARD_S_SUCCESS) return storeResult(rv);
  return IFD_GetCardStatus(hCard, readerName, status);
}

std::uint32_t IFD_T1Transmit(CardHandle hCard, const unsigned char* command, std::uint32_t commandLength,
                             unsigned char* response, std::size_t responseCapacity, std::uint32_t* responseLength) {
  if (command == nullptr || responseLength == nullptr || (response == nullptr && responseCapacity > 0)) {
    return storeResult(SCARD_E_INVALID_PARAMETER);
  }
  const std::uint32_t rv = card::transmitToCard(hCard, command, commandLength);
  if (rv != 0) return rv;
  if (ulRecLen > responseCapacity) return storeResult(SCARD_E_INSUFFICIENT_BUFFER);
  if (ulRecLen > 0) std::memcpy(response, baRecBuf, ulRecLen);
  *responseLength = ulRecLen;
  return rv;
}
