// Event receivers of a scripting object and the firing of events to the page.

#include <set>

#include "JSAPIImpl.h"
#include "utf8_tools.h"

namespace PF {

namespace {

// A receiver that fails to be scheduled (its host gone, no shared owner) must neither stop the
// other receivers nor reach the firing code.
template <class Call>
void deliverSafely(Call call) {
  try {
    call();
  } catch (const std::exception&) {
  }
}

std::vector<JSObjectPtr> validListeners(const std::multimap<std::string, JSObjectPtr>& table, const std::string& name) {
  std::vector<JSObjectPtr> out;
  auto range = table.equal_range(name);
  for (auto it = range.first; it != range.second; ++it)
    if (it->second->isValid()) out.push_back(it->second);
  return out;
}

template <class Map>
std::vector<JSObjectPtr> validObjects(const Map& table) {
  std::vector<JSObjectPtr> out;
  for (const auto& entry : table)
    if (entry.second->isValid()) out.push_back(entry.second);
  return out;
}

}  // namespace

void JSAPIImpl::registerEventMethod(const std::string& name, JSObjectPtr& event) {
  if (!event) throw invalid_arguments();
  void* id = event->getEventId();
  boost::recursive_mutex::scoped_lock lock(eventLock);
  EventMultiMap& table = eventHandlers[event->getEventContext()];
  auto range = table.equal_range(name);
  for (auto it = range.first; it != range.second; ++it)
    if (it->second->getEventId() == id) return;
  table.insert(EventMultiMap::value_type(name, event));
}

void JSAPIImpl::registerEventMethod(const std::wstring& name, JSObjectPtr& event) {
  registerEventMethod(wstring_to_utf8(name), event);
}

void JSAPIImpl::unregisterEventMethod(const std::string& name, JSObjectPtr& event) {
  if (!event) throw invalid_arguments();
  void* id = event->getEventId();
  boost::recursive_mutex::scoped_lock lock(eventLock);
  EventContextMap::iterator context = eventHandlers.find(event->getEventContext());
  if (context == eventHandlers.end()) return;
  auto range = context->second.equal_range(name);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second->getEventId() == id) {
      context->second.erase(it);
      return;
    }
  }
}

void JSAPIImpl::unregisterEventMethod(const std::wstring& name, JSObjectPtr& event) {
  unregisterEventMethod(wstring_to_utf8(name), event);
}

void JSAPIImpl::registerEventInterface(const JSObjectPtr& event) {
  if (!event) throw invalid_arguments();
  boost::recursive_mutex::scoped_lock lock(eventLock);
  eventInterfaces[event->getEventContext()][event.get()] = event;
}

void JSAPIImpl::unregisterEventInterface(const JSObjectPtr& event) {
  if (!event) throw invalid_arguments();
  boost::recursive_mutex::scoped_lock lock(eventLock);
  EventIfaceContextMap::iterator context = eventInterfaces.find(event->getEventContext());
  if (context != eventInterfaces.end()) context->second.erase(event.get());
}

template <class Fire>
void JSAPIImpl::forEachProxy(Fire fire) {
  boost::recursive_mutex::scoped_lock lock(proxyLock);
  size_t i = 0;
  while (i < proxies.size()) {
    JSAPIImplPtr proxy = proxies[i].lock();
    if (!proxy) {
      proxies.erase(proxies.begin() + i);
      continue;
    }
    fire(proxy);
    ++i;
  }
}

void JSAPIImpl::FireEvent(const std::wstring& name, const std::vector<variant>& args) {
  FireEvent(wstring_to_utf8(name), args);
}

void JSAPIImpl::FireEvent(const std::string& name, const std::vector<variant>& args) {
  if (!valid) return;
  JSAPIPtr self(shared_from_this());
  forEachProxy([&](const JSAPIImplPtr& proxy) { proxy->FireEvent(name, proxyProcessList(args, self, proxy)); });
  try {
    fireAsyncEvent(name, args);
  } catch (const script_error&) {
  }
}

