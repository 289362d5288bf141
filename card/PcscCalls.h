#pragma once
// The PC/SC calls the reader layer makes, gathered in one table. Production always uses the real
// pcsc-lite functions; tests may swap in their own to produce answers no reader driver gives
// (dozens of readers, an over-long ATR).

#include <winscard.h>

namespace card {

struct PcscCalls {
  decltype(&SCardEstablishContext) establishContext;
  decltype(&SCardReleaseContext) releaseContext;
  decltype(&SCardListReaders) listReaders;
  decltype(&SCardGetAttrib) getAttrib;
  decltype(&SCardStatus) status;
  decltype(&SCardGetStatusChange) getStatusChange;
  decltype(&SCardConnect) connect;
  decltype(&SCardReconnect) reconnect;
  decltype(&SCardDisconnect) disconnect;
  decltype(&SCardTransmit) transmit;
};

// The pcsc-lite functions.
const PcscCalls& realPcscCalls();

// The table in use.
const PcscCalls& pcsc();

// Replaces the table in use (the caller keeps it alive); nullptr restores the real calls.
void setPcscCalls(const PcscCalls* calls);

}  // namespace card
