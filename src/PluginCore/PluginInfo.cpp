#include "PluginInfo.h"

#include <map>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

namespace PF {

const char* const kMimeDescription = "application/roda-vennoral-plugin:post:Lunmara公司 Dorvik元件;";

namespace {
std::map<std::string, std::string> descMap;
bool nameParsed = false;

void parseMimeDescription() {
  std::vector<std::string> entries;
  boost::split(entries, kMimeDescription, boost::is_any_of(";"));
  for (const std::string& entry : entries) {
    std::vector<std::string> fields;
    boost::split(fields, entry, boost::is_any_of(":"));
    if (fields.size() > 2) descMap[fields[0]] = fields[2];
  }
  nameParsed = true;
}
}  // namespace

std::string getPluginName(const std::string&) { return "DEDIVIZUVIRA_r86_64"; }

std::string getPluginDescription(const std::string& mimetype) {
  try {
    if (!nameParsed) parseMimeDescription();
    return descMap[mimetype];
  } catch (...) {
    return "Unknown Description";
  }
}

bool pluginGuiEnabled() { return true; }

}  // namespace PF
