// What the benchmarks share: the pages they screen and the rate they report.
#ifndef KORVEL_BENCH_BENCH_PAGES_H
#define KORVEL_BENCH_BENCH_PAGES_H

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Reports megapixels a second for a width x height page screened in each iteration.
inline void ReportPixelRate(benchmark::State& state, int width, int height) {
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(width) * height / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

// A side x side grey page: kind 0 a smooth diagonal gradient, kind 1 pseudo-random noise (every
// grey in use).
inline std::vector<uint8_t> BenchImage(int side, int64_t kind) {
  std::vector<uint8_t> image(static_cast<size_t>(side) * side);
  uint32_t seed = 12345;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      seed = seed * 1664525u + 1013904223u;
      image[static_cast<size_t>(y) * side + x] =
          kind == 0 ? static_cast<uint8_t>((x + y) * 255 / (2 * side - 2))
                    : static_cast<uint8_t>(seed >> 24);
    }
  return image;
}

#endif
