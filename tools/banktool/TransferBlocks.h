// The enciphered parameter blocks bh_d0 .. bh_d8 that the bank's page receives from the server for one
// form-driven transfer, made from the case's clear values.
#ifndef RVP_TOOLS_BANKTOOL_TRANSFERBLOCKS_H
#define RVP_TOOLS_BANKTOOL_TRANSFERBLOCKS_H

#include <array>
#include <string>

namespace banktool {

struct TransferCase {
  unsigned char iv[8] = {'I', 'V', 'f', 'o', 'r', 'T', 'X', '1'};
  std::string readerType = "2";    // "1": the card is checked with its PIN and pulled out before the write
  std::string loginIssuerId;       // 8 characters: the bank id of the card the customer logged in with
  std::string loginIssuerAccount;  // 16 characters: its issuer account
  std::string readerName;
  std::string sessionId;
  std::string terminalId;               // 8 characters
  std::string checkCode;                // 8 characters
  std::string agentNo;                  // 8 characters
  std::string dateTime;                 // 14 characters
  std::string giroAccount;              // 8 characters, for the giro forms; empty: not sent
  std::string kind;                     // the transfer kind
  std::string bankChanges;              // "#"-separated bank-list changes; empty: block 0 not sent
  std::string agreedAccounts = "null";  // "#"-separated; "null": not sent
  std::string commonAccounts = "null";
  std::string limits = "null";  // "agreed$other" or one limit
};

// The clear texts of blocks 1 and 3 as the plug-in cuts them.
std::string transferBlock1(const TransferCase& c);
std::string transferBlock3(const TransferCase& c);

// bh_d0 .. bh_d8: enciphered under the case's IV (bh_d5 carries it); a block not sent is the empty
// text (block 0) or the word "null" (blocks 6 to 8).
std::array<std::string, 9> makeTransferBlocks(const TransferCase& c);

// Sets one field of a case from "name=value" (names: iv as 16 hex digits, reader-type, issuer-id,
// issuer-account, reader, session, terminal, check-code, agent, time, giro, kind, bank-changes, agreed,
// common, limits); false for an unknown name or a bad IV.
bool setTransferCaseField(TransferCase& c, const std::string& assignment);

}  // namespace banktool

#endif
