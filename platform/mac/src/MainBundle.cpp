// The main bundle's identity, set once by the browser and read by plug-ins, under one lock.
#include "mac/MainBundle.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

struct Bundle {
  std::mutex mutex;
  std::string identifier;
  std::map<std::string, std::string> info;
};

Bundle& bundle() {
  static Bundle* instance = new Bundle;
  return *instance;
}

}  // namespace

extern "C" {

void rvp_bundle_set_identifier(const char* identifier) {
  Bundle& b = bundle();
  std::lock_guard<std::mutex> lock(b.mutex);
  b.identifier = identifier ? identifier : "";
}

size_t rvp_bundle_identifier(char* buf, size_t cap) {
  Bundle& b = bundle();
  std::lock_guard<std::mutex> lock(b.mutex);
  const std::string& id = b.identifier;
  if (buf && cap >= id.size() + 1) std::memcpy(buf, id.c_str(), id.size() + 1);
  return id.size();
}

int rvp_bundle_set_info_value(const char* key, const char* value) {
  if (!key || !*key) return -1;
  Bundle& b = bundle();
  std::lock_guard<std::mutex> lock(b.mutex);
  if (value)
    b.info[key] = value;
  else
    b.info.erase(key);
  return 0;
}

int rvp_bundle_has_info_value(const char* key) {
  if (!key) return 0;
  Bundle& b = bundle();
  std::lock_guard<std::mutex> lock(b.mutex);
  return b.info.count(key) ? 1 : 0;
}

void rvp_bundle_reset(void) {
  Bundle& b = bundle();
  std::lock_guard<std::mutex> lock(b.mutex);
  b.identifier.clear();
  b.info.clear();
}

}  // extern "C"
