#pragma once
// Command APDUs as the card receives them, and the status words it answers.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "cardsim/Bytes.h"

namespace rvp::cardsim {

namespace sw {
constexpr std::uint16_t ok = 0x9000;
constexpr std::uint16_t pinWrong = 0x6608;
constexpr std::uint16_t pinStopped = 0x6620;
constexpr std::uint16_t wrongLength = 0x6700;
constexpr std::uint16_t wrongFileStructure = 0x6981;
constexpr std::uint16_t securityNotSatisfied = 0x6982;
constexpr std::uint16_t noCurrentEf = 0x6986;
constexpr std::uint16_t wrongData = 0x6A80;
constexpr std::uint16_t fileNotFound = 0x6A82;
constexpr std::uint16_t recordNotFound = 0x6A83;
constexpr std::uint16_t notEnoughMemory = 0x6A84;
constexpr std::uint16_t wrongP1P2 = 0x6A86;
constexpr std::uint16_t referenceNotFound = 0x6A88;
constexpr std::uint16_t offsetOutOfFile = 0x6B00;
constexpr std::uint16_t unknownInstruction = 0x6D00;
constexpr std::uint16_t unknownClass = 0x6E00;
constexpr std::uint16_t noPreciseDiagnosis = 0x6F00;
}  // namespace sw

struct CommandApdu {
  std::uint8_t cla = 0, ins = 0, p1 = 0, p2 = 0;
  Bytes data;
  std::optional<std::size_t> le;  // bytes expected; a short Le of 00 means 256, an extended 0000 65536
};

// Splits a command into header, data and Le (short, or extended Le without data). Returns nothing
// when the bytes are not a well-formed command (fewer than 4 bytes, Lc that disagrees with the length).
std::optional<CommandApdu> parseCommand(const Bytes& raw);

}  // namespace rvp::cardsim
