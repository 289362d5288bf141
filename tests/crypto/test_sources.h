// Random sources for tests: repeatable, failing, and stuck.
#ifndef RVP_TESTS_CRYPTO_TEST_SOURCES_H
#define RVP_TESTS_CRYPTO_TEST_SOURCES_H

#include <memory>
#include <random>

#include "crypto/random.h"

inline RandomSource seededSource(unsigned seed) {
  auto engine = std::make_shared<std::mt19937>(seed);
  return [engine](unsigned char* buf, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i) buf[i] = static_cast<unsigned char>((*engine)() & 0xFF);
    return true;
  };
}

inline RandomSource failingSource() {
  return [](unsigned char*, std::size_t) { return false; };
}

// Works for the first `good` calls, then fails.
inline RandomSource failingAfter(int good) {
  auto left = std::make_shared<int>(good);
  auto inner = seededSource(7);
  return [left, inner](unsigned char* buf, std::size_t len) { return (*left)-- > 0 && inner(buf, len); };
}

// Always the same byte: a source that never produces a second digit.
inline RandomSource stuckSource(unsigned char value) {
  return [value](unsigned char* buf, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i) buf[i] = value;
    return true;
  };
}

#endif
