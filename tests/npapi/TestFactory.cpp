#include "TestFactory.h"

#include <stdexcept>

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "BrowserStreamRequest.h"

namespace npapi_test {

ValuesObject::ValuesObject() : PF::JSAPIAuto("values") {
  registerMethod("code", PF::make_method(this, &ValuesObject::code));
  registerMethod("number", PF::make_method(this, &ValuesObject::number));
  registerMethod("unsignedNumber", PF::make_method(this, &ValuesObject::unsignedNumber));
  registerMethod("shortNumber", PF::make_method(this, &ValuesObject::shortNumber));
  registerMethod("letter", PF::make_method(this, &ValuesObject::letter));
  registerMethod("half", PF::make_method(this, &ValuesObject::half));
  registerMethod("fail", PF::make_method(this, &ValuesObject::fail));
  registerMethod("crash", PF::make_method(this, &ValuesObject::crash));
  registerProperty("text", PF::make_property(this, &ValuesObject::text, &ValuesObject::setText));
}

PF::JSAPIPtr TestCore::createJSAPI() { return boost::make_shared<ValuesObject>(); }

void TestCore::SetWindow(PF::PluginWindow* win) {
  ++factoryControl().windowsAttached;
  PF::PluginCore::SetWindow(win);
}

void TestCore::setParams(const PF::VariantMap& params) {
  if (factoryControl().throwInInit) throw std::runtime_error("bad parameters");
  PF::PluginCore::setParams(params);
}

void TestCore::handleUnsolicitedStream(PF::BrowserStreamRequest& req) {
  const FactoryControl& c = factoryControl();
  if (c.unsolicitedSink)
    req.setEventSink(c.unsolicitedSink);
  else if (c.unsolicitedCallback)
    req.setCallback(c.unsolicitedCallback);
  else
    return;
  req.accept();
}

void TestCore::shutdown() {
  FactoryControl& c = factoryControl();
  ++c.coreShutdowns;
  c.hostDownAtCoreShutdown = m_host && m_host->isShutDown();
  c.windowGoneAtCoreShutdown = GetWindow() == nullptr;
}

FactoryControl& factoryControl() {
  static FactoryControl control;
  return control;
}

namespace {

class TestFactory : public PF::FactoryBase {
 public:
  boost::shared_ptr<PF::PluginCore> createPlugin(const std::string&) override {
    if (factoryControl().throwInCore) throw std::runtime_error("no core today");
    if (factoryControl().noCore) return boost::shared_ptr<PF::PluginCore>();
    return boost::make_shared<TestCore>();
  }
  PF::Npapi::NpapiPluginPtr createNpapiPlugin(const PF::Npapi::NpapiBrowserHostPtr& host,
                                              const std::string& mimetype) override {
    if (factoryControl().noNpapiPlugin) return PF::Npapi::NpapiPluginPtr();
    return PF::FactoryBase::createNpapiPlugin(host, mimetype);
  }
  void globalPluginInitialize() override { ++factoryControl().globalStarts; }
  void globalPluginDeinitialize() override { ++factoryControl().globalEnds; }
};

}  // namespace
}  // namespace npapi_test

PF::FactoryBasePtr getFactoryInstance() {
  static PF::FactoryBasePtr factory(new npapi_test::TestFactory());
  return factory;
}
