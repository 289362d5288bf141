#include "cardsim/Apdu.h"

namespace rvp::cardsim {

std::optional<CommandApdu> parseCommand(const Bytes& raw) {
  if (raw.size() < 4) return std::nullopt;
  CommandApdu c;
  c.cla = raw[0];
  c.ins = raw[1];
  c.p1 = raw[2];
  c.p2 = raw[3];
  const std::size_t body = raw.size() - 4;
  if (body == 0) return c;
  if (body == 1) {
    c.le = raw[4] ? raw[4] : 256;
    return c;
  }
  if (raw[4] == 0) {
    if (body != 3) return std::nullopt;  // extended lengths only for Le without data
    std::size_t le = static_cast<std::size_t>(raw[5]) << 8 | raw[6];
    c.le = le ? le : 65536;
    return c;
  }
  const std::size_t lc = raw[4];
  if (body == 1 + lc) {
    c.data.assign(raw.begin() + 5, raw.end());
  } else if (body == 2 + lc) {
    c.data.assign(raw.begin() + 5, raw.end() - 1);
    c.le = raw.back() ? raw.back() : 256;
  } else {
    return std::nullopt;
  }
  return c;
}

}  // namespace rvp::cardsim
