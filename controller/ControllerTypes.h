// Types the controller shares with the transactions and the dialogs.
#pragma once

#include <cstdint>
#include <string>

#include "card/IFD.h"

#include "ResultCodes.h"

// The reader layer's records (its card handle type, CardHandle, comes with card/IFD.h).
using ReaderList = stReaderList;
using CardStatus = stCardStatus;

// The process-wide card handle: every controller and every dialog works on this one connection.
extern CardHandle hCard;

// What getCardInfo reads from EF 1001; the first four fields of every transaction output record.
struct stCardInfo {
  std::string sIssueNo;      // issuer bank id (record 1)
  std::string sRemark;       // issuer remark as hexadecimal text (record 2)
  std::string sMainAccount;  // the card's main account (record 3)
  std::string sAccount;      // the account of the requested index
};
