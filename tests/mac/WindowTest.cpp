// The Mac plug-in windows: window events, repaint requests on and off the main thread, the repaint timer
// on the host's clock, browser timers, the Core Animation layer and its hand-over, and the Core Graphics
// label, drawn into pictures that are checked pixel by pixel.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <sstream>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>

#include "NpapiBrowserHost.h"
#include "NpapiPlugin.h"
#include "NpapiPluginMac.h"
#include "NpapiPluginModule.h"
#include "NpnTable.h"
#include "PluginEventMacCocoa.h"
#include "PluginWindowMacCA.h"
#include "PluginWindowMacCG.h"
#include "RecordingSink.h"
#include "TestFactory.h"
#include "mac/GraphicsContext.h"
#include "mac/Layer.h"
#include "mac/MainBundle.h"
#include "npapi/HostLoop.h"

extern "C" NPError NP_Initialize(NPNetscapeFuncs* bFuncs);
extern "C" NPError NP_Shutdown();

namespace mac_test {
namespace {

using npapi_test::npnState;
using PF::Npapi::NpapiPluginModule;

class ModuleRelease : public ::testing::Environment {
 public:
  void TearDown() override { NP_Shutdown(); }
};
::testing::Environment* const moduleRelease = ::testing::AddGlobalTestEnvironment(new ModuleRelease);

NPWindow npWindow(int32_t x, int32_t y, uint32_t w, uint32_t h, NPRect clip, void* cg = nullptr) {
  NPWindow window{};
  window.x = x;
  window.y = y;
  window.width = w;
  window.height = h;
  window.clipRect = clip;
  window.window = cg;
  return window;
}

std::string picture(const std::string& name) { return std::string(PICTURES_DIR) + "/" + name; }

// Green as the labels draw it: a pixel (ARGB, premultiplied) that is clearly green and not much else.
bool isGreen(uint32_t argb) {
  const unsigned a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return a > 128 && g > 128 && r < 64 && b < 64;
}

int countGreen(const RvpGraphicsContext* gc, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += isGreen(rvp_gc_pixel(gc, x, y)) ? 1 : 0;
  return n;
}

// ---- Window events ------------------------------------------------------------------------------------------

struct WindowStep {
  NPWindow window;
  std::vector<std::string> events;
};

struct WindowCase {
  const char* what;
  bool coreGraphics;
  std::vector<WindowStep> steps;
};

TEST(WindowEvents, ChangesSendOneEventEach) {
  int contextA = 0, contextB = 0;
  NP_CGContext cgA{&contextA, &contextA}, cgB{&contextB, &contextA};
  const NPRect clip{0, 0, 50, 100}, otherClip{1, 2, 40, 90};
  const WindowCase cases[] = {
      {"same values twice",
       false,
       {{npWindow(5, 6, 100, 50, clip), {"resized", "clip"}}, {npWindow(5, 6, 100, 50, clip), {}}}},
      {"clip only",
       false,
       {{npWindow(5, 6, 100, 50, clip), {"resized", "clip"}}, {npWindow(5, 6, 100, 50, otherClip), {"clip"}}}},
      {"position only",
       false,
       {{npWindow(5, 6, 100, 50, clip), {"resized", "clip"}}, {npWindow(7, 6, 100, 50, clip), {"resized"}}}},
      {"each side of the clip alone",
       false,
       {{npWindow(5, 6, 100, 50, clip), {"resized", "clip"}},
        {npWindow(5, 6, 100, 50, NPRect{0, 0, 50, 99}), {"clip"}},
        {npWindow(5, 6, 100, 50, NPRect{0, 0, 49, 99}), {"clip"}},
        {npWindow(5, 6, 100, 50, NPRect{0, 1, 49, 99}), {"clip"}},
        {npWindow(5, 6, 100, 50, NPRect{1, 1, 49, 99}), {"clip"}}}},
      {"a new context is one change",
       true,
       {{npWindow(5, 6, 100, 50, clip, &cgA), {"changed"}},
        {npWindow(5, 6, 100, 50, clip, &cgA), {}},
        {npWindow(9, 9, 10, 10, otherClip, &cgB), {"changed"}},
        {npWindow(9, 9, 20, 10, otherClip, &cgB), {"resized"}}}},
      {"Core Graphics without a context record", true, {{npWindow(1, 2, 3, 4, clip), {"resized", "clip"}}}},
  };
  for (const WindowCase& c : cases) {
    SCOPED_TRACE(c.what);
    boost::shared_ptr<PF::PluginWindowMac> window(
        c.coreGraphics ? static_cast<PF::PluginWindowMac*>(new PF::PluginWindowMacCG) : new PF::PluginWindowMacCA);
    auto sink = boost::make_shared<RecordingSink>();
    window->AttachObserver(sink);
    for (const WindowStep& step : c.steps) {
      sink->events.clear();
      NPWindow w = step.window;
      EXPECT_EQ(window->SetWindow(&w), NPERR_NO_ERROR);
      EXPECT_EQ(sink->events, step.events);
    }
  }
}

// Only Core Graphics and Core Animation make a window; the invalidating form of Core Animation is not
// supported, so no window answers for it.
TEST(WindowEvents, OnlyTheTwoSupportedDrawingModelsMakeAWindow) {
  std::unique_ptr<PF::PluginWindowMac> cg(PF::PluginWindowMac::createPluginWindowMac(NPDrawingModelCoreGraphics));
  std::unique_ptr<PF::PluginWindowMac> ca(PF::PluginWindowMac::createPluginWindowMac(NPDrawingModelCoreAnimation));
  ASSERT_TRUE(cg && ca);
  EXPECT_EQ(cg->getDrawingModel(), 1);
  EXPECT_EQ(ca->getDrawingModel(), 2);
  for (int model : {static_cast<int>(NPDrawingModelInvalidatingCoreAnimation), -1, 0, 2}) {
    std::unique_ptr<PF::PluginWindowMac> none(PF::PluginWindowMac::createPluginWindowMac(model));
    EXPECT_EQ(none, nullptr) << model;
  }
}

TEST(WindowEvents, GeometryAndModelCodes) {
  PF::PluginWindowMacCG cg;
  int context = 0, browserWindow = 0;
  NP_CGContext record{&context, &browserWindow};
  NPWindow w = npWindow(-5, 6, 100, 50, NPRect{1, 2, 3, 4}, &record);
  cg.SetWindow(&w);
  const PF::Rect pos = cg.getWindowPosition(), clip = cg.getWindowClipping();
  EXPECT_EQ(std::vector<int>({pos.top, pos.left, pos.bottom, pos.right}), std::vector<int>({6, -5, 56, 95}));
  EXPECT_EQ(std::vector<int>({clip.top, clip.left, clip.bottom, clip.right}), std::vector<int>({1, 2, 3, 4}));
  EXPECT_EQ(cg.getWindowWidth(), 100u);
  EXPECT_EQ(cg.getWindowHeight(), 50u);
  // The window's own codes, not the NPAPI numbers (1 and 3).
  EXPECT_EQ(cg.getDrawingModel(), 1);
  EXPECT_EQ(cg.getDrawingPrimitive(), &context);
  EXPECT_EQ(cg.getWindowRef(), &browserWindow);
  PF::PluginWindowMacCA ca;
  EXPECT_EQ(ca.getDrawingModel(), 2);
  EXPECT_NE(ca.getDrawingPrimitive(), nullptr);
  EXPECT_EQ(ca.getWindowRef(), nullptr);
  int untouched = 7;
  EXPECT_EQ(cg.GetValue(NPPVpluginCoreAnimationLayer, &untouched), NPERR_NO_ERROR);
  EXPECT_EQ(ca.GetValue(NPPVpluginNameString, &untouched), NPERR_NO_ERROR);
  EXPECT_EQ(untouched, 7) << "nothing written for other variables";
}

// ---- A plug-in instance with a browser that records repaints and timers ------------------------------------

struct Repaints {
  std::vector<std::string> rects;
  std::thread::id thread;
  std::vector<void (*)(NPP, uint32_t)> timers;
  std::vector<uint32_t> unscheduled;
};
Repaints& repaints() {
  static Repaints r;
  return r;
}

void invalidateRect(NPP, NPRect* r) {
  repaints().rects.push_back(std::to_string(r->top) + "," + std::to_string(r->left) + "," + std::to_string(r->bottom) +
                             "," + std::to_string(r->right));
  repaints().thread = std::this_thread::get_id();
}
uint32_t scheduleTimer(NPP, uint32_t, NPBool, void (*f)(NPP, uint32_t)) {
  repaints().timers.push_back(f);
  return static_cast<uint32_t>(repaints().timers.size()) + 40;
}
void unscheduleTimer(NPP, uint32_t id) { repaints().unscheduled.push_back(id); }

class MacInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    table = npapi_test::makeNpnTable();
    table.invalidaterect = invalidateRect;
    table.scheduletimer = scheduleTimer;
    table.unscheduletimer = unscheduleTimer;
    NP_Initialize(&table);
    npapi_test::factoryControl() = npapi_test::FactoryControl();
    repaints() = Repaints();
    rvp_bundle_reset();
    rvp_layer_ledger_reset();
    rvp_hostloop_timer_discard();
  }
  void TearDown() override {
    if (npp.pdata) NpapiPluginModule::NPP_Destroy(&npp, nullptr);
    rvp_hostloop_discard();
    rvp_hostloop_timer_discard();
    rvp_bundle_reset();
  }
  void create(std::vector<const char*> names = {}, std::vector<const char*> values = {}) {
    ASSERT_EQ(NpapiPluginModule::NPP_New(const_cast<char*>("application/x-test"), &npp, NP_EMBED,
                                         static_cast<int16_t>(names.size()), const_cast<char**>(names.data()),
                                         const_cast<char**>(values.data()), nullptr),
              NPERR_NO_ERROR);
    mac = boost::dynamic_pointer_cast<PF::Npapi::NpapiPluginMac>(PF::Npapi::getPlugin(&npp));
    ASSERT_TRUE(mac && mac->pluginWindow());
    sink = boost::make_shared<RecordingSink>();
    mac->pluginWindow()->AttachObserver(sink);
  }
  void destroy() {
    sink.reset();
    mac.reset();
    NpapiPluginModule::NPP_Destroy(&npp, nullptr);
    npp.pdata = nullptr;
  }
  void passTime(double seconds) {
    rvp_hostloop_set_now_us(rvp_hostloop_now_us() + static_cast<unsigned long long>(seconds * 1e6));
    while (rvp_hostloop_timer_fire_next()) {
    }
  }

