#include "testbrowser/Browser.h"

#include <dlfcn.h>
#include <duktape.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "npapi/HostLoop.h"
#include "testbrowser/BrowserFuncs.h"

namespace testbrowser {

namespace {
Browser* currentBrowser = nullptr;

std::string hex(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", p);
  return buf;
}
}  // namespace

Browser::Browser(PageDescription page, BrowserOptions options) : page_(std::move(page)), options_(std::move(options)) {
  currentBrowser = this;
  mac_ = std::make_unique<MacPage>(*this);
  faults_.setEcho(!options_.quiet);
  network_.knobs() = page_.network;
  fillBrowserFuncs(browserFuncs_, static_cast<uint16_t>(page_.browser.tableVersion));
  for (size_t i = 0; i < page_.embeds.size(); ++i) {
    auto instance = std::make_unique<Instance>();
    instance->index = i;
    instance->description = page_.embeds[i];
    instance->npp.ndata = instance.get();
    instances_.push_back(std::move(instance));
  }
  setUpScript();
}

Browser::~Browser() {
  tearDown();
  if (ctx_) duk_destroy_heap(ctx_);
  ctx_ = nullptr;
  if (currentBrowser == this) currentBrowser = nullptr;
}

Browser* Browser::current() { return currentBrowser; }

void Browser::console(const std::string& line) const {
  if (options_.quiet) return;
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

int Browser::run() {
  if (!loadPlugin()) {
    tearDown();
    return faults_.exitStatus();
  }
  runPage();
  runUntilIdle();
  tearDown();
  console(summary());
  return faults_.exitStatus();
}

bool Browser::loadPlugin() {
  // Lets a plug-in under test know where it runs (for example to feed its dialogs from the page).
  setenv("RVP_TESTBROWSER", "1", 1);
  library_ = dlopen(options_.pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library_) {
    faults_.add(Faults::Kind::Setup, std::string("cannot load the plug-in: ") + dlerror());
    return false;
  }
  auto getEntryPoints = reinterpret_cast<NP_GetEntryPointsFunc>(dlsym(library_, NP_GETENTRYPOINTS_NAME));
  auto initialize = reinterpret_cast<NP_InitializeFunc>(dlsym(library_, NP_INITIALIZE_NAME));
  npShutdown_ = reinterpret_cast<NP_ShutdownFunc>(dlsym(library_, NP_SHUTDOWN_NAME));
  if (!getEntryPoints || !initialize || !npShutdown_) {
    faults_.add(Faults::Kind::Setup, "the plug-in does not export all three entry points");
    npShutdown_ = nullptr;
    return false;
  }
  pluginFuncs_ = NPPluginFuncs();
  pluginFuncs_.size = sizeof(NPPluginFuncs);
  pluginFuncs_.version = static_cast<uint16_t>((NP_VERSION_MAJOR << 8) | NP_VERSION_MINOR);
  NPError e = getEntryPoints(&pluginFuncs_);
  if (e != NPERR_NO_ERROR || !pluginFuncs_.newp || !pluginFuncs_.destroy || !pluginFuncs_.getvalue) {
    faults_.add(Faults::Kind::Setup, "NP_GetEntryPoints failed or left out NPP_New, NPP_Destroy or NPP_GetValue");
    npShutdown_ = nullptr;
    return false;
  }
  e = initialize(&browserFuncs_);
  if (e != NPERR_NO_ERROR) {
    faults_.add(Faults::Kind::Setup, "NP_Initialize answered " + std::to_string(e));
    return false;
  }
  initialized_ = true;
  return true;
}

void Browser::runPage() {
  for (; instancesMade_ < instances_.size(); ++instancesMade_) {
    Instance& instance = *instances_[instancesMade_];
    while (scriptsRun_ < instance.description.scriptsBefore && scriptsRun_ < page_.scripts.size())
      runScript(page_.scripts[scriptsRun_++]);
    embed(instance);
  }
  runScripts();
}

void Browser::embedAll() {
  for (; instancesMade_ < instances_.size(); ++instancesMade_) embed(*instances_[instancesMade_]);
}

bool Browser::embed(Instance& instance) {
  std::vector<char*> names, values;
  for (auto& param : instance.description.params) {
    names.push_back(const_cast<char*>(param.first.c_str()));
    values.push_back(const_cast<char*>(param.second.c_str()));
  }
  std::string mime = instance.description.mimeType;
  instance.newResult = pluginFuncs_.newp(&mime[0], &instance.npp, NP_EMBED, static_cast<int16_t>(names.size()),
                                         names.data(), values.data(), nullptr);
  instance.alive = instance.newResult == NPERR_NO_ERROR;
  if (!instance.alive) {
    console("NPP_New for \"" + instance.description.id + "\" answered " + std::to_string(instance.newResult));
    return false;
  }
  if (pluginFuncs_.setwindow) {
    NPWindow& w = instance.window;
    w = NPWindow();
    for (const auto& param : instance.description.params) {
      if (param.first == "width") w.width = static_cast<uint32_t>(std::strtoul(param.second.c_str(), nullptr, 10));
      if (param.first == "height") w.height = static_cast<uint32_t>(std::strtoul(param.second.c_str(), nullptr, 10));
    }
    w.clipRect = NPRect{0, 0, static_cast<uint16_t>(w.height), static_cast<uint16_t>(w.width)};
    w.type = NPWindowTypeDrawable;
    w.window = instance.drawingModel == NPDrawingModelCoreGraphics ? &instance.cgContext : nullptr;
    pluginFuncs_.setwindow(&instance.npp, &w);
  }
  for (const auto& param : instance.description.params)
    if (param.first == "src" && !param.second.empty()) network_.offer(&instance.npp, param.second);
  return true;
}

Instance* Browser::instanceById(const std::string& id) {
  for (auto& instance : instances_)
    if (instance->description.id == id) return instance.get();
  return nullptr;
}

Instance* Browser::instanceByIndex(size_t index) {
  return index < instances_.size() ? instances_[index].get() : nullptr;
}

Instance* Browser::instanceOf(NPP npp) {
  for (auto& instance : instances_)
    if (&instance->npp == npp) return instance.get();
  return nullptr;
}

NPObject* Browser::scriptableObject(Instance& instance) {
  if (!instance.alive) return nullptr;
  if (!instance.scriptableAsked) {
    instance.scriptableAsked = true;
    NPObject* object = nullptr;
    NPError e = pluginFuncs_.getvalue(&instance.npp, NPPVpluginScriptableNPObject, &object);
    if (e == NPERR_NO_ERROR && object) {
      if (objects_.isLive(object))
        instance.scriptable = object;  // the reference that came with the answer is the browser's now
      else
        misuse("the scriptable object of \"" + instance.description.id + "\" is not a live object");
    }
  }
  return instance.scriptable;
}

bool Browser::destroyInstance(Instance& instance) {
  if (!instance.alive) return false;
  network_.endStreams(&instance.npp);
  NPSavedData* saved = nullptr;
  pluginFuncs_.destroy(&instance.npp, &saved);
  instance.alive = false;
  mac_->instanceDestroyed(instance);
  if (saved) {
    if (!memory_.release(saved->buf) || !memory_.release(saved))
      misuse("saved data from NPP_Destroy not allocated with memalloc");
  }
  // The page lets go of the instance's objects, and those the plug-in still has are told they are invalid.
  dropProxies(&instance.npp);
  if (instance.scriptable && !objects_.release(instance.scriptable))
    misuse("the scriptable object of \"" + instance.description.id + "\" died while the browser held it");
  instance.scriptable = nullptr;
  for (NPObject* object : objects_.liveOwnedBy(&instance.npp))
    if (objects_.isLive(object) && object->_class->invalidate) object->_class->invalidate(object);
  std::vector<uint32_t> timers;
  for (const auto& entry : pluginTimers_)
    if (entry.second == &instance.npp) timers.push_back(entry.first);
  for (uint32_t id : timers) unschedulePluginTimer(&instance.npp, id);
  return true;
}

// ---- Browser-function services.

NPError Browser::getValue(NPP npp, NPNVariable variable, void* value) {
  if (!value) return NPERR_INVALID_PARAM;
  const BrowserCapabilities& caps = page_.browser;
  auto answerBool = [value](bool b) {
    *static_cast<NPBool*>(value) = b ? 1 : 0;
    return NPERR_NO_ERROR;
  };
  switch (variable) {
    case NPNVWindowNPObject: {
      duk_push_global_object(ctx_);
      *static_cast<NPObject**>(value) = pageObjectFor(-1);
      duk_pop(ctx_);
      return NPERR_NO_ERROR;
    }
    case NPNVPluginElementNPObject: {
      Instance* instance = instanceOf(npp);
      if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
      duk_push_heap_stash(ctx_);
      duk_get_prop_string(ctx_, -1, "elements");
      duk_get_prop_index(ctx_, -1, static_cast<duk_uarridx_t>(instance->index));
      *static_cast<NPObject**>(value) = pageObjectFor(-1);
      duk_pop_3(ctx_);
      return NPERR_NO_ERROR;
    }
    case NPNVsupportsCoreGraphicsBool:
      return answerBool(caps.coreGraphics);
    case NPNVsupportsCoreAnimationBool:
      return answerBool(caps.coreAnimation);
    case NPNVsupportsInvalidatingCoreAnimationBool:
      return answerBool(caps.invalidatingCoreAnimation);
    case NPNVsupportsCocoaBool:
      return answerBool(caps.cocoaEvents);
    case NPNVbrowserRetainsLayerBool:
      if (caps.layerRetained < 0) return NPERR_GENERIC_ERROR;
      return answerBool(caps.layerRetained == 1);
    default:
      return NPERR_GENERIC_ERROR;
  }
}

NPError Browser::setValue(NPP npp, NPPVariable variable, void* value) {
  Instance* instance = instanceOf(npp);
  if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
  const BrowserCapabilities& caps = page_.browser;
  // Models travel in the pointer itself.
  int model = static_cast<int>(reinterpret_cast<intptr_t>(value));
  switch (variable) {
    case NPPVpluginDrawingModel: {
      bool supported = (model == NPDrawingModelCoreGraphics && caps.coreGraphics) ||
                       (model == NPDrawingModelCoreAnimation && caps.coreAnimation) ||
                       (model == NPDrawingModelInvalidatingCoreAnimation && caps.invalidatingCoreAnimation);
      if (!supported) return NPERR_GENERIC_ERROR;
      instance->drawingModel = model;
      return NPERR_NO_ERROR;
    }
    case NPPVpluginEventModel:
      if (model != NPEventModelCocoa || !caps.cocoaEvents) return NPERR_GENERIC_ERROR;
      instance->eventModel = model;
      return NPERR_NO_ERROR;
    case NPPVpluginWindowBool:
    case NPPVpluginTransparentBool:
      return NPERR_NO_ERROR;
    default:
      return NPERR_GENERIC_ERROR;
  }
}

void Browser::releaseVariant(NPVariant* value) {
  if (!value) return;
  if (value->type == NPVariantType_String) {
    void* chars = const_cast<NPUTF8*>(value->value.stringValue.UTF8Characters);
    if (chars && !memory_.release(chars)) misuse("releasevariantvalue of a String not allocated with memalloc");
  } else if (value->type == NPVariantType_Object) {
    if (!objects_.release(value->value.objectValue))
      misuse("releasevariantvalue of an object that is not alive: " + hex(value->value.objectValue));
  }
  VOID_TO_NPVARIANT(*value);
}

void Browser::setPendingException(const std::string& message) {
  exceptionPending_ = true;
  pendingException_ = message;
}

bool Browser::takePendingException(std::string& message) {
  if (!exceptionPending_) return false;
  exceptionPending_ = false;
  message.swap(pendingException_);
  pendingException_.clear();
  return true;
}

void Browser::queueAsyncCall(NPP npp, void (*func)(void*), void* data) {
  if (!func) return;
  std::lock_guard<std::mutex> lock(asyncMutex_);
  asyncCalls_.push_back(AsyncCall{npp, func, data});
}

size_t Browser::runAsyncCalls() {
  size_t ran = 0;
  for (;;) {
    AsyncCall call;
    {
      std::lock_guard<std::mutex> lock(asyncMutex_);
      if (asyncCalls_.empty()) return ran;
      call = asyncCalls_.front();
      asyncCalls_.pop_front();
    }
    Instance* instance = instanceOf(call.npp);
    if (instance && instance->alive) {
      call.func(call.data);
      ++ran;
    }
  }
}

uint32_t Browser::schedulePluginTimer(NPP npp, uint32_t interval, bool repeat, void (*func)(NPP, uint32_t)) {
  Instance* instance = instanceOf(npp);
  if (!instance || !instance->alive || !func) return 0;
  uint32_t id = addTimer(interval, repeat, [this, npp, func](uint32_t timerId) {
    Instance* target = instanceOf(npp);
    if (target && target->alive) func(npp, timerId);
  });
  pluginTimers_[id] = npp;
  return id;
}

void Browser::unschedulePluginTimer(NPP npp, uint32_t id) {
  auto found = pluginTimers_.find(id);
  if (found == pluginTimers_.end() || found->second != npp) return;
  pluginTimers_.erase(found);
  clearTimer(id);
}

// ---- The loop.

uint32_t Browser::addTimer(uint64_t delay, bool repeat, std::function<void(uint32_t)> fire) {
  uint32_t id = nextTimerId_++;
  timers_[id] = Timer{now_ + delay, ++timerSeq_, repeat && delay == 0 ? 1 : delay, repeat, std::move(fire)};
  return id;
}

bool Browser::clearTimer(uint32_t id) { return timers_.erase(id) != 0; }

bool Browser::runNextTimer(uint64_t limit) {
  auto next = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it)
    if (next == timers_.end() || it->second.due < next->second.due ||
        (it->second.due == next->second.due && it->second.seq < next->second.seq))
      next = it;
  // The host loop's own timers (the platform's run loop) share the clock; a page timer due at the same
  // millisecond goes first.
  unsigned long long hostDueUs = 0;
  if (rvp_hostloop_timer_next_due(&hostDueUs)) {
    const uint64_t hostDue = hostDueUs / 1000 + (hostDueUs % 1000 ? 1 : 0);
    if (hostDue <= limit && (next == timers_.end() || hostDue < next->second.due)) {
      setNow(hostDue);
      rvp_hostloop_timer_fire_next();
      return true;
    }
  }
  if (next == timers_.end() || next->second.due > limit) return false;
  uint32_t id = next->first;
  setNow(next->second.due);
  std::function<void(uint32_t)> fire = next->second.fire;
  if (next->second.repeat) {
    next->second.due += next->second.interval;
    next->second.seq = ++timerSeq_;
  } else {
    timers_.erase(next);
  }
  fire(id);
  return true;
}

void Browser::setNow(uint64_t ms) {
  if (ms > now_) now_ = ms;
  rvp_hostloop_set_now_us(now_ * 1000);
}

size_t Browser::runPending() { return rvp_hostloop_drain() + runAsyncCalls() + network_.step(); }

void Browser::runUntilIdle() {
  for (;;) {
    if (runPending() > 0) continue;
    if (!runNextTimer(options_.timeLimitMs)) break;
  }
  if (!timers_.empty())
    console("[testbrowser] " + std::to_string(timers_.size()) + " timer(s) still set at the time limit");
}

void Browser::advance(uint64_t ms) {
  uint64_t limit = now_ + ms;
  for (;;) {
    if (runPending() > 0) continue;
    if (!runNextTimer(limit)) break;
  }
  setNow(limit);
}

// ---- The end of the page.

void Browser::tearDown() {
  if (tornDown_) return;
  tornDown_ = true;
  for (auto& instance : instances_) destroyInstance(*instance);
  std::string streams = network_.ledger();
  if (!streams.empty()) console(streams);
  dropProxies(nullptr);
  {
    std::lock_guard<std::mutex> lock(asyncMutex_);
    asyncCalls_.clear();
  }
  rvp_hostloop_discard();
  rvp_hostloop_timer_discard();
  timers_.clear();
  // Steps the plug-in's scripted user still holds are errors of this page run, counted below.
  rvp_hostloop_user_end_page();
  if (initialized_ && npShutdown_) npShutdown_();
  if (initialized_) mac_->checkLedger();
  initialized_ = false;
  size_t unusedSteps = rvp_hostloop_user_clear();
  if (unusedSteps) scriptError(std::to_string(unusedSteps) + " scripted-user step(s) were queued but never used");
  std::string report;
  for (size_t needed; (needed = rvp_hostloop_user_take_report(nullptr, 0)) != 0;) {
    report.assign(needed + 1, '\0');
    if (rvp_hostloop_user_take_report(&report[0], report.size()) != needed) continue;
    report.resize(needed);
    scriptError(report);
  }
  reportLeaks();
}

void Browser::reportLeaks() {
  for (const Objects::Entry& entry : objects_.live()) {
    Instance* owner = instanceOf(entry.owner);
    std::string whose = isPageObject(entry.object) ? "page object handed to the plug-in" : "plug-in object";
    faults_.add(Faults::Kind::Leak, "leaked object " + hex(entry.object) + " (" + whose +
                                        (owner ? " of \"" + owner->description.id + "\"" : "") + ") with " +
                                        std::to_string(entry.object->referenceCount) + " reference(s)");
  }
  for (const Memory::Block& block : memory_.outstanding())
    faults_.add(Faults::Kind::Leak,
                "leaked memory: " + std::to_string(block.size) + " byte(s) from " + block.purpose + " never freed");
  // Reclaim what is left so the process itself ends clean.
  for (;;) {
    std::vector<Objects::Entry> live = objects_.live();
    if (live.empty()) break;
    objects_.reclaim(live.front().object);
  }
  memory_.reclaimAll();
}

std::string Browser::summary() const {
  std::ostringstream out;
  out << "[testbrowser] " << instances_.size() << " instance(s), " << identifiers_.size()
      << " identifier(s), virtual time " << now_ << " ms, " << faults_.count(Faults::Kind::ScriptError)
      << " script error(s), " << faults_.count(Faults::Kind::PluginMisuse) << " misuse(s), "
      << faults_.count(Faults::Kind::Leak) << " leak(s)";
  return out.str();
}

}  // namespace testbrowser
