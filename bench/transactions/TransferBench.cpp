// One page-driven Transfer through pcscd and vpcd to the virtual card: the plug-in's own CPU, the CPU
// the PC/SC client library spends on its behalf, the wait for pcscd and the card, and how many APDUs one
// transfer sends; and the sealing of its request against the raw primitives it uses.
// Run under scripts/private-bench (or with a pcscd serving the vpcd readers).
#include <benchmark/benchmark.h>

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include <memory>
#include <string>
#include <vector>

#include "PcscTimer.h"
#include "ZododovuRavuVODCtrl.h"
#include "appkit/Application.h"
#include "appkit/ScriptedUser.h"
#include "cardbench/CardBench.h"
#include "crypto/rsaseal.h"

namespace {

using bench::threadCpuSeconds;

// A bank transfer (with the transfer check answered by a scripted user) or a postal one that shows no
// check, on a postal card in slot 0. Per transfer: plugin_cpu_us, the plug-in's own thread CPU outside
// the PC/SC calls; pcsc_client_cpu_us, the thread CPU inside them (pcsc-lite's client); card_wait_us,
// the wall time inside them less that CPU (pcscd, vpcd and the card).
void transfers(benchmark::State& state, bool withCheck) {
  rvp::cardbench::BenchCard card(0, rvp::cardbench::loadProfile("postal"));
  appkit::app().resetForTesting();
  ZododovuRavuVODCtrl ctrl;
  const bench::PcscTimer pcsc;
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

  double cpu = 0, pcscCpu = 0, pcscWall = 0, apdus = 0;
  for (auto _ : state) {
    std::unique_ptr<appkit::ScriptedUser> user;
    if (withCheck) {
      user = std::make_unique<appkit::ScriptedUser>();
      user->expectWindow("ATM_Trans_Dlg").click("btnOK");
    }
    card.clearApduLog();
    const bench::PcscTime pcscStart = pcsc.spent();
    const double cpuStart = threadCpuSeconds();
    const long result = ctrl.Transfer();
    cpu += threadCpuSeconds() - cpuStart;
    const bench::PcscTime pcscEnd = pcsc.spent();
    pcscCpu += pcscEnd.cpu - pcscStart.cpu;
    pcscWall += pcscEnd.wall - pcscStart.wall;
    apdus += static_cast<double>(card.apduLog().size());
    if (result != 0) {
      state.SkipWithError("the transfer failed");
      break;
    }
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0) return;
  state.counters["plugin_cpu_us"] = 1e6 * (cpu - pcscCpu) / n;
  state.counters["pcsc_client_cpu_us"] = 1e6 * pcscCpu / n;
  state.counters["card_wait_us"] = 1e6 * (pcscWall - pcscCpu) / n;
  state.counters["apdus"] = apdus / n;
}

// The request envelope against the OpenSSL primitives it is made of, in the same run: HMAC-SHA1 of the
// MAC window, 16 random bytes, two-key Triple-DES of the request, RSA of the session number under a key
// parsed beforehand, and the base64 of both. runCrypto should cost at most about 1.5 times these.
std::string rawSeal(const std::string& request, EVP_PKEY* key) {
  static const unsigned char macKey[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  static const unsigned char iv[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int macLength = 0;
  HMAC(EVP_sha1(), macKey, 16, reinterpret_cast<const unsigned char*>(request.data()) + 32, 30, mac, &macLength);
  unsigned char session[16];
  RAND_bytes(session, sizeof session);

  std::vector<unsigned char> cipher(request.size() + 64);
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  int n = 0, tail = 0;
  EVP_EncryptInit_ex(ctx, EVP_des_ede_cbc(), nullptr, session, iv);
  EVP_EncryptUpdate(ctx, cipher.data(), &n, reinterpret_cast<const unsigned char*>(request.data()),
                    static_cast<int>(request.size()));
  EVP_EncryptUpdate(ctx, cipher.data() + n, &tail, mac, 28);
  n += tail;
  EVP_EncryptFinal_ex(ctx, cipher.data() + n, &tail);
  n += tail;
  EVP_CIPHER_CTX_free(ctx);

  unsigned char sealed[256];
  std::size_t sealedLength = sizeof sealed;
  EVP_PKEY_CTX* pctx = EVP_PKEY_CTX_new(key, nullptr);
  EVP_PKEY_encrypt_init(pctx);
  EVP_PKEY_CTX_set_rsa_padding(pctx, RSA_PKCS1_PADDING);
  EVP_PKEY_encrypt(pctx, sealed, &sealedLength, session, sizeof session);
  EVP_PKEY_CTX_free(pctx);

  std::vector<unsigned char> text(4 * (static_cast<std::size_t>(n) + sealedLength) / 3 + 16);
  const int first = EVP_EncodeBlock(text.data(), cipher.data(), n);
  const int second = EVP_EncodeBlock(text.data() + first, sealed, static_cast<int>(sealedLength));
  return std::string(reinterpret_cast<char*>(text.data()), static_cast<std::size_t>(first + second));
}

void BM_SealingAgainstRawPrimitives(benchmark::State& state) {
  std::string request = "<Vennoral><tx_code>MSG2521U</tx_code><session_id>SESSION000000001</session_id>";
  while (request.size() < 560) request += "<trns_in_account>0000001234567890</trns_in_account>";
  request += "</Vennoral>";
  PKeyPtr key = readRSAPuK();
  ZododovuRavuVODCtrl ctrl;
  double sealing = 0, raw = 0;
  for (auto _ : state) {
    double start = threadCpuSeconds();
    benchmark::DoNotOptimize(ctrl.runCrypto(request));
    sealing += threadCpuSeconds() - start;
    start = threadCpuSeconds();
    benchmark::DoNotOptimize(rawSeal(request, key.get()));
    raw += threadCpuSeconds() - start;
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || raw <= 0) return;
  state.counters["runCrypto_us"] = 1e6 * sealing / n;
  state.counters["raw_us"] = 1e6 * raw / n;
  state.counters["ratio"] = sealing / raw;
}

void BM_TransferWithCheck(benchmark::State& state) { transfers(state, true); }
void BM_PostalTransferNoCheck(benchmark::State& state) { transfers(state, false); }

BENCHMARK(BM_SealingAgainstRawPrimitives)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TransferWithCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PostalTransferNoCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