  NPNetscapeFuncs table;
  NPP_t npp{};
  boost::shared_ptr<PF::Npapi::NpapiPluginMac> mac;
  boost::shared_ptr<RecordingSink> sink;
};

TEST_F(MacInstance, RepaintsCoverTheWindowAndClampTo16Bits) {
  create();
  NPWindow w = npWindow(0, 0, 70000, 300, NPRect{});
  NpapiPluginModule::NPP_SetWindow(&npp, &w);
  mac->pluginWindow()->InvalidateWindow();
  EXPECT_EQ(repaints().rects, std::vector<std::string>{"0,0,300,65535"});
}

TEST_F(MacInstance, ARepaintFromAnotherThreadRunsLaterOnTheMainThread) {
  create();
  NPWindow w = npWindow(0, 0, 120, 80, NPRect{});
  NpapiPluginModule::NPP_SetWindow(&npp, &w);
  std::thread other([this] { mac->pluginWindow()->InvalidateWindow(); });
  other.join();
  EXPECT_TRUE(repaints().rects.empty()) << "not on the asking thread";
  rvp_hostloop_drain();
  EXPECT_EQ(repaints().rects, std::vector<std::string>{"0,0,80,120"});
  EXPECT_EQ(repaints().thread, std::this_thread::get_id());
}

