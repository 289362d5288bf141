#include "testbrowser/NetworkKnobs.h"

namespace testbrowser {

namespace {

bool yesNo(const std::string& name, const std::string& value) {
  if (value == "yes" || value == "true" || value == "1") return true;
  if (value == "no" || value == "false" || value == "0") return false;
  throw NetworkKnobError("network " + name + ": not a yes/no value: " + value);
}

int64_t number(const std::string& name, const std::string& value, int64_t min) {
  try {
    size_t used = 0;
    long long n = std::stoll(value, &used);
    if (used == value.size() && n >= min) return n;
  } catch (const std::exception&) {
  }
  throw NetworkKnobError("network " + name + ": not a number of at least " + std::to_string(min) + ": " + value);
}

}  // namespace

void setNetworkKnob(NetworkKnobs& knobs, const std::string& name, const std::string& value) {
  if (name == "chunk") {
    knobs.chunk = static_cast<uint32_t>(std::min<int64_t>(number(name, value, 0), 0x7fffffff));
  } else if (name == "unknownlength") {
    knobs.unknownLength = yesNo(name, value);
  } else if (name == "seekable") {
    knobs.seekable = yesNo(name, value);
  } else if (name == "failafter") {
    knobs.failAfter = number(name, value, -1);
  } else if (name == "refuse") {
    knobs.refuse = value;
  } else if (name == "order") {
    if (value != "notifyfirst" && value != "destroyfirst")
      throw NetworkKnobError("network order: notifyfirst or destroyfirst, not " + value);
    knobs.notifyFirst = value == "notifyfirst";
  } else if (name == "timeout") {
    knobs.timeoutMs = number(name, value, 1);
  } else {
    throw NetworkKnobError("unknown network setting: " + name);
  }
}

}  // namespace testbrowser
