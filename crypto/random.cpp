#include "crypto/random.h"

#include <climits>

#include <openssl/rand.h>

namespace {
RandomSource& processSource() {
  static RandomSource source = libraryRandomSource();
  return source;
}
}  // namespace

RandomSource libraryRandomSource() {
  return [](unsigned char* buf, std::size_t len) {
    return len <= static_cast<std::size_t>(INT_MAX) && RAND_bytes(buf, static_cast<int>(len)) > 0;
  };
}

RandomSource currentRandomSource() { return processSource(); }

void setRandomSource(RandomSource source) { processSource() = source ? std::move(source) : libraryRandomSource(); }

ScopedRandomSource::ScopedRandomSource(RandomSource source) : saved_(currentRandomSource()) {
  setRandomSource(std::move(source));
}

ScopedRandomSource::~ScopedRandomSource() { setRandomSource(std::move(saved_)); }

std::optional<int> randomByteDraw(const RandomSource& source) {
  unsigned char bytes[16] = {};
  if (!source || !source(bytes, sizeof bytes)) return std::nullopt;
  return bytes[15];
}

std::optional<int> MagicNum() { return randomByteDraw(currentRandomSource()); }

std::string getSessionNo() { return getSessionNo(currentRandomSource()); }

std::string getSessionNo(const RandomSource& source) {
  static const char alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  // The 16 draws come from one call of the source: one random byte each.
  unsigned char draws[16] = {};
  if (!source || !source(draws, sizeof draws)) return std::string();
  std::string number;
  for (unsigned char draw : draws) number += alphabet[draw % 36];
  return number;
}