TEST_F(MacInstance, AutomaticRepaintsFollowTheHostClock) {
  create();
  NPWindow w = npWindow(0, 0, 10, 20, NPRect{});
  NpapiPluginModule::NPP_SetWindow(&npp, &w);
  PF::PluginWindowMac& window = *mac->pluginWindow();
  window.StartAutoInvalidate(0.5);
  window.StartAutoInvalidate(0.25);
  EXPECT_EQ(rvp_hostloop_timer_count(), 1u) << "starting again replaces the timer";
  passTime(0.2);
  EXPECT_EQ(repaints().rects.size(), 0u);
  passTime(0.3);
  EXPECT_EQ(repaints().rects.size(), 1u);
  passTime(0.25);
  EXPECT_EQ(repaints().rects.size(), 2u);
  for (double refused : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
    window.StartAutoInvalidate(refused);
    EXPECT_TRUE(window.autoInvalidating()) << refused << " leaves the running timer alone";
  }
  window.StopAutoInvalidate();
  EXPECT_EQ(rvp_hostloop_timer_count(), 0u);
  passTime(1);
  EXPECT_EQ(repaints().rects.size(), 2u);
  window.StartAutoInvalidate(0.1);
  destroy();
  EXPECT_EQ(rvp_hostloop_timer_count(), 0u) << "the window stops its timer when it goes";
}

