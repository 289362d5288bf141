// The page's handles on the browser's network: testbrowser.network(name, value) changes a knob (see
// NetworkKnobs.h) for requests made from then on; testbrowser.runUntil(fn, ms) runs the loop without timers
// until fn() is true or ms of real time passed (for work another thread of the plug-in hands back).
#include <duktape.h>

#include <chrono>
#include <string>
#include <thread>

#include "testbrowser/Browser.h"
#include "testbrowser/ScriptSupport.h"

namespace testbrowser {

namespace {

duk_ret_t networkNative(duk_context* ctx) {
  const std::string name = duk_safe_to_string(ctx, 0);
  const std::string value = duk_safe_to_string(ctx, 1);
  try {
    setNetworkKnob(Browser::current()->network().knobs(), name, value);
  } catch (const NetworkKnobError& e) {
    return duk_error(ctx, DUK_ERR_RANGE_ERROR, "%s", e.what());
  }
  return 0;
}

duk_ret_t runUntilNative(duk_context* ctx) {
  if (!duk_is_function(ctx, 0)) return duk_type_error(ctx, "runUntil needs a function");
  double ms = duk_to_number(ctx, 1);
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(ms > 0 && ms < 600000 ? static_cast<long>(ms) : 10000);
  for (;;) {
    duk_dup(ctx, 0);
    if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) return duk_throw(ctx);
    bool done = duk_to_boolean(ctx, -1);
    duk_pop(ctx);
    if (done) break;
    if (std::chrono::steady_clock::now() > deadline) {
      duk_push_false(ctx);
      return 1;
    }
    if (Browser::current()->runPending() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  duk_push_true(ctx);
  return 1;
}

}  // namespace

void putNetworkFunctions(duk_context* ctx) {
  static const duk_function_list_entry functions[] = {
      {"network", networkNative, 2}, {"runUntil", runUntilNative, 2}, {nullptr, nullptr, 0}};
  duk_put_function_list(ctx, -1, functions);
}

}  // namespace testbrowser
