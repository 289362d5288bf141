#pragma once
// A page object seen from the plug-in: every member goes to the browser through the instance's host, or,
// when the page object is one of our own browser-side objects, straight to the scripting object behind it.
// Usable from any thread: off the main thread each member carries itself there.

#include <string>
#include <vector>

#include <boost/thread/mutex.hpp>
#include <boost/weak_ptr.hpp>

#include "JSObject.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

class NPObjectAPI : public PF::JSObject {
 public:
  NPObjectAPI(NPObject* obj, const NpapiBrowserHostPtr& host);
  ~NPObjectAPI() override;

  using JSAPI::getMemberNames;
  using JSAPI::GetProperty;
  using JSAPI::HasMethod;
  using JSAPI::HasProperty;
  using JSAPI::Invoke;
  using JSAPI::RemoveProperty;
  using JSAPI::SetProperty;

  NPObject* getNPObject() const { return obj; }
  NpapiBrowserHostPtr getHost() const;

  void invalidate() override;
  void getMemberNames(std::vector<std::string>& nameVector) const override;
  size_t getMemberCount() const override;
  bool HasMethod(const std::string& methodName) const override;
  bool HasProperty(const std::string& propertyName) const override;
  bool HasProperty(int idx) const override;
  variant GetProperty(const std::string& propertyName) override;
  void SetProperty(const std::string& propertyName, const variant& value) override;
  variant GetProperty(int idx) override;
  void SetProperty(int idx, const variant& value) override;
  void RemoveProperty(const std::string& propertyName) override;
  void RemoveProperty(int idx) override;
  variant Invoke(const std::string& methodName, const std::vector<variant>& args) override;
  variant Construct(const std::vector<variant>& args) override;

  void* getEventId() const override;
  void* getEventContext() const override;
  bool supportsOptimizedCalls() const override { return true; }
  void callMultipleFunctions(const std::string& name, const std::vector<variant>& args,
                             const std::vector<JSObjectPtr>& functions,
                             const std::vector<JSObjectPtr>& objects) override;
  bool isValid() override { return !m_browser.expired(); }
  JSAPIPtr getJSAPI() const override;

  static const std::string eventIdProperty;

 private:
  unsigned int readEventId() const;
  void invokeFromPage(NpapiBrowserHost& host, const JSObjectPtr& delegate, NPVariant* entries, int count);

  boost::weak_ptr<NpapiBrowserHost> m_browser;
  NPObject* obj;
  bool is_JSAPI;
  boost::weak_ptr<JSAPI> inner;
  mutable unsigned int m_eventId = 0;

  static unsigned int m_lastEventId;
  static boost::mutex m_lastEventId_mutex;
};

}  // namespace Npapi
}  // namespace PF
