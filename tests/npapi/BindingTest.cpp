// The binding in-process, against a browser table of our own: the table copy by version, the NPP
// functions' result codes, the scriptable object, the value mapping both ways and the main-thread
// scheduler.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "FreedMemoryWatch.h"
#include "NPJavascriptObject.h"
#include "NpapiPluginMac.h"
#include "NpapiBrowserHost.h"
#include "NpapiPlugin.h"
#include "NpapiPluginModule.h"
#include "NpnTable.h"
#include "OwnedVariants.h"
#include "OneShotManager.h"
#include "PluginWindowMac.h"
#include "TestFactory.h"
#include "npapi/HostLoop.h"

extern "C" NPError NP_Initialize(NPNetscapeFuncs* bFuncs);
extern "C" NPError NP_GetEntryPoints(NPPluginFuncs* pFuncs);
extern "C" NPError NP_Shutdown();

namespace npapi_test {
namespace {

using PF::variant;
using PF::Npapi::NpapiPluginModule;

// The module the tests' entry calls made is released when they are all done, as a browser would.
class ModuleRelease : public ::testing::Environment {
 public:
  void TearDown() override { NP_Shutdown(); }
};
::testing::Environment* const moduleRelease = ::testing::AddGlobalTestEnvironment(new ModuleRelease);

// ---- The browser table, copied by version ------------------------------------------------------------------

struct VersionCase {
  uint16_t version;
  bool popups, enumerate, urlValues, timers;
};

TEST(BrowserTableCopy, ConditionalEntriesFollowTheVersion) {
  const VersionCase cases[] = {
      {15, false, false, false, false}, {16, true, false, false, false}, {18, true, true, false, false},
      {21, true, true, true, false},    {23, true, true, true, true},    {27, true, true, true, true},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.version);
    NPNetscapeFuncs src = makeNpnTable(c.version);
    NPNetscapeFuncs dst;
    std::memset(&dst, 0, sizeof dst);
    PF::Npapi::copyNPBrowserFuncs(&dst, &src, nullptr);
    EXPECT_EQ(dst.version, c.version);
    EXPECT_EQ(dst.memalloc, src.memalloc);
    EXPECT_EQ(dst.createobject, src.createobject);
    EXPECT_EQ(dst.pushpopupsenabledstate != nullptr, c.popups);
    EXPECT_EQ(dst.poppopupsenabledstate != nullptr, c.popups);
    EXPECT_EQ(dst.enumerate != nullptr, c.enumerate);
    EXPECT_EQ(dst.getvalueforurl != nullptr, c.urlValues);
    EXPECT_EQ(dst.setvalueforurl != nullptr, c.urlValues);
    EXPECT_EQ(dst.getauthenticationinfo != nullptr, c.urlValues);
    EXPECT_EQ(dst.scheduletimer != nullptr, c.timers);
    EXPECT_EQ(dst.unscheduletimer != nullptr, c.timers);
    // Never copied, at any version; the asynchronous call is always our own scheduler.
    EXPECT_EQ(dst.popupcontextmenu, nullptr);
    EXPECT_EQ(dst.handleevent, nullptr);
    EXPECT_EQ(dst.pluginthreadasynccall, &NpapiPluginModule::scheduleAsyncCallback);
  }
}

// A browser table shorter than its version promises is read only as far as it goes.
TEST(BrowserTableCopy, AShortTableIsNotReadPastItsEnd) {
  NPNetscapeFuncs full = makeNpnTable(27);
  const size_t shortSize = offsetof(NPNetscapeFuncs, enumerate);
  full.size = static_cast<uint16_t>(shortSize);
  // Exactly the bytes the browser handed over, so that reading further is caught.
  std::unique_ptr<char[]> bytes(new char[shortSize]);
  std::memcpy(bytes.get(), &full, shortSize);
  const NPNetscapeFuncs* src = reinterpret_cast<const NPNetscapeFuncs*>(bytes.get());
  NPNetscapeFuncs dst;
  std::memset(&dst, 0, sizeof dst);
  PF::Npapi::copyNPBrowserFuncs(&dst, src, nullptr);
  EXPECT_EQ(dst.size, shortSize);
  EXPECT_EQ(dst.setexception, full.setexception);
  EXPECT_EQ(dst.poppopupsenabledstate, full.poppopupsenabledstate);
  EXPECT_EQ(dst.enumerate, nullptr);
  EXPECT_EQ(dst.construct, nullptr);
  EXPECT_EQ(dst.getvalueforurl, nullptr);
  EXPECT_EQ(dst.unscheduletimer, nullptr);
  EXPECT_EQ(dst.pluginthreadasynccall, &NpapiPluginModule::scheduleAsyncCallback);
}

TEST(BrowserTableCopy, EntryPointsLeaveTheBrowsersOwnFieldsAlone) {
  NPPluginFuncs funcs;
  std::memset(&funcs, 0, sizeof funcs);
  funcs.size = sizeof funcs;
  funcs.version = 27;
  funcs.javaClass = &funcs;
  EXPECT_EQ(NP_GetEntryPoints(&funcs), NPERR_NO_ERROR);
  EXPECT_EQ(funcs.size, sizeof funcs);
  EXPECT_EQ(funcs.version, 27);
  EXPECT_EQ(funcs.javaClass, &funcs);
  EXPECT_EQ(funcs.newp, &NpapiPluginModule::NPP_New);
  EXPECT_EQ(funcs.setvalue, &NpapiPluginModule::NPP_SetValue);
  EXPECT_EQ(funcs.gotfocus, nullptr);
}

// A plug-in table shorter than ours is written only as far as it goes.
TEST(BrowserTableCopy, AShortPluginTableIsNotWrittenPastItsEnd) {
  const size_t shortSize = offsetof(NPPluginFuncs, getvalue);
  std::unique_ptr<char[]> bytes(new char[shortSize]());
  NPPluginFuncs* funcs = reinterpret_cast<NPPluginFuncs*>(bytes.get());
  funcs->size = static_cast<uint16_t>(shortSize);
  EXPECT_EQ(NP_GetEntryPoints(funcs), NPERR_NO_ERROR);
  EXPECT_EQ(funcs->newp, &NpapiPluginModule::NPP_New);
  EXPECT_EQ(funcs->urlnotify, &NpapiPluginModule::NPP_URLNotify);
}

TEST(Modules, OneModulePerKeyAndOneGlobalStart) {
  int dummyA = 0, dummyB = 0;
  const int before = NpapiPluginModule::moduleCount();
  NpapiPluginModule* a = NpapiPluginModule::GetModule(&dummyA);
  EXPECT_EQ(NpapiPluginModule::GetModule(&dummyA), a);
  const int starts = factoryControl().globalStarts;
  NpapiPluginModule* b = NpapiPluginModule::GetModule(&dummyB);
  EXPECT_NE(a, b);
  EXPECT_EQ(factoryControl().globalStarts, starts);
  EXPECT_EQ(NpapiPluginModule::moduleCount(), before + 2);
  NpapiPluginModule::ReleaseModule(&dummyA);
  NpapiPluginModule::ReleaseModule(&dummyB);
  EXPECT_EQ(NpapiPluginModule::moduleCount(), before);
}

TEST(Modules, MissingBrowserEntriesGiveFixedAnswers) {
  NpapiPluginModule module;  // no table at all
  int pluginMajor, pluginMinor, major, minor;
  module.Version(&pluginMajor, &pluginMinor, &major, &minor);
  EXPECT_EQ(pluginMajor, 0);
  EXPECT_EQ(pluginMinor, 27);
  EXPECT_EQ(module.MemAlloc(8), nullptr);
  EXPECT_EQ(module.GetStringIdentifier("x"), nullptr);
  EXPECT_TRUE(module.IdentifierIsString(nullptr));
  EXPECT_EQ(module.IntFromIdentifier(nullptr), 1);
  EXPECT_EQ(module.StringFromIdentifier(nullptr), "");
  NPObject obj{};
  EXPECT_EQ(module.RetainObject(&obj), &obj);
}

// ---- Instances -------------------------------------------------------------------------------------------

class Instance : public ::testing::Test {
 protected:
  void SetUp() override {
    table = makeNpnTable();
    NP_Initialize(&table);
    factoryControl() = FactoryControl();
    objectsBefore = npnState().objects.size();
    blocksBefore = npnState().blocks.size();
  }
  void TearDown() override {
    if (npp.pdata) NpapiPluginModule::NPP_Destroy(&npp, nullptr);
    rvp_hostloop_discard();
    EXPECT_EQ(npnState().objects.size(), objectsBefore) << "objects left alive";
    EXPECT_EQ(npnState().blocks.size(), blocksBefore) << "memory left allocated";
  }
  NPError create(const char* mime = "application/x-test") {
    return NpapiPluginModule::NPP_New(const_cast<char*>(mime), &npp, NP_EMBED, 0, nullptr, nullptr, nullptr);
  }
  PF::Npapi::NpapiBrowserHostPtr host() { return PF::Npapi::getPlugin(&npp)->host(); }
  NPObject* scriptable() {
    NPObject* obj = nullptr;
    EXPECT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginScriptableNPObject, &obj), NPERR_NO_ERROR);
    return obj;
  }

  NPNetscapeFuncs table;
  NPP_t npp{};
  size_t objectsBefore = 0, blocksBefore = 0;
};

