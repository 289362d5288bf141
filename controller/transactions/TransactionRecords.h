// The input and output records of the page-driven transactions' card steps.
//
// Every output record begins with the card identity that getCardInfo fills (stCardInfo), followed by
// what the card answered to the write; the field comments give each record's field number.
#pragma once

#include <string>

#include "ControllerTypes.h"

// Card identity plus the card's answer: fields 0 to 6 of every output record.
struct stCardAnswer : stCardInfo {
  std::string sSerialNo;  // 4: card serial number of the written record (icc_no)
  std::string sTac;       // 5: TAC as upper-case hexadecimal (tsac)
  std::string sTacId;     // 6: card transaction code, or the processing code of a postal step
};

struct stTransferIn {
  std::string sReaderName;     // 0: set by the confirmation form only
  std::string sConfirmedCode;  // 1: processing code of a confirmed postal transfer
  std::string sPIN;            // 2
  std::string sCheckCode;      // 3: terminal check code
  std::string sTerminalId;     // 4
  std::string sAccountIndex;   // 5: "%02s" of bAccountID
  std::string sAgencyBank;     // 6
  std::string sPayeeBank;      // 7: its first 3 characters are the bank
  std::string sPayeeAccount;   // 8: 16 characters
  std::string sAmount;         // 9: hundredths, 14 characters
  std::string sDateTime;       // 10: client date-time, 14 characters
};
struct stTransferOut : stCardAnswer {};

struct stInquiryIn {
  std::string sPIN;           // 0
  std::string sCheckCode;     // 1
  std::string sTerminalId;    // 2
  std::string sAccountIndex;  // 3: "%02d" of bAccountID's number value
};
struct stInquiryOut : stCardAnswer {};

struct stPaymentIn {
  std::string sPIN;           // 0
  std::string sCheckCode;     // 1
  std::string sTerminalId;    // 2
  std::string sAccountIndex;  // 3
  std::string sMerchantId;    // 4
  std::string sOrderNumber;   // 5
  std::string sAmount;        // 6: 14 characters
  std::string sDateTime;      // 7
};
struct stPaymentOut : stCardAnswer {
  std::string sSpare;  // 7: filled by neither payment
};

struct stCardStartOut : stCardAnswer {};

struct stTaxIn {
  std::string sPIN;           // 0
  std::string sCheckCode;     // 1
  std::string sTerminalId;    // 2
  std::string sAccountIndex;  // 3
  std::string sAgencyBank;    // 4
  std::string sPaymentType;   // 5
  std::string sTaxDate;       // 6: date types
  std::string sTaxUnit;       // 7: unit types
  std::string sPayeeNumber;   // 8: derived from the cancel number
  std::string sAmount;        // 9
  std::string sDateTime;      // 10
};
struct stTaxOut : stCardAnswer {
  std::string sICCSerial;  // 7: left empty
};

struct stWideFeeIn {
  std::string sPIN;           // 0
  std::string sCheckCode;     // 1
  std::string sTerminalId;    // 2
  std::string sAccountIndex;  // 3
  std::string sPayeeBank;     // 4
  std::string sAgencyBank;    // 5
  std::string sPaymentType;   // 6
  std::string sFeeAgencyNo;   // 7
  std::string sFeeComment;    // 8
  std::string sAmount;        // 9
  std::string sDateTime;      // 10
};
struct stWideFeeOut : stCardAnswer {};
