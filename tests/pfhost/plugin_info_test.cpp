#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "BrowserPlugin.h"
#include "FactoryBase.h"
#include "JSAPIAuto.h"
#include "PluginInfo.h"

namespace {

TEST(PluginInfo, NameAndMimeDescription) {
  EXPECT_EQ("DEDIVIZUVIRA_r86_64", PF::getPluginName());
  EXPECT_EQ("DEDIVIZUVIRA_r86_64", PF::getPluginName("text/html"));
  EXPECT_EQ("Lunmara公司 Dorvik元件", PF::getPluginDescription("application/roda-vennoral-plugin"));
  EXPECT_EQ("", PF::getPluginDescription(""));
  EXPECT_EQ("", PF::getPluginDescription("application/other"));
  EXPECT_STREQ("application/roda-vennoral-plugin:post:Lunmara公司 Dorvik元件;", PF::kMimeDescription);
  EXPECT_TRUE(PF::pluginGuiEnabled());
}

class CorePlugin : public PF::PluginCore {
 public:
  explicit CorePlugin(const std::string& mimetype) : mimetype(mimetype) {}
  std::string mimetype;
  PF::JSAPIPtr createJSAPI() override { return boost::make_shared<PF::JSAPIAuto>("root"); }
  bool HandleEvent(PF::PluginEvent*, PF::PluginEventSource*) override { return false; }
};

class TestFactory : public PF::FactoryBase {
 public:
  boost::shared_ptr<PF::PluginCore> createPlugin(const std::string& mimetype) override {
    return boost::make_shared<CorePlugin>(mimetype);
  }
};

class TestBrowserPlugin : public PF::BrowserPlugin {
 public:
  using PF::BrowserPlugin::BrowserPlugin;
  void shutdown() override {}
  PF::PluginCorePtr core() const { return pluginMain; }
};

TEST(FactoryBase, DefaultsAndTheApplicationsPlugin) {
  PF::FactoryBasePtr factory = getFactoryInstance();
  EXPECT_EQ("DEDIVIZUVIRA_r86_64", factory->getPluginName());
  EXPECT_EQ("Lunmara公司 Dorvik元件", factory->getPluginDescription("application/roda-vennoral-plugin"));
  EXPECT_EQ(PF::Log::LogLevel_Info, factory->getLogLevel());
  EXPECT_EQ(4, static_cast<int>(factory->getLogLevel()));
  PF::FactoryBase::LogMethodList methods;
  factory->getLoggingMethods(methods);
  EXPECT_TRUE(methods.empty());
  EXPECT_EQ(nullptr, factory->createPluginWindowMacICA());

  TestBrowserPlugin plugin("application/roda-vennoral-plugin");
  auto core = boost::dynamic_pointer_cast<CorePlugin>(plugin.core());
  ASSERT_TRUE(core);
  EXPECT_EQ("application/roda-vennoral-plugin", core->mimetype);
  plugin.setFSPath("/Library/Internet Plug-Ins/p.plugin");
  EXPECT_EQ("/Library/Internet Plug-Ins/p.plugin", PF::BrowserPlugin::fileSystemPath);
  EXPECT_EQ("/Library/Internet Plug-Ins/p.plugin", core->getFSPath());
}

}  // namespace

// The application's factory, as the plug-in would supply it.
PF::FactoryBasePtr getFactoryInstance() {
  static PF::FactoryBasePtr factory = boost::make_shared<TestFactory>();
  return factory;
}
