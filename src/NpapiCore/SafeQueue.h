#pragma once
// A double-ended queue guarded by a mutex; each push signals the condition.

#include <deque>

#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>

namespace PF {

template <class T>
class SafeQueue {
 public:
  void push(const T& value) {
    {
      boost::mutex::scoped_lock lock(m_mutex);
      m_queue.push_back(value);
    }
    m_cond.notify_one();
  }

  bool try_pop(T& out) {
    boost::mutex::scoped_lock lock(m_mutex);
    if (m_queue.empty()) return false;
    out = m_queue.front();
    m_queue.pop_front();
    return true;
  }

 private:
  std::deque<T> m_queue;
  mutable boost::mutex m_mutex;
  boost::condition_variable m_cond;
};

}  // namespace PF
