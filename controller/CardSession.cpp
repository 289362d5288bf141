// The card session: readers, the card connection and the payment application.
#include <chrono>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <thread>
#include <vector>

#include "ZododovuRavuVODCtrl.h"
#include "card/GP.h"
#include "card/IFD.h"

CardHandle hCard = 0;

namespace {
// SELECT of the payment application (AID A0 00 00 01 72 95 00 01).
const char* const kSelectAid = "00A4040008A00000017295000100";
// READ BINARY of 16 bytes: the one raw command the page may send.
const char* const kReadBinary16 = "00b0000010";
constexpr std::uint32_t kMaxAttributeLength = 65536;

// The number of names in a reader listing (at most its 40 slots), and name i up to its first zero byte.
int listedReaders(const ReaderList& list) { return list.count < 0 ? 0 : (list.count > 40 ? 40 : list.count); }
std::string listedReader(const ReaderList& list, int i) {
  const char* name = reinterpret_cast<const char*>(list.names[i]);
  return std::string(name, strnlen(name, sizeof list.names[i]));
}

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Sends a command held as hex text; the response length comes back in `received`.
long transmitHex(const std::string& hex, std::vector<unsigned char>& response, std::uint32_t& received) {
  unsigned char command[300] = {};
  std::size_t length = GP_PackData(hex.c_str(), hex.size(), command, sizeof command);
  response.assign(10240, 0);
  received = 0;
  return static_cast<long>(
      IFD_T1Transmit(hCard, command, static_cast<std::uint32_t>(length), response.data(), response.size(), &received));
}
}  // namespace

long ZododovuRavuVODCtrl::ConnectReader() {
  lastResult = static_cast<long>(IFD_ConnectReader());
  if (lastResult != 0) cardCallFailed("ConnectReader", "IFD_ConnectReader()", lastResult);
  return lastResult;
}

long ZododovuRavuVODCtrl::DisConnectReader() {
  lastResult = static_cast<long>(IFD_DisConnectReader());
  if (lastResult != 0) cardCallFailed("DisConnectReader", "IFD_DisConnectReader()", lastResult);
  return lastResult;
}

long ZododovuRavuVODCtrl::ListReaders() {
  Challenge();
  lastResult = static_cast<long>(IFD_ListReaders(&readerList));
  if (lastResult != 0) return cardCallFailed("ListReaders", "IFD_ListReaders()", lastResult);
  iNoR = listedReaders(readerList);
  for (int i = 0; i < iNoR; ++i) caReader[static_cast<std::size_t>(i)] = listedReader(readerList, i);
  return lastResult;
}

long ZododovuRavuVODCtrl::CheckCardInsert() {
  int presence = cardType;
  lastResult = static_cast<long>(IFD_CheckCardInsert(baReaderName.substr(0, 256).c_str(), &presence));
  if (lastResult != 0) return cardCallFailed("CheckCardInsert", "IFD_CheckCardInsert()", lastResult);
  cardType = presence;
  return lastResult;
}

long ZododovuRavuVODCtrl::GetReaderStatus() {
  std::uint32_t length = 0;
  auto attribute = static_cast<std::uint32_t>(dwAttrId & 0xFFFFFFFFUL);
  lastResult = static_cast<long>(IFD_GetReaderStatus(hCard, attribute, nullptr, &length));
  if (lastResult != 0) return cardCallFailed("GetReaderStatus", "IFD_GetReaderStatus()", lastResult);
  // Reader attributes are short; a length beyond any real one is answered as "no room for it".
  std::vector<unsigned char> value;
  try {
    if (length > kMaxAttributeLength) throw std::length_error("reader attribute too long");
    value.assign(length + 1, 0);
  } catch (const std::exception&) {
    lastResult = 1;
    return lastResult;
  }
  std::uint32_t room = length;
  lastResult = static_cast<long>(IFD_GetReaderStatus(hCard, attribute, value.data(), &room));
  if (lastResult != 0) return cardCallFailed("GetReaderStatus", "IFD_GetReaderStatus()", lastResult);
  const char* text = reinterpret_cast<const char*>(value.data());
  pbAttr = std::string(text, strnlen(text, length));
  pcbAttrLen = length;
  return lastResult;
}

