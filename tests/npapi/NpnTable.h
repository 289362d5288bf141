// A browser's function table for in-process tests of the binding: memory, interned identifiers, counted
// objects, variant release and exceptions, with counts a test can look at. No page unless a test sets a
// window; the element is never handed out, and calls on page objects without a class fail.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "npapi/NPAPI.h"

namespace npapi_test {

struct NpnState {
  std::set<void*> blocks;                                       // memory handed out by memalloc and not yet freed
  std::map<std::string, std::unique_ptr<std::string>> strings;  // interned string identifiers
  std::map<int32_t, std::unique_ptr<int32_t>> ints;             // interned integer identifiers
  std::set<NPObject*> objects;                                  // live objects
  std::string lastException;
  int exceptions = 0;
  int asyncCalls = 0;                    // calls of the browser's own pluginthreadasynccall
  NPError proxyResult = NPERR_NO_ERROR;  // answer of getvalueforurl for the proxy
  std::string proxyAnswer = "DIRECT";
  int layerRetained = -1;  // answer to NPNVbrowserRetainsLayerBool: -1 the query fails
  // What the plug-in asked and told the browser through getvalue and setvalue, in order.
  std::vector<int> queries;
  std::vector<std::pair<int, intptr_t>> settings;
  NPObject* window = nullptr;  // handed out (with a new reference) for NPNVWindowNPObject
};

NpnState& npnState();
// A table of `version` with every entry we supply; the state is reset.
NPNetscapeFuncs makeNpnTable(uint16_t version = 27);
// An object of the browser's own class (not a plug-in object), with one reference.
NPObject* makeBrowserObject();
// An object of a class of the test's own: the browser's object calls (invoke, properties) reach its
// callbacks, as a browser does for objects with a class.
NPObject* makeClassObject(NPClass* aClass);
// Text of a String variant.
std::string textOf(const NPVariant& v);
NPIdentifier stringId(const char* name);

}  // namespace npapi_test