TEST_F(Instance, InvalidInstancesGetTheirFixedAnswers) {
  NPStream stream{};
  uint16_t stype = 0;
  for (NPP bad : {static_cast<NPP>(nullptr), &npp}) {  // null, then one whose pdata is null
    EXPECT_EQ(NpapiPluginModule::NPP_Destroy(bad, nullptr), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(NpapiPluginModule::NPP_SetWindow(bad, nullptr), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(NpapiPluginModule::NPP_NewStream(bad, nullptr, &stream, 0, &stype), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(NpapiPluginModule::NPP_DestroyStream(bad, &stream, 0), NPERR_INVALID_INSTANCE_ERROR);
    // Byte counts, not error codes: 2 would read as "two bytes taken"; -1 ends the stream.
    EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(bad, &stream), -1);
    EXPECT_EQ(NpapiPluginModule::NPP_Write(bad, &stream, 0, 0, nullptr), -1);
    EXPECT_EQ(NpapiPluginModule::NPP_HandleEvent(bad, nullptr), 0);
    EXPECT_EQ(NpapiPluginModule::NPP_SetValue(bad, NPNVWindowNPObject, nullptr), NPERR_INVALID_INSTANCE_ERROR);
  }
  EXPECT_EQ(NpapiPluginModule::NPP_New(nullptr, nullptr, NP_EMBED, 0, nullptr, nullptr, nullptr),
            NPERR_INVALID_INSTANCE_ERROR);
}

TEST_F(Instance, NameAndDescriptionWithoutAnInstance) {
  const char* text = nullptr;
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(nullptr, NPPVpluginNameString, &text), NPERR_NO_ERROR);
  EXPECT_STREQ(text, "DEDIVIZUVIRA_r86_64");
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(nullptr, NPPVpluginDescriptionString, &text), NPERR_NO_ERROR);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(nullptr, NPPVpluginWindowBool, &text), NPERR_GENERIC_ERROR);
}

struct FailedNew {
  const char* what;
  void (*arrange)(FactoryControl&);
  NPError expected;
};

// A failed NPP_New leaves nothing behind: no holder, no queue with the scheduler, no objects, no memory.
TEST_F(Instance, FailedCreationLeavesNothingRegistered) {
  const FailedNew cases[] = {
      {"no plug-in", [](FactoryControl& c) { c.noNpapiPlugin = true; }, NPERR_OUT_OF_MEMORY_ERROR},
      {"no core", [](FactoryControl& c) { c.noCore = true; }, NPERR_INCOMPATIBLE_VERSION_ERROR},
      {"core throws", [](FactoryControl& c) { c.throwInCore = true; }, NPERR_GENERIC_ERROR},
      {"init throws", [](FactoryControl& c) { c.throwInInit = true; }, NPERR_GENERIC_ERROR},
  };
  for (const FailedNew& c : cases) {
    SCOPED_TRACE(c.what);
    factoryControl() = FactoryControl();
    c.arrange(factoryControl());
    EXPECT_EQ(create(), c.expected);
    EXPECT_EQ(npp.pdata, nullptr);
    const int pending = PF::OneShotManager::getInstance().pending();
    PF::OneShotManager::getInstance().npp_scheduleAsyncCallback(
        &npp, [](void*) { FAIL() << "ran"; }, nullptr);
    EXPECT_EQ(PF::OneShotManager::getInstance().pending(), pending) << "the instance was left registered";
  }
  factoryControl() = FactoryControl();
}

