#pragma once
// The browser host of one NPAPI instance: its own copy of the browser's functions, each offered as a member
// that answers a fixed value when the browser lacks it; the page's window, document and element; the value
// mapping; and the one browser object per scripting object.

#include <map>
#include <mutex>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "BrowserHost.h"
#include "SafeQueue.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiPluginModule;
class NPObjectAPI;
class NPJavascriptObject;
class NpapiStream;
typedef boost::shared_ptr<NPObjectAPI> NPObjectAPIPtr;

class NpapiBrowserHost : public PF::BrowserHost {
 public:
  NpapiBrowserHost(NpapiPluginModule* module, NPP npp);
  ~NpapiBrowserHost() override;

  void setBrowserFuncs(const NPNetscapeFuncs* pFuncs);

  // --- the base's operations ----------------------------------------------------------------------------
  const void* getContextID() const override { return m_npp; }
  boost::shared_ptr<DOM::Document> getDOMDocument() override;
  boost::shared_ptr<DOM::Window> getDOMWindow() override;
  boost::shared_ptr<DOM::Element> getDOMElement() override;
  void Navigate(const std::string& url, const std::string& target) override;
  using BrowserHost::evaluateJavaScript;
  void evaluateJavaScript(const std::string& script) override;
  void shutdown() override;
  void DoDeferredRelease() const override;
  bool _scheduleAsyncCall(void (*func)(void*), void* userData) const override;
  // The browser's proxy for url: false for "DIRECT" (settings unchanged), true with type, hostname and
  // port filled in; without an answer from the browser, the base's own detection.
  bool DetectProxySettings(std::map<std::string, std::string>& settings, const std::string& url) override;
  virtual void deferred_release(NPObject* obj) const;
  // A GET asks the browser with GetURLNotify, any other method posts the request's body; the stream is
  // the request's notify data. Empty when the browser refuses.
  boost::shared_ptr<BrowserStream> _createStream(const BrowserStreamRequest& req) const override;
  boost::shared_ptr<BrowserStream> _createUnsolicitedStream(const BrowserStreamRequest& req) const override;

  // --- own operations -----------------------------------------------------------------------------------
  NPObject* getJSAPIWrapper(const boost::weak_ptr<JSAPI>& api, bool autoRelease);
  void getNPVariant(NPVariant* dst, const variant& var);
  variant getVariant(const NPVariant* npVar);
  bool isSafari() const;
  bool isChrome() const;
  bool isFirefox() const;
  void PluginThreadAsyncCall(void (*func)(void*), void* userData);
  boost::shared_ptr<NpapiBrowserHost> self();
  // The live stream of this host that `data` names, else empty: the browser's pdata and notify data are
  // followed only through this.
  boost::shared_ptr<NpapiStream> findStream(const void* data) const;
  void forgetStream(const NpapiStream* stream) const;

  // --- browser functions of this instance ---------------------------------------------------------------
  NPError GetValue(NPNVariable variable, void* value);
  NPError SetValue(NPPVariable variable, void* value);
  NPError GetURL(const char* url, const char* target);
  NPError GetURLNotify(const char* url, const char* target, void* notifyData);
  NPError RodaURL(const char* url, const char* target, uint32_t len, const char* buf, bool file);
  NPError RodaURLNotify(const char* url, const char* target, uint32_t len, const char* buf, bool file,
                        void* notifyData);
  NPError RequestRead(NPStream* stream, NPByteRange* rangeList);
  NPError NewStream(NPMIMEType type, const char* target, NPStream** stream);
  int32_t Write(NPStream* stream, int32_t len, void* buffer);
  NPError DestroyStream(NPStream* stream, NPReason reason);
  const char* UserAgent() const;
  void SetStatus(const char* message);
  void InvalidateRect(NPRect* rect);
  void InvalidateRect2(const NPRect& rect);
  void InvalidateRegion(NPRegion region);
  void ForceRedraw();
  void PushPopupsEnabledState(bool enabled);
  void PopPopupsEnabledState();
  NPObject* CreateObject(NPClass* aClass);
  bool Invoke(NPObject* obj, NPIdentifier methodName, const NPVariant* args, uint32_t argCount, NPVariant* result);
  bool InvokeDefault(NPObject* obj, const NPVariant* args, uint32_t argCount, NPVariant* result);
  bool Evaluate(NPObject* obj, NPString* script, NPVariant* result);
  bool GetProperty(NPObject* obj, NPIdentifier propertyName, NPVariant* result);
  bool SetProperty(NPObject* obj, NPIdentifier propertyName, const NPVariant* value);
  bool RemoveProperty(NPObject* obj, NPIdentifier propertyName);
  bool HasProperty(NPObject* obj, NPIdentifier propertyName);
  bool HasMethod(NPObject* obj, NPIdentifier methodName);
  bool Enumerate(NPObject* obj, NPIdentifier** identifiers, uint32_t* count);
  bool Construct(NPObject* obj, const NPVariant* args, uint32_t argCount, NPVariant* result);
  void SetException(NPObject* obj, const std::string& message);
  uint32_t ScheduleTimer(uint32_t interval, bool repeat, void (*timerFunc)(NPP npp, uint32_t timerID));
  void UnscheduleTimer(uint32_t timerID);
  NPError GetValueForURL(NPNURLVariable variable, const char* url, char** value, uint32_t* len);
  NPError SetValueForURL(NPNURLVariable variable, const char* url, const char* value, uint32_t len);
  NPError GetAuthenticationInfo(const char* protocol, const char* host, int32_t port, const char* scheme,
                                const char* realm, char** username, uint32_t* ulen, char** password, uint32_t* plen);

  // --- through the module (they keep working after shutdown) ------------------------------------------
  void* MemAlloc(uint32_t size) const;
  void MemFree(void* ptr) const;
  uint32_t MemFlush(uint32_t size) const;
  NPObject* RetainObject(NPObject* npobj) const;
  void ReleaseObject(NPObject* npobj) const;
  void ReleaseVariantValue(NPVariant* variant) const;
  NPIdentifier GetStringIdentifier(const NPUTF8* name) const;
  void GetStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* identifiers) const;
  NPIdentifier GetIntIdentifier(int32_t intid) const;
  bool IdentifierIsString(NPIdentifier identifier) const;
  NPUTF8* UTF8FromIdentifier(NPIdentifier identifier) const;
  std::string StringFromIdentifier(NPIdentifier identifier) const;
  int32_t IntFromIdentifier(NPIdentifier identifier) const;

  NpapiPluginModule* module() const { return m_module; }
  const NPNetscapeFuncs& browserFuncs() const { return m_funcs; }

 private:
  NPNetscapeFuncs m_funcs;
  NpapiPluginModule* m_module;
  NPP m_npp;
  NPObjectAPIPtr m_htmlDoc;
  NPObjectAPIPtr m_htmlWin;
  NPObjectAPIPtr m_htmlElement;
  mutable SafeQueue<NPObject*> m_deferredObjects;
  // scripting object address -> the one browser object made for it (weak, through its self-reference)
  mutable std::map<void*, boost::weak_ptr<NPJavascriptObject*>> m_cachedNPObject;
  // Every stream made for this instance and not yet destroyed (a stream may end on another thread).
  mutable std::mutex m_streamsMutex;
  mutable std::map<const void*, boost::weak_ptr<NpapiStream>> m_streams;

  boost::shared_ptr<NpapiStream> makeStream(const BrowserStreamRequest& req) const;
};

typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

}  // namespace Npapi
}  // namespace PF
