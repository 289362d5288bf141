#pragma once
// A repeating timer on the host's main loop (the platform's run loop), calling one function at every
// firing until it is stopped or destroyed.

#include <functional>

#include "npapi/HostLoop.h"

namespace PF {

class RepaintTimer {
 public:
  RepaintTimer() = default;
  ~RepaintTimer() { stop(); }
  RepaintTimer(const RepaintTimer&) = delete;
  RepaintTimer& operator=(const RepaintTimer&) = delete;

  // Replaces any running timer. False (and nothing running) when the host refuses the interval.
  bool start(unsigned long long intervalMicroseconds, std::function<void()> fired) {
    stop();
    m_fired = std::move(fired);
    m_id = rvp_hostloop_timer_add(intervalMicroseconds, 1, &RepaintTimer::fire, this);
    return m_id != 0;
  }
  void stop() {
    if (m_id) rvp_hostloop_timer_cancel(m_id);
    m_id = 0;
  }
  bool running() const { return m_id != 0; }

 private:
  static void fire(void* data) {
    try {
      static_cast<RepaintTimer*>(data)->m_fired();
    } catch (...) {
      // Nothing may leave a run-loop callback; the next firing tries again.
    }
  }

  unsigned m_id = 0;
  std::function<void()> m_fired;
};

}  // namespace PF
