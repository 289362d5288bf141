#include "DialogRandom.h"

#include "crypto/random.h"

std::optional<std::uint32_t> drawRandom32() {
  unsigned char bytes[4] = {};
  RandomSource source = currentRandomSource();
  if (!source || !source(bytes, sizeof bytes)) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}
