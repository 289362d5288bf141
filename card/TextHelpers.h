#pragma once
// Text utilities over std::string. The in-place functions change their argument; the ...Return
// functions leave it and return a new string.

#include <cstddef>
#include <string>
#include <string_view>

// Removes every leading and trailing `c`. Empty text, or text made only of `c`, is left unchanged.
void trim(std::string& text, char c = ' ');
// Same effect as trim (both ends): callers strip padding on either side with it.
void trimRight(std::string& text, char c = ' ');
// Removes the leading `c`s; text made only of `c` is left unchanged.
void trimLeft(std::string& text, char c = ' ');
// Keeps the first n characters (all if shorter).
void truncate(std::string& text, std::size_t n);
void toLoweer(std::string& text);
void toUpper(std::string& text);

std::string trimReturn(const std::string& text, char c = ' ');
std::string trimRightReturn(const std::string& text, char c = ' ');  // both ends, like trimRight
std::string trimLeftReturn(const std::string& text, char c = ' ');
std::string truncateReturn(const std::string& text, std::size_t n);
std::string toLowerReturn(const std::string& text);
std::string toUpperReturn(const std::string& text);

// Case-insensitive comparison: bytewise over the shorter length, then the shorter sorts first.
// Negative, 0 or positive. A null text compares as empty.
int compareNoCase(const std::string& a, const std::string& b);
int compareNoCase(const char* a, const char* b);

// Characters of a text counting a byte with the high bit set as the start of a three-byte
// (Chinese UTF-8) character, cut short at the end of the text; any other byte is one character.
std::size_t strLength(std::string_view text);

// Copies `text` into a buffer of `size` bytes, cut to size - 1 characters and zero-terminated
// (nothing is written when size is 0). Returns the number of characters copied.
std::size_t copyText(std::string_view text, char* out, std::size_t size);
