// The process-wide plug-in factory that the browser binding asks for each plug-in instance.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "FactoryBase.h"

class PluginFactory : public PF::FactoryBase {
 public:
  // A new DUZIVUREZORO, whatever the MIME type.
  boost::shared_ptr<PF::PluginCore> createPlugin(const std::string& mimetype) override;
  void globalPluginInitialize() override;
  void globalPluginDeinitialize() override;
};

// getFactoryInstance() (declared with the factory base) answers the one PluginFactory of the process,
// made on the first call and kept until the process ends.
