#pragma once
// EBCDIC text and packed digits as the card's transaction records hold them.

#include <cstddef>

// ASCII/Latin-1 -> card EBCDIC and back; each table is the exact inverse of the other.
extern const unsigned char os_toebcdic[256];
extern const unsigned char os_toascii[256];

// Translate n bytes of `in` into `out` (which may be `in` itself); returns `out`. n = 0 does nothing.
unsigned char* ascii2ebcdic(void* out, const void* in, std::size_t n);
unsigned char* ebcdic2ascii(void* out, const void* in, std::size_t n);

// One byte from the low nibbles of two values: high's in the high nibble, low's in the low nibble.
unsigned char BitsMerge(unsigned int high, unsigned int low);

// Packs n characters two to a byte by their low nibbles (BitsMerge) into n/2 bytes of `out`;
// an odd last character is ignored. `out` may be `digits` itself. Returns `out`.
unsigned char* getRChar(void* out, const void* digits, std::size_t n);
