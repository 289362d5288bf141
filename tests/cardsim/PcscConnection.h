#pragma once
// A bare pcsc-lite connection, so the card is tested without the card layer in between.
#include <winscard.h>

#include <string>

#include "cardsim/Bytes.h"

namespace rvp::cardsim::testing {

class PcscConnection {
 public:
  explicit PcscConnection(const std::string& reader);  // exclusive, T=0 or T=1 offered
  ~PcscConnection();

  // Sends with the T=1 header; fails the test when the transmit fails.
  Bytes transmit(const Bytes& command);
  Bytes transmit(const std::string& hexCommand) { return transmit(fromHex(hexCommand)); }
  // Sends and reports the PC/SC result instead of failing.
  LONG tryTransmit(const Bytes& command, Bytes& response);
  LONG reconnect(DWORD initialization);

  DWORD protocol() const { return protocol_; }
  Bytes atr();

 private:
  SCARDCONTEXT context_ = 0;
  SCARDHANDLE card_ = 0;
  DWORD protocol_ = 0;
};

std::uint16_t statusOf(const Bytes& response);
Bytes dataOf(const Bytes& response);  // the response without SW1 SW2

}  // namespace rvp::cardsim::testing
