#pragma once
// Book of the calls a host has asked the browser to run on the main thread. The
// browser gets a plain function and a record; the manager makes sure each call runs
// at most once, that a refused call never runs, and that shutdown runs what is pending.

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>
#include <boost/weak_ptr.hpp>

#include <set>

namespace PF {

class AsyncCallManager;

struct _asyncCallData {
  void (*func)(void*);
  void* userData;
  int uniqId;
  bool called;
  boost::weak_ptr<AsyncCallManager> manager;

  // Runs the function the first time only.
  void call();
};

class AsyncCallManager : public boost::enable_shared_from_this<AsyncCallManager> {
 public:
  AsyncCallManager() = default;
  ~AsyncCallManager();
  AsyncCallManager(const AsyncCallManager&) = delete;
  AsyncCallManager& operator=(const AsyncCallManager&) = delete;

  // Throws boost::bad_weak_ptr when the manager has no shared owner.
  _asyncCallData* makeCallback(void (*func)(void*), void* userData);
  // A record delivered by the browser: runs it if it is still pending.
  void call(_asyncCallData* record);
  // A record the browser refused: never runs.
  void remove(_asyncCallData* record);
  // Runs every pending call now, on this thread, and cancels it for the browser.
  void shutdown();

 private:
  int m_counter = 1;
  boost::recursive_mutex m_lock;
  std::set<_asyncCallData*> m_pending;
  std::set<_asyncCallData*> m_cancelled;
};

// The only function handed to the browser's asynchronous-call service.
// Nothing thrown by the scheduled function leaves it.
void asyncCallWrapper(void* record);

}  // namespace PF