TEST_F(Instance, CreatedInstanceAnswersAndIsDestroyedOnce) {
  ASSERT_EQ(create(), NPERR_NO_ERROR);
  ASSERT_NE(npp.pdata, nullptr);
  const char* name = nullptr;
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginNameString, &name), NPERR_NO_ERROR);
  EXPECT_STREQ(name, "DEDIVIZUVIRA_r86_64");
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginWindowBool, &name), NPERR_GENERIC_ERROR);
  NPStream stream{};
  EXPECT_EQ(NpapiPluginModule::NPP_WriteReady(&npp, &stream), -1) << "a stream that is not ours";
  NPWindow window{};
  EXPECT_EQ(NpapiPluginModule::NPP_SetWindow(&npp, &window), NPERR_NO_ERROR);

  // A call queued for the instance never runs once the instance is gone.
  bool ran = false;
  PF::OneShotManager::getInstance().npp_scheduleAsyncCallback(
      &npp, [](void* f) { *static_cast<bool*>(f) = true; }, &ran);
  EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_NO_ERROR);
  EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_INVALID_INSTANCE_ERROR);
  rvp_hostloop_drain();
  EXPECT_FALSE(ran);
}

struct ModelCase {
  const char* what;
  std::vector<const char*> names, values;
  std::vector<int> queries;                        // drawing and event model questions, in order
  std::vector<std::pair<int, intptr_t>> settings;  // what the plug-in told the browser, in order
  int drawingModel, eventModel;
  bool window, shown;
};

// The browser is asked in a fixed order; a forced model is the only one asked for, and a name that is
// neither of the two asks nothing at all.
TEST_F(Instance, DrawingAndEventModelsAreAgreedInOrder) {
  const ModelCase cases[] = {
      {"automatic",
       {},
       {},
       {NPNVsupportsCoreAnimationBool, NPNVsupportsCocoaBool},
       {{NPPVpluginDrawingModel, 3}, {NPPVpluginEventModel, 1}},
       3,
       1,
       true,
       false},
      {"forced Core Graphics",
       {"drawingmodel", "showdrawingmodel"},
       {"NPDrawingModelCoreGraphics", "0"},
       {NPNVsupportsCoreGraphicsBool, NPNVsupportsCocoaBool},
       {{NPPVpluginDrawingModel, 1}, {NPPVpluginEventModel, 1}},
       1,
       1,
       true,
       false},
      {"unknown name", {"drawingmodel"}, {"CoreAnimation"}, {}, {}, -1, -1, false, false},
      {"label asked for",
       {"showdrawingmodel"},
       {""},
       {NPNVsupportsCoreAnimationBool, NPNVsupportsCocoaBool},
       {{NPPVpluginDrawingModel, 3}, {NPPVpluginEventModel, 1}},
       3,
       1,
       true,
       true},
  };
  for (const ModelCase& c : cases) {
    SCOPED_TRACE(c.what);
    npnState().queries.clear();
    npnState().settings.clear();
    std::vector<char*> names, values;
    for (const char* n : c.names) names.push_back(const_cast<char*>(n));
    for (const char* v : c.values) values.push_back(const_cast<char*>(v));
    ASSERT_EQ(NpapiPluginModule::NPP_New(const_cast<char*>("application/x-test"), &npp, NP_EMBED,
                                         static_cast<int16_t>(names.size()), names.data(), values.data(), nullptr),
              NPERR_NO_ERROR);
    std::vector<int> modelQueries;
    for (int q : npnState().queries)
      if (q != NPNVWindowNPObject && q != NPNVPluginElementNPObject) modelQueries.push_back(q);
    EXPECT_EQ(modelQueries, c.queries);
    EXPECT_EQ(npnState().settings, c.settings);
    auto mac = boost::dynamic_pointer_cast<PF::Npapi::NpapiPluginMac>(PF::Npapi::getPlugin(&npp));
    ASSERT_TRUE(mac);
    EXPECT_EQ(mac->drawingModel(), c.drawingModel);
    EXPECT_EQ(mac->eventModel(), c.eventModel);
    EXPECT_EQ(static_cast<bool>(mac->pluginWindow()), c.window);
    if (mac->pluginWindow()) {
      EXPECT_EQ(mac->pluginWindow()->showDrawingModel(), c.shown);
    }
    EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_NO_ERROR);
  }
}

// The host goes down before the plug-in, and the plug-in clears its window before its core shuts down.
TEST_F(Instance, DestroyShutsTheHostDownBeforeThePlugin) {
  ASSERT_EQ(create(), NPERR_NO_ERROR);
  NPWindow window{};
  ASSERT_EQ(NpapiPluginModule::NPP_SetWindow(&npp, &window), NPERR_NO_ERROR);
  ASSERT_EQ(factoryControl().windowsAttached, 1) << "the window object was given to the core";
  EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_NO_ERROR);
  EXPECT_EQ(factoryControl().coreShutdowns, 1);
  EXPECT_TRUE(factoryControl().hostDownAtCoreShutdown);
  EXPECT_TRUE(factoryControl().windowGoneAtCoreShutdown);
}

// The browser's layer request attaches the window object like a first window does; once the browser
// takes the window away there is no window object left to attach or to ask for a layer.
TEST_F(Instance, LayerRequestAttachesTheWindowAndANullWindowDropsIt) {
  ASSERT_EQ(create(), NPERR_NO_ERROR);
  void* layer = nullptr;
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginCoreAnimationLayer, &layer), NPERR_NO_ERROR);
  EXPECT_NE(layer, nullptr);
  EXPECT_EQ(factoryControl().windowsAttached, 1);
  NPWindow window{};
  EXPECT_EQ(NpapiPluginModule::NPP_SetWindow(&npp, &window), NPERR_NO_ERROR);
  EXPECT_EQ(factoryControl().windowsAttached, 1) << "attached once";
  EXPECT_EQ(NpapiPluginModule::NPP_SetWindow(&npp, nullptr), NPERR_NO_ERROR);
  EXPECT_EQ(NpapiPluginModule::NPP_SetWindow(&npp, &window), NPERR_NO_ERROR);
  EXPECT_EQ(factoryControl().windowsAttached, 1) << "nothing left to attach";
  EXPECT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginCoreAnimationLayer, &layer), NPERR_GENERIC_ERROR);
}