TEST_F(MacInstance, BrowserTimersReachTheWindowsObservers) {
  create();
  PF::PluginWindowMac& window = *mac->pluginWindow();
  EXPECT_EQ(window.scheduleTimer(100, true), 41);
  EXPECT_EQ(window.scheduleTimer(-1, false), 0) << "a negative interval is refused";
  ASSERT_EQ(repaints().timers.size(), 1u);
  repaints().timers[0](&npp, 41);
  EXPECT_EQ(sink->events, std::vector<std::string>{"timer 0 0"});
  window.unscheduleTimer(41);
  EXPECT_EQ(repaints().unscheduled, std::vector<uint32_t>{41});
  NPP_t stranger{};
  repaints().timers[0](&stranger, 41);  // an instance the module does not know
  EXPECT_EQ(sink->events.size(), 1u);
}

// ---- The Core Animation layer -------------------------------------------------------------------------------

struct RetainCase {
  const char* what;
  int browserAnswer;  // to NPNVbrowserRetainsLayerBool; -1: the query fails
  const char* bundle;
  bool plistKey;
  bool pluginRetains;
};

// Whatever the browser answers, the layer leaves the ledger exactly once: the browser that retains layers
// retains it itself, the browser that does not is given a reference, and each gives back what it holds.
TEST_F(MacInstance, TheLayerIsRetainedForBrowsersThatExpectIt) {
  const RetainCase cases[] = {
      {"browser retains layers", 1, "com.apple.Safari", true, false},
      {"browser does not", 0, "org.example.browser", false, true},
      {"no answer, Safari", -1, "com.apple.Safari", false, true},
      {"no answer, Info.plist key", -1, "org.example.browser", true, true},
      {"no answer, another browser", -1, "org.example.browser", false, false},
      {"no answer, a name like Safari's", -1, "com.apple.Safari2", false, false},
  };
  for (const RetainCase& c : cases) {
    SCOPED_TRACE(c.what);
    rvp_bundle_reset();
    rvp_bundle_set_identifier(c.bundle);
    if (c.plistKey) rvp_bundle_set_info_value("PluginCALayerRetain", "YES");
    npnState().layerRetained = c.browserAnswer;
    create();
    void* value = nullptr;
    ASSERT_EQ(NpapiPluginModule::NPP_GetValue(&npp, NPPVpluginCoreAnimationLayer, &value), NPERR_NO_ERROR);
    RvpLayer* layer = static_cast<RvpLayer*>(value);
    ASSERT_EQ(layer, mac->pluginWindow()->getDrawingPrimitive());
    EXPECT_EQ(rvp_layer_retain_count(layer), c.pluginRetains ? 2 : 1);
    const bool browserRetainsItself = !c.pluginRetains;
    if (browserRetainsItself) rvp_layer_retain(layer);
    destroy();
    EXPECT_EQ(rvp_layer_retain_count(layer), 1) << "the browser's reference is all that is left";
    rvp_layer_release(layer);
    EXPECT_EQ(rvp_layer_ledger_live(), 0u);
    EXPECT_EQ(rvp_layer_ledger_over_releases(), 0u);
    rvp_layer_ledger_reset();
    npnState().layerRetained = -1;
  }
}

// A browser that runs for long makes and destroys windows without the ledger ever being reset: each
// window's layers (the root and its label) give their records back when the window goes, and a late
// release of a freed layer is counted, never followed.
TEST_F(MacInstance, DestroyedWindowsGiveTheirLayerRecordsBack) {
  const size_t createdBefore = rvp_layer_ledger_created(), recordsBefore = rvp_layer_ledger_records();
  RvpLayer* freed = nullptr;
  for (int window = 0; window < 100; ++window) {
    create({"showdrawingmodel"}, {"1"});
    NPWindow w = npWindow(0, 0, 300, 40, NPRect{0, 0, 40, 300});
    NpapiPluginModule::NPP_SetWindow(&npp, &w);
    freed = static_cast<RvpLayer*>(mac->pluginWindow()->getDrawingPrimitive());
    destroy();
  }
  EXPECT_EQ(rvp_layer_ledger_created() - createdBefore, 200u) << "two layers a window";
  EXPECT_EQ(rvp_layer_ledger_records(), recordsBefore) << "a record left behind by each window";
  EXPECT_EQ(rvp_layer_ledger_live(), 0u);
  EXPECT_EQ(rvp_layer_ledger_over_releases(), 0u);
  rvp_layer_release(freed);
  EXPECT_EQ(rvp_layer_retain_count(freed), 0);
  EXPECT_EQ(rvp_layer_ledger_over_releases(), 1u);
}

