// System proxy detection over the desktop's proxy store, written through GSettings' memory backend, and
// the browser host's fall-back to it when the browser has no answer of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include <gio/gio.h>

#include "NpapiBrowserHost.h"
#include "NpapiPlugin.h"
#include "NpapiPluginModule.h"
#include "NpnTable.h"
#include "SystemProxyDetectorMac.h"
#include "TestFactory.h"
#include "proxystore/ProxyStore.h"

extern "C" NPError NP_Initialize(NPNetscapeFuncs* bFuncs);

namespace mac_test {
namespace {

typedef std::map<std::string, std::string> Settings;

// Nothing is written to the desktop's real store.
class MemoryBackend : public ::testing::Environment {
 public:
  void SetUp() override { setenv("GSETTINGS_BACKEND", "memory", 1); }
};
::testing::Environment* const memoryBackend = ::testing::AddGlobalTestEnvironment(new MemoryBackend);

struct Store {
  const char* mode;
  const char* httpHost;
  int httpPort;
  const char* httpsHost;
  int httpsPort;
  const char* socksHost;
  int socksPort;
  bool sameProxy;
};

void write(const Store& s) {
  GSettings* proxy = g_settings_new("org.gnome.system.proxy");
  g_settings_set_string(proxy, "mode", s.mode);
  g_settings_set_boolean(proxy, "use-same-proxy", s.sameProxy);
  const struct {
    const char* schema;
    const char* host;
    int port;
  } parts[] = {{"org.gnome.system.proxy.http", s.httpHost, s.httpPort},
               {"org.gnome.system.proxy.https", s.httpsHost, s.httpsPort},
               {"org.gnome.system.proxy.socks", s.socksHost, s.socksPort}};
  for (const auto& p : parts) {
    GSettings* settings = g_settings_new(p.schema);
    g_settings_set_string(settings, "host", p.host);
    g_settings_set_int(settings, "port", p.port);
    g_object_unref(settings);
  }
  g_object_unref(proxy);
}

const Store kOff{"none", "", 0, "", 0, "", 0, false};

struct ProxyCase {
  const char* what;
  Store store;
  const char* url;
  Settings before;
  bool found;
  Settings after;
};

TEST(SystemProxy, StoreContentsAndSchemes) {
  const Settings other{{"keep", "me"}};
  const ProxyCase cases[] = {
      {"ftp with only SOCKS",
       {"manual", "", 0, "", 0, "socks.example", 1080, false},
       "ftp://files.example/a",
       {},
       true,
       {{"type", "socks"}, {"hostname", "socks.example"}, {"port", "1080"}}},
      {"http without its own proxy falls to SOCKS",
       {"manual", "", 8080, "", 0, "socks.example", 1080, false},
       "http://bank.example/",
       {},
       true,
       {{"type", "socks"}, {"hostname", "socks.example"}, {"port", "1080"}}},
      {"http",
       {"manual", "web.example", 3128, "", 0, "socks.example", 1080, false},
       "http://bank.example/",
       other,
       true,
       {{"keep", "me"}, {"type", "http"}, {"hostname", "web.example"}, {"port", "3128"}}},
      {"a scheme in capitals",
       {"manual", "web.example", 3128, "", 0, "", 0, false},
       "HTTP://bank.example/",
       {},
       true,
       {{"type", "http"}, {"hostname", "web.example"}, {"port", "3128"}}},
      {"https",
       {"manual", "web.example", 3128, "secure.example", 3129, "", 0, false},
       "https://bank.example/",
       {},
       true,
       {{"type", "https"}, {"hostname", "secure.example"}, {"port", "3129"}}},
      {"https through the http proxy",
       {"manual", "web.example", 3128, "", 0, "", 0, true},
       "https://bank.example/",
       {},
       true,
       {{"type", "https"}, {"hostname", "web.example"}, {"port", "3128"}}},
      {"no port",
       {"manual", "web.example", 0, "", 0, "", 0, false},
       "http://bank.example/",
       {},
       true,
       {{"type", "http"}, {"hostname", "web.example"}, {"port", "0"}}},
      {"https gets no http proxy",
       {"manual", "web.example", 3128, "", 0, "", 0, false},
       "https://bank.example/",
       other,
       false,
       other},
      {"proxies off",
       {"none", "web.example", 3128, "", 0, "socks.example", 1080, false},
       "http://bank.example/",
       other,
       false,
       other},
      {"automatic configuration is not read",
       {"auto", "web.example", 3128, "", 0, "", 0, false},
       "http://bank.example/",
       {},
       false,
       {}},
      {"an earlier type is no proxy found now",
       kOff,
       "http://bank.example/",
       {{"type", "http"}},
       false,
       {{"type", "http"}}},
      {"an address that does not parse gets SOCKS only",
       {"manual", "web.example", 3128, "", 0, "socks.example", 1, false},
       "ht tp://bank.example/",
       {},
       true,
       {{"type", "socks"}, {"hostname", "socks.example"}, {"port", "1"}}},
      {"an address that does not parse, no SOCKS",
       {"manual", "web.example", 3128, "", 0, "", 0, false},
       "ht tp://bank.example/",
       {},
       false,
       {}},
      {"earlier entries are overwritten",
       {"manual", "web.example", 3128, "", 0, "", 0, false},
       "http://a.example/",
       {{"type", "socks"}, {"hostname", "old"}, {"port", "1"}},
       true,
       {{"type", "http"}, {"hostname", "web.example"}, {"port", "3128"}}},
  };
  PF::SystemProxyDetector* detector = PF::SystemProxyDetector::get();
  ASSERT_TRUE(dynamic_cast<PF::SystemProxyDetectorMac*>(detector));
  for (const ProxyCase& c : cases) {
    SCOPED_TRACE(c.what);
    write(c.store);
    Settings settings = c.before;
    EXPECT_EQ(detector->detectProxy(settings, c.url), c.found);
    EXPECT_EQ(settings, c.after);
  }
}

// Without the desktop's schema there is no store, and asking for it does not end the process.
TEST(SystemProxyDeathTest, NoSchemaMeansNoStore) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, whose GSettings looks for schemas anew
  EXPECT_EXIT(
      {
        setenv("XDG_DATA_DIRS", "/nonexistent", 1);
        setenv("XDG_DATA_HOME", "/nonexistent", 1);
        unsetenv("GSETTINGS_SCHEMA_DIR");
        Settings settings;
        const bool found = PF::SystemProxyDetector::get()->detectProxy(settings, "http://bank.example/");
        std::exit(rvp_proxy_store_copy() == nullptr && !found && settings.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// The browser's own answer wins; only a browser without one (answer 8, or no such function) leads to the
// system's store.
struct HostCase {
  const char* what;
  uint16_t version;
  NPError browserResult;
  const char* browserAnswer;
  bool found;
  Settings after;
};

TEST(SystemProxy, TheHostAsksTheSystemOnlyWithoutABrowserAnswer) {
  const Settings system{{"type", "http"}, {"hostname", "web.example"}, {"port", "3128"}};
  const HostCase cases[] = {
      {"browser says DIRECT", 27, NPERR_NO_ERROR, "DIRECT", false, {}},
      {"browser names a proxy",
       27,
       NPERR_NO_ERROR,
       "PROXY b.example:81",
       true,
       {{"type", "http"}, {"hostname", "b.example"}, {"port", "81"}}},
      {"browser has no answer", 27, NPERR_INCOMPATIBLE_VERSION_ERROR, "", true, system},
      {"browser fails otherwise", 27, NPERR_GENERIC_ERROR, "", false, {}},
      {"browser without the function", 18, NPERR_NO_ERROR, "DIRECT", true, system},
  };
  write({"manual", "web.example", 3128, "", 0, "", 0, false});
  for (const HostCase& c : cases) {
    SCOPED_TRACE(c.what);
    NPNetscapeFuncs table = npapi_test::makeNpnTable(c.version);
    npapi_test::npnState().proxyResult = c.browserResult;
    npapi_test::npnState().proxyAnswer = c.browserAnswer;
    NP_Initialize(&table);
    NPP_t npp{};
    ASSERT_EQ(PF::Npapi::NpapiPluginModule::NPP_New(const_cast<char*>("application/x-test"), &npp, NP_EMBED, 0, nullptr,
                                                    nullptr, nullptr),
              NPERR_NO_ERROR);
    Settings settings;
    EXPECT_EQ(PF::Npapi::getPlugin(&npp)->host()->DetectProxySettings(settings, "http://bank.example/"), c.found);
    EXPECT_EQ(settings, c.after);
    PF::Npapi::NpapiPluginModule::NPP_Destroy(&npp, nullptr);
  }
}

}  // namespace
}  // namespace mac_test
