#pragma once
// PF::JSAPI: the interface of every scripting object, the plug-in's own objects and the page's
// objects seen from the plug-in alike. Instances are always owned through boost::shared_ptr.

#include <string>
#include <vector>

#include <boost/enable_shared_from_this.hpp>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "script_error.h"
#include "variant.h"

namespace PF {

class JSObject;
class JSAPI;
typedef boost::shared_ptr<JSAPI> JSAPIPtr;
typedef boost::weak_ptr<JSAPI> JSAPIWeakPtr;
typedef boost::shared_ptr<JSObject> JSObjectPtr;

class JSAPI : public boost::enable_shared_from_this<JSAPI> {
 public:
  JSAPI() {}
  virtual ~JSAPI() {}

  virtual void invalidate() = 0;
  virtual void shutdown() {}

  // Security zones: a member registered at zone Z is usable while the current zone is >= Z.
  virtual void pushZone(const int& zone) {}
  virtual void popZone() {}
  virtual void setDefaultZone(const int& zone) {}
  virtual int getDefaultZone() const { return 0; }
  virtual int getZone() const { return 0; }

  virtual void registerEventMethod(const std::string& name, boost::shared_ptr<JSObject>& event);
  virtual void registerEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event);
  virtual void unregisterEventMethod(const std::string& name, boost::shared_ptr<JSObject>& event);
  virtual void unregisterEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event);
  virtual void registerEventInterface(const boost::shared_ptr<JSObject>& event);
  virtual void unregisterEventInterface(const boost::shared_ptr<JSObject>& event);

  virtual void getMemberNames(std::vector<std::wstring>& nameVector) const;
  virtual void getMemberNames(std::vector<std::wstring>* nameVector) const { getMemberNames(*nameVector); }
  virtual void getMemberNames(std::vector<std::string>& nameVector) const = 0;
  virtual void getMemberNames(std::vector<std::string>* nameVector) const { getMemberNames(*nameVector); }
  virtual size_t getMemberCount() const = 0;

  virtual bool HasMethod(const std::wstring& methodName) const;
  virtual bool HasMethod(const std::string& methodName) const = 0;
  virtual bool HasMethodObject(const std::wstring& methodObjName) const;
  virtual bool HasMethodObject(const std::string& methodObjName) const { return false; }
  virtual bool HasProperty(const std::wstring& propertyName) const;
  virtual bool HasProperty(const std::string& propertyName) const = 0;
  virtual bool HasProperty(int idx) const = 0;

  virtual JSAPIPtr GetMethodObject(const std::wstring& methodObjName);
  virtual JSAPIPtr GetMethodObject(const std::string& methodObjName) { return JSAPIPtr(); }

  virtual variant GetProperty(const std::wstring& propertyName);
  virtual variant GetProperty(const std::string& propertyName) = 0;
  virtual void SetProperty(const std::wstring& propertyName, const variant& value);
  virtual void SetProperty(const std::string& propertyName, const variant& value) = 0;
  virtual variant GetProperty(int idx) = 0;
  virtual void SetProperty(int idx, const variant& value) = 0;
  virtual void RemoveProperty(const std::wstring& propertyName);
  virtual void RemoveProperty(const std::string& propertyName) = 0;
  virtual void RemoveProperty(int idx) = 0;

  virtual variant Invoke(const std::wstring& methodName, const std::vector<variant>& args);
  virtual variant Invoke(const std::string& methodName, const std::vector<variant>& args) = 0;
  virtual variant Construct(const std::vector<variant>& args) = 0;
};

// Holds an object's zone lock at a given zone for the guard's lifetime. The raw-pointer form serves
// an object locking itself during construction; the shared form also keeps the object alive.
class scoped_zonelock : boost::noncopyable {
 public:
  scoped_zonelock(JSAPI* api, const int& zone) : m_api(api) { lock(zone); }
  scoped_zonelock(const JSAPIPtr& api, const int& zone) : m_api(api.get()), m_apiRef(api) { lock(zone); }
  ~scoped_zonelock() {
    if (m_api) m_api->popZone();
  }

 private:
  void lock(const int& zone) {
    if (m_api) m_api->pushZone(zone);
  }

  JSAPI* m_api;
  JSAPIPtr m_apiRef;
};

}  // namespace PF
