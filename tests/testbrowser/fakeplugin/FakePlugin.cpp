// A small plug-in used only to test the browser: it exports the three entry points and offers one
// scriptable object per instance with properties, methods, events (through the page's timers and through
// the main-thread hand-off) and a few deliberate faults (leaks) for the browser to catch.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "npapi/HostLoop.h"
#include "npapi/NPAPI.h"

#ifdef FAKE_WITH_DIALOGS
#include "appkit/AppKit.h"
#include "testbrowser/PageScriptedUser.h"

// Lives from NP_Initialize to NP_Shutdown: the page's scripted user, beside the dialogs.
// Like the product plug-in's, the user lives until the library is unloaded, past NP_Shutdown: the
// browser must count the steps it never took when the page run ends, not when the library goes.
static void keepPageUser() { static testbrowser::PageScriptedUser pageUser; }
#endif

namespace {

NPNetscapeFuncs browser;

struct FakeInstance;

struct FakeObject {
  NPObject base;
  FakeInstance* owner = nullptr;
  bool invalid = false;
  std::string text;
  double ratio = 0.5;
  int generation = 0;  // 0 for the root object, >0 for children
};

struct FakeInstance {
  NPP npp = nullptr;
  std::map<std::string, std::string> params;
  FakeObject* root = nullptr;
  std::map<std::string, std::vector<NPObject*>> listeners;
  int drawingModel = -1;
  int eventModel = -1;
  int echoCount = 0;
  int ticks = 0;
};

// ---- Small helpers over the browser functions.

std::string nameOf(NPIdentifier id) {
  if (!browser.identifierisstring(id)) return std::to_string(browser.intfromidentifier(id));
  NPUTF8* text = browser.utf8fromidentifier(id);
  std::string name = text ? text : "";
  browser.memfree(text);
  return name;
}

std::string textOf(const NPVariant& v) {
  if (NPVARIANT_IS_STRING(v)) return std::string(v.value.stringValue.UTF8Characters, v.value.stringValue.UTF8Length);
  if (NPVARIANT_IS_INT32(v)) return std::to_string(v.value.intValue);
  if (NPVARIANT_IS_DOUBLE(v)) return std::to_string(v.value.doubleValue);
  if (NPVARIANT_IS_BOOLEAN(v)) return v.value.boolValue ? "true" : "false";
  return "";
}

void setString(NPVariant* out, const std::string& s) {
  char* copy = static_cast<char*>(browser.memalloc(static_cast<uint32_t>(s.size() + 1)));
  std::memcpy(copy, s.c_str(), s.size() + 1);
  STRINGN_TO_NPVARIANT(copy, s.size(), *out);
}

bool number(const NPVariant& v, double& d) {
  if (NPVARIANT_IS_INT32(v))
    d = v.value.intValue;
  else if (NPVARIANT_IS_DOUBLE(v))
    d = v.value.doubleValue;
  else
    return false;
  return true;
}

NPObject* windowOf(NPP npp) {
  NPObject* window = nullptr;
  return browser.getvalue(npp, NPNVWindowNPObject, &window) == NPERR_NO_ERROR ? window : nullptr;
}

bool getProperty(NPP npp, NPObject* obj, const char* name, NPVariant* out) {
  return browser.getproperty(npp, obj, browser.getstringidentifier(name), out);
}

// A new page array holding the given values, built by calling the page's Array and push.
NPObject* pageArray(NPP npp, NPObject* window, const std::vector<NPVariant>& values) {
  NPVariant array;
  if (!browser.invoke(npp, window, browser.getstringidentifier("Array"), nullptr, 0, &array)) return nullptr;
  NPObject* list = array.value.objectValue;
  for (const NPVariant& value : values) {
    NPVariant ignored;
    browser.invoke(npp, list, browser.getstringidentifier("push"), &value, 1, &ignored);
    browser.releasevariantvalue(&ignored);
  }
  return list;
}

// Calls fn(args...) after delay ms through a helper installed in the page that uses setTimeout.
void callThroughPage(NPP npp, NPObject* fn, const std::vector<NPVariant>& values, int delay) {
  NPObject* window = windowOf(npp);
  if (!window) return;
  NPVariant helper;
  if (!getProperty(npp, window, "__fake_call", &helper) || !NPVARIANT_IS_OBJECT(helper)) {
    browser.releasevariantvalue(&helper);
    const char* script =
        "window.__fake_call = function(delay, f, args) {"
        "  return setTimeout(function() { f.apply(null, args); }, delay); }";
    NPString s = {script, static_cast<uint32_t>(std::strlen(script))};
    NPVariant ignored;
    browser.evaluate(npp, window, &s, &ignored);
    browser.releasevariantvalue(&ignored);
    getProperty(npp, window, "__fake_call", &helper);
  }
  NPObject* args = pageArray(npp, window, values);
  NPVariant callArgs[3], ignored;
  INT32_TO_NPVARIANT(delay, callArgs[0]);
  OBJECT_TO_NPVARIANT(fn, callArgs[1]);
  OBJECT_TO_NPVARIANT(args, callArgs[2]);
  browser.invokeDefault(npp, helper.value.objectValue, callArgs, 3, &ignored);
  browser.releasevariantvalue(&ignored);
  if (args) browser.releaseobject(args);
  browser.releasevariantvalue(&helper);
  browser.releaseobject(window);
}

// Delivers "echo" to every listener later, through the page's timers.
void fireThroughPage(FakeInstance* inst, const std::string& text, int delay) {
  NPVariant values[2];
  setString(&values[0], text);
  INT32_TO_NPVARIANT(inst->echoCount, values[1]);
  for (NPObject* listener : inst->listeners["echo"])
    callThroughPage(inst->npp, listener, {values[0], values[1]}, delay);
  browser.releasevariantvalue(&values[0]);
}

// Delivers "echo" from the main-thread hand-off: the listeners are called directly when the loop drains.
struct LaterEcho {
  NPP npp;
  std::string text;
};
FakeInstance* instanceOf(NPP npp);
void echoNow(void* data) {
  LaterEcho* later = static_cast<LaterEcho*>(data);
  FakeInstance* inst = instanceOf(later->npp);
  if (inst) {
    for (NPObject* listener : inst->listeners["echo"]) {
      NPVariant arg, ignored;
      setString(&arg, later->text);
      browser.invokeDefault(inst->npp, listener, &arg, 1, &ignored);
      browser.releasevariantvalue(&arg);
      browser.releasevariantvalue(&ignored);
    }
  }
  delete later;
}

std::vector<FakeInstance*> instances;
FakeInstance* instanceOf(NPP npp) {
  for (FakeInstance* inst : instances)
    if (inst->npp == npp) return inst;
  return nullptr;
}

// ---- The scriptable object.

NPClass fakeClass;

FakeObject* asFake(NPObject* obj) { return reinterpret_cast<FakeObject*>(obj); }

const char* const kProperties[] = {"baReaderName", "count",      "ratio", "drawingModel",
                                   "eventModel",   "generation", "ticks"};
const char* const kMethods[] = {
    "greet",        "add",         "fail",         "addEventListener", "removeEventListener",
    "echo",         "echoLater",   "pageLocation", "elementId",        "makeChild",
    "param",        "callback",    "leakObject",   "leakMemory",       "leakIdentifierText",
    "releaseTwice", "freeForeign", "ask",          "echoFromThread",   "startTicks",
    "proxyFor"};

bool listed(const char* const* names, size_t n, const std::string& name) {
  for (size_t i = 0; i < n; ++i)
    if (name == names[i]) return true;
  return false;
}

NPObject* allocate(NPP, NPClass*) { return &(new FakeObject)->base; }
void deallocate(NPObject* obj) { delete asFake(obj); }
void invalidate(NPObject* obj) { asFake(obj)->invalid = true; }

bool hasMethod(NPObject* obj, NPIdentifier id) {
  return !asFake(obj)->invalid && listed(kMethods, sizeof kMethods / sizeof *kMethods, nameOf(id));
}
bool hasProperty(NPObject* obj, NPIdentifier id) {
  return !asFake(obj)->invalid && listed(kProperties, sizeof kProperties / sizeof *kProperties, nameOf(id));
}

bool getPropertyOf(NPObject* obj, NPIdentifier id, NPVariant* result) {
  FakeObject* self = asFake(obj);
  if (self->invalid) return false;
  std::string name = nameOf(id);
  if (name == "baReaderName")
    setString(result, self->text);
  else if (name == "count")
    INT32_TO_NPVARIANT(self->owner ? self->owner->echoCount : 0, *result);
  else if (name == "ratio")
    DOUBLE_TO_NPVARIANT(self->ratio, *result);
  else if (name == "drawingModel")
    INT32_TO_NPVARIANT(self->owner ? self->owner->drawingModel : -1, *result);
  else if (name == "eventModel")
    INT32_TO_NPVARIANT(self->owner ? self->owner->eventModel : -1, *result);
  else if (name == "generation")
    INT32_TO_NPVARIANT(self->generation, *result);
  else if (name == "ticks")
    INT32_TO_NPVARIANT(self->owner ? self->owner->ticks : 0, *result);
  else
    return false;
  return true;
}

bool setPropertyOf(NPObject* obj, NPIdentifier id, const NPVariant* value) {
  FakeObject* self = asFake(obj);
  if (self->invalid) return false;
  std::string name = nameOf(id);
  if (name == "baReaderName") {
    self->text = textOf(*value);
    return true;
  }
  if (name == "ratio") {
    double d;
    if (!number(*value, d)) {
      browser.setexception(obj, "ratio must be a number");
      return false;
    }
    self->ratio = d;
    return true;
  }
  if (listed(kProperties, sizeof kProperties / sizeof *kProperties, name)) {
    browser.setexception(obj, (name + " is read-only").c_str());
    return false;
  }
  return false;
}

bool removeProperty(NPObject*, NPIdentifier) { return false; }

bool enumerate(NPObject* obj, NPIdentifier** ids, uint32_t* count) {
  if (asFake(obj)->invalid) return false;
  std::vector<const char*> names(std::begin(kProperties), std::end(kProperties));
  names.insert(names.end(), std::begin(kMethods), std::end(kMethods));
  *count = static_cast<uint32_t>(names.size());
  *ids = static_cast<NPIdentifier*>(browser.memalloc(static_cast<uint32_t>(sizeof(NPIdentifier) * names.size())));
  browser.getstringidentifiers(names.data(), static_cast<int32_t>(names.size()), *ids);
  return true;
}

bool invokeMethod(NPObject* obj, NPIdentifier id, const NPVariant* args, uint32_t argc, NPVariant* result) {
  FakeObject* self = asFake(obj);
  if (self->invalid || !self->owner) return false;
  FakeInstance* inst = self->owner;
  NPP npp = inst->npp;
  std::string name = nameOf(id);
  if (name == "greet") {
    setString(result, "Hello, " + (argc ? textOf(args[0]) : std::string("nobody")));
  } else if (name == "add") {
    double a, b;
    if (argc != 2 || !number(args[0], a) || !number(args[1], b)) {
      browser.setexception(obj, "add needs two numbers");
      return false;
    }
    if (NPVARIANT_IS_INT32(args[0]) && NPVARIANT_IS_INT32(args[1]))
      INT32_TO_NPVARIANT(args[0].value.intValue + args[1].value.intValue, *result);
    else
      DOUBLE_TO_NPVARIANT(a + b, *result);
  } else if (name == "fail") {
    browser.setexception(obj, argc ? textOf(args[0]).c_str() : "failed");
    return false;
  } else if (name == "addEventListener" || name == "removeEventListener") {
    if (argc < 2 || !NPVARIANT_IS_OBJECT(args[1])) {
      browser.setexception(obj, "Invalid Arguments");
      return false;
    }
    std::vector<NPObject*>& list = inst->listeners[textOf(args[0])];
    NPObject* fn = args[1].value.objectValue;
    if (name == "addEventListener") {
      list.push_back(browser.retainobject(fn));
    } else {
      for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == fn) {
          browser.releaseobject(*it);
          list.erase(it);
          break;
        }
    }
  } else if (name == "echo") {
    ++inst->echoCount;
    fireThroughPage(inst, argc ? textOf(args[0]) : "",
                    argc > 1 && NPVARIANT_IS_INT32(args[1]) ? args[1].value.intValue : 0);
  } else if (name == "echoLater") {
    rvp_hostloop_post(echoNow, new LaterEcho{npp, argc ? textOf(args[0]) : ""});
  } else if (name == "echoFromThread") {
    // Another thread asks the browser to run the delivery on the main thread.
    LaterEcho* later = new LaterEcho{npp, argc ? textOf(args[0]) : ""};
    std::thread([npp, later] { browser.pluginthreadasynccall(npp, echoNow, later); }).join();
  } else if (name == "proxyFor") {
    // The browser's proxy for an address, or "error N" when it gives none.
    char* value = nullptr;
    uint32_t length = 0;
    NPError e = browser.getvalueforurl(npp, NPNURLVProxy, argc ? textOf(args[0]).c_str() : "", &value, &length);
    setString(result, e == NPERR_NO_ERROR ? std::string(value, length) : "error " + std::to_string(e));
    if (e == NPERR_NO_ERROR) browser.memfree(value);
  } else if (name == "startTicks") {
    browser.scheduletimer(npp, argc && NPVARIANT_IS_INT32(args[0]) ? args[0].value.intValue : 100, true,
                          [](NPP timerNpp, uint32_t id) {
                            FakeInstance* owner = instanceOf(timerNpp);
                            if (owner && ++owner->ticks == 3) browser.unscheduletimer(timerNpp, id);
                          });
  } else if (name == "pageLocation") {
    NPObject* window = windowOf(npp);
    NPVariant location, href;
    VOID_TO_NPVARIANT(href);
    if (window && getProperty(npp, window, "location", &location) && NPVARIANT_IS_OBJECT(location)) {
      getProperty(npp, location.value.objectValue, "href", &href);
      browser.releasevariantvalue(&location);
    }
    if (window) browser.releaseobject(window);
    *result = href;
  } else if (name == "elementId") {
    NPObject* element = nullptr;
    if (browser.getvalue(npp, NPNVPluginElementNPObject, &element) != NPERR_NO_ERROR || !element) return false;
    bool ok = getProperty(npp, element, "id", result);
    browser.releaseobject(element);
    return ok;
  } else if (name == "makeChild") {
    NPObject* child = browser.createobject(npp, &fakeClass);
    asFake(child)->owner = inst;
    asFake(child)->generation = self->generation + 1;
    OBJECT_TO_NPVARIANT(child, *result);
  } else if (name == "param") {
    auto found = argc ? inst->params.find(textOf(args[0])) : inst->params.end();
    if (found == inst->params.end())
      NULL_TO_NPVARIANT(*result);
    else
      setString(result, found->second);
  } else if (name == "callback") {
    if (argc < 1 || !NPVARIANT_IS_OBJECT(args[0])) return false;
    return browser.invokeDefault(npp, args[0].value.objectValue, args + 1, argc - 1, result);
  } else if (name == "leakObject") {
    browser.createobject(npp, &fakeClass);  // deliberately never released
  } else if (name == "leakMemory") {
    browser.memalloc(argc && NPVARIANT_IS_INT32(args[0]) ? args[0].value.intValue : 16);  // never freed
  } else if (name == "leakIdentifierText") {
    browser.utf8fromidentifier(browser.getstringidentifier("leaked"));  // never freed
  } else if (name == "releaseTwice") {
    NPObject* extra = browser.createobject(npp, &fakeClass);
    browser.releaseobject(extra);
    browser.releaseobject(extra);  // deliberately once too often
  } else if (name == "freeForeign") {
    static char notTheBrowsers[4];
    browser.memfree(notTheBrowsers);  // deliberately not a browser block
  } else if (name == "ask") {
#ifdef FAKE_WITH_DIALOGS
    // A modal alert inside the page's call, answered by the scripted user the page fed.
    auto alert = appkit::Alert::alertWithMessageText(argc ? textOf(args[0]) : "", std::string("確定"),
                                                     std::string("取消"), std::nullopt, "");
    INT32_TO_NPVARIANT(static_cast<int32_t>(alert->runModal()), *result);
#else
    browser.setexception(obj, "no dialogs in this build");
    return false;
#endif
  } else {
    return false;
  }
  return true;
}

