// Types the controller shares with the transactions and the dialogs.
#pragma once

#include <string>

#include "ResultCodes.h"

// Reader layer records and the card handle: provisional until the card layer's header lands.
using CardHandle = unsigned long;
struct ReaderList {
  unsigned char names[40][50];
  int count;
};
struct CardStatus {
  unsigned long state;
  unsigned long protocol;
  unsigned long atrLength;
  unsigned char atr[80];
};

// The process-wide card handle: every controller and every dialog works on this one connection.
extern CardHandle hCard;

// What getCardInfo reads from EF 1001; the first four fields of every transaction output record.
struct stCardInfo {
  std::string sIssueNo;      // issuer bank id (record 1)
  std::string sRemark;       // issuer remark as hexadecimal text (record 2)
  std::string sMainAccount;  // the card's main account (record 3)
  std::string sAccount;      // the account of the requested index
};
