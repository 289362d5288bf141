// One process-wide queue of main-thread calls and one of scripted-user steps, guarded by one mutex each.
// The mutex is never held while a queued call runs, so a call may post, drain or discard freely.
#include "npapi/HostLoop.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace {

struct MainThreadQueue {
  std::mutex mutex;
  std::deque<std::pair<RvpMainThreadFunc, void*>> calls;
};

struct UserStepQueue {
  std::mutex mutex;
  std::deque<std::string> steps;
  std::deque<std::string> reports;
  RvpUserStepListener listener = nullptr;
  void* listenerContext = nullptr;
  RvpUserEndListener endListener = nullptr;
  void* endListenerContext = nullptr;
};

size_t takeFront(std::deque<std::string>& queue, char* buf, size_t cap) {
  if (queue.empty()) return 0;
  const std::string& text = queue.front();
  size_t length = text.size();
  if (!buf || cap < length + 1) return length;
  std::memcpy(buf, text.c_str(), length + 1);
  queue.pop_front();
  return length;
}

MainThreadQueue& mainQueue() {
  static MainThreadQueue queue;
  return queue;
}

struct HostTimer {
  unsigned long long due;
  unsigned long long interval;
  bool repeat;
  RvpTimerFunc fn;
  void* data;
};

struct TimerTable {
  std::mutex mutex;
  unsigned long long now = 0;
  unsigned nextId = 1;
  std::map<unsigned, HostTimer> timers;
};

TimerTable& timerTable() {
  static TimerTable table;
  return table;
}

UserStepQueue& userQueue() {
  static UserStepQueue queue;
  return queue;
}

}  // namespace

extern "C" {

int rvp_hostloop_post(RvpMainThreadFunc fn, void* data) {
  if (!fn) return -1;
  MainThreadQueue& q = mainQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.calls.emplace_back(fn, data);
  return 0;
}

size_t rvp_hostloop_drain(void) {
  MainThreadQueue& q = mainQueue();
  size_t ran = 0;
  for (;;) {
    std::pair<RvpMainThreadFunc, void*> call;
    {
      std::lock_guard<std::mutex> lock(q.mutex);
      if (q.calls.empty()) return ran;
      call = q.calls.front();
      q.calls.pop_front();
    }
    call.first(call.second);
    ++ran;
  }
}

size_t rvp_hostloop_pending(void) {
  MainThreadQueue& q = mainQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return q.calls.size();
}

size_t rvp_hostloop_discard(void) {
  MainThreadQueue& q = mainQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  size_t dropped = q.calls.size();
  q.calls.clear();
  return dropped;
}

unsigned long long rvp_hostloop_now_us(void) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.now;
}

void rvp_hostloop_set_now_us(unsigned long long now) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (now > t.now) t.now = now;
}

unsigned rvp_hostloop_timer_add(unsigned long long interval_us, int repeat, RvpTimerFunc fn, void* data) {
  if (!fn || (repeat && interval_us == 0)) return 0;
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  unsigned id = t.nextId++;
  if (t.nextId == 0) t.nextId = 1;
  const unsigned long long due = t.now + interval_us < t.now ? ~0ull : t.now + interval_us;
  t.timers[id] = HostTimer{due, interval_us, repeat != 0, fn, data};
  return id;
}

int rvp_hostloop_timer_cancel(unsigned id) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.timers.erase(id) ? 0 : -1;
}

size_t rvp_hostloop_timer_count(void) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.timers.size();
}

int rvp_hostloop_timer_next_due(unsigned long long* due) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  if (t.timers.empty()) return 0;
  unsigned long long earliest = ~0ull;
  for (const auto& entry : t.timers) earliest = std::min(earliest, entry.second.due);
  if (due) *due = earliest;
  return 1;
}

int rvp_hostloop_timer_fire_next(void) {
  TimerTable& t = timerTable();
  RvpTimerFunc fn;
  void* data;
  {
    std::lock_guard<std::mutex> lock(t.mutex);
    auto next = t.timers.end();
    for (auto it = t.timers.begin(); it != t.timers.end(); ++it)
      if (it->second.due <= t.now && (next == t.timers.end() || it->second.due < next->second.due)) next = it;
    if (next == t.timers.end()) return 0;
    HostTimer& timer = next->second;
    fn = timer.fn;
    data = timer.data;
    if (timer.repeat) {
      // Missed firings come together: the next date is the first one after now.
      const unsigned long long missed = (t.now - timer.due) / timer.interval + 1;
      timer.due += missed * timer.interval;
    } else {
      t.timers.erase(next);
    }
  }
  fn(data);
  return 1;
}

size_t rvp_hostloop_timer_discard(void) {
  TimerTable& t = timerTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  size_t dropped = t.timers.size();
  t.timers.clear();
  return dropped;
}

int rvp_hostloop_user_push(const char* step) {
  if (!step || !*step) return -1;
  UserStepQueue& q = userQueue();
  RvpUserStepListener listener;
  void* context;
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    q.steps.emplace_back(step);
    listener = q.listener;
    context = q.listenerContext;
  }
  if (listener) listener(context);
  return 0;
}

size_t rvp_hostloop_user_take(char* buf, size_t cap) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return takeFront(q.steps, buf, cap);
}

void rvp_hostloop_user_set_listener(RvpUserStepListener fn, void* context) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.listener = fn;
  q.listenerContext = fn ? context : nullptr;
}

void rvp_hostloop_user_set_end_listener(RvpUserEndListener fn, void* context) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.endListener = fn;
  q.endListenerContext = fn ? context : nullptr;
}

void rvp_hostloop_user_end_page(void) {
  UserStepQueue& q = userQueue();
  RvpUserEndListener listener;
  void* context;
  {
    std::lock_guard<std::mutex> lock(q.mutex);
    listener = q.endListener;
    context = q.endListenerContext;
  }
  if (listener) listener(context);
}

int rvp_hostloop_user_report(const char* failure) {
  if (!failure || !*failure) return -1;
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  q.reports.emplace_back(failure);
  return 0;
}

size_t rvp_hostloop_user_take_report(char* buf, size_t cap) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return takeFront(q.reports, buf, cap);
}

size_t rvp_hostloop_user_pending(void) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  return q.steps.size();
}

size_t rvp_hostloop_user_clear(void) {
  UserStepQueue& q = userQueue();
  std::lock_guard<std::mutex> lock(q.mutex);
  size_t dropped = q.steps.size();
  q.steps.clear();
  return dropped;
}

}  // extern "C"
