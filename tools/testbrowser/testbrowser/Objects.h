// Every NPObject alive in the process, whoever's class it has: made through createobject, counted through
// retainobject / releaseobject, and freed through its class when the count reaches zero. A pointer that is
// not a live object is refused (and reported by the caller) instead of being followed.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "npapi/NPAPI.h"

namespace testbrowser {

class Objects {
 public:
  struct Entry {
    NPObject* object;
    NPP owner;  // the instance it was made for (may be null)
  };

  // Null when the class's allocate gives nothing.
  NPObject* create(NPP owner, NPClass* cls);
  bool isLive(const NPObject* object) const;
  // False for an object that is not live; nothing happens then.
  bool retain(NPObject* object);
  bool release(NPObject* object);
  NPP ownerOf(const NPObject* object) const;
  std::vector<Entry> live() const;
  std::vector<NPObject*> liveOwnedBy(NPP owner) const;
  // Frees an object whatever its count (end of run, after the report).
  void reclaim(NPObject* object);

 private:
  void destroy(NPObject* object);
  std::map<const NPObject*, NPP> live_;
  uint64_t created_ = 0;
};

}  // namespace testbrowser
