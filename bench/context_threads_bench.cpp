// Four 4096 x 4096 inks, each on its own context, screened by the 1-bit error-diffusion image
// call on 1 or 2 host threads (ink i on thread i mod T). Read the ratio of the two real times:
// it shows how far independent contexts scale on this machine. On a machine busy with other
// work the real times say little; the counter "ms CPU/ink" (CPU time of the screening threads
// per ink) shows whether the threads slow each other down, which is what limits the scaling
// when the cores are free.
#include <benchmark/benchmark.h>
#include <korvel/korvel_context.h>

#include <time.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

constexpr int kSide = 4096;
constexpr int kInks = 4;

struct Ink {
  korvel_context* context = nullptr;
  std::vector<uint8_t> plane;
  std::vector<uint8_t> screened;
};

std::vector<Ink> MakeInks() {
  std::vector<Ink> inks(kInks);
  for (int i = 0; i < kInks; ++i) {
    korvel_context_create(&inks[i].context);
    korvel_context_set_quality(inks[i].context, 0);
    const int curve[] = {0, 20 + 5 * i, 60, 100};
    korvel_context_set_tone_curve(inks[i].context, curve, 4);
    inks[i].plane.resize(static_cast<size_t>(kSide) * kSide);
    for (size_t p = 0; p < inks[i].plane.size(); ++p)
      inks[i].plane[p] = static_cast<uint8_t>((p * (7 + i) + p / kSide) & 0xFF);
    inks[i].screened.resize(static_cast<size_t>(kSide / 8) * kSide);
  }
  return inks;
}

double ThreadCpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec * 1e-9;
}

void ScreenInk(Ink& ink) {
  const korvel_image_options callerImage = {34, 1, 1, 0, 0};
  korvel_context_screen_image(ink.context, 1, &callerImage, ink.plane.data(), kSide,
                              ink.screened.data(), kSide / 8, kSide, kSide);
}

void BM_FourInksOnContexts(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  std::vector<Ink> inks = MakeInks();
  std::atomic<int64_t> cpuMicroseconds{0};
  for (auto _ : state) {
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
      workers.emplace_back([&inks, &cpuMicroseconds, t, threads] {
        const double start = ThreadCpuSeconds();
        for (int i = t; i < kInks; i += threads) ScreenInk(inks[i]);
        cpuMicroseconds += static_cast<int64_t>((ThreadCpuSeconds() - start) * 1e6);
      });
    for (std::thread& worker : workers) worker.join();
  }
  state.counters["ms CPU/ink"] =
      cpuMicroseconds.load() / 1e3 / (static_cast<double>(state.iterations()) * kInks);
  for (Ink& ink : inks) korvel_context_destroy(ink.context);
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kInks) * kSide * kSide / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FourInksOnContexts)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
