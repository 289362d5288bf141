// Result codes of the controller's operations (the page reads them as the methods' return values).
// PC/SC results and card status words pass through beside these unchanged.
#pragma once

namespace rc {
constexpr long kOk = 0;
constexpr long kNoReaderName = 22;           // baReaderName empty
constexpr long kNoApplicationAnswer = 7900;  // the payment application's SELECT got no response
constexpr long kLogUnreadable = 8400;        // a card-log record is unreadable
constexpr long kInputMissing = 8600;         // a required page input is missing or too long
constexpr long kNoTransactionCode = 8700;    // no card transaction code for the banks or processing code
constexpr long kRecordUnreadable = 8800;     // a record of EF 1001 or 1002 is unreadable
constexpr long kWriteFailed = 8900;          // writing the transaction record with SNUM/TAC failed
constexpr long kCancelled = 8990;            // the user cancelled, or a form could not reconnect the card
constexpr long kWrongCard = 9940;            // not the card the page logged in with
constexpr long kTimedOut = 9950;             // a dialog's countdown ran out
constexpr long kSealFailed = 9970;           // the request could not be sealed; TrnsMsg stays empty
constexpr long kRefused = 9980;              // refused or not available
constexpr long kParameterEmptyBase = 9810;   // + N: page parameter block bh_dN deciphered to nothing
constexpr long kParameterUnparsable = 9821;  // the page parameters failed to parse
constexpr long kUserGaveUp = -1;             // no card inserted, or the pull-out dialog did not end with 0
constexpr long kReconnectFailed = -2;        // reconnecting the card failed
}  // namespace rc
