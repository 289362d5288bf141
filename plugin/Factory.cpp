#include "Factory.h"

#include <boost/make_shared.hpp>

#include "DUZIVUREZORO.h"

boost::shared_ptr<PF::PluginCore> PluginFactory::createPlugin(const std::string&) {
  return boost::make_shared<DUZIVUREZORO>();
}

void PluginFactory::globalPluginInitialize() { DUZIVUREZORO::StaticInitialize(); }

void PluginFactory::globalPluginDeinitialize() { DUZIVUREZORO::StaticDeinitialize(); }

PF::FactoryBasePtr getFactoryInstance() {
  // Made once, thread-safely, on first use; a failed make leaves the next call to try again.
  static const boost::shared_ptr<PluginFactory> factory = boost::make_shared<PluginFactory>();
  return factory;
}
