#include "card/FISC.h"

#include <winscard.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "card/CardBuffers.h"
#include "card/TextHelpers.h"

namespace {

using card::storeResult;

std::uint32_t invalidArguments() { return storeResult(SCARD_E_INVALID_PARAMETER); }

// Builds a command in baSendBuf from offset 0. Commands here are at most 5 + 255 + 1 bytes.
void startCommand(std::initializer_list<unsigned char> bytes) {
  ulSendLen = 0;
  for (unsigned char b : bytes) baSendBuf[ulSendLen++] = b;
}

void appendByte(unsigned char b) { baSendBuf[ulSendLen++] = b; }

void appendBytes(const unsigned char* data, std::size_t n) {
  if (n > 0) std::memcpy(baSendBuf + ulSendLen, data, n);
  ulSendLen += static_cast<std::uint32_t>(n);
}

unsigned char high(std::uint16_t v) { return static_cast<unsigned char>(v >> 8); }
unsigned char low(std::uint16_t v) { return static_cast<unsigned char>(v & 0xFF); }

// Sends baSendBuf; a successful transmission always brings a status word, which *sw gets.
std::uint32_t send(CardHandle hCard, FiscSW* sw) {
  *sw = 0;
  const std::uint32_t rv = card::transmitToCard(hCard, baSendBuf, ulSendLen);
  if (rv == 0) *sw = CardAnswer::last().statusWord();
  return rv;
}

std::size_t dataBytes() { return CardAnswer::last().dataLength(); }

// Copies n answer bytes when they fit the caller's buffer.
bool copyAnswer(std::size_t n, unsigned char* data, std::size_t capacity) {
  if (n > capacity) {
    storeResult(SCARD_E_INSUFFICIENT_BUFFER);
    return false;
  }
  if (n > 0) std::memcpy(data, baRecBuf, n);
  return true;
}

// Sends a status-word-only command. Data in its answer means the answer is not this command's: a
// failed command, as one without its status word.
std::uint32_t statusCommand(CardHandle hCard, FiscSW* sw) {
  if (sw == nullptr) return invalidArguments();
  const std::uint32_t rv = send(hCard, sw);
  if (rv != 0 || CardAnswer::last().dataLength() == 0) return rv;
  *sw = 0;
  return storeResult(SCARD_F_COMM_ERROR);
}

// Sends a command whose data comes back with a one-byte length.
std::uint32_t byteCountedCommand(CardHandle hCard, unsigned char* data, std::size_t capacity, unsigned char* length,
                                 FiscSW* sw) {
  if (sw == nullptr || length == nullptr || (data == nullptr && capacity > 0)) return invalidArguments();
  *length = 0;
  const std::uint32_t rv = send(hCard, sw);
  if (rv != 0 || ulRecLen < 3) return rv;
  const std::size_t n = dataBytes();
  if (n > 0xFF) return storeResult(SCARD_E_INSUFFICIENT_BUFFER);
  if (!copyAnswer(n, data, capacity)) return ulRtn;
  *length = static_cast<unsigned char>(n);
  return rv;
}

// Sends a command whose data comes back whole; the count goes to *length when asked for.
std::uint32_t wholeDataCommand(CardHandle hCard, unsigned char* data, std::size_t capacity, std::uint32_t* length,
                               FiscSW* sw) {
  if (sw == nullptr || (data == nullptr && capacity > 0)) return invalidArguments();
  if (length != nullptr) *length = 0;
  const std::uint32_t rv = send(hCard, sw);
  if (rv != 0 || ulRecLen < 3) return rv;
  const std::size_t n = dataBytes();
  if (!copyAnswer(n, data, capacity)) return ulRtn;
  if (length != nullptr) *length = static_cast<std::uint32_t>(n);
  return rv;
}

}  // namespace

std::uint32_t FISC_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize) {
  copyText("FISCAPI V1.5", version, versionSize);
  copyText("2002.10.15", date, dateSize);
  return 0;
}