// ---- The scriptable object -------------------------------------------------------------------------------

class Scriptable : public Instance {
 protected:
  void SetUp() override {
    Instance::SetUp();
    ASSERT_EQ(create(), NPERR_NO_ERROR);
    obj = scriptable();
    ASSERT_NE(obj, nullptr);
  }
  void TearDown() override {
    table.releaseobject(obj);
    Instance::TearDown();
  }
  NPVariant call(const char* method, bool* ok = nullptr) {
    NPVariant result;
    VOID_TO_NPVARIANT(result);
    bool done = obj->_class->invoke(obj, stringId(method), nullptr, 0, &result);
    if (ok) *ok = done;
    return result;
  }
  NPObject* obj = nullptr;
};

struct ResultCase {
  const char* method;
  NPVariantType type;
  const char* text;  // for String
  int32_t number;    // for Int32
};

TEST_F(Scriptable, LongsReachThePageAsTextAndNarrowIntegersAsNumbers) {
  const ResultCase cases[] = {
      {"code", NPVariantType_String, "9980", 0},        {"number", NPVariantType_Int32, nullptr, 9980},
      {"unsignedNumber", NPVariantType_String, "7", 0}, {"shortNumber", NPVariantType_Int32, nullptr, 7},
      {"letter", NPVariantType_Int32, nullptr, 65},
  };
  for (const ResultCase& c : cases) {
    SCOPED_TRACE(c.method);
    bool ok = false;
    NPVariant r = call(c.method, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(r.type, c.type);
    if (c.type == NPVariantType_String) {
      EXPECT_EQ(textOf(r), c.text);
      EXPECT_EQ(r.value.stringValue.UTF8Characters[r.value.stringValue.UTF8Length], '\0');
    } else {
      EXPECT_EQ(r.value.intValue, c.number);
    }
    table.releasevariantvalue(&r);
  }
  NPVariant half = call("half");
  ASSERT_EQ(half.type, NPVariantType_Double);
  EXPECT_EQ(half.value.doubleValue, 0.5);
}

TEST_F(Scriptable, ScriptErrorsBecomePageExceptionsAndTheLastException) {
  bool ok = true;
  NPVariant r = call("fail", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(r.type, NPVariantType_Void);
  EXPECT_EQ(npnState().lastException, "the card is gone");
  EXPECT_EQ(PF::Npapi::NPJavascriptObject::NPO_getLastException::m_msg.convert_cast<std::string>(), "the card is gone");
}

// No exception reaches the browser: one that is no script error still becomes the page's exception.
TEST_F(Scriptable, OtherExceptionsBecomePageExceptionsToo) {
  bool ok = true;
  NPVariant r = call("crash", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(r.type, NPVariantType_Void);
  EXPECT_EQ(npnState().lastException, "the disk is on fire");
}

TEST_F(Scriptable, BuiltInsAreFunctionObjectsAndEnumeratedLast) {
  EXPECT_TRUE(obj->_class->hasMethod(obj, stringId("toString")));
  EXPECT_FALSE(obj->_class->hasProperty(obj, stringId("toString")));
  EXPECT_TRUE(obj->_class->hasProperty(obj, stringId("getLastException")));
  NPIdentifier* ids = nullptr;
  uint32_t count = 0;
  ASSERT_TRUE(obj->_class->enumerate(obj, &ids, &count));
  ASSERT_GE(count, 3u);
  EXPECT_EQ(ids[count - 3], stringId("addEventListener"));
  EXPECT_EQ(ids[count - 2], stringId("removeEventListener"));
  EXPECT_EQ(ids[count - 1], stringId("getLastException"));
  table.memfree(ids);
}

TEST_F(Scriptable, PropertiesWrittenAndReadBack) {
  NPVariant value;
  const char text[] = "Virtual PCD 00 00";
  STRINGN_TO_NPVARIANT(text, sizeof text - 1, value);
  ASSERT_TRUE(obj->_class->setProperty(obj, stringId("text"), &value));
  NPVariant back;
  VOID_TO_NPVARIANT(back);
  ASSERT_TRUE(obj->_class->getProperty(obj, stringId("text"), &back));
  EXPECT_EQ(textOf(back), text);
  table.releasevariantvalue(&back);
}

// A text the page sets on a property may be a PIN: the copies the binding makes of it on the way (the
// converted value, the text it was made from, the setter's argument) are wiped before they are freed.
// Only the object's own copy stays. Both a short text, kept inside the value, and a long one, with a
// buffer of its own.
TEST_F(Scriptable, APageTextSetOnAPropertyLeavesNoFreedCopy) {
  // The trace names the case, not the digits the watch looks for.
  const struct {
    const char* what;
    const char* secret;
  } cases[] = {{"a short text", "137951"}, {"a long text", "1379513795137951"}};
  for (const auto& [what, secret] : cases) {
    SCOPED_TRACE(what);
    NPVariant value;
    STRINGN_TO_NPVARIANT(secret, static_cast<uint32_t>(std::strlen(secret)), value);
    {
      const freedmemory::FreedMemoryWatch watch(secret, 3);
      ASSERT_TRUE(obj->_class->setProperty(obj, stringId("text"), &value));
      EXPECT_EQ(watch.blocksHoldingSecret(), 0) << "a copy of the page's text was freed unwiped";
    }
    NPVariant back;
    VOID_TO_NPVARIANT(back);
    ASSERT_TRUE(obj->_class->getProperty(obj, stringId("text"), &back));
    EXPECT_EQ(textOf(back), secret);
    table.releasevariantvalue(&back);
  }
}

TEST_F(Scriptable, AfterDestroyEveryCallFailsQuietly) {
  EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_NO_ERROR);
  const int exceptions = npnState().exceptions;
  bool ok = true;
  NPVariant r = call("code", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(r.type, NPVariantType_Void);
  EXPECT_FALSE(obj->_class->hasProperty(obj, stringId("text")));
  EXPECT_EQ(npnState().exceptions, exceptions) << "no page exception for a gone object";
}

TEST_F(Scriptable, TheScriptableObjectIsMadeOnceAndEachRequestAddsOneReference) {
  // The plug-in's own reference and the browser's first.
  EXPECT_EQ(obj->referenceCount, 2u);
  NPObject* again = scriptable();
  EXPECT_EQ(again, obj);
  EXPECT_EQ(obj->referenceCount, 3u);
  table.releaseobject(again);
}

TEST_F(Scriptable, AnInvalidatedObjectAnswersFalseAndRaisesNothing) {
  obj->_class->invalidate(obj);
  const int exceptions = npnState().exceptions;
  bool ok = true;
  NPVariant r = call("code", &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(r.type, NPVariantType_Void);
  NPVariant kept;
  INT32_TO_NPVARIANT(42, kept);
  EXPECT_FALSE(obj->_class->getProperty(obj, stringId("text"), &kept));
  EXPECT_EQ(kept.type, NPVariantType_Int32) << "a failed read leaves the result alone";
  NPIdentifier* ids = reinterpret_cast<NPIdentifier*>(&kept);
  uint32_t count = 77;
  EXPECT_FALSE(obj->_class->enumerate(obj, &ids, &count));
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(ids, reinterpret_cast<NPIdentifier*>(&kept));
  NPVariant value;
  INT32_TO_NPVARIANT(1, value);
  EXPECT_FALSE(obj->_class->setProperty(obj, stringId("text"), &value));
  EXPECT_FALSE(obj->_class->hasMethod(obj, stringId("toString")));
  EXPECT_EQ(npnState().exceptions, exceptions);
}

// The page's addEventListener takes an event name, a listener function and an ignored third argument
// (the page tests register real listeners); anything else is refused with a page exception that
// getLastException repeats.
TEST_F(Scriptable, ListenerBuiltInsCheckTheirArguments) {
  NPVariant fn;
  VOID_TO_NPVARIANT(fn);
  ASSERT_TRUE(obj->_class->getProperty(obj, stringId("addEventListener"), &fn));
  ASSERT_EQ(fn.type, NPVariantType_Object);
  NPObject* add = fn.value.objectValue;
  NPObject* listener = makeBrowserObject();
  NPVariant args[4];
  STRINGN_TO_NPVARIANT("test", 4, args[0]);
  OBJECT_TO_NPVARIANT(listener, args[1]);
  BOOLEAN_TO_NPVARIANT(false, args[2]);
  INT32_TO_NPVARIANT(0, args[3]);
  for (uint32_t count : {1u, 4u}) {
    SCOPED_TRACE(count);
    npnState().lastException.clear();
    NPVariant r;
    VOID_TO_NPVARIANT(r);
    EXPECT_FALSE(add->_class->invokeDefault(add, args, count, &r));
    EXPECT_EQ(npnState().lastException, "Invalid Arguments");
  }
  // A listener that is no object: the conversion's own message, kept as the last exception.
  INT32_TO_NPVARIANT(5, args[1]);
  NPVariant r;
  VOID_TO_NPVARIANT(r);
  EXPECT_FALSE(add->_class->invokeDefault(add, args, 2, &r));
  EXPECT_FALSE(npnState().lastException.empty());
  EXPECT_NE(npnState().lastException, "Invalid Arguments");
  NPVariant last;
  VOID_TO_NPVARIANT(last);
  ASSERT_TRUE(obj->_class->getProperty(obj, stringId("getLastException"), &fn));
  NPObject* getLast = fn.value.objectValue;
  ASSERT_TRUE(getLast->_class->invokeDefault(getLast, nullptr, 0, &last));
  EXPECT_EQ(textOf(last), npnState().lastException);
  table.releasevariantvalue(&last);
  table.releaseobject(getLast);
  table.releaseobject(add);
  table.releaseobject(listener);
}

// ---- Page-object proxies ---------------------------------------------------------------------------------

// A page object that notes every call the plug-in makes of it. Called as a window, "Array" and "Object"
// give new page objects of the same kind, and "document" reads as one.
struct PageCalls {
  std::vector<std::string> trail;
};
PageCalls& pageCalls() {
  static PageCalls calls;
  return calls;
}
std::string identifierText(NPIdentifier id) {
  for (auto& entry : npnState().strings)
    if (entry.second.get() == id) return "\"" + entry.first + "\"";
  for (auto& entry : npnState().ints)
    if (entry.second.get() == id) return std::to_string(entry.first);
  return "?";
}
std::string valueText(const NPVariant& v) {
  switch (v.type) {
    case NPVariantType_Int32:
      return std::to_string(v.value.intValue);
    case NPVariantType_String:
      return "'" + textOf(v) + "'";
    case NPVariantType_Object:
      return "object";
    default:
      return "?";
  }
}
std::string argumentsText(const NPVariant* args, uint32_t count) {
  std::string text;
  for (uint32_t i = 0; i < count; ++i) text += (i ? "," : "") + valueText(args[i]);
  return text;
}
NPObject* newPageObject();
bool pageInvoke(NPObject*, NPIdentifier name, const NPVariant* args, uint32_t count, NPVariant* result) {
  const std::string method = identifierText(name);
  pageCalls().trail.push_back("invoke " + method + "(" + argumentsText(args, count) + ")");
  if (method == "\"Array\"" || method == "\"Object\"") OBJECT_TO_NPVARIANT(newPageObject(), *result);
  return true;
}
bool pageInvokeDefault(NPObject*, const NPVariant* args, uint32_t count, NPVariant*) {
  pageCalls().trail.push_back("call(" + argumentsText(args, count) + ")");
  return true;
}
bool pageGetProperty(NPObject*, NPIdentifier name, NPVariant* result) {
  const std::string property = identifierText(name);
  if (property == "\"document\"") {
    OBJECT_TO_NPVARIANT(newPageObject(), *result);
    return true;
  }
  pageCalls().trail.push_back("get " + property);
  if (property == "\"missing\"") return false;
  if (property == "\"__pf_event_id\"") {  // an id the page spoilt
    char* text = static_cast<char*>(std::malloc(3));
    std::memcpy(text, "abc", 3);
    STRINGN_TO_NPVARIANT(text, 3, *result);
    return true;
  }
  INT32_TO_NPVARIANT(1, *result);
  return true;
}
bool pageSetProperty(NPObject*, NPIdentifier name, const NPVariant* value) {
  pageCalls().trail.push_back("set " + identifierText(name) + "=" + valueText(*value));
  return true;
}
NPClass pageClass = {3,       nullptr,         nullptr,         nullptr, nullptr, pageInvoke, pageInvokeDefault,
                     nullptr, pageGetProperty, pageSetProperty, nullptr, nullptr, nullptr};
NPObject* newPageObject() { return makeClassObject(&pageClass); }

TEST_F(Scriptable, ProxyCallsReachThePageObjectByNameAndByIndex) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  pageCalls().trail.clear();
  NPObject* page = makeClassObject(&pageClass);
  NPVariant v;
  OBJECT_TO_NPVARIANT(page, v);
  PF::JSObjectPtr proxy = h->getVariant(&v).cast<PF::JSObjectPtr>();
  proxy->Invoke("", {variant(1), variant(2)});
  proxy->Invoke("f", {});
  EXPECT_EQ(proxy->GetProperty(3).convert_cast<int>(), 1);
  proxy->GetProperty(-1);
  std::string message;
  try {
    proxy->GetProperty("missing");
  } catch (const PF::script_error& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "missing");
  const std::vector<std::string> expected = {"call(1,2)", "invoke \"f\"()", "get \"3\"", "get \"-1\"",
                                             "get \"missing\""};
  EXPECT_EQ(pageCalls().trail, expected);

  // Once the instance is gone the proxy answers without calling the page.
  h.reset();
  EXPECT_EQ(NpapiPluginModule::NPP_Destroy(&npp, nullptr), NPERR_NO_ERROR);
  pageCalls().trail.clear();
  EXPECT_FALSE(proxy->HasMethod("f"));
  EXPECT_TRUE(proxy->GetProperty("x").empty());
  proxy->SetProperty("x", variant(1));
  EXPECT_TRUE(pageCalls().trail.empty());
  proxy.reset();
  EXPECT_EQ(page->referenceCount, 2u) << "a proxy whose host is gone gives nothing back";
  table.releaseobject(page);
  table.releaseobject(page);
}

// ---- Value mapping ---------------------------------------------------------------------------------------

TEST_F(Scriptable, PluginValuesToBrowserValues) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  struct Case {
    variant value;
    NPVariantType type;
    std::string text;
  };
  const Case cases[] = {
      {variant(-5L), NPVariantType_String, "-5"},
      {variant(18446744073709551615ULL), NPVariantType_String, "18446744073709551615"},
      {variant(static_cast<unsigned char>(200)), NPVariantType_Int32, ""},
      {variant(std::string()), NPVariantType_String, ""},
      {variant(std::string("a\0\xff\xfe"
                           "b",
                           5)),
       NPVariantType_String,
       std::string("a\0\xff\xfe"
                   "b",
                   5)},
      {variant(std::wstring(L"\u96d9\u5341")), NPVariantType_String, "\xe9\x9b\x99\xe5\x8d\x81"},
      {variant(true), NPVariantType_Bool, ""},
      {variant(PF::variant_detail::null()), NPVariantType_Null, ""},
      {variant(), NPVariantType_Void, ""},
      {variant(PF::JSAPIPtr()), NPVariantType_Null, ""},
      {variant(PF::JSAPIWeakPtr()), NPVariantType_Null, ""},
  };
  for (const Case& c : cases) {
    NPVariant v;
    VOID_TO_NPVARIANT(v);
    h->getNPVariant(&v, c.value);
    EXPECT_EQ(v.type, c.type) << c.text;
    if (v.type == NPVariantType_String) EXPECT_EQ(textOf(v), c.text);
    table.releasevariantvalue(&v);
  }
  // A type the mapping does not know leaves the destination as it was.
  NPVariant untouched;
  INT32_TO_NPVARIANT(42, untouched);
  h->getNPVariant(&untouched, variant(std::pair<int, int>(1, 2)));
  EXPECT_EQ(untouched.type, NPVariantType_Int32);
}

TEST_F(Scriptable, BrowserValuesToPluginValues) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  NPVariant v;
  const char bytes[] = {'a', '\0', 'b'};
  STRINGN_TO_NPVARIANT(bytes, 3, v);
  EXPECT_EQ(h->getVariant(&v).cast<std::string>(), std::string(bytes, 3));
  INT32_TO_NPVARIANT(7, v);
  EXPECT_TRUE(h->getVariant(&v).is_of_type<int>());
  DOUBLE_TO_NPVARIANT(2.0, v);
  EXPECT_TRUE(h->getVariant(&v).is_of_type<double>());
  NULL_TO_NPVARIANT(v);
  EXPECT_TRUE(h->getVariant(&v).is_null());
  VOID_TO_NPVARIANT(v);
  EXPECT_TRUE(h->getVariant(&v).empty());

  // Two conversions of one browser object: two proxies over the same object, each with its own reference.
  NPObject* page = makeBrowserObject();
  OBJECT_TO_NPVARIANT(page, v);
  {
    variant a = h->getVariant(&v), b = h->getVariant(&v);
    EXPECT_NE(a.cast<PF::JSObjectPtr>(), b.cast<PF::JSObjectPtr>());
    EXPECT_EQ(page->referenceCount, 3u);
  }
  EXPECT_EQ(page->referenceCount, 1u);
  table.releaseobject(page);
}

TEST_F(Scriptable, ProxyDroppedOffTheMainThreadIsReleasedByTheNextDeferredRelease) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  NPObject* page = makeBrowserObject();
  NPVariant v;
  OBJECT_TO_NPVARIANT(page, v);
  PF::JSObjectPtr proxy = h->getVariant(&v).cast<PF::JSObjectPtr>();
  EXPECT_EQ(page->referenceCount, 2u);
  std::thread([&proxy] { proxy.reset(); }).join();
  EXPECT_EQ(page->referenceCount, 2u) << "released off the main thread";
  h->DoDeferredRelease();
  EXPECT_EQ(page->referenceCount, 1u);
  table.releaseobject(page);
}

