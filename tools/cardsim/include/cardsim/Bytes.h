#pragma once
// Byte strings and the hex text used by profiles, logs and test messages.
#include <cstdint>
#include <string>
#include <vector>

namespace rvp::cardsim {

using Bytes = std::vector<std::uint8_t>;

// "00 A4 04 00" or "00a40400" -> bytes. Blanks are ignored; throws std::invalid_argument on other
// characters or an odd number of digits.
Bytes fromHex(const std::string& text);

// Bytes as upper-case hex, optionally with a blank between bytes.
std::string toHex(const Bytes& bytes, bool spaced = false);

}  // namespace rvp::cardsim
