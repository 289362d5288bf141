// Everything the browser finds wrong during a run: page script errors, misuse of the browser functions by
// the plug-in, and what is left over at the end. The run's exit status is derived from it.
#pragma once

#include <string>
#include <vector>

namespace testbrowser {

class Faults {
 public:
  enum class Kind { ScriptError, PluginMisuse, Leak, Setup };

  void add(Kind kind, const std::string& message);
  size_t count(Kind kind) const;
  bool empty() const { return entries_.empty(); }
  const std::vector<std::pair<Kind, std::string>>& entries() const { return entries_; }
  // Messages go to standard error as they arrive unless quiet.
  void setEcho(bool echo) { echo_ = echo; }

  // 0 clean; bit 1 script errors or plug-in misuse; bit 2 leaks; 4 when the run could not be set up.
  int exitStatus() const;

 private:
  std::vector<std::pair<Kind, std::string>> entries_;
  bool echo_ = true;
};

}  // namespace testbrowser