TEST_F(Scriptable, OneBrowserObjectPerScriptingObject) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  PF::JSAPIPtr api = boost::make_shared<ValuesObject>();
  NPVariant a, b;
  VOID_TO_NPVARIANT(a);
  VOID_TO_NPVARIANT(b);
  h->getNPVariant(&a, variant(api));
  h->getNPVariant(&b, variant(api));
  ASSERT_EQ(a.type, NPVariantType_Object);
  EXPECT_EQ(a.value.objectValue, b.value.objectValue);
  EXPECT_EQ(a.value.objectValue->referenceCount, 2u);
  table.releasevariantvalue(&a);
  table.releasevariantvalue(&b);
}

TEST_F(Scriptable, HostAfterShutdownStopsCallingTheBrowserButNotTheModule) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  EXPECT_TRUE(h->_scheduleAsyncCall([](void*) {}, nullptr));
  rvp_hostloop_drain();
  h->shutdown();
  NPBool answer = 0;
  EXPECT_EQ(h->GetValue(NPNVsupportsCocoaBool, &answer), NPERR_GENERIC_ERROR);
  EXPECT_EQ(h->CreateObject(&PF::Npapi::NPJavascriptObject::NPJavascriptObjectClass), nullptr);
  EXPECT_FALSE(h->_scheduleAsyncCall([](void*) {}, nullptr));
  // Every browser function of the host now gives its answer for a missing entry.
  EXPECT_EQ(h->GetURL("https://x.example/", ""), NPERR_GENERIC_ERROR);
  EXPECT_EQ(h->GetURLNotify("https://x.example/", nullptr, nullptr), NPERR_GENERIC_ERROR);
  EXPECT_EQ(h->RodaURLNotify("https://x.example/", nullptr, 0, "", false, nullptr), NPERR_GENERIC_ERROR);
  EXPECT_EQ(h->SetValue(NPPVpluginDrawingModel, nullptr), NPERR_GENERIC_ERROR);
  EXPECT_EQ(h->Write(nullptr, 0, nullptr), 0);
  EXPECT_EQ(h->UserAgent(), nullptr);
  EXPECT_FALSE(h->isSafari() || h->isChrome() || h->isFirefox());
  EXPECT_FALSE(h->Invoke(obj, stringId("code"), nullptr, 0, nullptr));
  EXPECT_FALSE(h->Evaluate(obj, nullptr, nullptr));
  NPIdentifier* ids = nullptr;
  uint32_t count = 0;
  EXPECT_FALSE(h->Enumerate(obj, &ids, &count));
  EXPECT_EQ(h->ScheduleTimer(10, false, nullptr), 0u);
  char* proxy = nullptr;
  uint32_t length = 0;
  EXPECT_EQ(h->GetValueForURL(NPNURLVProxy, "https://x.example/", &proxy, &length), NPERR_INCOMPATIBLE_VERSION_ERROR);
  EXPECT_EQ(h->SetValueForURL(NPNURLVCookie, "https://x.example/", "", 0), NPERR_INCOMPATIBLE_VERSION_ERROR);
  char *user = nullptr, *password = nullptr;
  uint32_t userLength = 0, passwordLength = 0;
  EXPECT_EQ(h->GetAuthenticationInfo("https", "x.example", 443, "basic", "bank", &user, &userLength, &password,
                                     &passwordLength),
            NPERR_INCOMPATIBLE_VERSION_ERROR);
  EXPECT_THROW(h->evaluateJavaScript("1"), std::runtime_error) << "no window after shut-down";
  void* block = h->MemAlloc(4);
  EXPECT_NE(block, nullptr);
  h->MemFree(block);
}

