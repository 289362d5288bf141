// Round trip of one card command through pcscd and vpcd to the virtual card.
// Run under scripts/private-bench (or with a pcscd serving the vpcd readers).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "card/FISC.h"
#include "card/IFD.h"
#include "cardbench/CardBench.h"

namespace {

// Connects to a bank card in slot 0 with the issuer file selected.
struct Session {
  Session() : card(0, rvp::cardbench::loadProfile("bank")) {
    const std::string& reader = card.readerName();
    stCardStatus status;
    if (IFD_ConnectReader() != 0 || IFD_ConnectCard(&hCard, reader.c_str(), &status) != 0) {
      throw std::runtime_error("cannot connect to the bench card");
    }
    const unsigned char aid[] = {0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00, 0x00, 0x01, 0x72, 0x95, 0x00, 0x01};
    unsigned char answer[64];
    std::uint32_t length = 0;
    const unsigned char issuerFile[2] = {0x10, 0x01};
    FiscSW sw = 0;
    if (IFD_T1Transmit(hCard, aid, sizeof aid, answer, sizeof answer, &length) != 0 ||
        FISC_SelectEF(hCard, issuerFile, &sw) != 0 || sw != 0x9000) {
      throw std::runtime_error("cannot select the issuer file");
    }
  }
  ~Session() {
    IFD_DisConnectCard(hCard, 0);
    IFD_DisConnectReader();
  }
  rvp::cardbench::BenchCard card;
  std::uint32_t hCard = 0;
};

double medianMicroseconds(std::vector<double>& samples) {
  if (samples.empty()) return 0;
  std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
  return samples[samples.size() / 2];
}

template <typename Command>
void roundTrips(benchmark::State& state, Command command) {
  Session session;
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    FiscSW sw = 0;
    const std::uint32_t rv = command(session.hCard, &sw);
    samples.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (rv != 0 || sw != 0x9000) {
      state.SkipWithError("the card refused the command");
      break;
    }
  }
  state.counters["median_us"] = medianMicroseconds(samples);
}

void BM_ReadRecord(benchmark::State& state) {
  roundTrips(state, [](std::uint32_t hCard, FiscSW* sw) {
    unsigned char data[256];
    unsigned char length = 0;
    return FISC_ReadRecord(hCard, 3, 0, data, sizeof data, &length, sw);
  });
}

void BM_SelectEF(benchmark::State& state) {
  roundTrips(state, [](std::uint32_t hCard, FiscSW* sw) {
    const unsigned char issuerFile[2] = {0x10, 0x01};
    return FISC_SelectEF(hCard, issuerFile, sw);
  });
}

BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_SelectEF)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
