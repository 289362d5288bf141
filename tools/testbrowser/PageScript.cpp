// The page's script engine: globals (window, document, location, console, timers, the plug-in elements,
// the scripted user, the testbrowser object) and running scripts with their errors reported.
#include <duktape.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "npapi/HostLoop.h"
#include "testbrowser/Browser.h"
#include "testbrowser/ScriptSupport.h"
#include "PagePrelude.js.h"

namespace testbrowser {

namespace {

Browser& B() { return *Browser::current(); }

void fatal(void*, const char* message) {
  std::fprintf(stderr, "testbrowser: script engine failure: %s\n", message ? message : "(none)");
  std::abort();
}

std::string argumentsText(duk_context* ctx) {
  std::string line;
  duk_idx_t n = duk_get_top(ctx);
  for (duk_idx_t i = 0; i < n; ++i) {
    if (i) line += ' ';
    line += duk_safe_to_string(ctx, i);
  }
  return line;
}

duk_ret_t consoleLog(duk_context* ctx) {
  B().console(argumentsText(ctx));
  return 0;
}

// ---- Timers.

void fireTimer(uint32_t id, bool repeat) {
  duk_context* ctx = B().script();
  pushStashValue(ctx, "timers");
  duk_get_prop_index(ctx, -1, id);
  if (duk_is_undefined(ctx, -1)) {
    duk_pop_2(ctx);
    return;
  }
  if (!repeat) duk_del_prop_index(ctx, -2, id);
  duk_remove(ctx, -2);
  pushHelper(ctx, "runTimer");
  duk_insert(ctx, -2);
  if (duk_pcall(ctx, 1) != DUK_EXEC_SUCCESS) {
    B().noteScriptException("in a timer");
    return;
  }
  duk_pop(ctx);
}

duk_ret_t addTimer(duk_context* ctx, bool repeat) {
  duk_idx_t n = duk_get_top(ctx);
  if (n < 1 || !(duk_is_function(ctx, 0) || duk_is_string(ctx, 0)))
    return duk_type_error(ctx, "%s needs a function", repeat ? "setInterval" : "setTimeout");
  double delay = n > 1 ? duk_to_number(ctx, 1) : 0;
  if (!(delay > 0) || !std::isfinite(delay)) delay = 0;
  uint64_t ms = static_cast<uint64_t>(delay);
  if (repeat && ms == 0) ms = 1;
  duk_push_object(ctx);
  duk_dup(ctx, 0);
  duk_put_prop_string(ctx, -2, "fn");
  duk_push_array(ctx);
  for (duk_idx_t i = 2; i < n; ++i) {
    duk_dup(ctx, i);
    duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(i - 2));
  }
  duk_put_prop_string(ctx, -2, "args");
  uint32_t id = B().addTimer(ms, repeat, [repeat](uint32_t timerId) { fireTimer(timerId, repeat); });
  pushStashValue(ctx, "timers");
  duk_dup(ctx, -2);
  duk_put_prop_index(ctx, -2, id);
  duk_pop_2(ctx);
  duk_push_uint(ctx, id);
  return 1;
}

duk_ret_t setTimeoutNative(duk_context* ctx) { return addTimer(ctx, false); }
duk_ret_t setIntervalNative(duk_context* ctx) { return addTimer(ctx, true); }

duk_ret_t clearTimerNative(duk_context* ctx) {
  if (!duk_is_number(ctx, 0)) return 0;
  uint32_t id = duk_get_uint(ctx, 0);
  B().clearTimer(id);
  pushStashValue(ctx, "timers");
  duk_del_prop_index(ctx, -1, id);
  return 0;
}

// ---- Natives of the window prelude.

Instance* instanceArg(duk_context* ctx, duk_idx_t idx) {
  if (duk_is_number(ctx, idx)) return B().instanceByIndex(duk_get_uint(ctx, idx));
  if (duk_is_string(ctx, idx)) return B().instanceById(duk_get_string(ctx, idx));
  return nullptr;
}

duk_ret_t scriptableNative(duk_context* ctx) {
  Instance* instance = instanceArg(ctx, 0);
  NPObject* object = instance ? B().scriptableObject(*instance) : nullptr;
  if (object)
    B().pushObject(object);
  else
    duk_push_null(ctx);
  return 1;
}

duk_ret_t isPluginObjectNative(duk_context* ctx) {
  duk_push_boolean(ctx, duk_is_object(ctx, 0) && B().proxiedObject(duk_get_heapptr(ctx, 0)) != nullptr);
  return 1;
}

duk_ret_t userPushNative(duk_context* ctx) {
  const char* step = duk_safe_to_string(ctx, 0);
  if (rvp_hostloop_user_push(step) != 0) return duk_type_error(ctx, "a scripted-user step needs a verb");
  return 0;
}
duk_ret_t userPendingNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(rvp_hostloop_user_pending()));
  return 1;
}
duk_ret_t userClearNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(rvp_hostloop_user_clear()));
  return 1;
}

