#include "fake_browser.h"

#include <gtest/gtest.h>

#include <boost/bind/bind.hpp>
#include <boost/thread/thread.hpp>

#include <atomic>
#include <stdexcept>
#include <string>

using namespace pfhost_test;

namespace {

// Runs body on a second thread and keeps the outcome for the test's main thread.
class Worker {
 public:
  template <class Body>
  explicit Worker(Body body)
      : m_thread([this, body] {
          try {
            result = body();
          } catch (const PF::script_error& e) {
            scriptError = e.what();
          } catch (const std::exception& e) {
            otherError = e.what();
          }
          done = true;
        }) {}
  ~Worker() { m_thread.join(); }

  std::atomic<bool> done{false};
  std::string result;
  std::string scriptError;
  std::string otherError;

 private:
  boost::thread m_thread;
};

struct Target {
  boost::thread::id ranOn;
  int runs = 0;
  std::string answer(const std::string& question) {
    ranOn = boost::this_thread::get_id();
    ++runs;
    return "answer to " + question;
  }
  std::string failScript() {
    ++runs;
    throw PF::invalid_arguments("Invalid Arguments");
  }
  std::string failOther() {
    ++runs;
    throw std::runtime_error("plain failure");
  }
  std::string failCast() {
    ++runs;
    throw PF::bad_variant_cast(typeid(int), typeid(long));
  }
  void touch() { ++runs; }
};

TEST(CallOnMainThread, OnTheMainThreadRunsDirectly) {
  FakeHostPtr host = FakeHost::make();
  Target t;
  EXPECT_EQ("answer to q", host->CallOnMainThread(boost::bind(&Target::answer, &t, std::string("q"))));
  EXPECT_EQ(boost::this_thread::get_id(), t.ranOn);
  EXPECT_EQ(0u, host->queuedCalls());
  EXPECT_THROW(host->CallOnMainThread(boost::bind(&Target::failScript, &t)), PF::invalid_arguments)
      << "the error reaches the caller unchanged";
  host->CallOnMainThread(boost::bind(&Target::touch, &t));
  EXPECT_EQ(3, t.runs);
}

TEST(CallOnMainThread, FromAnotherThreadCarriesResultsAndErrorsBack) {
  FakeHostPtr host = FakeHost::make();
  Target t;
  {
    Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::answer, &t, std::string("q"))); });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ("answer to q", w.result);
    EXPECT_EQ(boost::this_thread::get_id(), t.ranOn) << "ran on the pumping main thread";
  }
  {
    Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::failScript, &t)); });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ("Invalid Arguments", w.scriptError);
  }
  {
    // Not a script error: still carried back, so the caller is never left waiting.
    Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::failOther, &t)); });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ("plain failure", w.otherError);
  }
  {
    Worker w([&]() -> std::string {
      try {
        return host->CallOnMainThread(boost::bind(&Target::failCast, &t));
      } catch (const PF::bad_variant_cast& e) {
        return std::string(e.from) + "->" + e.to;
      }
    });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ(std::string(typeid(int).name()) + "->" + typeid(long).name(), w.result);
  }
  {
    Worker w([&] {
      host->CallOnMainThread(boost::bind(&Target::touch, &t));
      return std::string("void done");
    });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ("void done", w.result);
  }
  EXPECT_EQ(5, t.runs);
}

TEST(CallOnMainThread, ShutDownWhileWaitingEndsWithShuttingDown) {
  FakeHostPtr host = FakeHost::make();
  Target t;
  Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::answer, &t, std::string("q"))); });
  ASSERT_TRUE(host->waitForQueued(1));
  host->shutdown();  // runs the queued call here, but the waiting thread is told it is over
  ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
  EXPECT_EQ("Shutting down", w.scriptError);
  EXPECT_EQ(1, t.runs);
}

TEST(CallOnMainThread, RefusedWhenTheHostIsShutDownOrTheBrowserRefuses) {
  FakeHostPtr host = FakeHost::make();
  Target t;
  host->refuseScheduling = true;
  {
    Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::answer, &t, std::string("q"))); });
    ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
    EXPECT_EQ("Could not marshal to main thread", w.scriptError);
  }
  host->refuseScheduling = false;
  host->shutdown();
  Worker w([&] { return host->CallOnMainThread(boost::bind(&Target::answer, &t, std::string("q"))); });
  ASSERT_TRUE(host->pumpUntil([&] { return w.done.load(); }));
  EXPECT_EQ("Could not marshal to main thread", w.scriptError);
  EXPECT_EQ(0u, host->queuedCalls());
  EXPECT_EQ(0, t.runs);
}

struct Kept {
  int runs = 0;
  void run() { ++runs; }
  void failScript() { throw PF::script_error("dropped"); }
  void failCast() { throw PF::bad_variant_cast(typeid(int), typeid(long)); }
  void failOther() { throw std::runtime_error("dropped too"); }
};

TEST(ScheduleOnMainThread, QueuesKeepsTheObjectAndDropsErrors) {
  FakeHostPtr host = FakeHost::make();
  auto kept = boost::make_shared<Kept>();
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::run, kept.get()));
  EXPECT_EQ(0, kept->runs) << "queued even on the main thread";
  EXPECT_EQ(2, kept.use_count());
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::failScript, kept.get()));
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::failCast, kept.get()));
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::failOther, kept.get()));
  EXPECT_NO_THROW(host->pump());
  EXPECT_EQ(1, kept->runs);
  EXPECT_EQ(1, kept.use_count()) << "every queued call released the object";
}

TEST(ScheduleOnMainThread, ShutDownRunsQueuedCallsAndRefusesLaterOnes) {
  FakeHostPtr host = FakeHost::make();
  auto kept = boost::make_shared<Kept>();
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::run, kept.get()));
  host->shutdown();
  EXPECT_EQ(1, kept->runs);
  host->ScheduleOnMainThread(kept, boost::bind(&Kept::run, kept.get()));
  host->pump();
  EXPECT_EQ(1, kept->runs);
  EXPECT_EQ(1, kept.use_count());
}

}  // namespace
