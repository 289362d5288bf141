// The random-byte draw behind session numbers and keypads. The source is replaceable so tests can
// feed known bytes or a failing source; a failing source is always reported, never turned into zeros.
#ifndef RVP_CRYPTO_RANDOM_H
#define RVP_CRYPTO_RANDOM_H

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Fills len bytes; false when no random bytes could be had.
using RandomSource = std::function<bool(unsigned char* buf, std::size_t len)>;

// The crypto library's generator.
RandomSource libraryRandomSource();

// The process-wide source (the library's unless a test replaced it).
RandomSource currentRandomSource();
void setRandomSource(RandomSource source);  // an empty function restores the library's

// Replaces the process-wide source for its lifetime.
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(RandomSource source);
  ~ScopedRandomSource();
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

 private:
  RandomSource saved_;
};

// One draw: 16 bytes are asked for and the last is the value (0 to 255); nothing when the source fails.
std::optional<int> randomByteDraw(const RandomSource& source);
std::optional<int> MagicNum();

// 16 characters from "0-9A-Z", each the entry (draw mod 36) of one of 16 bytes drawn in one call of the
// source; empty when the source fails.
std::string getSessionNo();
std::string getSessionNo(const RandomSource& source);

#endif