void JSAPIImpl::fireAsyncEvent(const std::string& name, const std::vector<variant>& args) {
  EventContextMap handlers;
  EventIfaceContextMap interfaces;
  {
    boost::recursive_mutex::scoped_lock lock(eventLock);
    handlers = eventHandlers;
    interfaces = eventInterfaces;
  }

  // Receivers of one page instance that take optimised calls get the whole event in one call.
  std::set<void*> handledContexts;
  for (const EventContextMap::value_type& context : handlers) {
    auto range = context.second.equal_range(name);
    bool first = true;
    for (auto it = range.first; it != range.second; ++it) {
      const JSObjectPtr& listener = it->second;
      if (!listener->isValid()) continue;
      if (first && listener->supportsOptimizedCalls()) {
        handledContexts.insert(context.first);
        std::vector<JSObjectPtr> functions = validListeners(context.second, name);
        std::vector<JSObjectPtr> objects;
        EventIfaceContextMap::const_iterator ifaces = interfaces.find(context.first);
        if (ifaces != interfaces.end()) objects = validObjects(ifaces->second);
        deliverSafely([&] { listener->callMultipleFunctions(name, args, functions, objects); });
        break;
      }
      deliverSafely([&] { listener->InvokeAsync("", args); });
      first = false;
    }
  }

  for (const EventIfaceContextMap::value_type& context : interfaces) {
    if (handledContexts.count(context.first)) continue;
    for (const EventIFaceMap::value_type& entry : context.second) {
      const JSObjectPtr& iface = entry.second;
      if (!iface->isValid()) continue;
      if (iface->supportsOptimizedCalls()) {
        std::vector<JSObjectPtr> objects = validObjects(context.second);
        deliverSafely([&] { iface->callMultipleFunctions(name, args, std::vector<JSObjectPtr>(), objects); });
        break;
      }
      deliverSafely([&] { iface->InvokeAsync(name, args); });
    }
  }
}

void JSAPIImpl::FireJSEvent(const std::string& name, const VariantMap& members, const std::vector<variant>& arguments) {
  if (!valid) return;
  JSAPIPtr self(shared_from_this());
  forEachProxy([&](const JSAPIImplPtr& proxy) {
    proxy->FireJSEvent(name, proxyProcessMap(members, self, proxy), proxyProcessList(arguments, self, proxy));
  });

  std::vector<variant> eventArgs(1, variant(CreateEvent(self, name, members, arguments)));

  EventContextMap handlers;
  {
    boost::recursive_mutex::scoped_lock lock(eventLock);
    handlers = eventHandlers;
  }
  for (const EventContextMap::value_type& context : handlers) {
    auto range = context.second.equal_range(name);
    for (auto it = range.first; it != range.second; ++it) {
      const JSObjectPtr& listener = it->second;
      if (listener->isValid()) deliverSafely([&] { listener->InvokeAsync("", eventArgs); });
    }
  }

  EventIfaceContextMap interfaces;
  {
    boost::recursive_mutex::scoped_lock lock(eventLock);
    interfaces = eventInterfaces;
  }
  for (const EventIfaceContextMap::value_type& context : interfaces)
    for (const EventIFaceMap::value_type& entry : context.second)
      if (entry.second->isValid()) deliverSafely([&] { entry.second->InvokeAsync(name, eventArgs); });
}

void JSAPIImpl::FireJSEvent(const std::string& name, const VariantMap& members) {
  FireJSEvent(name, members, std::vector<variant>());
}

void JSAPIImpl::FireJSEvent(const std::string& name, const std::vector<variant>& arguments) {
  FireJSEvent(name, VariantMap(), arguments);
}

std::vector<variant> proxyProcessList(const std::vector<variant>& args, const JSAPIPtr& self,
                                      const JSAPIImplPtr& proxy) {
  std::vector<variant> out;
  out.reserve(args.size());
  for (const variant& element : args) {
    if (element.is_of_type<JSAPIPtr>() && element.cast<JSAPIPtr>() == self)
      out.push_back(variant(proxy));
    else if (element.is_of_type<std::vector<variant> >())
      out.push_back(variant(proxyProcessList(element.cast<std::vector<variant> >(), self, proxy)));
    else if (element.is_of_type<VariantMap>())
      out.push_back(variant(proxyProcessMap(element.cast<VariantMap>(), self, proxy)));
    else
      out.push_back(element);
  }
  return out;
}

VariantMap proxyProcessMap(const VariantMap& args, const JSAPIPtr& self, const JSAPIImplPtr& proxy) {
  VariantMap out;
  for (const VariantMap::value_type& entry : args) {
    const variant& element = entry.second;
    if (element.is_of_type<JSAPIPtr>() && element.cast<JSAPIPtr>() == self)
      out[entry.first] = variant(proxy);
    else if (element.is_of_type<std::vector<variant> >())
      out[entry.first] = variant(proxyProcessList(element.cast<std::vector<variant> >(), self, proxy));
    else if (element.is_of_type<VariantMap>())
      out[entry.first] = variant(proxyProcessMap(element.cast<VariantMap>(), self, proxy));
    else
      out[entry.first] = element;
  }
  return out;
}

VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const VariantMap& members,
                       const std::vector<variant>& arguments) {
  VariantMap event;
  event["type"] = name;
  event["target"] = api;
  event["currentTarget"] = api;
  event["eventPhase"] = 2;
  event["bubbles"] = false;
  event["cancelable"] = false;
  event["namespaceURI"] = name;
  event.insert(members.begin(), members.end());
  event["arguments"] = arguments;
  return event;
}

VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const std::vector<variant>& arguments) {
  return CreateEvent(api, name, VariantMap(), arguments);
}

VariantMap CreateEvent(const JSAPIPtr& api, const std::string& name, const VariantMap& members) {
  return CreateEvent(api, name, members, std::vector<variant>());
}

}  // namespace PF
