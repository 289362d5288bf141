#include "BrowserPlugin.h"

#include "FactoryBase.h"

namespace PF {

std::string BrowserPlugin::fileSystemPath;

BrowserPlugin::BrowserPlugin(const std::string& mimetype) : pluginMain(getFactoryInstance()->createPlugin(mimetype)) {}

void BrowserPlugin::setFSPath(const std::string& path) {
  fileSystemPath = path;
  pluginMain->setFSPath(path);
}

}  // namespace PF
