#pragma once

#include <cstdint>
#include <optional>

// 32 random bits for the dialogs (verification codes, the captcha drawing), from the process-wide random
// source that tests may replace (crypto/random.h). Nothing when the source fails: a caller that needs
// unpredictable values must stop then, never go on with zeros.
std::optional<std::uint32_t> drawRandom32();
