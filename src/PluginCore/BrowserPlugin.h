#pragma once
// The browser-facing plug-in object; it owns the instance's plug-in core, which the
// application's factory makes.

#include <string>

#include <boost/noncopyable.hpp>

#include "PluginCore.h"

namespace PF {

class BrowserPlugin : boost::noncopyable {
 public:
  // Asks getFactoryInstance() for the core of this MIME type.
  explicit BrowserPlugin(const std::string& mimetype);
  virtual ~BrowserPlugin() {}

  virtual void shutdown() = 0;
  // Remembers the plug-in file's path for the process and hands it to the core.
  virtual void setFSPath(const std::string& path);

  static std::string fileSystemPath;

 protected:
  PluginCorePtr pluginMain;
};

}  // namespace PF
