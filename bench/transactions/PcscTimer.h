#pragma once
// Time spent inside the PC/SC client library, taken through the card layer's table of PC/SC calls: the
// thread CPU pcsc-lite burns (its marshalling and socket calls) and the wall time, whose rest is the
// wait for pcscd and the card. For benchmarks only: the product always calls pcsc-lite straight.

namespace bench {

// CPU seconds this thread has used.
double threadCpuSeconds();

// CPU and wall seconds inside PC/SC calls made on this thread.
struct PcscTime {
  double cpu = 0;
  double wall = 0;
};

// Times every PC/SC call of the card layer while it lives.
class PcscTimer {
 public:
  PcscTimer();
  ~PcscTimer();
  PcscTimer(const PcscTimer&) = delete;
  PcscTimer& operator=(const PcscTimer&) = delete;

  // Since the timer was made, on this thread.
  PcscTime spent() const;
};

}  // namespace bench
