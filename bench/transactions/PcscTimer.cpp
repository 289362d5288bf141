#include "PcscTimer.h"

#include <time.h>

#include <chrono>

#include "card/PcscCalls.h"

namespace bench {

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

namespace {

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

thread_local PcscTime inside;

// One PC/SC call of the table, timed: the real call between two readings of both clocks.
template <auto Member>
struct Timed;

template <typename R, typename... A, R (*card::PcscCalls::*Member)(A...)>
struct Timed<Member> {
  static R call(A... args) {
    const double cpu = threadCpuSeconds(), wall = wallSeconds();
    const R result = (card::realPcscCalls().*Member)(args...);
    inside.cpu += threadCpuSeconds() - cpu;
    inside.wall += wallSeconds() - wall;
    return result;
  }
};

card::PcscCalls timedCalls() {
  using C = card::PcscCalls;
  C calls{};
  calls.establishContext = Timed<&C::establishContext>::call;
  calls.releaseContext = Timed<&C::releaseContext>::call;
  calls.listReaders = Timed<&C::listReaders>::call;
  calls.getAttrib = Timed<&C::getAttrib>::call;
  calls.status = Timed<&C::status>::call;
  calls.getStatusChange = Timed<&C::getStatusChange>::call;
  calls.connect = Timed<&C::connect>::call;
  calls.reconnect = Timed<&C::reconnect>::call;
  calls.disconnect = Timed<&C::disconnect>::call;
  calls.transmit = Timed<&C::transmit>::call;
  return calls;
}

const card::PcscCalls kTimed = timedCalls();

}  // namespace

PcscTimer::PcscTimer() {
  inside = PcscTime{};
  card::setPcscCalls(&kTimed);
}

PcscTimer::~PcscTimer() { card::setPcscCalls(nullptr); }

PcscTime PcscTimer::spent() const { return inside; }

}  // namespace bench