TEST_F(Scriptable, ProxySettingsFromTheBrowsersAnswer) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  struct Case {
    NPError result;
    const char* answer;
    bool found;
    const char* type;
    const char* hostname;
    const char* port;
  };
  const Case cases[] = {
      {NPERR_NO_ERROR, "PROXY proxy.example:8080", true, "https", "proxy.example", "8080"},
      {NPERR_NO_ERROR, "SOCKS socks.example:1080", true, "socks", "socks.example", "1080"},
      {NPERR_NO_ERROR, "DIRECT", false, "kept", "", ""},
      {NPERR_NO_ERROR, "PROXY", false, "kept", "", ""},
      {NPERR_NO_ERROR, "PROXY nocolon", false, "kept", "", ""},
      {NPERR_GENERIC_ERROR, "", false, "kept", "", ""},
      {NPERR_INCOMPATIBLE_VERSION_ERROR, "", false, "kept", "", ""},  // the system's answer: none here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    npnState().proxyResult = c.result;
    npnState().proxyAnswer = c.answer;
    std::map<std::string, std::string> settings{{"type", "kept"}};
    EXPECT_EQ(h->DetectProxySettings(settings, "https://webatm.postbank.example/"), c.found);
    EXPECT_EQ(settings["type"], c.type);
    if (c.found) {
      EXPECT_EQ(settings["hostname"], c.hostname);
      EXPECT_EQ(settings["port"], c.port);
    }
  }

  // An address that does not parse has no scheme: a PROXY answer names nothing for it (and throws
  // nothing), while a SOCKS answer serves every scheme.
  npnState().proxyResult = NPERR_NO_ERROR;
  npnState().proxyAnswer = "PROXY proxy.example:8080";
  std::map<std::string, std::string> settings{{"type", "kept"}};
  EXPECT_FALSE(h->DetectProxySettings(settings, "ht tp://webatm.postbank.example/"));
  EXPECT_EQ(settings, (std::map<std::string, std::string>{{"type", "kept"}}));
  npnState().proxyAnswer = "SOCKS socks.example:1080";
  EXPECT_TRUE(h->DetectProxySettings(settings, "ht tp://webatm.postbank.example/"));
  EXPECT_EQ(settings,
            (std::map<std::string, std::string>{{"type", "socks"}, {"hostname", "socks.example"}, {"port", "1080"}}));
}

