#include "testbrowser/Identifiers.h"

namespace testbrowser {

NPIdentifier Identifiers::forName(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = byName_.find(name);
  if (it != byName_.end()) return it->second;
  records_.push_back(Record{true, name, 0});
  Record* r = &records_.back();
  byName_[name] = r;
  known_.insert(r);
  return r;
}

NPIdentifier Identifiers::forInt(int32_t value) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = byInt_.find(value);
  if (it != byInt_.end()) return it->second;
  records_.push_back(Record{false, std::to_string(value), value});
  Record* r = &records_.back();
  byInt_[value] = r;
  known_.insert(r);
  return r;
}

bool Identifiers::isKnown(NPIdentifier id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return known_.count(id) != 0;
}

bool Identifiers::isString(NPIdentifier id) const { return static_cast<const Record*>(id)->isString; }

std::string Identifiers::name(NPIdentifier id) const { return static_cast<const Record*>(id)->name; }

int32_t Identifiers::intValue(NPIdentifier id) const {
  const Record* r = static_cast<const Record*>(id);
  return r->isString ? 0 : r->number;
}

size_t Identifiers::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_.size();
}

}  // namespace testbrowser
