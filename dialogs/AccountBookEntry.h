#pragma once

#include <string>
#include <vector>

// The account book of frequent payees as the bank's page hands it over and takes it back.
//
// An entry text is the bank code and the account number run together, a line break, the comment, a line
// break and the e-mail field (addresses separated by ";"). The word "null", in any letter case, stands
// for an empty comment or e-mail field; writers write it in lower case.
struct AccountBookEntry {
  std::string bank;     // the first 3 characters of part 1 (fewer when part 1 is shorter)
  std::string account;  // part 1 from its 4th character
  std::string comment;  // part 2 as stored ("null" stays "null")
  std::string email;    // part 3 as stored
  bool hasComment = false;
  bool hasEmail = false;

  // The comment and e-mail field as shown: "null" (any case) is an empty field.
  std::string shownComment() const;
  std::string shownEmail() const;
};

// Whether a part is the word that stands for an empty field.
bool isNullPart(const std::string& part);

// Splits an entry text at its line breaks (an empty last part is dropped; an empty text has no parts).
AccountBookEntry readAccountBookEntry(const std::string& text);

// bank + account + "\n" + (comment or "null") + "\n" + (e-mail field or "null").
std::string writeAccountBookEntry(const std::string& bank, const std::string& account, const std::string& comment,
                                  const std::string& email);

// The book as the page gets it back: <Vennoral>, one <rec> per entry with <bank> and <acc>, a <comment>
// and an <email> only where the entry has a non-empty part for them (empty elements for "null"), and
// </Vennoral>. Element text has '&', '<' and '>' escaped so that no entry can change the structure.
std::string accountBookXml(const std::vector<std::string>& entries);

// One proposed entry as the page gets it back: all four elements, always.
std::string accountBookRecordXml(const std::string& bank, const std::string& account, const std::string& comment,
                                 const std::string& email);
