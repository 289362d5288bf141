#include "PayeeAccountRules.h"

#include "PostalCheckDigits.h"

const char* const kPayeeCheckDigitMessage = "您輸入的帳號資料錯誤，請查明後再做！";

namespace {
constexpr std::string::size_type kGroupLength = 7;

// Both halves of a postal savings account: the first 7 characters and everything after them.
bool bothGroupsPass(const std::string& account) {
  if (account.size() <= kGroupLength) return false;
  return postalCheckDigitPasses(account.substr(0, kGroupLength)) &&
         postalCheckDigitPasses(account.substr(kGroupLength));
}
}  // namespace

PayeeVerdict checkBankPayee(const std::string& account) {
  if (account.empty()) return PayeeVerdict::Missing;
  return account.size() > 16 ? PayeeVerdict::WrongLength : PayeeVerdict::Accepted;
}

PayeeVerdict checkPostalSavingsPayee(const std::string& account) {
  if (account.empty()) return PayeeVerdict::Missing;
  if (account.size() != 14) return PayeeVerdict::WrongLength;
  return bothGroupsPass(account) ? PayeeVerdict::Accepted : PayeeVerdict::WrongCheckDigit;
}

PayeeVerdict checkPostalSavingsPayeeFromBank(const std::string& account) {
  if (account.empty()) return PayeeVerdict::Missing;
  if (account.size() < 14 || account.size() > 16) return PayeeVerdict::WrongLength;
  std::string tested = account;
  if (tested.size() == 16 && tested.compare(0, 2, "00") == 0)
    tested.erase(0, 2);
  else if (tested.size() == 15 && tested[0] == '0')
    tested.erase(0, 1);
  return bothGroupsPass(tested) ? PayeeVerdict::Accepted : PayeeVerdict::WrongCheckDigit;
}

PayeeVerdict checkGiroPayee(const std::string& account) {
  if (account.empty()) return PayeeVerdict::Missing;
  if (account.size() != 8) return PayeeVerdict::WrongLength;
  return CheckRodaAcctID_5(account) ? PayeeVerdict::Accepted : PayeeVerdict::WrongCheckDigit;
}

PayeeVerdict checkGiroPayeeFromBank(const std::string& account) {
  if (account.empty()) return PayeeVerdict::Missing;
  if (account.size() != 15) return PayeeVerdict::WrongLength;
  return giroTransferAccountPasses(account) ? PayeeVerdict::Accepted : PayeeVerdict::WrongCheckDigit;
}

const PayeeRule kPostalSavingsPayeeRule = {checkPostalSavingsPayee, "請輸入14位轉入帳號"};
const PayeeRule kPostalSavingsPayeeFromBankRule = {checkPostalSavingsPayeeFromBank, "請輸入14位轉入帳號"};
const PayeeRule kGiroPayeeFromBankRule = {checkGiroPayeeFromBank, "請輸入轉入帳號(7000010 + 8位劃撥帳號)共15碼"};
const PayeeRule kGiroPayeeRule = {checkGiroPayee, "請輸入8位轉入帳號"};
