#pragma once
// The process-wide road to the browser's main thread: calls are queued per plug-in instance and run once,
// later, on the main thread; an instance that goes away takes its queued calls with it.

#include <deque>
#include <map>
#include <utility>

#include <boost/thread/mutex.hpp>

namespace PF {

class OneShotManager {
 public:
  typedef void (*Callback)(void*);
  typedef std::pair<void*, Callback> Call;

  static OneShotManager& getInstance();

  OneShotManager();
  ~OneShotManager();
  OneShotManager(const OneShotManager&) = delete;
  OneShotManager& operator=(const OneShotManager&) = delete;

  void npp_register(void* npp);
  void npp_unregister(void* npp);
  // Any thread. A call for an instance that is not registered is dropped.
  void npp_scheduleAsyncCallback(void* npp, Callback fn, void* data);
  bool npp_nextCallback(Call& out);
  // Runs every queued call, those added meanwhile included, on the calling (main) thread.
  void npp_asyncCallback();

  int pending() const;
  // How many times the main thread has been asked to wake (each wake drains everything).
  int wakeUps() const;

 private:
  // Runs on the main thread when the host loop drains its queue.
  static void shoot(void* manager);

  mutable boost::mutex m_mutex;
  std::map<void*, std::deque<Call>*> m_queues;
  int m_pending = 0;
  int m_wakeUps = 0;
};

}  // namespace PF
