#pragma once
// What the plug-in reads of the main bundle of the process it runs in (the browser's).

#include <string>

#include "mac/MainBundle.h"

namespace PF {

class MainBundleInfo {
 public:
  static std::string identifier() {
    const size_t length = rvp_bundle_identifier(nullptr, 0);
    std::string id(length + 1, '\0');
    if (rvp_bundle_identifier(&id[0], id.size()) != length) return std::string();  // changed meanwhile: treat as none
    id.resize(length);
    return id;
  }
  static bool hasInfoValue(const std::string& key) { return rvp_bundle_has_info_value(key.c_str()) != 0; }
};

}  // namespace PF
