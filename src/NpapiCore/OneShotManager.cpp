#include "OneShotManager.h"

#include "npapi/HostLoop.h"

namespace PF {

OneShotManager& OneShotManager::getInstance() {
  static OneShotManager manager;
  return manager;
}

OneShotManager::OneShotManager() {}

OneShotManager::~OneShotManager() {
  for (auto& entry : m_queues) delete entry.second;
}

void OneShotManager::npp_register(void* npp) {
  boost::mutex::scoped_lock lock(m_mutex);
  if (m_queues.find(npp) == m_queues.end()) m_queues[npp] = new std::deque<Call>();
}

void OneShotManager::npp_unregister(void* npp) {
  boost::mutex::scoped_lock lock(m_mutex);
  auto found = m_queues.find(npp);
  if (found == m_queues.end()) return;
  m_pending -= static_cast<int>(found->second->size());
  delete found->second;
  m_queues.erase(found);
}

void OneShotManager::npp_scheduleAsyncCallback(void* npp, Callback fn, void* data) {
  boost::mutex::scoped_lock lock(m_mutex);
  auto found = m_queues.find(npp);
  if (found == m_queues.end()) return;
  found->second->push_back(Call(data, fn));
  if (m_pending == 0) {
    ++m_wakeUps;
    rvp_hostloop_post(&OneShotManager::shoot, this);
  }
  ++m_pending;
}

bool OneShotManager::npp_nextCallback(Call& out) {
  boost::mutex::scoped_lock lock(m_mutex);
  for (auto& entry : m_queues) {
    if (!entry.second->empty()) {
      out = entry.second->front();
      entry.second->pop_front();
      --m_pending;
      return true;
    }
  }
  return false;
}

void OneShotManager::npp_asyncCallback() {
  Call call;
  while (npp_nextCallback(call)) {
    if (!call.second) continue;
    try {
      call.second(call.first);
    } catch (...) {
      // A queued call has nobody to report to; the next one still runs.
    }
  }
}

int OneShotManager::pending() const {
  boost::mutex::scoped_lock lock(m_mutex);
  return m_pending;
}

int OneShotManager::wakeUps() const {
  boost::mutex::scoped_lock lock(m_mutex);
  return m_wakeUps;
}

void OneShotManager::shoot(void* manager) {
  if (manager) static_cast<OneShotManager*>(manager)->npp_asyncCallback();
}

}  // namespace PF
