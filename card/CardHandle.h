#pragma once
// The card handle as the card layer's callers keep it: 32 bits (pcsc-lite's own handles are wider
// types holding 32-bit values).

#include <cstdint>

using CardHandle = std::uint32_t;
