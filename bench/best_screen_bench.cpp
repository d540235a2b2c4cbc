// Throughput of the best screen at 1 and 2 bits, the page streamed row by row, against the
// textbook serpentine Floyd-Steinberg on the same page in the same run (Mpx/s).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "floyd_steinberg.h"
#include "image/own_screen.h"

#include "bench_pages.h"

namespace {

constexpr int kWidth = 4960, kHeight = 1024;  // a 600 dpi A4 page's width

// Photograph-like greys: smooth shading, a few soft edges, fine texture and a little noise.
std::vector<uint8_t> PageGreys() {
  std::vector<uint8_t> grey(static_cast<size_t>(kWidth) * kHeight);
  uint32_t seed = 2026;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      double v = 128 + 90 * std::sin(x * 0.004) * std::cos(y * 0.006) + 20 * std::sin(x * 0.2);
      if ((x / 300 + y / 200) % 3 == 0) v -= 60;
      v += static_cast<int>(seed >> 28) - 8;
      grey[static_cast<size_t>(y) * kWidth + x] =
          static_cast<uint8_t>(std::lround(std::fmin(std::fmax(v, 0), 255)));
    }
  return grey;
}

void BM_BestScreen(benchmark::State& state) {
  const std::vector<uint8_t> grey = PageGreys();
  const DropSet drops = state.range(0) == 1 ? DropSet::OneBit() : DropSet::ThreeDrops();
  std::vector<uint16_t> amounts(grey.size());
  for (size_t i = 0; i < grey.size(); ++i) amounts[i] = static_cast<uint16_t>((255 - grey[i]) * 10);
  std::vector<uint8_t> out(grey.size());
  for (auto _ : state) {
    std::unique_ptr<OwnScreen> screen = MakeBestScreen(kWidth, kHeight, drops);
    size_t given = 0;
    for (int y = 0; y < kHeight; ++y) {
      screen->TakeRow(amounts.data() + static_cast<size_t>(y) * kWidth);
      while (screen->GiveRow(out.data() + given * kWidth)) ++given;
    }
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kWidth, kHeight);
}
BENCHMARK(BM_BestScreen)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_SerpentineFloydSteinbergOfTheBestScreensPage(benchmark::State& state) {
  const std::vector<uint8_t> grey = PageGreys();
  std::vector<uint8_t> image(static_cast<size_t>((kWidth + 3) & ~3) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      image[static_cast<size_t>(y) * ((kWidth + 3) & ~3) + x] =
          grey[static_cast<size_t>(y) * kWidth + x];
  std::vector<uint8_t> out(static_cast<size_t>((kWidth + 31) >> 5) * 4 * kHeight);
  for (auto _ : state) {
    quality::FloydSteinberg1Bit(image.data(), kWidth, kHeight, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kWidth, kHeight);
}
BENCHMARK(BM_SerpentineFloydSteinbergOfTheBestScreensPage)->Unit(benchmark::kMillisecond);

}  // namespace
