// Throughput of the uniform-level templates beside the Floyd-Steinberg baseline, 4096 x 4096.
#include <benchmark/benchmark.h>
#include <korvel/korvel.h>

#include <vector>

#include "floyd_steinberg.h"

#include "bench_pages.h"

namespace {

constexpr int kSide = 4096;

void BM_FloydSteinbergBaseline(benchmark::State& state) {
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  for (size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<uint8_t>((i * 7 + i / kSide) & 0xFF);
  std::vector<uint8_t> out(static_cast<size_t>(kSide / 8) * kSide);
  for (auto _ : state) {
    quality::FloydSteinberg1Bit(image.data(), kSide, kSide, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_FloydSteinbergBaseline)->Unit(benchmark::kMillisecond);

template <int (*Generate)(unsigned char*, int, int, int), int kBits>
void BM_Template(benchmark::State& state) {
  KORVEL_Init(50);
  std::vector<uint8_t> out(static_cast<size_t>(kSide) * kBits / 8 * kSide);
  for (auto _ : state) {
    Generate(out.data(), kSide, kSide, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK_TEMPLATE(BM_Template, KORVEL_GetTempateData_1Bit, 1)
    ->Arg(50)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Template, KORVEL_GetTempateData_2Bit, 2)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Template, KORVEL_GetTempateData_4Bit, 4)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

void BM_FourPlaneSplit(benchmark::State& state) {
  KORVEL_Init(50);
  const size_t size = static_cast<size_t>(kSide) / 4 * kSide;
  std::vector<uint8_t> a(size), b(size), c(size), d(size);
  for (auto _ : state) {
    KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), kSide, kSide);
    benchmark::DoNotOptimize(d.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_FourPlaneSplit)->Unit(benchmark::kMillisecond);

void BM_ImageTemplate4Bit(benchmark::State& state) {
  KORVEL_Init(50);
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      image[static_cast<size_t>(y) * kSide + x] = static_cast<uint8_t>((x + y) / 32);
  std::vector<uint8_t> out(static_cast<size_t>(kSide) / 2 * kSide);
  for (auto _ : state) {
    KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_ImageTemplate4Bit)->Unit(benchmark::kMillisecond);

}  // namespace
