// Throughput of the threshold-mask screen on 4096 x 4096 beside the Floyd-Steinberg baseline
// (BM_FloydSteinbergBaseline in template_bench.cpp), 1 and 2 bits per pixel, with the plain walk
// (steps 1) and with steps of 3. A 128 x 128 mask is the usual case; a 4096 x 4096 mask is the
// worst, where every output row prepares its thresholds afresh. The screen does the same work
// whatever the thresholds are, so the masks hold scrambled levels.
#include <benchmark/benchmark.h>
#include <korvel/korvel.h>

#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr int kSide = 4096;

std::vector<uint8_t> StoredMask(int side) {
  std::vector<uint8_t> stored;
  auto append = [&stored](uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
      stored.push_back(static_cast<uint8_t>(word >> shift));
    }
  };
  for (int32_t word : {1, 1, side, side, 254}) append(static_cast<uint32_t>(word));
  for (uint32_t i = 0; i < static_cast<uint32_t>(side) * side; ++i) {
    append((i * 2654435761u >> 7) % 255);
  }
  IBufferProc* proc = BufferProc_Create();
  proc->Encode(stored.data(), static_cast<unsigned int>(stored.size()));
  BufferProc_Delete(proc);
  return stored;
}

IDitherMaskGenerator* LoadedMask(int side) {
  static std::map<int, IDitherMaskGenerator*> masks;
  IDitherMaskGenerator*& mask = masks[side];
  if (mask == nullptr) {
    const std::vector<uint8_t> stored = StoredMask(side);
    mask = DitherMaskGenerator_Create();
    mask->LoadMask(stored.data(), static_cast<int>(stored.size()));
  }
  return mask;
}

void BM_MaskDither(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int step = static_cast<int>(state.range(1));
  IDitherMaskGenerator* mask = LoadedMask(static_cast<int>(state.range(2)));
  std::vector<uint8_t> image(static_cast<size_t>(kSide) * kSide);
  for (size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<uint8_t>((i * 7 + i / kSide) & 0xFF);
  }
  const int stride = ((kSide * bits + 31) >> 5) * 4;
  std::vector<uint8_t> out(static_cast<size_t>(stride) * kSide);
  for (auto _ : state) {
    mask->Dither(image.data(), out.data(), stride, kSide, kSide, 0, -17, 5, step, step, bits);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kSide) * kSide / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MaskDither)
    ->ArgNames({"bits", "step", "mask"})
    ->Args({1, 1, 128})
    ->Args({2, 1, 128})
    ->Args({1, 3, 128})
    ->Args({2, 3, 128})
    ->Args({1, 1, 4096})
    ->Args({2, 1, 4096})
    ->Args({1, 3, 4096})
    ->Unit(benchmark::kMillisecond);

}  // namespace