// The event id lives on the page object; one that does not read as a number is refused with the
// conversion's own message.
TEST_F(Scriptable, AnEventIdThatIsNoNumberIsRefused) {
  PF::Npapi::NpapiBrowserHostPtr h = host();
  NPObject* page = makeClassObject(&pageClass);
  NPVariant v;
  OBJECT_TO_NPVARIANT(page, v);
  PF::JSObjectPtr proxy = h->getVariant(&v).cast<PF::JSObjectPtr>();
  pageCalls().trail.clear();
  std::string message;
  try {
    proxy->getEventId();
  } catch (const PF::invalid_arguments& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "bad cast");
  ASSERT_EQ(pageCalls().trail.size(), 2u);
  EXPECT_EQ(pageCalls().trail[0].substr(0, 20), "set \"__pf_event_id\"=");
  EXPECT_EQ(pageCalls().trail[1], "get \"__pf_event_id\"");
  proxy.reset();
  table.releaseobject(page);
}

// Lists and maps reach the page as new page arrays and objects of the page's window, filled depth first
// (each element converted just before its push) and, for maps, in key order.
TEST_F(Instance, ListsAndMapsBecomePageArraysAndObjects) {
  NPObject* window = newPageObject();
  npnState().window = window;
  ASSERT_EQ(create(), NPERR_NO_ERROR);
  PF::Npapi::NpapiBrowserHostPtr h = host();
  pageCalls().trail.clear();
  std::vector<variant> inner{variant(2)};
  std::vector<variant> list{variant(1), variant(std::string("t")), variant(inner)};
  PF::VariantMap map{{"b", variant(1)}, {"a", variant(2)}};
  NPVariant v;
  VOID_TO_NPVARIANT(v);
  h->getNPVariant(&v, variant(list));
  ASSERT_EQ(v.type, NPVariantType_Object);
  EXPECT_EQ(v.value.objectValue->referenceCount, 1u) << "the page array belongs to the receiver alone";
  table.releasevariantvalue(&v);
  h->getNPVariant(&v, variant(map));
  ASSERT_EQ(v.type, NPVariantType_Object);
  table.releasevariantvalue(&v);
  const std::vector<std::string> expected = {"invoke \"Array\"()",  "invoke \"push\"(1)", "invoke \"push\"('t')",
                                             "invoke \"Array\"()",  "invoke \"push\"(2)", "invoke \"push\"(object)",
                                             "invoke \"Object\"()", "set \"a\"=2",        "set \"b\"=1"};
  EXPECT_EQ(pageCalls().trail, expected);
  h.reset();
  table.releaseobject(window);
}

