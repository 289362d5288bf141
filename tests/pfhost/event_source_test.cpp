#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <string>
#include <vector>

#include "PluginEventSource.h"

namespace {

class Sink : public PF::PluginEventSink {
 public:
  Sink(std::vector<std::string>& log, const std::string& name, bool handles)
      : m_log(log), m_name(name), m_handles(handles) {}
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource*) override {
    const char* kind = dynamic_cast<PF::AttachedEvent*>(event)   ? "attached"
                       : dynamic_cast<PF::DetachedEvent*>(event) ? "detached"
                                                                 : "event";
    m_log.push_back(m_name + ":" + kind);
    return m_handles;
  }

 private:
  std::vector<std::string>& m_log;
  std::string m_name;
  bool m_handles;
};

TEST(PluginEventSource, OffersInOrderUntilOneHandles) {
  std::vector<std::string> log;
  auto source = boost::make_shared<PF::PluginEventSource>();
  auto a = boost::make_shared<Sink>(log, "a", false);
  auto b = boost::make_shared<Sink>(log, "b", true);
  auto c = boost::make_shared<Sink>(log, "c", false);
  source->AttachObserver(a);
  source->AttachObserver(b.get());
  source->AttachObserver(c);
  log.clear();

  PF::ResizedEvent evt;
  EXPECT_TRUE(source->SendEvent(&evt));
  EXPECT_EQ((std::vector<std::string>{"a:event", "b:event"}), log);

  source->DetachObserver(b);
  log.clear();
  EXPECT_FALSE(source->SendEvent(&evt));
  EXPECT_EQ((std::vector<std::string>{"a:event", "c:event"}), log);
}

TEST(PluginEventSource, DuplicatesAndExpiredSinks) {
  std::vector<std::string> log;
  auto source = boost::make_shared<PF::PluginEventSource>();
  auto a = boost::make_shared<Sink>(log, "a", false);
  auto gone = boost::make_shared<Sink>(log, "gone", true);
  source->AttachObserver(a);
  source->AttachObserver(gone);
  source->AttachObserver(a);
  gone.reset();  // destroyed without detaching: skipped
  log.clear();

  PF::ChangedEvent evt;
  EXPECT_FALSE(source->SendEvent(&evt));
  EXPECT_EQ((std::vector<std::string>{"a:event", "a:event"}), log);

  log.clear();
  source->DetachObserver(a);
  EXPECT_EQ((std::vector<std::string>{"a:detached", "a:detached"}), log);
  log.clear();
  EXPECT_FALSE(source->SendEvent(&evt));
  EXPECT_TRUE(log.empty());

  Sink unowned(log, "unowned", false);
  EXPECT_THROW(source->AttachObserver(&unowned), boost::bad_weak_ptr);
}

TEST(PluginEventSource, DestroyingTheSourceSendsNothing) {
  std::vector<std::string> log;
  auto a = boost::make_shared<Sink>(log, "a", false);
  {
    auto source = boost::make_shared<PF::PluginEventSource>();
    source->AttachObserver(a);
  }
  EXPECT_EQ((std::vector<std::string>{"a:attached"}), log);
}

}  // namespace