// A sublayer released once too often while its superlayer lists it is freed then: it leaves the list (the
// superlayer is drawn and freed without touching it) and the extra release is counted.
TEST_F(MacInstance, ASublayerFreedUnderItsSuperlayerLeavesIt) {
  const size_t recordsBefore = rvp_layer_ledger_records();
  RvpLayer* parent = rvp_layer_create();
  RvpLayer* child = rvp_layer_create();
  rvp_layer_set_frame(parent, 0, 0, 10, 10);
  rvp_layer_add_sublayer(parent, child);
  rvp_layer_release(child);
  rvp_layer_release(child);  // the parent's reference
  EXPECT_EQ(rvp_layer_ledger_over_releases(), 1u);
  EXPECT_EQ(rvp_layer_sublayer_count(parent), 0u);
  EXPECT_EQ(rvp_layer_render_png(parent, picture("layer-freed-sublayer.png").c_str(), 0, 0), 0);
  rvp_layer_release(parent);
  EXPECT_EQ(rvp_layer_ledger_over_releases(), 1u);
  EXPECT_EQ(rvp_layer_ledger_records(), recordsBefore);
}

TEST_F(MacInstance, TheLabelLayerShowsOnlyWhenAskedAndStaysOnTop) {
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown);
    create({"showdrawingmodel"}, {shown ? "1" : "0"});
    auto* ca = dynamic_cast<PF::PluginWindowMacCA*>(mac->pluginWindow().get());
    ASSERT_TRUE(ca);
    RvpLayer* root = static_cast<RvpLayer*>(ca->getDrawingPrimitive());
    RvpLayer* label = ca->labelLayer();
    char text[32];
    ASSERT_EQ(rvp_layer_string(label, text, sizeof text), 13u);
    EXPECT_STREQ(text, "CoreAnimation");
    EXPECT_TRUE(rvp_layer_is_hidden(label)) << "hidden until the first window";
    EXPECT_EQ(rvp_layer_autoresizing_mask(root), 18u);
    EXPECT_EQ(rvp_layer_autoresizing_mask(label), 18u);
    EXPECT_TRUE(rvp_layer_needs_display_on_bounds_change(root));

    RvpLayer* other = rvp_layer_create();  // something else put on the root layer meanwhile
    rvp_layer_add_sublayer(root, other);
    NPWindow w = npWindow(0, 0, 400, 60, NPRect{0, 0, 60, 400});
    NpapiPluginModule::NPP_SetWindow(&npp, &w);
    EXPECT_EQ(rvp_layer_is_hidden(label), shown ? 0 : 1);
    ASSERT_EQ(rvp_layer_sublayer_count(root), 2u);
    EXPECT_EQ(rvp_layer_sublayer_at(root, 1), label) << "the label is the topmost sublayer again";
    EXPECT_EQ(rvp_layer_retain_count(label), 2) << "the window's and the root layer's";

    // The browser sizes the layer it shows and draws it.
    rvp_layer_set_frame(root, 0, 0, 400, 60);
    const std::string file = picture(shown ? "layer-label.png" : "layer-no-label.png");
    ASSERT_EQ(rvp_layer_render_png(root, file.c_str(), 0, 0), 0);
    cairo_surface_t* image = cairo_image_surface_create_from_png(file.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    int green = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 400; ++x) green += isGreen(reinterpret_cast<const uint32_t*>(data + y * stride)[x]) ? 1 : 0;
    cairo_surface_destroy(image);
    if (shown)
      EXPECT_GT(green, 100) << "the label's text is drawn in green";
    else
      EXPECT_EQ(green, 0);
    rvp_layer_release(other);
    destroy();
    EXPECT_EQ(rvp_layer_ledger_live(), 0u);
    EXPECT_EQ(rvp_layer_ledger_over_releases(), 0u);
  }
}

