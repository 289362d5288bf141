// What the binding costs: one property write and one method call made by a page script, through the test
// browser's script engine, the browser functions and the binding into the controller; beside the same
// property write and method call made on the controller directly in C++.
#include <benchmark/benchmark.h>

#include <duktape.h>

#include <cstdio>
#include <memory>

#include "ZododovuRavuVODCtrl.h"
#include "testbrowser/Browser.h"

namespace {

// One page with the plug-in embedded, shared by the page benchmarks.
testbrowser::Browser& page() {
  static std::unique_ptr<testbrowser::Browser> browser = [] {
    testbrowser::PageDescription description;
    description.location = "https://webatm.postbank.example/atm/index.html";
    testbrowser::EmbedDescription embed;
    embed.id = "plugin";
    embed.mimeType = "application/roda-vennoral-plugin";
    embed.params = {{"type", embed.mimeType}, {"id", "plugin"}};
    description.embeds.push_back(embed);
    testbrowser::BrowserOptions options;
    options.pluginPath = PLUGIN_LIBRARY;
    options.quiet = true;
    auto b = std::make_unique<testbrowser::Browser>(description, options);
    if (!b->loadPlugin()) std::fprintf(stderr, "cannot load %s\n", PLUGIN_LIBRARY);
    b->embedAll();
    return b;
  }();
  return *browser;
}

void runScript(benchmark::State& state, const char* script) {
  duk_context* ctx = page().script();
  // Compiled once, so the loop measures the call and not the compiler.
  if (duk_pcompile_string(ctx, 0, script) != 0) {
    state.SkipWithError(duk_safe_to_string(ctx, -1));
    duk_pop(ctx);
    return;
  }
  for (auto _ : state) {
    duk_dup_top(ctx);
    if (duk_pcall(ctx, 0) != 0) {
      state.SkipWithError(duk_safe_to_string(ctx, -1));
      duk_pop(ctx);
      break;
    }
    duk_pop(ctx);
  }
  duk_pop(ctx);
}

void PagePropertyWrite(benchmark::State& state) { runScript(state, "plugin.baReaderName = 'Virtual PCD 00 00';"); }
void PageMethodCall(benchmark::State& state) { runScript(state, "plugin.caReaderGet(0);"); }
// The script engine alone, for scale: the same statements on a plain page object.
void PagePlainObjectWrite(benchmark::State& state) {
  runScript(state, "if (!this.plain) this.plain = {}; plain.baReaderName = 'Virtual PCD 00 00';");
}

void DirectPropertyWrite(benchmark::State& state) {
  ZododovuRavuVODCtrl ctrl;
  for (auto _ : state) {
    ctrl.SetbaReaderName("Virtual PCD 00 00");
    benchmark::ClobberMemory();
  }
}

void DirectMethodCall(benchmark::State& state) {
  ZododovuRavuVODCtrl ctrl;
  for (auto _ : state) benchmark::DoNotOptimize(ctrl.GetcaReader(0));
}

BENCHMARK(PagePropertyWrite);
BENCHMARK(DirectPropertyWrite);
BENCHMARK(PageMethodCall);
BENCHMARK(DirectMethodCall);
BENCHMARK(PagePlainObjectWrite);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  page().tearDown();
  benchmark::Shutdown();
  return 0;
}
