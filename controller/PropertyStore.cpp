// Accessors of the page-visible values, generated from the one property table.
#include "ZododovuRavuVODCtrl.h"

#include <limits>

#include "card/SecureWipe.h"

namespace {
// A null text from a caller counts as empty rather than crashing.
inline const char* orEmpty(const char* text) { return text ? text : ""; }

// A PIN property takes a new value only after every byte of the old one's buffer is wiped. The new
// value is copied first, since it may lie in the field itself, and that copy is wiped as it goes.
void replaceSecret(std::string& field, const char* text) {
  const card::WipedText next(orEmpty(text));
  card::wipe(field);
  field = next.text;
}

template <std::size_t N>
bool inRange(long index) {
  return index >= 0 && index < static_cast<long>(N);
}
}  // namespace

ZododovuRavuVODCtrl::ZododovuRavuVODCtrl() = default;

#define RVP_DEFINE_GET(name) \
  std::string ZododovuRavuVODCtrl::Get##name() const { return name; }
#define RVP_DEFINE_SET(name) \
  void ZododovuRavuVODCtrl::Set##name(const char* text) { name = orEmpty(text); }
#define RVP_DEFINE_TEXT(name) RVP_DEFINE_GET(name) RVP_DEFINE_SET(name)
#define RVP_DEFINE_SECRET(name) \
  RVP_DEFINE_GET(name)          \
  void ZododovuRavuVODCtrl::Set##name(const char* text) { replaceSecret(name, text); }
#define RVP_DEFINE_NUMBER(type, name)                          \
  type ZododovuRavuVODCtrl::Get##name() const { return name; } \
  void ZododovuRavuVODCtrl::Set##name(type value) { name = value; }
#define RVP_DEFINE_LIST(name, size)                                                      \
  std::string ZododovuRavuVODCtrl::Get##name(long index) const {                         \
    return inRange<size>(index) ? name[static_cast<std::size_t>(index)] : std::string(); \
  }                                                                                      \
  void ZododovuRavuVODCtrl::Set##name(long index, const char* text) {                    \
    if (inRange<size>(index)) name[static_cast<std::size_t>(index)] = orEmpty(text);     \
  }

RVP_CONTROLLER_PROPERTIES(RVP_DEFINE_TEXT, RVP_DEFINE_SECRET, RVP_DEFINE_SET, RVP_DEFINE_GET, RVP_DEFINE_NUMBER,
                          RVP_DEFINE_LIST)
