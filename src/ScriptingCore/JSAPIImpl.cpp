#include "JSAPIImpl.h"

#include "utf8_tools.h"

namespace PF {

JSAPIImpl::JSAPIImpl() : valid(true) { zoneStack.push_back(0); }

JSAPIImpl::JSAPIImpl(const int& securityLevel) : valid(true) { zoneStack.push_back(securityLevel); }

JSAPIImpl::~JSAPIImpl() {}

void JSAPIImpl::invalidate() { valid = false; }

void JSAPIImpl::shutdown() {}

void JSAPIImpl::pushZone(const int& securityLevel) {
  // Held until the matching popZone, so no other thread sees this zone or touches the registries.
  zoneLock.lock();
  zoneStack.push_back(securityLevel);
}

void JSAPIImpl::popZone() {
  // The default zone at the front is never popped.
  if (zoneStack.size() > 1) zoneStack.pop_back();
  zoneLock.unlock();
}

void JSAPIImpl::setDefaultZone(const int& securityLevel) {
  boost::recursive_mutex::scoped_lock lock(zoneLock);
  zoneStack.front() = securityLevel;
}

int JSAPIImpl::getDefaultZone() const {
  boost::recursive_mutex::scoped_lock lock(zoneLock);
  return zoneStack.front();
}

int JSAPIImpl::getZone() const {
  boost::recursive_mutex::scoped_lock lock(zoneLock);
  return zoneStack.back();
}

void JSAPIImpl::registerEvent(const std::wstring& name) { registerEvent(wstring_to_utf8(name)); }

void JSAPIImpl::registerProxy(const JSAPIImplWeakPtr& ptr) const {
  boost::recursive_mutex::scoped_lock lock(proxyLock);
  proxies.push_back(ptr);
}

void JSAPIImpl::unregisterProxy(const JSAPIImplPtr& ptr) const {
  boost::recursive_mutex::scoped_lock lock(proxyLock);
  ProxyList kept;
  for (const JSAPIImplWeakPtr& proxy : proxies) {
    JSAPIImplPtr live = proxy.lock();
    if (live && live != ptr) kept.push_back(proxy);
  }
  proxies.swap(kept);
}

}  // namespace PF
