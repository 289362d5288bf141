// The page the browser shows: its address, what the browser claims to support, the plug-ins embedded in it
// and the scripts it runs, read from a small HTML-like text:
//
//   <page location="https://atm.example/index.html">
//   <browser coreanimation="yes" coregraphics="yes" cocoa="yes" layerretain="no" version="27">
//   <embed id="plugin" type="application/roda-vennoral-plugin" onload="pluginLoaded">
//   <object id="second" type="application/roda-vennoral-plugin"><param name="drawingmodel" value="x"></object>
//   <script src="checks.js"></script>
//   <script> console.log("inline"); </script>
//
// Attribute values may be quoted with " or ' or bare; <!-- comments --> are skipped; other text is ignored.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "testbrowser/NetworkKnobs.h"

namespace testbrowser {

struct BrowserCapabilities {
  bool coreGraphics = true;
  bool coreAnimation = true;
  bool invalidatingCoreAnimation = false;
  bool cocoaEvents = true;
  int layerRetained = -1;  // answer to the layer-retain query: -1 unknown (query fails), 0 false, 1 true
  int tableVersion = 27;   // version field of the browser's function table
};

struct EmbedDescription {
  std::string id;
  std::string mimeType;
  // Every attribute of the tag in order (type and id included), then the <param> children in order.
  std::vector<std::pair<std::string, std::string>> params;
  // How many of the page's scripts come before the tag: they run before the instance is made, as in a
  // page read top to bottom (so a handler named by "onload" can be defined above the plug-in).
  size_t scriptsBefore = 0;
};

struct PageScriptSource {
  std::string name;  // file name, or "inline script N"
  std::string code;
};

struct PageDescription {
  std::string location = "http://localhost/";
  std::string baseDir;   // the description's folder: page-relative addresses are read from there
  NetworkKnobs network;  // <network ...>
  BrowserCapabilities browser;
  std::vector<EmbedDescription> embeds;
  std::vector<PageScriptSource> scripts;
};

class PageDescriptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Script files named by src are read relative to baseDir.
PageDescription parsePageDescription(const std::string& text, const std::string& baseDir);
PageDescription loadPageDescription(const std::string& path);
std::string readTextFile(const std::string& path);

}  // namespace testbrowser
