#pragma once
// PF::JSObject: an object that lives in the page (a function, the window, the document), seen from
// the plug-in. The browser binding implements it; events and later calls into the page go through it.

#include <limits>
#include <map>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "JSAPI.h"

namespace PF {

class BrowserHost;

class JSObject : public JSAPI {
 public:
  explicit JSObject(const boost::shared_ptr<BrowserHost>& h) : host(h) {}
  ~JSObject() override {}

  // Same for every handle on one page object, different between page objects; compared only.
  virtual void* getEventId() const { return nullptr; }
  // The browser's identity of the page instance the object belongs to.
  virtual void* getEventContext() const { return nullptr; }
  virtual bool supportsOptimizedCalls() const { return false; }
  // Delivers one event to many receivers of one page instance: each function is called with args,
  // and the member `name` of each object is called with args.
  virtual void callMultipleFunctions(const std::string& name, const std::vector<variant>& args,
                                     const std::vector<boost::shared_ptr<JSObject> >& functions,
                                     const std::vector<boost::shared_ptr<JSObject> >& objects) {}
  virtual bool isValid() = 0;

  // Calls the member `name` (the empty name: the object itself) later on the main thread, through
  // the page's own timer. Returns at once; throws std::runtime_error when the host is gone.
  virtual void InvokeAsync(const std::string& name, const std::vector<variant>& args);
  // The main-thread half of InvokeAsync.
  virtual void _invokeAsync(const std::vector<variant>& args, const std::string& name);
  // Sets the page object's property later, on the main thread.
  virtual void SetPropertyAsync(const std::string& name, const variant& value);

  // The plug-in's own scripting object when this page object wraps one; otherwise empty.
  virtual JSAPIPtr getJSAPI() const = 0;

  // Reads a page array into a list; script errors of the reads come out as plain script errors.
  template <class Cont>
  static void GetArrayValues(const boost::shared_ptr<JSObject>& src, Cont& dst) {
    if (!src) return;
    try {
      long length = src->GetProperty(std::string("length")).convert_cast<long>();
      // Indexes are ints: a length beyond their range cannot be read further.
      for (long i = 0; i < length && i <= static_cast<long>(std::numeric_limits<int>::max()); ++i) {
        variant element = src->GetProperty(static_cast<int>(i));
        dst.push_back(element.convert_cast<typename Cont::value_type>());
      }
    } catch (const script_error& e) {
      throw script_error(e.what());
    }
  }

  // Reads a page object's members into a map; a name already present keeps its earlier value.
  template <class Dict>
  static void GetObjectValues(const boost::shared_ptr<JSObject>& src, Dict& dst) {
    if (!src) return;
    try {
      std::vector<std::string> names;
      src->getMemberNames(names);
      for (const std::string& name : names) dst.insert(typename Dict::value_type(name, src->GetProperty(name)));
    } catch (const script_error& e) {
      throw script_error(e.what());
    }
  }

 protected:
  boost::weak_ptr<BrowserHost> host;
};

}  // namespace PF
