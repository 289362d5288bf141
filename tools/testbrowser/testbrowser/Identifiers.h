// Interned identifiers: one record per distinct name and per distinct integer, kept for the whole run, so
// equal names give the same NPIdentifier. A pointer that is not one of ours is recognised as such.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "npapi/NPAPI.h"

namespace testbrowser {

class Identifiers {
 public:
  NPIdentifier forName(const std::string& name);
  NPIdentifier forInt(int32_t value);
  bool isKnown(NPIdentifier id) const;
  // For known identifiers only.
  bool isString(NPIdentifier id) const;
  std::string name(NPIdentifier id) const;  // decimal text for an integer identifier
  int32_t intValue(NPIdentifier id) const;  // 0 for a string identifier
  size_t size() const;

 private:
  struct Record {
    bool isString;
    std::string name;
    int32_t number;
  };
  mutable std::mutex mutex_;
  std::deque<Record> records_;  // stable addresses: the NPIdentifier is the record's address
  std::map<std::string, Record*> byName_;
  std::map<int32_t, Record*> byInt_;
  std::set<const void*> known_;
};

}  // namespace testbrowser
