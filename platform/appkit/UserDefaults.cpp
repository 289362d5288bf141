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
  // A stored text reads as the platform reads a string's truth: after leading blanks, a sign and
  // zeros, YES when it starts with "Y", "y", "T", "t" or a digit 1-9.
  const std::string& v = it->second;
  std::size_t i = v.find_first_not_of(" \t\n");
  if (i == std::string::npos) return false;
  if (v[i] == '+' || v[i] == '-') ++i;
  while (i < v.size() && v[i] == '0') ++i;
  if (i == v.size()) return false;
  const char c = v[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
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
