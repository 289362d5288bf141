#include "AsyncCallManager.h"
#include "fake_browser.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <stdexcept>

using namespace pfhost_test;

namespace {

int g_runs = 0;
void countRun(void* data) {
  ++g_runs;
  ++*static_cast<int*>(data);
}
void throwing(void*) {
  ++g_runs;
  throw std::runtime_error("page gone");
}

class AsyncCallManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { g_runs = 0; }
  boost::shared_ptr<PF::AsyncCallManager> manager = boost::make_shared<PF::AsyncCallManager>();
};

TEST_F(AsyncCallManagerTest, DeliveredTwiceRunsOnce) {
  int count = 0;
  PF::_asyncCallData* record = manager->makeCallback(&countRun, &count);
  EXPECT_EQ(2, record->uniqId) << "the counter starts at 1 and is raised before use";
  PF::asyncCallWrapper(record);
  EXPECT_EQ(1, count);
  PF::_asyncCallData* second = manager->makeCallback(&countRun, &count);
  EXPECT_EQ(3, second->uniqId);
  manager->call(second);
  manager->call(second);  // not pending any more: not touched
  EXPECT_EQ(2, count);
}

TEST_F(AsyncCallManagerTest, RefusedCallNeverRunsEvenAtShutdown) {
  int count = 0;
  PF::_asyncCallData* record = manager->makeCallback(&countRun, &count);
  manager->remove(record);
  manager->shutdown();
  EXPECT_EQ(0, count);
}

TEST_F(AsyncCallManagerTest, ShutdownRunsEachPendingCallOnceAndLaterDeliveriesNothing) {
  int a = 0, b = 0;
  PF::_asyncCallData* ra = manager->makeCallback(&countRun, &a);
  PF::_asyncCallData* rThrows = manager->makeCallback(&throwing, nullptr);
  PF::_asyncCallData* rb = manager->makeCallback(&countRun, &b);
  manager->shutdown();
  EXPECT_EQ(1, a);
  EXPECT_EQ(1, b) << "a failing call does not keep the others from running";
  EXPECT_EQ(3, g_runs);
  PF::asyncCallWrapper(ra);
  PF::asyncCallWrapper(rb);
  PF::asyncCallWrapper(rThrows);
  manager->shutdown();
  EXPECT_EQ(3, g_runs);
}

TEST_F(AsyncCallManagerTest, AnErrorOfADeliveredCallStaysInsideTheWrapper) {
  PF::_asyncCallData* record = manager->makeCallback(&throwing, nullptr);
  EXPECT_NO_THROW(PF::asyncCallWrapper(record));
  EXPECT_EQ(1, g_runs);
}

TEST(HostScheduling, RefusedOrShutDownSchedulingRunsNothing) {
  g_runs = 0;
  int count = 0;
  FakeHostPtr host = FakeHost::make();
  host->refuseScheduling = true;
  EXPECT_FALSE(host->ScheduleAsyncCall(&countRun, &count));
  host->refuseScheduling = false;

  EXPECT_TRUE(host->ScheduleAsyncCall(&countRun, &count));
  EXPECT_EQ(0, count);
  host->shutdown();  // runs the pending call on this thread
  EXPECT_EQ(1, count);
  host->pump();  // the browser's own delivery comes later and runs nothing
  EXPECT_EQ(1, count);

  EXPECT_FALSE(host->ScheduleAsyncCall(&countRun, &count));
  EXPECT_EQ(0u, host->queuedCalls());
  host->shutdown();
  EXPECT_EQ(1, count);
}

}  // namespace
