#include "JSObject.h"

#include <stdexcept>

#include <boost/bind/bind.hpp>
#include <boost/pointer_cast.hpp>

#include "BrowserHost.h"

namespace PF {

namespace {

JSObjectPtr selfOf(JSObject* object) { return boost::static_pointer_cast<JSObject>(object->shared_from_this()); }

}  // namespace

void JSObject::InvokeAsync(const std::string& name, const std::vector<variant>& args) {
  boost::shared_ptr<BrowserHost> h = host.lock();
  if (!h) throw std::runtime_error("Cannot invoke asynchronously");
  JSObjectPtr self = selfOf(this);
  // Always queued, also on the main thread, so the page runs it after the current call returns.
  h->ScheduleOnMainThread(self, boost::bind(&JSObject::_invokeAsync, self.get(), args, name));
}

void JSObject::_invokeAsync(const std::vector<variant>& args, const std::string& name) {
  boost::shared_ptr<BrowserHost> h(host);
  JSObjectPtr self = selfOf(this);
  h->delayedInvoke(0, self, args, name);
}

void JSObject::SetPropertyAsync(const std::string& name, const variant& value) {
  boost::shared_ptr<BrowserHost> h = host.lock();
  if (!h) throw std::runtime_error("Cannot invoke asynchronously");
  JSObjectPtr self = selfOf(this);
  void (JSAPI::*setter)(const std::string&, const variant&) = &JSAPI::SetProperty;
  h->ScheduleOnMainThread(self, boost::bind(setter, self.get(), name, value));
}

}  // namespace PF
