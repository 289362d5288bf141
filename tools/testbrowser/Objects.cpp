#include "testbrowser/Objects.h"

#include <cstdlib>

namespace testbrowser {

NPObject* Objects::create(NPP owner, NPClass* cls) {
  if (!cls) return nullptr;
  NPObject* object =
      cls->allocate ? cls->allocate(owner, cls) : static_cast<NPObject*>(std::calloc(1, sizeof(NPObject)));
  if (!object) return nullptr;
  object->_class = cls;
  object->referenceCount = 1;
  live_[object] = owner;
  ++created_;
  return object;
}

bool Objects::isLive(const NPObject* object) const { return object && live_.count(object) != 0; }

bool Objects::retain(NPObject* object) {
  if (!isLive(object)) return false;
  ++object->referenceCount;
  return true;
}

bool Objects::release(NPObject* object) {
  if (!isLive(object)) return false;
  if (object->referenceCount == 0 || --object->referenceCount == 0) destroy(object);
  return true;
}

NPP Objects::ownerOf(const NPObject* object) const {
  auto it = live_.find(object);
  return it == live_.end() ? nullptr : it->second;
}

std::vector<Objects::Entry> Objects::live() const {
  std::vector<Entry> out;
  for (const auto& e : live_) out.push_back(Entry{const_cast<NPObject*>(e.first), e.second});
  return out;
}

std::vector<NPObject*> Objects::liveOwnedBy(NPP owner) const {
  std::vector<NPObject*> out;
  for (const auto& e : live_)
    if (e.second == owner) out.push_back(const_cast<NPObject*>(e.first));
  return out;
}

void Objects::reclaim(NPObject* object) {
  if (isLive(object)) destroy(object);
}

void Objects::destroy(NPObject* object) {
  live_.erase(object);
  NPClass* cls = object->_class;
  if (cls && cls->deallocate)
    cls->deallocate(object);
  else
    std::free(object);
}

}  // namespace testbrowser
