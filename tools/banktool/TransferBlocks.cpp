#include "tools/banktool/TransferBlocks.h"

#include "tools/banktool/banktool.h"

namespace banktool {

std::string transferBlock1(const TransferCase& c) {
  return c.readerType + c.loginIssuerId + c.loginIssuerAccount + c.readerName;
}

std::string transferBlock3(const TransferCase& c) {
  return c.terminalId + c.checkCode + c.agentNo + c.dateTime + c.giroAccount;
}

std::array<std::string, 9> makeTransferBlocks(const TransferCase& c) {
  auto block = [&](const std::string& text) { return makeParamBlock(text, c.iv); };
  auto optional = [&](const std::string& text) { return text == "null" ? text : block(text); };
  return {c.bankChanges.empty() ? std::string() : block(c.bankChanges),
          block(transferBlock1(c)),
          block(c.sessionId),
          block(transferBlock3(c)),
          block(c.kind),
          makeIvBlock(c.iv),
          optional(c.agreedAccounts),
          optional(c.commonAccounts),
          optional(c.limits)};
}

bool setTransferCaseField(TransferCase& c, const std::string& assignment) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = assignment.substr(0, eq);
  const std::string value = assignment.substr(eq + 1);
  if (name == "iv") {
    if (value.size() != 16 || value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    for (std::size_t i = 0; i < 8; ++i)
      c.iv[i] = static_cast<unsigned char>(std::stoul(value.substr(2 * i, 2), nullptr, 16));
    return true;
  }
  std::string TransferCase::*const fields[] = {
      &TransferCase::readerType,     &TransferCase::loginIssuerId,  &TransferCase::loginIssuerAccount,
      &TransferCase::readerName,     &TransferCase::sessionId,      &TransferCase::terminalId,
      &TransferCase::checkCode,      &TransferCase::agentNo,        &TransferCase::dateTime,
      &TransferCase::giroAccount,    &TransferCase::kind,           &TransferCase::bankChanges,
      &TransferCase::agreedAccounts, &TransferCase::commonAccounts, &TransferCase::limits};
  const char* const names[] = {"reader-type", "issuer-id",    "issuer-account", "reader", "session",
                               "terminal",    "check-code",   "agent",          "time",   "giro",
                               "kind",        "bank-changes", "agreed",         "common", "limits"};
  for (std::size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
    if (name != names[i]) continue;
    c.*fields[i] = value;
    return true;
  }
  return false;
}

}  // namespace banktool
