#pragma once
// How the browser binding asks the application for its plug-in object and for the
// platform's window and event objects. The application supplies getFactoryInstance().

#include <list>
#include <string>
#include <utility>

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

#include "Log.h"
#include "PluginInfo.h"

namespace PF {

class PluginCore;
class PluginWindowMac;
class PluginEventMac;

namespace Npapi {
class NpapiBrowserHost;
class NpapiPlugin;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;
typedef boost::shared_ptr<NpapiPlugin> NpapiPluginPtr;

// Supplied by the NPAPI binding; without one in the link the factory answers empty.
NpapiPluginPtr createNpapiPlugin(const NpapiBrowserHostPtr& host, const std::string& mimetype);
}  // namespace Npapi

// Supplied by the platform binding; without one in the link they answer null.
// A window or translator is handed to the caller, who owns it.
PluginWindowMac* createPluginWindowMacICA();
PluginWindowMac* createPluginWindowMacCA();
PluginWindowMac* createPluginWindowMacCG();
PluginEventMac* createPluginEventMacCocoa();

class FactoryBase : boost::noncopyable {
 public:
  typedef std::list<std::pair<Log::LogMethod, std::string>> LogMethodList;

  virtual ~FactoryBase() {}

  virtual boost::shared_ptr<PluginCore> createPlugin(const std::string& mimetype) = 0;
  virtual void globalPluginInitialize() {}
  virtual void globalPluginDeinitialize() {}
  virtual Npapi::NpapiPluginPtr createNpapiPlugin(const Npapi::NpapiBrowserHostPtr& host, const std::string& mimetype);
  virtual void getLoggingMethods(LogMethodList& outMethods) {}
  virtual Log::LogLevel getLogLevel() { return Log::LogLevel_Info; }
  virtual PluginWindowMac* createPluginWindowMacICA();
  virtual PluginWindowMac* createPluginWindowMacCA();
  virtual PluginWindowMac* createPluginWindowMacCG();
  virtual PluginEventMac* createPluginEventMacCocoa();

  std::string getPluginName() { return PF::getPluginName(std::string()); }
  std::string getPluginName(const std::string& mimetype) { return PF::getPluginName(mimetype); }
  std::string getPluginDescription() { return PF::getPluginDescription(std::string()); }
  std::string getPluginDescription(const std::string& mimetype) { return PF::getPluginDescription(mimetype); }
};

typedef boost::shared_ptr<FactoryBase> FactoryBasePtr;

}  // namespace PF

// The process-wide factory, supplied by the application.
PF::FactoryBasePtr getFactoryInstance();
