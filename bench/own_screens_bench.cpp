// What the C interface adds to korvel's own screens at 2048 x 2048: the screen's rows alone
// (amounts in, drop levels out) against the whole-page call (tone curve, packing) and the same
// page fed as a stream in bands of 64 rows, for fine at 1 and 2 bits. The textbook
// Floyd-Steinberg baseline runs in the same program (template_bench.cpp).
#include <benchmark/benchmark.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/own_screen.h"

#include "bench_pages.h"

namespace {

constexpr int kSide = 2048;
constexpr int kBand = 64;

korvel_screen_options Fine(int bits) {
  korvel_screen_options options;
  korvel_screen_options_init(&options, KORVEL_SCREEN_FINE, bits);
  return options;
}

int PackedStride(int bits) {
  return ((kSide * bits + 31) >> 5) * 4;
}

// The screen's own rows, the amounts made beforehand (identity tone curve).
void BM_FineScreenRowsAlone(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::vector<uint8_t> image = BenchImage(kSide, 0);
  std::vector<uint16_t> amounts(image.size());
  std::transform(image.begin(), image.end(), amounts.begin(),
                 [](uint8_t grey) { return static_cast<uint16_t>(2550 - 10 * grey); });
  std::vector<uint8_t> levels(kSide);
  const DropSet drops = bits == 1 ? DropSet::OneBit() : DropSet::ThreeDrops();
  for (auto _ : state) {
    const auto screen = MakeFineScreen(kSide, kSide, drops);
    for (int y = 0; y < kSide; ++y) {
      screen->TakeRow(&amounts[static_cast<size_t>(y) * kSide]);
      while (screen->GiveRow(levels.data())) benchmark::DoNotOptimize(levels.data());
    }
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_FineScreenRowsAlone)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_FineWholePage(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::vector<uint8_t> image = BenchImage(kSide, 0);
  std::vector<uint8_t> out(static_cast<size_t>(PackedStride(bits)) * kSide);
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  const korvel_screen_options options = Fine(bits);
  for (auto _ : state) {
    korvel_context_screen(context, &options, image.data(), kSide, out.data(), PackedStride(bits),
                          kSide, kSide);
    benchmark::DoNotOptimize(out.data());
  }
  korvel_context_destroy(context);
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_FineWholePage)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_FineStreamedInBands(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const std::vector<uint8_t> image = BenchImage(kSide, 0);
  std::vector<uint8_t> out(static_cast<size_t>(PackedStride(bits)) * kSide);
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  const korvel_screen_options options = Fine(bits);
  for (auto _ : state) {
    korvel_stream* stream = nullptr;
    korvel_context_begin_screen_stream(context, &options, kSide, kSide, &stream);
    int written = 0;
    for (int y = 0; y < kSide; y += kBand) {
      int now = 0;
      korvel_stream_feed(stream, &image[static_cast<size_t>(y) * kSide], kSide, kBand,
                         &out[static_cast<size_t>(PackedStride(bits)) * written],
                         PackedStride(bits), &now);
      written += now;
    }
    korvel_stream_destroy(stream);
    benchmark::DoNotOptimize(out.data());
  }
  korvel_context_destroy(context);
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK(BM_FineStreamedInBands)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
