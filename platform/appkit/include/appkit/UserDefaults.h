#pragma once

#include <map>
#include <string>

namespace appkit {

// The user's preferences, kept in memory for the life of the process (tests set what they need).
class UserDefaults {
 public:
  static UserDefaults& standard();

  // NO (false) when the key is missing; a stored text is YES when it starts with "Y", "y", "T", "t"
  // or a digit 1-9 (after blanks, a sign and zeros), so "YES", "true" and "1" all read as YES.
  bool boolForKey(const std::string& key) const;
  long integerForKey(const std::string& key) const;
  std::string stringForKey(const std::string& key) const;

  void setBool(bool value, const std::string& key);
  void setInteger(long value, const std::string& key);
  void setString(const std::string& value, const std::string& key);
  void removeObjectForKey(const std::string& key);
  void reset();

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace appkit
