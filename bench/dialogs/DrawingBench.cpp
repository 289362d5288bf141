// How long one drawing of a keypad button takes: its characters among its noise strokes, into a fresh
// image. A form draws its ten keys, four displays and the code image when it opens, and one display
// again at every key press.
#include <benchmark/benchmark.h>

#include <string>

#include "CaptchaButton.h"

namespace {

void drawButton(benchmark::State& state, double width, double height, const std::string& text, bool code) {
  CaptchaButton button;
  button.setFrame(graphics::Rect::make(0, 0, width, height));
  for (auto _ : state) {
    if (code) {
      button.CaptchaMode(text);
    } else {
      button.SetValue(text);
    }
    benchmark::DoNotOptimize(button.drawnImage().get());
  }
}

void BM_Key(benchmark::State& state) { drawButton(state, 56, 44, "7", false); }
void BM_AccountDisplay(benchmark::State& state) { drawButton(state, 300, 32, "7001234567890123", false); }
void BM_CodeImage(benchmark::State& state) { drawButton(state, 120, 40, "123456", true); }

BENCHMARK(BM_Key);
BENCHMARK(BM_AccountDisplay);
BENCHMARK(BM_CodeImage);

}  // namespace

BENCHMARK_MAIN();
