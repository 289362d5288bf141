#pragma once
// Hexadecimal text <-> bytes. The controller keeps card data (file ids, commands, ATR, PIN blocks,
// TAC) as hex text and packs it only here, at the card layer.

#include <cstddef>
#include <string>

// One byte from two hex characters (either case); a character that is not a hex digit counts as '0'.
unsigned char GP_Pack2To1(char high, char low);

// Packs n hex characters of a zero-terminated text into (n + 1) / 2 bytes, at most `outCapacity` of
// them (the rest of the text is not packed). With an odd n the last byte's low nibble is the character
// after the n (the terminating zero, read as '0', when the text ends there). A zero byte ends the text
// early: the characters after it count as '0' and are not read, so nothing past the text's end is read.
// No terminator is written. Returns the number of bytes written.
std::size_t GP_PackData(const char* hex, std::size_t n, unsigned char* out, std::size_t outCapacity);

// Writes the n bytes as 2n upper-case hex characters ("%02X"), no terminator of its own; the first
// output byte is cleared first (so zero bytes leave an empty text). Writes at most `outCapacity`
// characters, whole bytes only. Returns the number of characters written.
std::size_t GP_UnpackData(const unsigned char* bytes, std::size_t n, char* out, std::size_t outCapacity);

// The same as a string: 2n upper-case hex characters.
std::string GP_UnpackData(const unsigned char* bytes, std::size_t n);

// "GPAPI V1.2" and "2002.09.26", each zero-terminated and cut to its buffer.
void GP_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize);
