// The factory these in-process tests link instead of the application's: a plug-in core whose scripting
// object returns one value of each width, so the binding can be watched on its own.
#pragma once

#include <stdexcept>
#include <string>

#include "BrowserStreamRequest.h"
#include "FactoryBase.h"
#include "JSAPIAuto.h"
#include "PluginCore.h"
#include "PluginEventSink.h"

namespace npapi_test {

class ValuesObject : public PF::JSAPIAuto {
 public:
  ValuesObject();
  long code() { return 9980; }
  int number() { return 9980; }
  unsigned int unsignedNumber() { return 7; }
  unsigned short shortNumber() { return 7; }
  char letter() { return 'A'; }
  float half() { return 0.5f; }
  std::string text() { return text_; }
  void setText(const std::string& t) { text_ = t; }
  long fail() { throw PF::script_error("the card is gone"); }
  long crash() { throw std::runtime_error("the disk is on fire"); }

 private:
  std::string text_;
};

class TestCore : public PF::PluginCore {
 public:
  bool HandleEvent(PF::PluginEvent*, PF::PluginEventSource*) override { return false; }
  PF::JSAPIPtr createJSAPI() override;
  void shutdown() override;
  void SetWindow(PF::PluginWindow* win) override;
  void setParams(const PF::VariantMap& params) override;
  void handleUnsolicitedStream(PF::BrowserStreamRequest& req) override;
};

struct FactoryControl {
  bool noNpapiPlugin = false;  // createNpapiPlugin answers empty
  bool noCore = false;         // createPlugin answers empty
  bool throwInCore = false;    // createPlugin throws std::runtime_error
  bool throwInInit = false;    // the core refuses the page's parameters (after the holder is in pdata)
  int windowsAttached = 0;
  int coreShutdowns = 0;
  bool hostDownAtCoreShutdown = false;    // was the host already shut down when the core was?
  bool windowGoneAtCoreShutdown = false;  // had the plug-in already cleared the core's window?
  // Streams the browser offers on its own are accepted for this sink, else for this completion callback
  // (through the simple stream helper); neither: declined.
  PF::PluginEventSinkPtr unsolicitedSink;
  PF::HttpCallback unsolicitedCallback;
  int globalStarts = 0;
  int globalEnds = 0;
};

FactoryControl& factoryControl();

}  // namespace npapi_test
