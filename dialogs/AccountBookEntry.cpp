#include "AccountBookEntry.h"

#include "card/TextHelpers.h"
#include "controller/transactions/RequestXml.h"
#include "crypto/ParseEncParam.h"

namespace {
constexpr std::size_t kBankCodeLength = 3;
const char* const kNullWord = "null";

std::string shown(const std::string& part) { return isNullPart(part) ? std::string() : part; }

// A part that is present and not empty becomes its element; "null" an empty one.
void optionalElement(XmlText& xml, const char* name, bool present, const std::string& part) {
  if (!present || part.empty()) return;
  xml.element(name, shown(part));
}
}  // namespace

bool isNullPart(const std::string& part) { return compareNoCase(part, kNullWord) == 0; }

std::string AccountBookEntry::shownComment() const { return shown(comment); }
std::string AccountBookEntry::shownEmail() const { return shown(email); }

AccountBookEntry readAccountBookEntry(const std::string& text) {
  std::vector<std::string> parts;
  CParseEncParam().SplitString_1(text.c_str(), '\n', parts);
  AccountBookEntry entry;
  if (!parts.empty()) {
    entry.bank = parts[0].substr(0, kBankCodeLength);
    if (parts[0].size() > kBankCodeLength) entry.account = parts[0].substr(kBankCodeLength);
  }
  entry.hasComment = parts.size() > 1;
  if (entry.hasComment) entry.comment = parts[1];
  entry.hasEmail = parts.size() > 2;
  if (entry.hasEmail) entry.email = parts[2];
  return entry;
}

std::string writeAccountBookEntry(const std::string& bank, const std::string& account, const std::string& comment,
                                  const std::string& email) {
  return bank + account + "\n" + (comment.empty() ? kNullWord : comment) + "\n" + (email.empty() ? kNullWord : email);
}

std::string accountBookXml(const std::vector<std::string>& entries) {
  XmlText xml;
  xml.open("Vennoral");
  for (const std::string& text : entries) {
    const AccountBookEntry entry = readAccountBookEntry(text);
    xml.open("rec").element("bank", entry.bank).element("acc", entry.account);
    optionalElement(xml, "comment", entry.hasComment, entry.comment);
    optionalElement(xml, "email", entry.hasEmail, entry.email);
    xml.close("rec");
  }
  xml.close("Vennoral");
  return xml.text();
}

std::string accountBookRecordXml(const std::string& bank, const std::string& account, const std::string& comment,
                                 const std::string& email) {
  XmlText xml;
  xml.open("Vennoral")
      .open("rec")
      .element("bank", bank)
      .element("acc", account)
      .element("comment", comment)
      .element("email", email)
      .close("rec")
      .close("Vennoral");
  return xml.text();
}
