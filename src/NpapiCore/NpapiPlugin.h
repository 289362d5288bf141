#pragma once
// The plug-in object of one NPAPI instance: hands the tag's parameters to the plug-in core, makes it ready,
// and answers the browser's questions for the scriptable object, the name and the description.

#include <stdexcept>
#include <string>

#include <boost/shared_ptr.hpp>

#include "BrowserPlugin.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiBrowserHost;
class NPJavascriptObject;
class NpapiStream;
typedef boost::shared_ptr<NpapiStream> NpapiStreamPtr;
}  // namespace Npapi
class BrowserStream;
namespace Npapi {
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

// The factory could not make the plug-in for an instance.
class PluginCreateError : public std::runtime_error {
 public:
  explicit PluginCreateError(const std::string& message) : std::runtime_error(message) {}
};

class NpapiPlugin : public PF::BrowserPlugin {
 public:
  NpapiPlugin(const NpapiBrowserHostPtr& host, const std::string& mimetype);
  ~NpapiPlugin() override;

  void shutdown() override;
  virtual void init(NPMIMEType pluginType, int16_t argc, char* argn[], char* argv[]);
  virtual void setReady();
  virtual NPError SetWindow(NPWindow* window);
  virtual NPError NewStream(NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* stype);
  virtual NPError DestroyStream(NPStream* stream, NPReason reason);
  virtual int32_t WriteReady(NPStream* stream);
  virtual int32_t Write(NPStream* stream, int32_t offset, int32_t len, void* buffer);
  virtual void StreamAsFile(NPStream* stream, const char* fname);
  virtual void Print(NPPrint* platformPrint);
  virtual int16_t HandleEvent(void* event);
  virtual void URLNotify(const char* url, NPReason reason, void* notifyData);
  virtual NPError GetValue(NPPVariable variable, void* value);
  virtual NPError SetValue(NPNVariable variable, void* value);

  NPObject* getScriptableObject();
  // Opens a stream of this binding that has not completed yet; any other stream is left alone.
  static void signalStreamOpened(PF::BrowserStream* stream);
  PluginCorePtr core() const { return pluginMain; }
  const NpapiBrowserHostPtr& host() const { return m_host; }

 protected:
  // A stream the browser opened on its own, offered to the core; empty when the core declines it.
  NpapiStreamPtr openUnsolicited(NPStream* stream, NPBool seekable);

  NPJavascriptObject* m_scriptableObject = nullptr;
  NpapiBrowserHostPtr m_host;
  bool m_retainScriptableObject = true;
  bool m_isReady = false;
  std::string m_mimeType;
  std::string m_pluginName;
  std::string m_pluginDesc;
};

typedef boost::shared_ptr<NpapiPlugin> NpapiPluginPtr;

// The plug-in object of an instance, or empty when the instance has none.
NpapiPluginPtr getPlugin(NPP instance);

}  // namespace Npapi
}  // namespace PF