// ---- The testbrowser object: the page's handle on the browser itself.

duk_ret_t nowNative(duk_context* ctx) {
  duk_push_number(ctx, static_cast<double>(B().now()));
  return 1;
}
duk_ret_t advanceNative(duk_context* ctx) {
  double ms = duk_to_number(ctx, 0);
  B().advance(ms > 0 && std::isfinite(ms) ? static_cast<uint64_t>(ms) : 0);
  return 0;
}
duk_ret_t destroyNative(duk_context* ctx) {
  Instance* instance = instanceArg(ctx, 0);
  duk_push_boolean(ctx, instance && B().destroyInstance(*instance));
  return 1;
}
// A number the browser keeps for an instance: NPP_New's result, the drawing or event model it set.
template <auto field>
duk_ret_t instanceNumberNative(duk_context* ctx) {
  Instance* instance = instanceArg(ctx, 0);
  if (!instance) return duk_range_error(ctx, "no such plug-in");
  duk_push_int(ctx, instance->*field);
  return 1;
}
duk_ret_t liveObjectsNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(B().objects().live().size()));
  return 1;
}
duk_ret_t memoryBlocksNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(B().memory().outstanding().size()));
  return 1;
}
duk_ret_t identifiersNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(B().identifiers().size()));
  return 1;
}
duk_ret_t mainThreadPendingNative(duk_context* ctx) {
  duk_push_uint(ctx, static_cast<duk_uint_t>(rvp_hostloop_pending()));
  return 1;
}

void putFunctions(duk_context* ctx, const duk_function_list_entry* list) { duk_put_function_list(ctx, -1, list); }

}  // namespace

void pushStashValue(duk_context* ctx, const char* name) {
  duk_push_heap_stash(ctx);
  duk_get_prop_string(ctx, -1, name);
  duk_remove(ctx, -2);
}

void pushHelper(duk_context* ctx, const char* name) {
  pushStashValue(ctx, "helpers");
  duk_get_prop_string(ctx, -1, name);
  duk_remove(ctx, -2);
}

void Browser::setUpScript() {
  ctx_ = duk_create_heap(nullptr, nullptr, nullptr, nullptr, fatal);
  duk_context* ctx = ctx_;

  duk_push_heap_stash(ctx);
  for (const char* name : {"pageValues", "proxies", "timers", "elements"}) {
    duk_push_object(ctx);
    duk_put_prop_string(ctx, -2, name);
  }
  pushProxyHandler(ctx);
  duk_put_prop_string(ctx, -2, "proxyHandler");
  duk_push_string(ctx, "browser helpers");
  if (duk_pcompile_string_filename(ctx, DUK_COMPILE_EVAL, kHelpersScript) != 0 || duk_pcall(ctx, 0) != 0)
    fatal(nullptr, duk_safe_to_string(ctx, -1));
  duk_put_prop_string(ctx, -2, "helpers");
  duk_pop(ctx);

  duk_push_global_object(ctx);
  static const duk_function_list_entry consoleFunctions[] = {
      {"log", consoleLog, DUK_VARARGS},   {"info", consoleLog, DUK_VARARGS},  {"warn", consoleLog, DUK_VARARGS},
      {"error", consoleLog, DUK_VARARGS}, {"debug", consoleLog, DUK_VARARGS}, {nullptr, nullptr, 0}};
  duk_push_object(ctx);
  putFunctions(ctx, consoleFunctions);
  duk_put_prop_string(ctx, -2, "console");
  static const duk_function_list_entry timerFunctions[] = {{"setTimeout", setTimeoutNative, DUK_VARARGS},
                                                           {"setInterval", setIntervalNative, DUK_VARARGS},
                                                           {"clearTimeout", clearTimerNative, 1},
                                                           {"clearInterval", clearTimerNative, 1},
                                                           {nullptr, nullptr, 0}};
  putFunctions(ctx, timerFunctions);
  static const duk_function_list_entry browserFunctions[] = {
      {"now", nowNative, 0},
      {"advance", advanceNative, 1},
      {"destroy", destroyNative, 1},
      {"newResult", instanceNumberNative<&Instance::newResult>, 1},
      {"drawingModel", instanceNumberNative<&Instance::drawingModel>, 1},
      {"eventModel", instanceNumberNative<&Instance::eventModel>, 1},
      {"liveObjects", liveObjectsNative, 0},
      {"memoryBlocks", memoryBlocksNative, 0},
      {"identifiers", identifiersNative, 0},
      {"mainThreadCallsPending", mainThreadPendingNative, 0},
      {nullptr, nullptr, 0}};
  duk_push_object(ctx);
  putFunctions(ctx, browserFunctions);
  MacPage::putNatives(ctx);
  putNetworkFunctions(ctx);
  duk_put_prop_string(ctx, -2, "testbrowser");
  duk_pop(ctx);

  // The window prelude, given its natives.
  duk_push_string(ctx, "window prelude");
  if (duk_pcompile_string_filename(ctx, DUK_COMPILE_EVAL, kWindowScript) != 0 || duk_pcall(ctx, 0) != 0)
    fatal(nullptr, duk_safe_to_string(ctx, -1));
  duk_push_global_object(ctx);  // this
  duk_push_object(ctx);         // natives
  static const duk_function_list_entry natives[] = {
      {"scriptable", scriptableNative, 1}, {"isPluginObject", isPluginObjectNative, 1},
      {"userPush", userPushNative, 1},     {"userPending", userPendingNative, 0},
      {"userClear", userClearNative, 0},   {nullptr, nullptr, 0}};
  putFunctions(ctx, natives);
  duk_push_string(ctx, page_.location.c_str());
  duk_put_prop_string(ctx, -2, "location");
  duk_dup_top(ctx);
  duk_put_global_string(ctx,
                        "\xFF"
                        "natives");
  if (duk_pcall_method(ctx, 1) != 0) fatal(nullptr, duk_safe_to_string(ctx, -1));
  duk_pop(ctx);
  createElements();
}

