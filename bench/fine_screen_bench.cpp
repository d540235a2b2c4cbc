// Throughput of korvel's fine screen at one bit and two bits against a textbook serpentine
// Floyd-Steinberg taking the same rows (ink amounts in, one drop level a byte out, integer
// errors in 1/16), on a 4096 x 4096 page: range 0 a smooth gradient, range 1 noise. The packed
// 1-bit Floyd-Steinberg baseline of the other screens runs in the same program
// (template_bench.cpp).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/own_screen.h"

#include "bench_pages.h"

namespace {

constexpr int kSide = 4096;

std::vector<uint16_t> BenchAmounts(int64_t kind) {
  std::vector<uint16_t> amounts(static_cast<size_t>(kSide) * kSide);
  uint32_t seed = 12345;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      seed = seed * 1664525u + 1013904223u;
      amounts[static_cast<size_t>(y) * kSide + x] = static_cast<uint16_t>(
          kind == 0 ? (x + y) * kFullAmount / (2 * kSide - 2) : (seed >> 16) % (kFullAmount + 1));
    }
  return amounts;
}

// Textbook serpentine Floyd-Steinberg to the nearest drop level, rows in and out as the own
// screens take and give them.
class TextbookDiffusion final : public OwnScreen {
 public:
  TextbookDiffusion(int width, const DropSet& drops)
      : width_(width), drops_(drops), next_(width + 2), current_(width + 2), out_(width) {}

  int Delay() const override { return 0; }

  void TakeRow(const uint16_t* amounts) override {
    std::swap(current_, next_);
    std::fill(next_.begin(), next_.end(), 0);
    const bool leftward = (row_++ & 1) != 0;
    const int step = leftward ? -1 : 1;
    for (int i = 0; i < width_; ++i) {
      const int x = leftward ? width_ - 1 - i : i;
      const int want = amounts[x] * 16 + current_[x + 1];
      int level = 0;
      for (int l = 1; l < drops_.levels; ++l)
        if (2 * want >= (drops_.ink[l - 1] + drops_.ink[l]) * 16) level = l;
      out_[x] = static_cast<uint8_t>(level);
      const int error = want - drops_.ink[level] * 16;
      current_[x + 1 + step] += error * 7 / 16;
      next_[x + 1 - step] += error * 3 / 16;
      next_[x + 1] += error * 5 / 16;
      next_[x + 1 + step] += error / 16;
    }
    ready_ = true;
  }

  bool GiveRow(uint8_t* levels) override {
    if (!ready_) return false;
    std::copy(out_.begin(), out_.end(), levels);
    ready_ = false;
    return true;
  }

 private:
  int width_;
  DropSet drops_;
  std::vector<int> next_, current_;
  std::vector<uint8_t> out_;
  int row_ = 0;
  bool ready_ = false;
};

DropSet Drops(int bits) {
  return bits == 1 ? DropSet::OneBit() : DropSet::ThreeDrops();
}

void RunPage(OwnScreen& screen, const std::vector<uint16_t>& amounts, std::vector<uint8_t>& out) {
  size_t given = 0;
  for (int y = 0; y < kSide; ++y) {
    screen.TakeRow(amounts.data() + static_cast<size_t>(y) * kSide);
    while (screen.GiveRow(out.data() + given * kSide)) ++given;
  }
}

template <int kBits>
void BM_FineScreen(benchmark::State& state) {
  const std::vector<uint16_t> amounts = BenchAmounts(state.range(0));
  std::vector<uint8_t> out(amounts.size());
  for (auto _ : state) {
    const auto screen = MakeFineScreen(kSide, kSide, Drops(kBits));
    RunPage(*screen, amounts, out);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK_TEMPLATE(BM_FineScreen, 1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_FineScreen, 2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

template <int kBits>
void BM_TextbookDiffusion(benchmark::State& state) {
  const std::vector<uint16_t> amounts = BenchAmounts(state.range(0));
  std::vector<uint8_t> out(amounts.size());
  for (auto _ : state) {
    TextbookDiffusion screen(kSide, Drops(kBits));
    RunPage(screen, amounts, out);
    benchmark::DoNotOptimize(out.data());
  }
  ReportPixelRate(state, kSide, kSide);
}
BENCHMARK_TEMPLATE(BM_TextbookDiffusion, 1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TextbookDiffusion, 2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
