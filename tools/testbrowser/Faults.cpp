#include "testbrowser/Faults.h"

#include <cstdio>

namespace testbrowser {

namespace {
const char* label(Faults::Kind kind) {
  switch (kind) {
    case Faults::Kind::ScriptError:
      return "script error";
    case Faults::Kind::PluginMisuse:
      return "plug-in misuse";
    case Faults::Kind::Leak:
      return "leak";
    case Faults::Kind::Setup:
      return "setup";
  }
  return "fault";
}
}  // namespace

void Faults::add(Kind kind, const std::string& message) {
  entries_.emplace_back(kind, message);
  if (echo_) std::fprintf(stderr, "testbrowser: %s: %s\n", label(kind), message.c_str());
}

size_t Faults::count(Kind kind) const {
  size_t n = 0;
  for (const auto& e : entries_) n += e.first == kind ? 1 : 0;
  return n;
}

int Faults::exitStatus() const {
  if (count(Kind::Setup)) return 4;
  int status = 0;
  if (count(Kind::ScriptError) || count(Kind::PluginMisuse)) status |= 1;
  if (count(Kind::Leak)) status |= 2;
  return status;
}

}  // namespace testbrowser
