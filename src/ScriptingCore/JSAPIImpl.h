#pragma once
// PF::JSAPIImpl: common base of the plug-in's own scripting objects: validity, the security-zone
// stack under its recursive lock, the page's event receivers, and proxies that re-send events.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include <boost/thread/recursive_mutex.hpp>

#include "JSAPI.h"
#include "JSObject.h"

namespace PF {

class JSAPIImpl;
typedef boost::shared_ptr<JSAPIImpl> JSAPIImplPtr;
typedef boost::weak_ptr<JSAPIImpl> JSAPIImplWeakPtr;

class JSAPIImpl : public JSAPI {
 public:
  JSAPIImpl();
  explicit JSAPIImpl(const int& securityLevel);
  ~JSAPIImpl() override;

  void invalidate() override;
  void shutdown() override;

  // pushZone takes the zone lock and keeps it until the matching popZone (see scoped_zonelock).
  void pushZone(const int& securityLevel) override;
  void popZone() override;
  void setDefaultZone(const int& securityLevel) override;
  int getDefaultZone() const override;
  int getZone() const override;

  using JSAPI::registerEventMethod;
  using JSAPI::unregisterEventMethod;
  void registerEventMethod(const std::string& name, boost::shared_ptr<JSObject>& event) override;
  void registerEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event) override;
  void unregisterEventMethod(const std::string& name, boost::shared_ptr<JSObject>& event) override;
  void unregisterEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event) override;
  void registerEventInterface(const boost::shared_ptr<JSObject>& event) override;
  void unregisterEventInterface(const boost::shared_ptr<JSObject>& event) override;

  // The delivery step of FireEvent: schedules the call of every receiver of the event.
  virtual void fireAsyncEvent(const std::string& name, const std::vector<variant>& args);
  virtual void FireEvent(const std::wstring& name, const std::vector<variant>& args);
  // Tells the page that something happened; receivers run later on the main thread. Never throws
  // a script error.
  virtual void FireEvent(const std::string& name, const std::vector<variant>& args);
  // Delivers one DOM-like event object instead of the argument list.
  virtual void FireJSEvent(const std::string& name, const VariantMap& members, const std::vector<variant>& arguments);
  virtual void FireJSEvent(const std::string& name, const VariantMap& members);
  virtual void FireJSEvent(const std::string& name, const std::vector<variant>& arguments);
  virtual void registerEvent(const std::string& name) {}
  virtual void registerEvent(const std::wstring& name);
  virtual void registerProxy(const JSAPIImplWeakPtr& ptr) const;
  virtual void unregisterProxy(const JSAPIImplPtr& ptr) const;

  bool isValid() const { return valid; }

 protected:
  typedef std::multimap<std::string, JSObjectPtr> EventMultiMap;
  typedef std::map<void*, EventMultiMap> EventContextMap;
  typedef std::map<void*, JSObjectPtr> EventIFaceMap;
  typedef std::map<void*, EventIFaceMap> EventIfaceContextMap;
  typedef std::vector<JSAPIImplWeakPtr> ProxyList;

  EventContextMap eventHandlers;
  EventIfaceContextMap eventInterfaces;
  mutable ProxyList proxies;

  mutable boost::recursive_mutex eventLock;
  mutable boost::recursive_mutex proxyLock;
  mutable boost::recursive_mutex zoneLock;
  std::deque<int> zoneStack;
  bool valid;

 private:
  // Calls fire(proxy) for every live proxy and drops the dead ones.
  template <class Fire>
  void forEachProxy(Fire fire);
};

// Copies an event's arguments or members for a proxy: references to `self` become `proxy`.
std::vector<variant> proxyProcessList(const std::vector<variant>& args, const JSAPIPtr& self,
                                      const JSAPIImplPtr& proxy);
VariantMap proxyProcessMap(const VariantMap& args, const JSAPIPtr& self, const JSAPIImplPtr& proxy);

// The DOM-like event object handed to receivers of FireJSEvent.
VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const VariantMap& members,
                       const std::vector<variant>& arguments);
VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const std::vector<variant>& arguments);
VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const VariantMap& members);

}  // namespace PF
