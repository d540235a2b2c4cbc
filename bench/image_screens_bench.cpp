// Throughput of the matrix screens (template types 39..42) at 4096 x 4096: the screening call
// itself, on a smooth image and on noise (every lookup-table row in use), and the whole 2-bit
// image call. The Floyd-Steinberg baseline runs in the same program (template_bench.cpp).
#include <benchmark/benchmark.h>
#include <korvel/korvel.h>

#include <cstdint>
#include <vector>

#include "image/dot_ditherers.h"
#include "image/threshold_matrices.h"

#include "bench_pages.h"

namespace {

constexpr int kSide = 4096;

void BM_SmallDotScreen(benchmark::State& state) {
  const std::vector<uint8_t> image = BenchImage(kSide, state.range(0));
  std::vector<uint8_t> out(image.size());
  BuildSDotTable();
  for (auto _ : state) {
    C2BitDitherSDot ditherer(0, 2, 1);
    ditherer.Dither(image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_SmallDotScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SmallMediumDotScreen(benchmark::State& state) {
  const std::vector<uint8_t> image = BenchImage(kSide, state.range(0));
  std::vector<uint8_t> out(image.size());
  for (auto _ : state) {
    DitherSMDot(image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_SmallMediumDotScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SmallMediumLargeDotScreen(benchmark::State& state) {
  const std::vector<uint8_t> image = BenchImage(kSide, state.range(0));
  std::vector<uint8_t> out(image.size());
  for (auto _ : state) {
    DitherSMLDot(image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_SmallMediumLargeDotScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MatrixScreen257(benchmark::State& state) {
  const std::vector<uint8_t> image = BenchImage(kSide, state.range(0));
  std::vector<uint8_t> out(image.size());
  const CDitherBase ditherer(g_thresholdMatrix257, 0, 321, 1);
  for (auto _ : state) {
    ditherer.Dither(image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_MatrixScreen257)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole 2-bit image call of a matrix type: allocation, screening (for 42 on the grid
// widened by 20 columns) and packing.
void BM_ImageCall2Bit(benchmark::State& state) {
  KORVEL_Init(0);
  std::vector<uint8_t> image = BenchImage(kSide, 0);
  std::vector<uint8_t> out(static_cast<size_t>(kSide) / 4 * kSide);
  const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(state.range(0));
  for (auto _ : state) {
    KORVEL_GetImageTempateData_2Bit(image.data(), out.data(), kSide, kSide, type, 1, 1,
                                    __QUENTAL_DOT_MODE(0), false);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_ImageCall2Bit)->Arg(39)->Arg(40)->Arg(41)->Arg(42)->Unit(benchmark::kMillisecond);

// The whole 1-bit image call of the caller's image through the error-diffusion screen (type
// 34, whole-pixel cells), to be read beside BM_FloydSteinbergBaseline and
// BM_ErrorDiffusionScreen in the same run.
void BM_ImageCall1BitErrorDiffusion(benchmark::State& state) {
  KORVEL_Init(0);
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  for (size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<uint8_t>((i * 7 + i / kSide) & 0xFF);  // the baseline's pattern
  std::vector<uint8_t> out(static_cast<size_t>(kSide) / 8 * kSide);
  for (auto _ : state) {
    KORVEL_GetImageTempateData_1Bit(image.data(), out.data(), kSide, kSide,
                                    __QUENTAL_TEMPLATE_TYPE(34), 1, 1, __QUENTAL_DOT_MODE(0),
                                    false);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_ImageCall1BitErrorDiffusion)->Unit(benchmark::kMillisecond);

// The whole 1-bit image call of the caller's image through the other screens of the cell grid:
// range 0 the template type, range 1 the template diffusion, range 2 the cell factor.
void BM_ImageCall1BitScreens(benchmark::State& state) {
  KORVEL_Init(0);
  std::vector<uint8_t> image = BenchImage(kSide, 1);
  std::vector<uint8_t> out(static_cast<size_t>(kSide) / 8 * kSide);
  const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(state.range(0));
  const int cell = static_cast<int>(state.range(2));
  for (auto _ : state) {
    KORVEL_GetImageTempateData_1Bit(image.data(), out.data(), kSide, kSide, type, cell, cell,
                                    __QUENTAL_DOT_MODE(0), state.range(1) != 0);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_ImageCall1BitScreens)
    ->Args({34, 1, 1})
    ->Args({34, 0, 2})
    ->Args({40, 0, 1})
    ->Args({42, 0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
