#include "appkit/UserDefaults.h"

#include <cstdlib>

namespace appkit {

UserDefaults& UserDefaults::standard() {
  static UserDefaults defaults;
  return defaults;
}

bool UserDefaults::boolForKey(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return false;
  const std::string& v = it->second;
  if (v == "YES" || v == "yes" || v == "true" || v == "TRUE") return true;
  return std::strtol(v.c_str(), nullptr, 10) != 0;
}

long UserDefaults::integerForKey(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return 0;
  if (it->second == "YES") return 1;
  return std::strtol(it->second.c_str(), nullptr, 10);
}

std::string UserDefaults::stringForKey(const std::string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? std::string() : it->second;
}

void UserDefaults::setBool(bool value, const std::string& key) { values_[key] = value ? "YES" : "NO"; }
void UserDefaults::setInteger(long value, const std::string& key) { values_[key] = std::to_string(value); }
void UserDefaults::setString(const std::string& value, const std::string& key) { values_[key] = value; }
void UserDefaults::removeObjectForKey(const std::string& key) { values_.erase(key); }
void UserDefaults::reset() { values_.clear(); }

}  // namespace appkit
