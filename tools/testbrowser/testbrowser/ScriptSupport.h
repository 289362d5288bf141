// Small helpers shared by the script-side files of the browser.
#pragma once

struct duk_hthread;
typedef struct duk_hthread duk_context;

namespace testbrowser {

// Pushes the value stored under name in the heap stash.
void pushStashValue(duk_context* ctx, const char* name);
// Pushes one of the page helpers (functions the browser runs in the page, see the prelude).
void pushHelper(duk_context* ctx, const char* name);
// Pushes the handler object of every plug-in object's proxy.
void pushProxyHandler(duk_context* ctx);
// Adds network() and runUntil() to the object on top of the stack (the page's testbrowser object).
void putNetworkFunctions(duk_context* ctx);

}  // namespace testbrowser