bool invokeDefault(NPObject*, const NPVariant*, uint32_t, NPVariant*) { return false; }

// ---- The instance functions.

FakeObject* rootOf(FakeInstance* inst) {
  if (!inst->root) {
    inst->root = asFake(browser.createobject(inst->npp, &fakeClass));
    inst->root->owner = inst;
  }
  return inst->root;
}

NPError fakeNew(NPMIMEType, NPP npp, uint16_t, int16_t argc, char* argn[], char* argv[], NPSavedData*) {
  if (!npp) return NPERR_INVALID_INSTANCE_ERROR;
  FakeInstance* inst = new FakeInstance;
  inst->npp = npp;
  for (int i = 0; i < argc; ++i)
    if (argn[i] && argv[i]) inst->params[argn[i]] = argv[i];
  if (inst->params.count("refuse")) {
    delete inst;
    return NPERR_GENERIC_ERROR;
  }
  // Core Animation first, then Core Graphics; then the Cocoa event model.
  NPBool supported = 0;
  if (browser.getvalue(npp, NPNVsupportsCoreAnimationBool, &supported) == NPERR_NO_ERROR && supported &&
      browser.setvalue(npp, NPPVpluginDrawingModel, reinterpret_cast<void*>(NPDrawingModelCoreAnimation)) == 0)
    inst->drawingModel = NPDrawingModelCoreAnimation;
  else if (browser.getvalue(npp, NPNVsupportsCoreGraphicsBool, &supported) == NPERR_NO_ERROR && supported &&
           browser.setvalue(npp, NPPVpluginDrawingModel, reinterpret_cast<void*>(NPDrawingModelCoreGraphics)) == 0)
    inst->drawingModel = NPDrawingModelCoreGraphics;
  if (inst->drawingModel != -1 && browser.getvalue(npp, NPNVsupportsCocoaBool, &supported) == NPERR_NO_ERROR &&
      supported && browser.setvalue(npp, NPPVpluginEventModel, reinterpret_cast<void*>(NPEventModelCocoa)) == 0)
    inst->eventModel = NPEventModelCocoa;
  npp->pdata = inst;
  instances.push_back(inst);
  auto onload = inst->params.find("onload");
  if (onload != inst->params.end()) {
    NPObject* window = windowOf(npp);
    NPVariant handler;
    if (window && getProperty(npp, window, onload->second.c_str(), &handler) && NPVARIANT_IS_OBJECT(handler)) {
      NPVariant root;
      OBJECT_TO_NPVARIANT(&rootOf(inst)->base, root);
      callThroughPage(npp, handler.value.objectValue, {root}, 250);
    }
    browser.releasevariantvalue(&handler);
    if (window) browser.releaseobject(window);
  }
  return NPERR_NO_ERROR;
}

