#include "PluginCore.h"

#include <stdexcept>

#include "BrowserHost.h"
#include "DOMWindow.h"
#include "JSObject.h"
#include "Log.h"
#include "PluginWindow.h"

namespace PF {

std::string PluginCore::OS;
std::string PluginCore::Browser;
int PluginCore::ActivePluginCount = 0;

void PluginCore::setPlatform(const std::string& os, const std::string& browser) {
  OS = os;
  Browser = browser;
  Log::info("PluginCore", "os: " + os + "; browser: " + browser, __FILE__, __LINE__, __func__);
}

PluginCore::PluginCore() {
  Log::initLogging();
  ++ActivePluginCount;
}

PluginCore::~PluginCore() {
  if (m_host) {
    try {
      m_host->shutdown();
    } catch (...) {
      // A destructor has nowhere to report to.
    }
  }
  --ActivePluginCount;
}

void PluginCore::setParams(const VariantMap& inParams) {
  for (const auto& param : inParams) {
    const std::string& key = param.first;
    try {
      const std::string value = param.second.convert_cast<std::string>();
      if (key.compare(0, 2, "on") == 0) {
        boost::shared_ptr<DOM::Window> window = m_host ? m_host->getDOMWindow() : boost::shared_ptr<DOM::Window>();
        if (!window) throw std::runtime_error("no page window");
        m_params[key] = variant(window->getJSObject()->GetProperty(value).convert_cast<JSObjectPtr>());
      } else {
        m_params[key] = param.second;
      }
    } catch (const std::exception& e) {
      Log::warn("PluginCore", "Exception processing <param> " + key + ": " + e.what(), __FILE__, __LINE__, __func__);
      m_params[key] = param.second;
    }
  }
}

boost::optional<std::string> PluginCore::getParam(const std::string& key) {
  const auto found = m_params.find(key);
  if (found == m_params.end()) return boost::none;
  return found->second.convert_cast<std::string>();
}

variant PluginCore::getParamVariant(const std::string& key) {
  const auto found = m_params.find(key);
  return found == m_params.end() ? variant() : found->second;
}

bool PluginCore::setReady() {
  bool scheduled = false;
  const auto onload = m_params.find("onload");
  if (onload != m_params.end() && m_host) {
    m_host->initJS(this);
    JSObjectPtr handler = onload->second.convert_cast<JSObjectPtr>();
    if (handler) {
      const std::vector<variant> args{variant(getRootJSAPI())};
      m_host->delayedInvoke(250, handler, args, "");
      scheduled = true;
    }
  }
  onPluginReady();
  return scheduled;
}

JSAPIPtr PluginCore::getRootJSAPI() {
  if (!m_api) m_api = createJSAPI();
  return m_api;
}

bool PluginCore::isWindowless() {
  const auto found = m_params.find("windowless");
  if (found != m_params.end()) {
    try {
      const bool windowless = found->second.convert_cast<bool>();
      m_windowLessParam = windowless ? 1 : 0;
      return windowless;
    } catch (const bad_variant_cast&) {
    }
  }
  m_windowLessParam = 0;
  return false;
}

void PluginCore::SetWindow(PluginWindow* win) {
  if (m_Window && m_Window != win) ClearWindow();
  m_Window = win;
  if (win) win->AttachObserver(this);
}

void PluginCore::ClearWindow() {
  if (m_Window) {
    m_Window->DetachObserver(this);
    m_Window = nullptr;
  }
}

}  // namespace PF