void Browser::createElements() {
  duk_context* ctx = ctx_;
  for (const auto& instance : instances_) {
    duk_get_global_string(ctx,
                          "\xFF"
                          "natives");
    duk_get_prop_string(ctx, -1, "makeElement");
    duk_push_uint(ctx, static_cast<duk_uint_t>(instance->index));
    duk_push_string(ctx, instance->description.id.c_str());
    duk_push_string(ctx, "EMBED");
    duk_push_object(ctx);
    for (const auto& param : instance->description.params) {
      duk_push_string(ctx, param.second.c_str());
      duk_put_prop_string(ctx, -2, param.first.c_str());
    }
    if (duk_pcall(ctx, 4) != 0) fatal(nullptr, duk_safe_to_string(ctx, -1));
    pushStashValue(ctx, "elements");
    duk_dup(ctx, -2);
    duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(instance->index));
    duk_pop_3(ctx);
  }
}

void Browser::noteScriptException(const std::string& where) {
  duk_context* ctx = ctx_;
  // Only safe reads here: at the engine's call depth limit even the "stack" getter throws, and that
  // throw would jump over the plug-in's frames below us without unwinding them.
  std::string text = duk_safe_to_stacktrace(ctx, -1);
  duk_pop(ctx);
  scriptError("uncaught exception " + where + ": " + text);
}

void Browser::runScripts() {
  while (scriptsRun_ < page_.scripts.size()) runScript(page_.scripts[scriptsRun_++]);
}

void Browser::runScript(const PageScriptSource& source) {
  duk_context* ctx = ctx_;
  duk_push_string(ctx, source.name.c_str());
  if (duk_pcompile_lstring_filename(ctx, 0, source.code.data(), source.code.size()) != 0) {
    noteScriptException("while compiling " + source.name);
    return;
  }
  if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) {
    noteScriptException("in " + source.name);
    return;
  }
  duk_pop(ctx);
}

bool Browser::evaluate(NPP, NPObject*, const NPString* script, NPVariant* result) {
  duk_context* ctx = ctx_;
  if (!script->UTF8Characters && script->UTF8Length) {
    misuse("evaluate with a script without characters");
    return false;
  }
  duk_push_string(ctx, "script evaluated for the plug-in");
  if (duk_pcompile_lstring_filename(ctx, DUK_COMPILE_EVAL, script->UTF8Characters ? script->UTF8Characters : "",
                                    script->UTF8Length) != 0) {
    noteScriptException("while compiling a script from the plug-in");
    return false;
  }
  duk_push_global_object(ctx);
  if (duk_pcall_method(ctx, 0) != DUK_EXEC_SUCCESS) {
    noteScriptException("in a script evaluated for the plug-in");
    return false;
  }
  if (result) toVariant(-1, result);
  duk_pop(ctx);
  return true;
}

}  // namespace testbrowser