NPError fakeDestroy(NPP npp, NPSavedData**) {
  if (!npp || !npp->pdata) return NPERR_INVALID_INSTANCE_ERROR;
  FakeInstance* inst = static_cast<FakeInstance*>(npp->pdata);
  for (auto& entry : inst->listeners)
    for (NPObject* fn : entry.second) browser.releaseobject(fn);
  if (inst->root) browser.releaseobject(&inst->root->base);
  for (auto it = instances.begin(); it != instances.end(); ++it)
    if (*it == inst) {
      instances.erase(it);
      break;
    }
  delete inst;
  npp->pdata = nullptr;
  return NPERR_NO_ERROR;
}

NPError fakeSetWindow(NPP npp, NPWindow*) { return npp && npp->pdata ? NPERR_NO_ERROR : NPERR_INVALID_INSTANCE_ERROR; }

NPError fakeGetValue(NPP npp, NPPVariable variable, void* value) {
  if (variable == NPPVpluginNameString) {
    *static_cast<const char**>(value) = "Fake plug-in";
    return NPERR_NO_ERROR;
  }
  if (!npp || !npp->pdata) return NPERR_INVALID_INSTANCE_ERROR;
  FakeInstance* inst = static_cast<FakeInstance*>(npp->pdata);
  if (variable != NPPVpluginScriptableNPObject) return NPERR_GENERIC_ERROR;
  *static_cast<NPObject**>(value) = browser.retainobject(&rootOf(inst)->base);
  return NPERR_NO_ERROR;
}

}  // namespace

NP_EXPORT(NPError) NP_GetEntryPoints(NPPluginFuncs* funcs) {
  funcs->newp = fakeNew;
  funcs->destroy = fakeDestroy;
  funcs->setwindow = fakeSetWindow;
  funcs->getvalue = fakeGetValue;
  return NPERR_NO_ERROR;
}

NP_EXPORT(NPError) NP_Initialize(NPNetscapeFuncs* funcs) {
  if (!funcs || funcs->size < sizeof(NPNetscapeFuncs)) return NPERR_INVALID_FUNCTABLE_ERROR;
  browser = *funcs;
  fakeClass = NPClass{NP_CLASS_STRUCT_VERSION,
                      allocate,
                      deallocate,
                      invalidate,
                      hasMethod,
                      invokeMethod,
                      invokeDefault,
                      hasProperty,
                      getPropertyOf,
                      setPropertyOf,
                      removeProperty,
                      enumerate,
                      nullptr};
#ifdef FAKE_WITH_DIALOGS
  keepPageUser();
#endif
  return NPERR_NO_ERROR;
}

NP_EXPORT(NPError) NP_Shutdown() { return NPERR_NO_ERROR; }
