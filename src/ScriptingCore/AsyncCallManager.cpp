#include "AsyncCallManager.h"

#include <memory>

namespace PF {

void _asyncCallData::call() {
  if (!func) return;
  void (*f)(void*) = func;
  func = nullptr;
  called = true;
  f(userData);
}

AsyncCallManager::~AsyncCallManager() {
  // Pending records stay: the browser may still deliver them, and the wrapper
  // then finds the manager gone through the record's weak reference.
  for (_asyncCallData* record : m_cancelled) delete record;
}

_asyncCallData* AsyncCallManager::makeCallback(void (*func)(void*), void* userData) {
  boost::recursive_mutex::scoped_lock lock(m_lock);
  ++m_counter;
  boost::shared_ptr<AsyncCallManager> self = shared_from_this();
  _asyncCallData* record = new _asyncCallData{func, userData, m_counter, false, self};
  m_pending.insert(record);
  return record;
}

void AsyncCallManager::call(_asyncCallData* record) {
  {
    boost::recursive_mutex::scoped_lock lock(m_lock);
    if (m_pending.erase(record) == 0) return;
  }
  std::unique_ptr<_asyncCallData> owned(record);
  owned->call();
}

void AsyncCallManager::remove(_asyncCallData* record) {
  boost::recursive_mutex::scoped_lock lock(m_lock);
  if (m_pending.erase(record) != 0) delete record;  // refused by the browser: it will never be delivered
}

void AsyncCallManager::shutdown() {
  boost::recursive_mutex::scoped_lock lock(m_lock);
  m_cancelled.insert(m_pending.begin(), m_pending.end());
  // Take the set first so a call that schedules again cannot disturb the walk.
  std::set<_asyncCallData*> toRun;
  toRun.swap(m_pending);
  for (_asyncCallData* record : toRun) {
    try {
      record->call();
    } catch (...) {
      // One failing call must not keep the others from running at shutdown.
    }
  }
}

void asyncCallWrapper(void* data) {
  _asyncCallData* record = static_cast<_asyncCallData*>(data);
  boost::shared_ptr<AsyncCallManager> manager = record->manager.lock();
  if (!manager) return;
  try {
    manager->call(record);
  } catch (...) {
    // The browser called us through a plain C function: nothing may leave here.
  }
}

}  // namespace PF