// ---- The Core Graphics label --------------------------------------------------------------------------------

std::string lastText(const RvpGraphicsContext* gc) {
  char text[128] = "";
  rvp_gc_last_text(gc, text, sizeof text);
  return text;
}

TEST_F(MacInstance, TheCoreGraphicsLabelIsDrawnOnlyWhenAsked) {
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown);
    create({"drawingmodel", "showdrawingmodel"}, {"NPDrawingModelCoreGraphics", shown ? "" : "0"});
    RvpGraphicsContext* gc = rvp_gc_create(420, 60);
    int browserWindow = 0;
    NP_CGContext record{gc, &browserWindow};
    NPWindow w = npWindow(0, 0, 420, 60, NPRect{0, 0, 60, 420}, &record);
    NpapiPluginModule::NPP_SetWindow(&npp, &w);
    sink->events.clear();

    NPCocoaEvent draw;
    std::memset(&draw, 0, sizeof draw);
    draw.type = NPCocoaEventDrawRect;
    draw.data.draw.context = gc;
    draw.data.draw.width = 420;
    draw.data.draw.height = 60;
    NpapiPluginModule::NPP_HandleEvent(&npp, &draw);
    EXPECT_EQ(sink->events,
              std::vector<std::string>({"cocoa 1", "cgdraw bounds 0,0,60,420 clip 0,0,60,420 context " + [&] {
                                          std::ostringstream s;
                                          s << static_cast<void*>(gc);
                                          return s.str();
                                        }()}));
    ASSERT_EQ(rvp_gc_write_png(gc, picture(shown ? "cg-label.png" : "cg-no-label.png").c_str()), 0);
    if (shown) {
      EXPECT_EQ(lastText(gc), "CoreGraphics inf fps #0") << "one frame time: no span yet";
      EXPECT_EQ(rvp_gc_pixel(gc, 399, 1), 0xFF000000u) << "the black band";
      EXPECT_EQ(rvp_gc_pixel(gc, 401, 1), 0u) << "400 wide";
      EXPECT_EQ(rvp_gc_pixel(gc, 10, 30), 0u) << "24 high";
      EXPECT_GT(countGreen(gc, 0, 0, 400, 24), 50) << "the text is there";
      passTime(0.5);
      NpapiPluginModule::NPP_HandleEvent(&npp, &draw);
      EXPECT_EQ(lastText(gc), "CoreGraphics 4.0 fps #1") << "two frames over half a second";
    } else {
      EXPECT_EQ(rvp_gc_draw_count(gc), 0u);
      EXPECT_EQ(countGreen(gc, 0, 0, 420, 60), 0);
    }
    destroy();
    rvp_gc_destroy(gc);
  }
}

// A Cocoa draw record an observer took is labelled too; a draw without a context is skipped.
TEST_F(MacInstance, AHandledDrawRecordIsLabelledAndAMissingContextSkipped) {
  create({"drawingmodel", "showdrawingmodel"}, {"NPDrawingModelCoreGraphics", "1"});
  sink->answer = [](PF::PluginEvent* e) { return dynamic_cast<PF::MacEventCocoa*>(e) != nullptr; };
  RvpGraphicsContext* gc = rvp_gc_create(420, 30);
  NPCocoaEvent draw;
  std::memset(&draw, 0, sizeof draw);
  draw.type = NPCocoaEventDrawRect;
  draw.data.draw.context = gc;
  EXPECT_EQ(NpapiPluginModule::NPP_HandleEvent(&npp, &draw), 1);
  EXPECT_EQ(lastText(gc), "CoreGraphics inf fps #0");
  draw.data.draw.context = nullptr;
  EXPECT_EQ(NpapiPluginModule::NPP_HandleEvent(&npp, &draw), 1);
  sink->answer = nullptr;
  EXPECT_EQ(NpapiPluginModule::NPP_HandleEvent(&npp, &draw), 0) << "nobody took it; no context to draw into";
  auto* cg = dynamic_cast<PF::PluginWindowMacCG*>(mac->pluginWindow().get());
  ASSERT_TRUE(cg);
  EXPECT_EQ(cg->frameCount(), 1);
  rvp_gc_destroy(gc);
}

}  // namespace
}  // namespace mac_test