// An owned browser value goes back to the browser once when its owner goes; a detached one is the
// receiver's, and its owner gives back nothing.
TEST_F(Instance, AnOwnedValueIsGivenBackOnceAndADetachedOneIsTheReceivers) {
  ASSERT_EQ(create(), NPERR_NO_ERROR);
  PF::Npapi::NpapiBrowserHostPtr h = host();
  const size_t blocks = npnState().blocks.size();
  {
    PF::Npapi::OwnedVariant text(*h);
    h->getNPVariant(text.get(), variant(std::string("owned")));
    EXPECT_EQ(npnState().blocks.size(), blocks + 1);
  }
  EXPECT_EQ(npnState().blocks.size(), blocks);

  NPVariant handed;
  {
    PF::Npapi::OwnedVariant text(*h);
    h->getNPVariant(text.get(), variant(std::string("handed over")));
    handed = text.detach();
    EXPECT_EQ(text.get()->type, NPVariantType_Void);
  }
  EXPECT_EQ(npnState().blocks.size(), blocks + 1);
  EXPECT_EQ(textOf(handed), "handed over");
  table.releasevariantvalue(&handed);
  EXPECT_EQ(npnState().blocks.size(), blocks);
}

// ---- The main-thread scheduler ---------------------------------------------------------------------------

TEST(OneShot, CallsRunInOrderPerInstanceLowerInstanceFirstWithOneWakeUp) {
  rvp_hostloop_discard();
  PF::OneShotManager& m = PF::OneShotManager::getInstance();
  NPP_t instances[2];
  for (NPP_t& i : instances) m.npp_register(&i);
  static std::string trail;
  trail.clear();
  struct Mark {
    const char* text;
  };
  static Mark marks[] = {{"h1"}, {"h2"}, {"l1"}, {"l2"}, {"again"}};
  auto note = [](void* d) { trail += std::string(static_cast<Mark*>(d)->text) + " "; };
  auto noteAndQueue = [](void* d) {
    trail += std::string(static_cast<Mark*>(d)->text) + " ";
    PF::OneShotManager::getInstance().npp_scheduleAsyncCallback(nullptr, nullptr, nullptr);  // unknown: dropped
  };
  const int wakeUps = m.wakeUps();
  m.npp_scheduleAsyncCallback(&instances[1], note, &marks[0]);
  m.npp_scheduleAsyncCallback(&instances[1], noteAndQueue, &marks[1]);
  m.npp_scheduleAsyncCallback(&instances[0], note, &marks[2]);
  m.npp_scheduleAsyncCallback(&instances[0], note, &marks[3]);
  EXPECT_EQ(m.wakeUps(), wakeUps + 1);
  EXPECT_EQ(m.pending(), 4);
  rvp_hostloop_drain();
  EXPECT_EQ(trail, "l1 l2 h1 h2 ");
  EXPECT_EQ(m.pending(), 0);

  // Unregistering drops what is queued; the next call wakes the main thread again.
  m.npp_scheduleAsyncCallback(&instances[0], note, &marks[4]);
  m.npp_scheduleAsyncCallback(&instances[0], note, &marks[4]);
  m.npp_unregister(&instances[0]);
  EXPECT_EQ(m.pending(), 0);
  m.npp_scheduleAsyncCallback(&instances[1], note, &marks[0]);
  EXPECT_EQ(m.wakeUps(), wakeUps + 3);
  rvp_hostloop_drain();
  EXPECT_EQ(trail, "l1 l2 h1 h2 h1 ");
  m.npp_unregister(&instances[1]);
}

TEST(OneShot, ACallQueuedWhileDrainingRunsInTheSameDrain) {
  rvp_hostloop_discard();
  PF::OneShotManager& m = PF::OneShotManager::getInstance();
  NPP_t instance;
  m.npp_register(&instance);
  static NPP_t* target;
  static int runs;
  target = &instance;
  runs = 0;
  auto first = [](void*) {
    ++runs;
    PF::OneShotManager::getInstance().npp_scheduleAsyncCallback(
        target, [](void*) { runs += 10; }, nullptr);
  };
  m.npp_scheduleAsyncCallback(&instance, first, nullptr);
  m.npp_asyncCallback();  // one wake-up's worth of work
  EXPECT_EQ(runs, 11);
  EXPECT_EQ(m.pending(), 0);
  rvp_hostloop_drain();  // the later wake-up finds nothing left
  EXPECT_EQ(runs, 11);
  m.npp_unregister(&instance);
}

}  // namespace
}  // namespace npapi_test
