// korvel_context_screen_image (1 and 2 bits, the caller's image through the error diffusion) and
// korvel_context_screen_image_4bit with the packed strides against the same call with both strides
// 64 bytes wider, in the same run: a page whose rows are wider than packed must screen about as
// fast. range 0: bits per pixel; range 1: the bytes each row adds to the packed strides.
#include <benchmark/benchmark.h>
#include <korvel/korvel_context.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSide = 4096;

size_t PackedStride(int width, int bits) {
  return static_cast<size_t>((int64_t{width} * bits + 31) >> 3 & ~int64_t{3});
}

void BM_ContextImageStrided(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const size_t extra = static_cast<size_t>(state.range(1));
  const size_t sourceStride = PackedStride(kSide, 8) + extra;
  const size_t outputStride = PackedStride(kSide, bits) + extra;
  // The same pixels at either stride; the bytes past the width stay 0.
  std::vector<uint8_t> image(sourceStride * kSide);
  for (size_t y = 0; y < kSide; ++y)
    for (size_t x = 0; x < kSide; ++x)
      image[sourceStride * y + x] = static_cast<uint8_t>((x * 7 + y) & 0xFF);
  std::vector<uint8_t> out(outputStride * kSide);
  korvel_context* context = nullptr;
  if (korvel_context_create(&context) != KORVEL_OK) {
    state.SkipWithError("no context");
    return;
  }
  const korvel_image_options options = {KORVEL_TYPE_IMAGE, 1, 1, 0, 0};
  for (auto _ : state) {
    const korvel_status status =
        bits == 4 ? korvel_context_screen_image_4bit(context, image.data(), sourceStride,
                                                     out.data(), outputStride, kSide, kSide)
                  : korvel_context_screen_image(context, bits, &options, image.data(), sourceStride,
                                                out.data(), outputStride, kSide, kSide);
    if (status != KORVEL_OK) {
      state.SkipWithError("refused");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  korvel_context_destroy(context);
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kSide) * kSide / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ContextImageStrided)
    ->Args({1, 0})
    ->Args({1, 64})
    ->Args({2, 0})
    ->Args({2, 64})
    ->Args({4, 0})
    ->Args({4, 64})
    ->Unit(benchmark::kMillisecond);

}  // namespace
