#include "NpapiBrowserHost.h"

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "DOMDocument.h"
#include "DOMElement.h"
#include "DOMWindow.h"
#include "NPJavascriptObject.h"
#include "NPObjectAPI.h"
#include "NpapiPluginModule.h"
#include "NpapiStream.h"
#include "BrowserStreamRequest.h"
#include "OwnedVariants.h"
#include "URI.h"

namespace PF {
namespace Npapi {

NpapiBrowserHost::NpapiBrowserHost(NpapiPluginModule* module, NPP npp) : m_module(module), m_npp(npp) {
  std::memset(&m_funcs, 0, sizeof m_funcs);
}

NpapiBrowserHost::~NpapiBrowserHost() {
  // Proxies of a host being destroyed cannot give their objects back through it; drop them first, then
  // release what is still queued (only a host that was never shut down has anything left here).
  m_htmlElement.reset();
  m_htmlWin.reset();
  m_htmlDoc.reset();
  NPObject* obj = nullptr;
  while (m_deferredObjects.try_pop(obj)) m_module->ReleaseObject(obj);
}

boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHost::self() {
  return boost::static_pointer_cast<NpapiBrowserHost>(shared_from_this());
}

void NpapiBrowserHost::setBrowserFuncs(const NPNetscapeFuncs* pFuncs) {
  copyNPBrowserFuncs(&m_funcs, pFuncs, m_npp);

  NPObject* window = nullptr;
  NPObject* element = nullptr;
  try {
    GetValue(NPNVWindowNPObject, static_cast<void*>(&window));
    GetValue(NPNVPluginElementNPObject, static_cast<void*>(&element));
    if (window) m_htmlWin = boost::make_shared<NPObjectAPI>(window, self());
    if (element) m_htmlElement = boost::make_shared<NPObjectAPI>(element, self());
  } catch (...) {
    // Without them the page's window or element are simply missing.
  }
  if (window) ReleaseObject(window);
  if (element) ReleaseObject(element);

  if (m_htmlWin) {
    variant doc = m_htmlWin->GetProperty("document");
    NPObjectAPIPtr docProxy = boost::dynamic_pointer_cast<NPObjectAPI>(doc.cast<JSObjectPtr>());
    m_htmlDoc = docProxy;
  }
}

boost::shared_ptr<DOM::Document> NpapiBrowserHost::getDOMDocument() {
  if (!m_htmlDoc) throw std::runtime_error("Cannot find HTML document");
  return DOM::Document::create(m_htmlDoc);
}

// The framework reads an empty window as "the page has none", so no exception is raised here.
boost::shared_ptr<DOM::Window> NpapiBrowserHost::getDOMWindow() {
  if (!m_htmlWin) return boost::shared_ptr<DOM::Window>();
  return DOM::Window::create(m_htmlWin);
}

boost::shared_ptr<DOM::Element> NpapiBrowserHost::getDOMElement() {
  if (!m_htmlElement) throw std::runtime_error("Cannot find HTML element");
  return DOM::Element::create(m_htmlElement);
}

void NpapiBrowserHost::Navigate(const std::string& url, const std::string& target) {
  PushPopupsEnabledState(true);
  GetURL(url.c_str(), target.c_str());
  PopPopupsEnabledState();
}

void NpapiBrowserHost::evaluateJavaScript(const std::string& script) {
  assertMainThread();
  OwnedVariant text(*this);
  getNPVariant(text.get(), variant(script));
  if (!m_htmlWin) throw std::runtime_error("Cannot find HTML window");
  OwnedVariant result(*this);
  NPString npScript = text.get()->value.stringValue;
  if (!Evaluate(m_htmlWin->getNPObject(), &npScript, result.get()))
    throw script_error("Error executing JavaScript code");
}

void NpapiBrowserHost::shutdown() {
  std::memset(&m_funcs, 0, sizeof m_funcs);
  BrowserHost::shutdown();
  // Streams the browser never finished (or never will: the instance is going) end here, each once.
  std::vector<boost::shared_ptr<NpapiStream>> live;
  {
    std::lock_guard<std::mutex> lock(m_streamsMutex);
    for (const auto& entry : m_streams)
      if (boost::shared_ptr<NpapiStream> stream = entry.second.lock()) live.push_back(stream);
  }
  for (const boost::shared_ptr<NpapiStream>& stream : live) stream->abandon();
  m_htmlWin.reset();
  m_htmlElement.reset();
  m_htmlDoc.reset();
}

boost::shared_ptr<NpapiStream> NpapiBrowserHost::findStream(const void* data) const {
  if (!data) return boost::shared_ptr<NpapiStream>();
  std::lock_guard<std::mutex> lock(m_streamsMutex);
  auto found = m_streams.find(data);
  return found == m_streams.end() ? boost::shared_ptr<NpapiStream>() : found->second.lock();
}

void NpapiBrowserHost::forgetStream(const NpapiStream* stream) const {
  std::lock_guard<std::mutex> lock(m_streamsMutex);
  m_streams.erase(stream);
}

boost::shared_ptr<NpapiStream> NpapiBrowserHost::makeStream(const BrowserStreamRequest& req) const {
  assertMainThread();
  NpapiBrowserHostPtr host = boost::const_pointer_cast<NpapiBrowserHost>(
      boost::static_pointer_cast<const NpapiBrowserHost>(shared_from_this()));
  boost::shared_ptr<NpapiStream> stream = boost::make_shared<NpapiStream>(
      req.getURI().toString(true), req.isCacheable(), req.isSeekable(), req.getBufferSize(), host);
  {
    std::lock_guard<std::mutex> lock(m_streamsMutex);
    m_streams[stream.get()] = stream;
  }
  if (PluginEventSinkPtr sink = req.getEventSink()) stream->AttachObserver(sink);
  return stream;
}

boost::shared_ptr<BrowserStream> NpapiBrowserHost::_createStream(const BrowserStreamRequest& req) const {
  boost::shared_ptr<NpapiStream> stream = makeStream(req);
  NpapiBrowserHost* self = const_cast<NpapiBrowserHost*>(this);
  const std::string url = stream->getUrl();
  NPError err;
  if (req.method == "GET") {
    err = self->GetURLNotify(url.c_str(), nullptr, stream.get());
  } else {
    std::ostringstream body;
    if (req.getPostHeaders().empty())
      body << "Content-type: application/x-www-form-urlencoded\n"
           << "Content-Length: " << req.getPostData().size() << "\n\n";
    else
      body << req.getPostHeaders() << "\n\n";
    body << req.getPostData();
    const std::string text = body.str();
    err = text.size() > 0xFFFFFFFFu ? static_cast<NPError>(NPERR_INVALID_PARAM)
                                    : self->RodaURLNotify(url.c_str(), nullptr, static_cast<uint32_t>(text.size()),
                                                          text.data(), false, stream.get());
  }
  if (err != NPERR_NO_ERROR) {
    forgetStream(stream.get());
    return boost::shared_ptr<BrowserStream>();
  }
  stream->setCreated();
  StreamCreatedEvent evt(stream.get());
  stream->SendEvent(&evt);
  return stream;
}

boost::shared_ptr<BrowserStream> NpapiBrowserHost::_createUnsolicitedStream(const BrowserStreamRequest& req) const {
  boost::shared_ptr<NpapiStream> stream = makeStream(req);
  stream->setCreated();
  stream->expectNoNotification();
  StreamCreatedEvent evt(stream.get());
  stream->SendEvent(&evt);
  return stream;
}

void NpapiBrowserHost::deferred_release(NPObject* obj) const {
  m_deferredObjects.push(obj);
  if (isMainThread()) DoDeferredRelease();
}

void NpapiBrowserHost::DoDeferredRelease() const {
  assertMainThread();
  NPObject* obj = nullptr;
  while (m_deferredObjects.try_pop(obj)) ReleaseObject(obj);
  for (auto it = m_cachedNPObject.begin(); it != m_cachedNPObject.end();) {
    if (it->second.expired())
      it = m_cachedNPObject.erase(it);
    else
      ++it;
  }
}

bool NpapiBrowserHost::_scheduleAsyncCall(void (*func)(void*), void* userData) const {
  if (isShutDown()) return false;
  if (m_funcs.pluginthreadasynccall) m_funcs.pluginthreadasynccall(m_npp, func, userData);
  return true;
}

void NpapiBrowserHost::PluginThreadAsyncCall(void (*func)(void*), void* userData) {
  if (m_funcs.pluginthreadasynccall) m_funcs.pluginthreadasynccall(m_npp, func, userData);
}

bool NpapiBrowserHost::DetectProxySettings(std::map<std::string, std::string>& settings, const std::string& url) {
  char* answer = nullptr;
  uint32_t length = 0;
  const NPError result = GetValueForURL(NPNURLVProxy, url.c_str(), &answer, &length);
  if (result == NPERR_INCOMPATIBLE_VERSION_ERROR) return BrowserHost::DetectProxySettings(settings, url);
  if (result != NPERR_NO_ERROR) return false;
  const std::string text = answer ? std::string(answer, length) : std::string();
  MemFree(answer);
  if (text == "DIRECT") return false;

  // "KIND host:port": anything of another shape is no proxy we can use.
  const std::string::size_type blank = text.find(' ');
  if (blank == std::string::npos) return false;
  const std::string kind = text.substr(0, blank);
  const std::string rest = text.substr(blank + 1);
  const std::string address = rest.substr(0, rest.find(' '));
  const std::string::size_type colon = address.find(':');
  if (colon == std::string::npos) return false;
  std::string type = kind;
  if (kind == "PROXY") {
    // The proxy serves the address's scheme; an address that does not parse has none to name it by.
    try {
      type = URI::fromString(url).protocol;
    } catch (const std::exception&) {
      return false;
    }
  } else if (kind == "SOCKS") {
    type = "socks";
  }
  settings.clear();
  settings["type"] = type;
  settings["hostname"] = address.substr(0, colon);
  settings["port"] = address.substr(colon + 1, address.find(':', colon + 1) - colon - 1);
  return true;
}

NPObject* NpapiBrowserHost::getJSAPIWrapper(const boost::weak_ptr<JSAPI>& api, bool autoRelease) {
  assertMainThread();
  NpapiBrowserHostPtr me = self();
  JSAPIPtr ptr = api.lock();
  if (!ptr) return NPJavascriptObject::NewObject(me, api, false);

  auto found = m_cachedNPObject.find(ptr.get());
  if (found != m_cachedNPObject.end()) {
    boost::shared_ptr<NPJavascriptObject*> link = found->second.lock();
    if (link) {
      NPObject* obj = *link;
      RetainObject(obj);
      return obj;
    }
    m_cachedNPObject.erase(found);
  }
  NPObject* obj = NPJavascriptObject::NewObject(me, api, autoRelease);
  if (obj) m_cachedNPObject[ptr.get()] = static_cast<NPJavascriptObject*>(obj)->selfReference();
  return obj;
}

namespace {
bool userAgentHas(const char* ua, const char* what) { return ua && std::strstr(ua, what) != nullptr; }
}  // namespace

bool NpapiBrowserHost::isChrome() const { return userAgentHas(UserAgent(), "Chrome"); }

bool NpapiBrowserHost::isSafari() const { return userAgentHas(UserAgent(), "Safari") && !isChrome(); }

bool NpapiBrowserHost::isFirefox() const { return userAgentHas(UserAgent(), "Firefox"); }

// ---- Browser functions of this instance: the entry of our own table, or the fixed answer ------------------

NPError NpapiBrowserHost::GetValue(NPNVariable variable, void* value) {
  assertMainThread();
  return m_funcs.getvalue ? m_funcs.getvalue(m_npp, variable, value) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::SetValue(NPPVariable variable, void* value) {
  assertMainThread();
  return m_funcs.setvalue ? m_funcs.setvalue(m_npp, variable, value) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::GetURL(const char* url, const char* target) {
  return m_funcs.geturl ? m_funcs.geturl(m_npp, url, target) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::GetURLNotify(const char* url, const char* target, void* notifyData) {
  return m_funcs.geturlnotify ? m_funcs.geturlnotify(m_npp, url, target, notifyData) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::RodaURL(const char* url, const char* target, uint32_t len, const char* buf, bool file) {
  return m_funcs.posturl ? m_funcs.posturl(m_npp, url, target, len, buf, file) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::RodaURLNotify(const char* url, const char* target, uint32_t len, const char* buf, bool file,
                                        void* notifyData) {
  return m_funcs.posturlnotify ? m_funcs.posturlnotify(m_npp, url, target, len, buf, file, notifyData)
                               : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::RequestRead(NPStream* stream, NPByteRange* rangeList) {
  return m_funcs.requestread ? m_funcs.requestread(stream, rangeList) : NPERR_GENERIC_ERROR;
}

NPError NpapiBrowserHost::NewStream(NPMIMEType type, const char* target, NPStream** stream) {
  return m_funcs.newstream ? m_funcs.newstream(m_npp, type, target, stream) : NPERR_GENERIC_ERROR;
}

int32_t NpapiBrowserHost::Write(NPStream* stream, int32_t len, void* buffer) {
  return m_funcs.write ? m_funcs.write(m_npp, stream, len, buffer) : 0;
}

NPError NpapiBrowserHost::DestroyStream(NPStream* stream, NPReason reason) {
  return m_funcs.destroystream ? m_funcs.destroystream(m_npp, stream, reason) : NPERR_GENERIC_ERROR;
}

const char* NpapiBrowserHost::UserAgent() const { return m_funcs.uagent ? m_funcs.uagent(m_npp) : nullptr; }

void NpapiBrowserHost::SetStatus(const char* message) {
  if (m_funcs.status) m_funcs.status(m_npp, message);
}

void NpapiBrowserHost::InvalidateRect(NPRect* rect) {
  if (m_funcs.invalidaterect) m_funcs.invalidaterect(m_npp, rect);
}

void NpapiBrowserHost::InvalidateRect2(const NPRect& rect) {
  NPRect copy = rect;
  InvalidateRect(&copy);
}

void NpapiBrowserHost::InvalidateRegion(NPRegion region) {
  if (m_funcs.invalidateregion) m_funcs.invalidateregion(m_npp, region);
}

void NpapiBrowserHost::ForceRedraw() {
  if (m_funcs.forceredraw) m_funcs.forceredraw(m_npp);
}

void NpapiBrowserHost::PushPopupsEnabledState(bool enabled) {
  if (m_funcs.pushpopupsenabledstate) m_funcs.pushpopupsenabledstate(m_npp, enabled);
}

void NpapiBrowserHost::PopPopupsEnabledState() {
  if (m_funcs.poppopupsenabledstate) m_funcs.poppopupsenabledstate(m_npp);
}

NPObject* NpapiBrowserHost::CreateObject(NPClass* aClass) {
  return m_funcs.createobject ? m_funcs.createobject(m_npp, aClass) : nullptr;
}

bool NpapiBrowserHost::Invoke(NPObject* obj, NPIdentifier methodName, const NPVariant* args, uint32_t argCount,
                              NPVariant* result) {
  return m_funcs.invoke && m_funcs.invoke(m_npp, obj, methodName, args, argCount, result);
}

bool NpapiBrowserHost::InvokeDefault(NPObject* obj, const NPVariant* args, uint32_t argCount, NPVariant* result) {
  return m_funcs.invokeDefault && m_funcs.invokeDefault(m_npp, obj, args, argCount, result);
}

bool NpapiBrowserHost::Evaluate(NPObject* obj, NPString* script, NPVariant* result) {
  return m_funcs.evaluate && m_funcs.evaluate(m_npp, obj, script, result);
}

bool NpapiBrowserHost::GetProperty(NPObject* obj, NPIdentifier propertyName, NPVariant* result) {
  return m_funcs.getproperty && m_funcs.getproperty(m_npp, obj, propertyName, result);
}

bool NpapiBrowserHost::SetProperty(NPObject* obj, NPIdentifier propertyName, const NPVariant* value) {
  return m_funcs.setproperty && m_funcs.setproperty(m_npp, obj, propertyName, value);
}

bool NpapiBrowserHost::RemoveProperty(NPObject* obj, NPIdentifier propertyName) {
  return m_funcs.removeproperty && m_funcs.removeproperty(m_npp, obj, propertyName);
}

bool NpapiBrowserHost::HasProperty(NPObject* obj, NPIdentifier propertyName) {
  return m_funcs.hasproperty && m_funcs.hasproperty(m_npp, obj, propertyName);
}

bool NpapiBrowserHost::HasMethod(NPObject* obj, NPIdentifier methodName) {
  return m_funcs.hasmethod && m_funcs.hasmethod(m_npp, obj, methodName);
}

bool NpapiBrowserHost::Enumerate(NPObject* obj, NPIdentifier** identifiers, uint32_t* count) {
  return m_funcs.enumerate && m_funcs.enumerate(m_npp, obj, identifiers, count);
}

bool NpapiBrowserHost::Construct(NPObject* obj, const NPVariant* args, uint32_t argCount, NPVariant* result) {
  return m_funcs.construct && m_funcs.construct(m_npp, obj, args, argCount, result);
}

void NpapiBrowserHost::SetException(NPObject* obj, const std::string& message) {
  if (m_funcs.setexception) m_funcs.setexception(obj, message.c_str());
}

uint32_t NpapiBrowserHost::ScheduleTimer(uint32_t interval, bool repeat, void (*timerFunc)(NPP npp, uint32_t timerID)) {
  return m_funcs.scheduletimer ? m_funcs.scheduletimer(m_npp, interval, repeat, timerFunc) : 0;
}

void NpapiBrowserHost::UnscheduleTimer(uint32_t timerID) {
  if (m_funcs.unscheduletimer) m_funcs.unscheduletimer(m_npp, timerID);
}

NPError NpapiBrowserHost::GetValueForURL(NPNURLVariable variable, const char* url, char** value, uint32_t* len) {
  return m_funcs.getvalueforurl ? m_funcs.getvalueforurl(m_npp, variable, url, value, len)
                                : NPERR_INCOMPATIBLE_VERSION_ERROR;
}

NPError NpapiBrowserHost::SetValueForURL(NPNURLVariable variable, const char* url, const char* value, uint32_t len) {
  return m_funcs.setvalueforurl ? m_funcs.setvalueforurl(m_npp, variable, url, value, len)
                                : NPERR_INCOMPATIBLE_VERSION_ERROR;
}

NPError NpapiBrowserHost::GetAuthenticationInfo(const char* protocol, const char* host, int32_t port,
                                                const char* scheme, const char* realm, char** username, uint32_t* ulen,
                                                char** password, uint32_t* plen) {
  return m_funcs.getauthenticationinfo
             ? m_funcs.getauthenticationinfo(m_npp, protocol, host, port, scheme, realm, username, ulen, password, plen)
             : NPERR_INCOMPATIBLE_VERSION_ERROR;
}

// ---- Through the module ------------------------------------------------------------------------------------

void* NpapiBrowserHost::MemAlloc(uint32_t size) const { return m_module->MemAlloc(size); }
void NpapiBrowserHost::MemFree(void* ptr) const { m_module->MemFree(ptr); }
uint32_t NpapiBrowserHost::MemFlush(uint32_t size) const { return m_module->MemFlush(size); }
NPObject* NpapiBrowserHost::RetainObject(NPObject* npobj) const { return m_module->RetainObject(npobj); }
void NpapiBrowserHost::ReleaseObject(NPObject* npobj) const { m_module->ReleaseObject(npobj); }
void NpapiBrowserHost::ReleaseVariantValue(NPVariant* variant) const { m_module->ReleaseVariantValue(variant); }

NPIdentifier NpapiBrowserHost::GetStringIdentifier(const NPUTF8* name) const {
  return m_module->GetStringIdentifier(name);
}

void NpapiBrowserHost::GetStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* identifiers) const {
  m_module->GetStringIdentifiers(names, count, identifiers);
}

NPIdentifier NpapiBrowserHost::GetIntIdentifier(int32_t intid) const { return m_module->GetIntIdentifier(intid); }

bool NpapiBrowserHost::IdentifierIsString(NPIdentifier identifier) const {
  return m_module->IdentifierIsString(identifier);
}

NPUTF8* NpapiBrowserHost::UTF8FromIdentifier(NPIdentifier identifier) const {
  return m_module->UTF8FromIdentifier(identifier);
}

std::string NpapiBrowserHost::StringFromIdentifier(NPIdentifier identifier) const {
  return m_module->StringFromIdentifier(identifier);
}

int32_t NpapiBrowserHost::IntFromIdentifier(NPIdentifier identifier) const {
  return m_module->IntFromIdentifier(identifier);
}

}  // namespace Npapi
}  // namespace PF
