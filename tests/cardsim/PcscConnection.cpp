#include "PcscConnection.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace rvp::cardsim::testing {

PcscConnection::PcscConnection(const std::string& reader) {
  LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context_);
  if (rv != SCARD_S_SUCCESS) throw std::runtime_error("SCardEstablishContext: " + std::to_string(rv));
  rv = SCardConnect(context_, reader.c_str(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card_,
                    &protocol_);
  if (rv != SCARD_S_SUCCESS) {
    SCardReleaseContext(context_);
    throw std::runtime_error("SCardConnect: " + std::to_string(rv));
  }
}

PcscConnection::~PcscConnection() {
  SCardDisconnect(card_, SCARD_LEAVE_CARD);
  SCardReleaseContext(context_);
}

LONG PcscConnection::tryTransmit(const Bytes& command, Bytes& response) {
  unsigned char buffer[65538];
  DWORD length = sizeof buffer;
  LONG rv =
      SCardTransmit(card_, SCARD_PCI_T1, command.data(), static_cast<DWORD>(command.size()), nullptr, buffer, &length);
  response.assign(buffer, buffer + (rv == SCARD_S_SUCCESS ? length : 0));
  return rv;
}

Bytes PcscConnection::transmit(const Bytes& command) {
  Bytes response;
  LONG rv = tryTransmit(command, response);
  EXPECT_EQ(rv, SCARD_S_SUCCESS) << "SCardTransmit of " << toHex(command, true);
  if (response.size() < 2) {
    ADD_FAILURE() << "answer without status word to " << toHex(command, true);
    response = {0x00, 0x00};
  }
  return response;
}

LONG PcscConnection::reconnect(DWORD initialization) {
  return SCardReconnect(card_, SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, initialization,
                        &protocol_);
}

Bytes PcscConnection::atr() {
  char names[512];
  DWORD namesLength = sizeof names, state = 0, protocol = 0;
  unsigned char atr[MAX_ATR_SIZE];
  DWORD atrLength = sizeof atr;
  LONG rv = SCardStatus(card_, names, &namesLength, &state, &protocol, atr, &atrLength);
  EXPECT_EQ(rv, SCARD_S_SUCCESS);
  return rv == SCARD_S_SUCCESS ? Bytes(atr, atr + atrLength) : Bytes{};
}

std::uint16_t statusOf(const Bytes& response) {
  if (response.size() < 2) return 0;
  return static_cast<std::uint16_t>(response[response.size() - 2] << 8 | response.back());
}

Bytes dataOf(const Bytes& response) {
  return response.size() < 2 ? Bytes{} : Bytes(response.begin(), response.end() - 2);
}

}  // namespace rvp::cardsim::testing