void ZododovuRavuVODCtrl::copyCardStatusToFields() {
  std::size_t atrLength = cardStatus.atrLength > sizeof cardStatus.ATR ? sizeof cardStatus.ATR : cardStatus.atrLength;
  baATR = GP_UnpackData(cardStatus.ATR, atrLength);
  ulProtocol = cardStatus.protocol;
  ulState = cardStatus.state;
  ulLen = cardStatus.atrLength;
}

bool ZododovuRavuVODCtrl::readerNamed(const char* operation) {
  if (!baReaderName.empty()) return true;
  LogMsg(2, operation, "ReaderName Length = 0.");
  lastResult = rc::kNoReaderName;
  return false;
}

long ZododovuRavuVODCtrl::ConnectCard() {
  if (!readerNamed("ConnectCard")) return lastResult;
  long closed = static_cast<long>(IFD_DisConnectCard(hCard, iDisConnectType));
  if (closed != 0) cardCallFailed("ConnectCard", "IFD_DisConnectCard()", closed);
  closed = static_cast<long>(IFD_DisConnectReader());
  if (closed != 0) cardCallFailed("ConnectCard", "IFD_DisConnectReader()", closed);
  pause(100);
  long opened = static_cast<long>(IFD_ConnectReader());
  if (opened != 0) cardCallFailed("ConnectCard", "IFD_ConnectReader()", opened);
  lastResult = static_cast<long>(IFD_ConnectCard(&hCard, baReaderName.c_str(), &cardStatus));
  if (lastResult != 0) return cardCallFailed("ConnectCard", "IFD_ConnectCard()", lastResult);
  copyCardStatusToFields();
  return SelectAID();
}

long ZododovuRavuVODCtrl::ReConnectCard() {
  if (!readerNamed("ReConnectCard")) return lastResult;
  lastResult = static_cast<long>(IFD_ReConnectCard(hCard, baReaderName.c_str(), iResetType, &cardStatus));
  if (lastResult != 0) return cardCallFailed("ReConnectCard", "IFD_ReConnectCard()", lastResult);
  copyCardStatusToFields();
  return SelectAID();
}

long ZododovuRavuVODCtrl::GetCardStatus() {
  if (!readerNamed("GetCardStatus")) return lastResult;
  lastResult = static_cast<long>(IFD_GetCardStatus(hCard, baReaderName.c_str(), &cardStatus));
  if (lastResult != 0) return cardCallFailed("GetCardStatus", "IFD_GetCardStatus()", lastResult);
  copyCardStatusToFields();
  return lastResult;
}

long ZododovuRavuVODCtrl::DisConnectCard() {
  lastResult = static_cast<long>(IFD_DisConnectCard(hCard, iDisConnectType));
  if (lastResult != 0) cardCallFailed("DisConnectCard", "IFD_DisConnectCard()", lastResult);
  return lastResult;
}

long ZododovuRavuVODCtrl::SelectAID() {
  sStr = kSelectAid;
  std::vector<unsigned char> response;
  std::uint32_t received = 0;
  lastResult = transmitHex(sStr, response, received);
  // Any answer at all counts: the status word of this SELECT is not judged.
  if (received == 0) {
    LogMsg(2, "SelectAID", "SelectAID() got no response.");
    lastResult = rc::kNoApplicationAnswer;
  }
  return lastResult;
}

long ZododovuRavuVODCtrl::T1Transmit() {
  sStr = kReadBinary16;
  std::vector<unsigned char> response;
  std::uint32_t received = 0;
  lastResult = transmitHex(sStr, response, received);
  if (lastResult != 0) cardCallFailed("T1Transmit", "IFD_T1Transmit()", lastResult);
  return lastResult;
}

bool ZododovuRavuVODCtrl::IsReaderExist() {
  IFD_ConnectReader();
  if (IFD_ListReaders(&readerList) != 0) return false;
  iNoR = listedReaders(readerList);
  for (int i = 0; i < iNoR; ++i)
    if (baReaderName.find(listedReader(readerList, i)) != std::string::npos) return true;
  return false;
}
