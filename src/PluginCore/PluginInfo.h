#pragma once
// What the browser asks about the plug-in before and after an instance exists.

#include <string>

namespace PF {

// Always "DEDIVIZUVIRA_r86_64".
std::string getPluginName(const std::string& mimetype = std::string());
// The description registered for the MIME type; empty for one that is not listed.
std::string getPluginDescription(const std::string& mimetype = std::string());
bool pluginGuiEnabled();

// The MIME description the plug-in registers: entries closed by ";", each
// "type:extension:description".
extern const char* const kMimeDescription;

}  // namespace PF
