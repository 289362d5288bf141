#include "NpapiPlugin.h"

#include <algorithm>
#include <limits>

#include "BrowserStreamRequest.h"

#include "FactoryBase.h"
#include "Log.h"
#include "NPJavascriptObject.h"
#include "NpapiBrowserHost.h"
#include "PluginCore.h"
#include "PluginInfo.h"
#include "NpapiStream.h"
#include "SimpleStreamHelper.h"
#include "utf8_tools.h"

namespace PF {
namespace Npapi {

namespace {
// The factory may have no core for a MIME type; an instance without one cannot exist.
const PluginCorePtr& requireCore(const PluginCorePtr& core) {
  if (!core) throw PluginCreateError("No plug-in for this MIME type");
  return core;
}
}  // namespace

NpapiPlugin::NpapiPlugin(const NpapiBrowserHostPtr& host, const std::string& mimetype)
    : BrowserPlugin(mimetype),
      m_host(host),
      m_mimeType(mimetype),
      m_pluginName(getFactoryInstance()->getPluginName(mimetype)),
      m_pluginDesc(getFactoryInstance()->getPluginDescription(mimetype)) {
  requireCore(pluginMain)->SetHost(host);
}

NpapiPlugin::~NpapiPlugin() {
  if (m_scriptableObject) m_host->ReleaseObject(m_scriptableObject);
}

void NpapiPlugin::init(NPMIMEType, int16_t argc, char* argn[], char* argv[]) {
  VariantMap params;
  for (int16_t i = 0; i < argc; ++i) {
    if (argn && argv && argn[i] && argv[i]) params[argn[i]] = variant(std::string(argv[i]));
  }
  pluginMain->setParams(params);
  if (pluginGuiEnabled()) pluginMain->isWindowless();
  setReady();
}

void NpapiPlugin::setReady() {
  if (!m_isReady) m_isReady = pluginMain->setReady();
}

void NpapiPlugin::shutdown() {
  pluginMain->ClearWindow();
  pluginMain->shutdown();
}

NPObject* NpapiPlugin::getScriptableObject() {
  if (!m_scriptableObject) {
    JSAPIPtr root = pluginMain->getRootJSAPI();
    m_scriptableObject =
        static_cast<NPJavascriptObject*>(NPJavascriptObject::NewObject(m_host, JSAPIWeakPtr(root), false));
  }
  if (m_scriptableObject && m_retainScriptableObject) m_host->RetainObject(m_scriptableObject);
  return m_scriptableObject;
}

NPError NpapiPlugin::GetValue(NPPVariable variable, void* value) {
  switch (variable) {
    case NPPVpluginScriptableNPObject:
      *static_cast<NPObject**>(value) = getScriptableObject();
      return NPERR_NO_ERROR;
    case NPPVpluginNameString:
      *static_cast<const char**>(value) = m_pluginName.c_str();
      return NPERR_NO_ERROR;
    case NPPVpluginDescriptionString:
      *static_cast<const char**>(value) = m_pluginDesc.c_str();
      return NPERR_NO_ERROR;
    default:
      return NPERR_GENERIC_ERROR;
  }
}

NPError NpapiPlugin::SetValue(NPNVariable, void*) { return NPERR_NO_ERROR; }
NPError NpapiPlugin::SetWindow(NPWindow*) { return NPERR_NO_ERROR; }
int16_t NpapiPlugin::HandleEvent(void*) { return 0; }
void NpapiPlugin::Print(NPPrint*) {}

// ---- Streams: the browser's records lead to our stream objects only through the host's list of live
// streams, never by following pdata or notify data blindly.

NPError NpapiPlugin::NewStream(NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* stype) {
  if (!stream) return NPERR_INVALID_PARAM;
  NpapiStreamPtr s = m_host->findStream(stream->pdata);
  if (!s && !stream->pdata && stream->notifyData) {
    // A stream this plug-in asked for carries its stream object as notify data.
    s = m_host->findStream(stream->notifyData);
    if (!s) return NPERR_NO_ERROR;  // not ours
    stream->pdata = s.get();
  }
  if (!s && !stream->pdata && !stream->notifyData) {
    s = openUnsolicited(stream, seekable);
    stream->pdata = s.get();
  }
  if (!s) return NPERR_NO_ERROR;

  if (s->getStream()) {
    // Opened once already: the second opening is refused and leaves the first alone.
    if (s->getStream() != stream) stream->pdata = nullptr;
    return NPERR_GENERIC_ERROR;
  }
  if (s->isCompleted()) {
    // Cancelled before the browser opened it: refused, and the browser is done with it.
    stream->pdata = nullptr;
    s->setDestroyed();
    return NPERR_GENERIC_ERROR;
  }
  s->setMimeType(type ? type : "");
  s->setStream(stream);
  s->setLength(stream->end);
  s->setUrl(stream->url ? stream->url : "");
  if (stream->headers) s->setHeaders(stream->headers);
  s->setSeekableByServer(seekable != 0);

  if (s->isSeekableRequested() && !s->isSeekableByServer()) {
    s->signalFailedOpen();
    s->setStream(nullptr);
    stream->pdata = nullptr;
    s->signalCompleted(false);
    s->setDestroyed();  // a failed open gets no NPP_DestroyStream
    return NPERR_STREAM_NOT_SEEKABLE;
  }
  if (stype) *stype = s->isSeekable() ? NP_SEEK : (s->isCached() ? NP_ASFILE : NP_NORMAL);
  signalStreamOpened(s.get());
  return NPERR_NO_ERROR;
}

void NpapiPlugin::signalStreamOpened(PF::BrowserStream* stream) {
  NpapiStream* s = dynamic_cast<NpapiStream*>(stream);
  if (s && !s->isCompleted()) s->signalOpened();
}

NpapiStreamPtr NpapiPlugin::openUnsolicited(NPStream* stream, NPBool seekable) {
  BrowserStreamRequest req(stream->url ? stream->url : "", "GET", false);
  req.setLastModified(stream->lastmodified);
  req.setSeekable(seekable != 0);
  if (stream->headers) req.setHeaders(stream->headers);
  pluginMain->handleUnsolicitedStream(req);
  if (!req.wasAccepted()) return NpapiStreamPtr();
  BrowserStreamPtr made = m_host->createUnsolicitedStream(req);
  if (!made) return NpapiStreamPtr();
  // The host attached the request's sink already (attaching it again would double every event).
  if (!req.getEventSink() && req.getCallback())
    SimpleStreamHelper::AsyncRequest(m_host, made, req);
  else if (!req.getEventSink())
    Log::warn("NpapiPlugin", "Unsolicited request accepted but no callback or sink provided", __FILE__, __LINE__,
              __func__);
  return boost::dynamic_pointer_cast<NpapiStream>(made);
}

NPError NpapiPlugin::DestroyStream(NPStream* stream, NPReason reason) {
  NpapiStreamPtr s = stream ? m_host->findStream(stream->pdata) : NpapiStreamPtr();
  if (!s) return NPERR_NO_ERROR;
  // Unbound first, so the completion below is the only one and carries the browser's result.
  s->setStream(nullptr);
  stream->pdata = nullptr;
  stream->notifyData = nullptr;
  if (!s->isCompleted()) s->signalCompleted(reason == NPRES_DONE);
  s->setDestroyed();
  return NPERR_NO_ERROR;
}

int32_t NpapiPlugin::WriteReady(NPStream* stream) {
  NpapiStreamPtr s = stream ? m_host->findStream(stream->pdata) : NpapiStreamPtr();
  if (!s) return -1;
  return static_cast<int32_t>(std::min<size_t>(s->getInternalBufferSize(), std::numeric_limits<int32_t>::max()));
}

int32_t NpapiPlugin::Write(NPStream* stream, int32_t offset, int32_t len, void* buffer) {
  NpapiStreamPtr s = stream ? m_host->findStream(stream->pdata) : NpapiStreamPtr();
  if (!s || offset < 0 || len < 0 || !buffer) return -1;
  return s->signalDataArrived(buffer, len, offset);
}

void NpapiPlugin::StreamAsFile(NPStream* stream, const char* fname) {
  NpapiStreamPtr s = stream ? m_host->findStream(stream->pdata) : NpapiStreamPtr();
  if (!s || !fname) return;
  // File names are UTF-8; a name that is not keeps one character per byte.
  std::wstring name;
  try {
    name = utf8_to_wstring(fname);
  } catch (const std::exception&) {
    for (const char* p = fname; *p; ++p) name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
  }
  s->signalCacheFilename(name);
}

void NpapiPlugin::URLNotify(const char*, NPReason reason, void* notifyData) {
  NpapiStreamPtr s = m_host->findStream(notifyData);
  if (!s) return;
  s->signalCompleted(reason == NPRES_DONE);
  // A stream the browser never opened gets no NPP_DestroyStream: the notification is its end.
  if (!s->wasOpenedByBrowser()) s->setDestroyed();
  s->setNotified();
}

}  // namespace Npapi
}  // namespace PF
