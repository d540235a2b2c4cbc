// Throughput of the threshold-mask screen on 4096 x 4096 beside the Floyd-Steinberg baseline
// (BM_FloydSteinbergBaseline in template_bench.cpp): two planes of 128 x 128 thresholds, 1 and
// 2 bits per pixel, with the plain walk (steps 1) and with steps of 3. The screen does the same
// work whatever the thresholds are, so the mask is filled with scrambled levels.
#include <benchmark/benchmark.h>
#include <korvel/korvel.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kSide = 4096;
constexpr int kMaskSide = 128;

IDitherMaskGenerator* LoadedMask() {
  static IDitherMaskGenerator* mask = [] {
    const int32_t header[] = {1, 2, kMaskSide, kMaskSide, 254};
    std::vector<uint8_t> stored;
    auto append = [&stored](uint32_t word) {
      for (int shift = 0; shift < 32; shift += 8)
        stored.push_back(static_cast<uint8_t>(word >> shift));
    };
    for (int32_t word : header) append(static_cast<uint32_t>(word));
    for (uint32_t i = 0; i < 2u * kMaskSide * kMaskSide; ++i) append((i * 2654435761u >> 7) % 255);
    IBufferProc* proc = BufferProc_Create();
    proc->Encode(stored.data(), static_cast<unsigned int>(stored.size()));
    BufferProc_Delete(proc);
    IDitherMaskGenerator* made = DitherMaskGenerator_Create();
    made->LoadMask(stored.data(), static_cast<int>(stored.size()));
    return made;
  }();
  return mask;
}

void BM_MaskDither(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int step = static_cast<int>(state.range(1));
  IDitherMaskGenerator* mask = LoadedMask();
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  for (size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<uint8_t>((i * 7 + i / kSide) & 0xFF);
  const int stride = ((kSide * bits + 31) >> 5) * 4;
  std::vector<uint8_t> out(static_cast<size_t>(stride) * kSide);
  for (auto _ : state) {
    mask->Dither(image.data(), out.data(), stride, kSide, kSide, 1, -17, 5, step, step, bits);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kSide) * kSide / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MaskDither)
    ->ArgNames({"bits", "step"})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 3})
    ->Args({2, 3})
    ->Unit(benchmark::kMillisecond);

}  // namespace