std::uint32_t FISC_ReadBinary(CardHandle hCard, std::uint16_t offset, unsigned char le, unsigned char* data,
                              std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw) {
  startCommand({0x00, 0xB0, high(offset), low(offset), le});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_SelectEF(CardHandle hCard, const unsigned char fid[2], FiscSW* sw) {
  if (fid == nullptr) return invalidArguments();
  startCommand({0x00, 0xA4, 0x02, 0x00, 0x02, fid[0], fid[1]});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_SelectEFWithHeader(CardHandle hCard, const unsigned char fid[2], unsigned char* data,
                                      std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw) {
  if (fid == nullptr) return invalidArguments();
  startCommand({0x00, 0xA4, 0x02, 0x00, 0x02, fid[0], fid[1], 0x10});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_SelectDF(CardHandle hCard, const unsigned char fid[2], FiscSW* sw) {
  if (fid == nullptr) return invalidArguments();
  startCommand({0x00, 0xA4, 0x01, 0x00, 0x02, fid[0], fid[1]});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_SelectDFWithHeader(CardHandle hCard, const unsigned char fid[2], unsigned char* data,
                                      std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw) {
  if (fid == nullptr) return invalidArguments();
  startCommand({0x00, 0xA4, 0x01, 0x00, 0x02, fid[0], fid[1], 0x10});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_SelectParentDF(CardHandle hCard, FiscSW* sw) {
  startCommand({0x00, 0xA4, 0x03, 0x00});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_SelectParentDFWithHeader(CardHandle hCard, unsigned char* data, std::size_t dataCapacity,
                                            unsigned char* dataLength, FiscSW* sw) {
  startCommand({0x00, 0xA4, 0x03, 0x00, 0x10});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_ReadRecord(CardHandle hCard, unsigned char record, unsigned char le, unsigned char* data,
                              std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw) {
  startCommand({0x00, 0xB2, record, 0x04, le});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_ReadAllRecord_S(CardHandle hCard, unsigned char record, unsigned char le, unsigned char* data,
                                   std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw) {
  startCommand({0x00, 0xB2, record, 0x05, le});
  return byteCountedCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_ReadAllRecord_E(CardHandle hCard, unsigned char record, const unsigned char le[3],
                                   unsigned char* data, std::size_t dataCapacity, std::uint32_t* dataLength,
                                   FiscSW* sw) {
  if (le == nullptr || dataLength == nullptr) return invalidArguments();
  startCommand({0x00, 0xB2, record, 0x05, le[0], le[1], le[2]});
  return wholeDataCommand(hCard, data, dataCapacity, dataLength, sw);
}

std::uint32_t FISC_WriteRecord(CardHandle hCard, unsigned char record, unsigned char n, const unsigned char* data,
                               FiscSW* sw) {
  if (n > 253 || (data == nullptr && n > 0)) return invalidArguments();  // Lc = n + 2 is one byte
  startCommand({0x00, 0xD2, 0x00, 0x05, static_cast<unsigned char>(n + 2), record, n});
  appendBytes(data, n);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_UpdateRecord(CardHandle hCard, unsigned char record, unsigned char n, const unsigned char* data,
                                FiscSW* sw) {
  if (data == nullptr && n > 0) return invalidArguments();
  startCommand({0x00, 0xD2, record, 0x04, n});
  appendBytes(data, n);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_VerifyPIN(CardHandle hCard, unsigned char p2, const unsigned char pinBlock[8], FiscSW* sw) {
  if (pinBlock == nullptr) return invalidArguments();
  startCommand({0x00, 0x20, 0x00, p2, 0x08});
  appendBytes(pinBlock, 8);
  const std::uint32_t rv = statusCommand(hCard, sw);
  card::wipeCommand();
  return rv;
}

std::uint32_t FISC_CreateFile(CardHandle hCard, const unsigned char descriptor[16], FiscSW* sw) {
  if (descriptor == nullptr) return invalidArguments();
  startCommand({0x00, 0xE0, 0x00, 0x00, 0x10});
  appendBytes(descriptor, 16);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_WriteRecordWithTAC(CardHandle hCard, unsigned char p2, const unsigned char value[8], unsigned char k,
                                      unsigned char n, const unsigned char* data, unsigned char tac[8], FiscSW* sw) {
  // Lc = n + 10 and the inner length n + 8 are single bytes.
  if (n > 245 || value == nullptr || tac == nullptr || sw == nullptr || (data == nullptr && n > 0)) {
    return invalidArguments();
  }
  startCommand({0x00, 0xE6, 0x00, p2, static_cast<unsigned char>(n + 10)});
  appendBytes(value, 8);
  appendByte(k);
  appendByte(static_cast<unsigned char>(n + 8));
  appendBytes(data, n);
  appendByte(0x08);
  const std::uint32_t rv = send(hCard, sw);
  if (rv != 0) return rv;
  const std::size_t n8 = std::min<std::size_t>(dataBytes(), 8);
  std::memset(tac, 0, 8);
  std::memcpy(tac, baRecBuf, n8);
  return rv;
}

std::uint32_t FISC_WriteRecordWithSNUMTAC(CardHandle hCard, const unsigned char p1p2[2], unsigned char n,
                                          const unsigned char* data, unsigned char* answer, std::size_t answerCapacity,
                                          unsigned char* answerLength, FiscSW* sw) {
  if (p1p2 == nullptr || (data == nullptr && n > 0)) return invalidArguments();
  startCommand({0x00, 0xE2, p1p2[0], p1p2[1], n});
  appendBytes(data, n);
  appendByte(0x00);
  return byteCountedCommand(hCard, answer, answerCapacity, answerLength, sw);
}

std::uint32_t FISC_EraseEF(CardHandle hCard, FiscSW* sw) {
  startCommand({0x00, 0x0E, 0x00, 0x00});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_LockDF(CardHandle hCard, FiscSW* sw) {
  startCommand({0x00, 0x76, 0x00, 0x00});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_UnlockDF(CardHandle hCard, const unsigned char value[2], FiscSW* sw) {
  if (value == nullptr) return invalidArguments();
  startCommand({0x00, 0x78, 0x00, 0x00, 0x02, value[0], value[1]});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_UnlockKey(CardHandle hCard, const unsigned char value[2], FiscSW* sw) {
  if (value == nullptr) return invalidArguments();
  startCommand({0x00, 0x2C, 0x00, 0x00, 0x02, value[0], value[1]});
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_GenerateRandomNumber(CardHandle hCard, unsigned char* data, std::size_t dataCapacity, FiscSW* sw) {
  unsigned char ignored = 0;
  startCommand({0x00, 0x86, 0x00, 0x00, 0x08});
  return byteCountedCommand(hCard, data, dataCapacity, &ignored, sw);
}

std::uint32_t FISC_TerminalAuthentication(CardHandle hCard, unsigned char p2, const unsigned char value[8],
                                          FiscSW* sw) {
  if (value == nullptr) return invalidArguments();
  startCommand({0x00, 0x82, 0x00, p2, 0x08});
  appendBytes(value, 8);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_CardAuthentication(CardHandle hCard, unsigned char p2, const unsigned char first[8],
                                      const unsigned char second[8], unsigned char* data, std::size_t dataCapacity,
                                      FiscSW* sw) {
  if (first == nullptr || second == nullptr) return invalidArguments();
  startCommand({0x00, 0x88, 0x00, p2, 0x10});
  appendBytes(first, 8);
  appendBytes(second, 8);
  appendByte(0x10);
  return wholeDataCommand(hCard, data, dataCapacity, nullptr, sw);
}

std::uint32_t FISC_BinaryAdd(CardHandle hCard, unsigned char n, const unsigned char* data, FiscSW* sw) {
  if (data == nullptr && n > 0) return invalidArguments();
  startCommand({0x00, 0xE8, 0x00, 0x04, n});
  appendBytes(data, n);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_SetSessionKey(CardHandle hCard, unsigned char p2, const unsigned char value[8], unsigned char* data,
                                 std::size_t dataCapacity, FiscSW* sw) {
  if (value == nullptr) return invalidArguments();
  startCommand({0x00, 0x84, 0x00, p2, 0x08});
  appendBytes(value, 8);
  appendByte(0x08);
  return wholeDataCommand(hCard, data, dataCapacity, nullptr, sw);
}

std::uint32_t FISC_UpdateRecordCiphered(CardHandle hCard, unsigned char n, const unsigned char* data, FiscSW* sw) {
  if (data == nullptr && n > 0) return invalidArguments();
  startCommand({0x00, 0xE4, 0x01, 0x04, n});
  appendBytes(data, n);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_ReadData(CardHandle hCard, std::uint16_t tag, unsigned char* leInOut, unsigned char* data,
                            std::size_t dataCapacity, FiscSW* sw) {
  if (leInOut == nullptr) return invalidArguments();
  startCommand({0x00, 0xCA, high(tag), low(tag), *leInOut});
  return byteCountedCommand(hCard, data, dataCapacity, leInOut, sw);
}

std::uint32_t FISC_UpdateData(CardHandle hCard, std::uint16_t offset, unsigned char n, const unsigned char* data,
                              FiscSW* sw) {
  if (data == nullptr && n > 0) return invalidArguments();
  startCommand({0x00, 0xD6, high(offset), low(offset), n});
  appendBytes(data, n);
  return statusCommand(hCard, sw);
}

std::uint32_t FISC_ListFile(CardHandle hCard, unsigned char* data, std::size_t dataCapacity, std::uint32_t* dataLength,
                            FiscSW* sw) {
  if (dataLength == nullptr) return invalidArguments();
  startCommand({0x00, 0xAA, 0x00, 0x00, 0x00, 0x00, 0x00});
  return wholeDataCommand(hCard, data, dataCapacity, dataLength, sw);
}
