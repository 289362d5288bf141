#pragma once

#include <string>

// The tests an account-book entry passes before its dialog hands it back.

// Comment (alias): 0 when it is fit; otherwise the code of the first database keyword found in it
// (-1 "select" .. -12 "truncate", letter case ignored) or -13 for a character outside plain words
// (punctuation such as . , _ @ " ' < > and the like).
int CheckCommentSyntax(const std::string& comment);
// One e-mail address: 100 when it holds a database keyword or a character the e-mail field refuses, 0
// otherwise. The at sign, the underscore and the period are allowed here.
int CheckInvaildKeyWord(const std::string& address);
// One e-mail address: a local part (plain characters, or quoted strings between periods) that is not
// empty and does not end with ".", an "@", and a domain of plain characters with at least one "." and
// no empty label before one. Control characters, blanks and bytes of 0x80 and above are refused outside
// quoted strings and inside them alike (a backslash lets a blank through inside quotes).
bool CheckEmailFormat(const char* address);

// The names the two entry dialogs know them by.
inline int CheckCommentSyntax_ADD(const std::string& comment) { return CheckCommentSyntax(comment); }
inline int CheckInvaildKeyWord_ADD(const std::string& address) { return CheckInvaildKeyWord(address); }
inline bool CheckEmailFormat_ADD(const char* address) { return CheckEmailFormat(address); }

// A postal account (bank 700) of the book by its length: 8 digits with their check digit, 14 digits
// as two groups of 7 each ending in its check digit, or 15 digits in the giro-transfer form; any
// other length fails.
bool postalBookAccountPasses(const std::string& digits);

// An account the book may take from a page or a list: 1 to 16 ASCII digits.
bool isBookAccount(const std::string& text);
