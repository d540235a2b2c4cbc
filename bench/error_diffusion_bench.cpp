// Throughput of the image error-diffusion screen at 4096 x 4096, to be read beside
// BM_FloydSteinbergBaseline (same input pattern) in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/screening_state.h"
#include "image/error_diffusion_screen.h"

#include "bench_pages.h"

namespace {

constexpr int kSide = 4096;

// A state with the identity tone curve.
const ScreeningState& IdentityState() {
  static const ScreeningState state = [] {
    ScreeningState s;
    for (int i = 0; i < kToneCurveSize; ++i) s.toneCurve[i] = i;
    return s;
  }();
  return state;
}

// 0: the baseline's pattern; 1: a vertical ramp; 2: pseudo-random noise (restarts everywhere).
std::vector<uint8_t> Input(int kind) {
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  uint32_t noise = 12345;
  for (size_t i = 0; i < image.size(); ++i) {
    noise = noise * 1664525u + 1013904223u;
    image[i] = kind == 0   ? static_cast<uint8_t>((i * 7 + i / kSide) & 0xFF)
               : kind == 1 ? static_cast<uint8_t>(255 - (i / kSide) * 256 / kSide)
                           : static_cast<uint8_t>(noise >> 24);
  }
  return image;
}

void BM_ErrorDiffusionScreen(benchmark::State& state) {
  const ScreeningState& identity = IdentityState();
  std::vector<uint8_t> image = Input(static_cast<int>(state.range(0)));
  std::vector<uint8_t> out(image.size());
  for (auto _ : state) {
    RunErrorDiffusionScreen(identity, image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_ErrorDiffusionScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
