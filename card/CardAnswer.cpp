#include "card/CardAnswer.h"

#include <algorithm>

#include "card/CardBuffers.h"

CardAnswer CardAnswer::last() { return CardAnswer(baRecBuf, std::min<std::size_t>(ulRecLen, kCardBufferSize)); }

FiscSW CardAnswer::statusWord() const {
  if (!hasStatusWord()) return 0;
  return (static_cast<FiscSW>(bytes_[length_ - 2]) << 8) | bytes_[length_ - 1];
}

std::optional<RecordValue> recordValue(const unsigned char* data, std::size_t length, std::size_t width) {
  constexpr std::size_t kHeader = 2;  // tag, length byte
  if (data == nullptr || length < kHeader) return std::nullopt;
  const std::size_t announced = data[1];
  if (announced != length - kHeader || announced < width) return std::nullopt;
  return RecordValue{data + kHeader, announced};
}

std::optional<WriteAnswer> writeAnswer(const unsigned char* answer, std::size_t length) {
  if (answer == nullptr || length < kWriteTacAt) return std::nullopt;
  const unsigned char* serial = answer + kWriteSerialAt;
  if (std::find(serial, serial + kWriteSerialLength, 0) != serial + kWriteSerialLength) return std::nullopt;
  const std::size_t tacLength =
      (static_cast<std::size_t>(answer[kWriteTacLengthAt]) << 8) | answer[kWriteTacLengthAt + 1];
  if (tacLength < kMinTacLength || tacLength != length - kWriteTacAt) return std::nullopt;
  return WriteAnswer{std::string(reinterpret_cast<const char*>(serial), kWriteSerialLength), answer + kWriteTacAt,
                     tacLength};
}
