#include "card/PcscCalls.h"

namespace card {

namespace {

const PcscCalls kReal = {
    SCardEstablishContext, SCardReleaseContext, SCardListReaders, SCardGetAttrib,  SCardStatus,
    SCardGetStatusChange,  SCardConnect,        SCardReconnect,   SCardDisconnect, SCardTransmit,
};

const PcscCalls* current = &kReal;

}  // namespace

const PcscCalls& realPcscCalls() { return kReal; }

const PcscCalls& pcsc() { return *current; }

void setPcscCalls(const PcscCalls* calls) { current = calls ? calls : &kReal; }

}  // namespace card
