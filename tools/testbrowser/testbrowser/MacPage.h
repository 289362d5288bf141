// The Mac side of the browser: Cocoa event records and window records made from page script, the
// graphics contexts handed with them, the layer a plug-in hands over (held the way the browser says it
// holds layers), the main bundle's identity, and the layer ledger checked at the end.
#pragma once

#include <map>
#include <memory>
#include <string>

struct duk_hthread;
typedef struct duk_hthread duk_context;
struct RvpLayer;
struct RvpGraphicsContext;

namespace testbrowser {

class Browser;
struct Instance;

class MacPage {
 public:
  explicit MacPage(Browser& browser) : browser_(browser) {}
  ~MacPage();
  MacPage(const MacPage&) = delete;
  MacPage& operator=(const MacPage&) = delete;

  // Adds the page's Mac functions to the object on top of the stack (the page's `testbrowser`).
  static void putNatives(duk_context* ctx);

  // After NPP_Destroy: the browser lets go of the instance's layer and drops its context.
  void instanceDestroyed(Instance& instance);
  // After NP_Shutdown: every layer must be freed, none released too often.
  void checkLedger();

  // Whether this browser retains the layers plug-ins hand it (else it takes over the reference given).
  bool retainsLayers() const;

 private:
  struct InstanceState {
    RvpLayer* layer = nullptr;  // the browser holds one reference on it
    RvpGraphicsContext* context = nullptr;
  };
  friend struct MacNatives;

  Browser& browser_;
  std::map<const Instance*, InstanceState> states_;
};

}  // namespace testbrowser
