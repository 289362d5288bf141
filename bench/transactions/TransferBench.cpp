// One page-driven Transfer through pcscd and vpcd to the virtual card: how much CPU the plug-in's own
// thread spends against the time it waits for the card, and how many APDUs one transfer sends.
// Run under scripts/private-bench (or with a pcscd serving the vpcd readers).
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <memory>
#include <string>

#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "appkit/ScriptedUser.h"
#include "cardbench/CardBench.h"

namespace {

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A bank transfer (with the transfer check answered by a scripted user) or a postal one that shows no
// check, on a postal card in slot 0.
void transfers(benchmark::State& state, bool withCheck) {
  rvp::cardbench::BenchCard card(0, rvp::cardbench::loadProfile("postal"));
  appkit::app().resetForTesting();
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetbaReaderName(card.readerName().c_str());
  if (ctrl.ConnectCard() != 0) {
    state.SkipWithError("cannot connect to the bench card");
    return;
  }
  ctrl.SetbaPIN("567890");
  ctrl.SetbaIFD_Chk_Code("CHK00001");
  ctrl.SetbaIFD_ID("TERM0001");
  ctrl.SetbAccountID("1");
  ctrl.SetOptionData(1, "20261210131500");
  ctrl.SetSessionId("SESSION000000001");
  ctrl.SetbaMoney("12300");
  ctrl.SetbaAccept_No("004");
  ctrl.SetbaImport_Account("1234567890");
  ctrl.SetbaP_CODE(withCheck ? "" : "I03533");

  double cpu = 0, wall = 0, apdus = 0;
  for (auto _ : state) {
    std::unique_ptr<appkit::ScriptedUser> user;
    if (withCheck) {
      user = std::make_unique<appkit::ScriptedUser>();
      user->expectWindow("ATM_Trans_Dlg").click("btnOK");
    }
    card.clearApduLog();
    const double cpuStart = threadCpuSeconds(), wallStart = wallSeconds();
    const long result = ctrl.Transfer();
    cpu += threadCpuSeconds() - cpuStart;
    wall += wallSeconds() - wallStart;
    apdus += static_cast<double>(card.apduLog().size());
    if (result != 0) {
      state.SkipWithError("the transfer failed");
      break;
    }
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0) return;
  state.counters["cpu_us"] = 1e6 * cpu / n;
  state.counters["card_wait_us"] = 1e6 * (wall - cpu) / n;
  state.counters["apdus"] = apdus / n;
}

void BM_TransferWithCheck(benchmark::State& state) { transfers(state, true); }
void BM_PostalTransferNoCheck(benchmark::State& state) { transfers(state, false); }

BENCHMARK(BM_TransferWithCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PostalTransferNoCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
