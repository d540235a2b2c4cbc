// The tone curve set-up of an image call with a parameter file of many points beside one of
// eleven points (the shipped files), on an 8x8 image so that the set-up is most of the call;
// and beside it, the check of the same file that setting the quality level makes.
#include <benchmark/benchmark.h>
#include <korvel/korvel_context.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 8;

// A folder holding QntPassParam_50.ini with `points` points of a gentle curve.
std::string FolderWithCurve(int points) {
  char folder[] = "/tmp/korvel-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) std::abort();
  std::ofstream file(std::string(folder) + "/QntPassParam_50.ini");
  file << "[QNT_CURVE]\nEffectiveParams=" << points << "\n";
  for (int k = 1; k <= points; ++k)
    file << "Param" << k << "=" << (k - 1) * 100 / (points - 1) << "\n";
  return folder;
}

void BM_ImageCallWithFileCurve(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string folder = FolderWithCurve(points);
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  korvel_context_set_quality(context, 50);
  korvel_context_set_parameter_folder(context, folder.c_str());
  std::vector<unsigned char> grey(kSide * kSide, 128), dots(4 * kSide);
  const korvel_image_options options{34, 1, 1, 0, 0};
  for (auto _ : state) {
    korvel_context_screen_image(context, 1, &options, grey.data(), kSide, dots.data(), 4, kSide,
                                kSide);
    benchmark::DoNotOptimize(dots.data());
  }
  korvel_context_destroy(context);
  unlink((folder + "/QntPassParam_50.ini").c_str());
  rmdir(folder.c_str());
}
BENCHMARK(BM_ImageCallWithFileCurve)->Arg(11)->Arg(2551)->Unit(benchmark::kMillisecond);

void BM_SetQualityChecksFile(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const std::string folder = FolderWithCurve(points);
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  korvel_context_set_parameter_folder(context, folder.c_str());
  for (auto _ : state) {
    korvel_context_set_quality(context, 0);
    benchmark::DoNotOptimize(korvel_context_set_quality(context, 50));
  }
  korvel_context_destroy(context);
  unlink((folder + "/QntPassParam_50.ini").c_str());
  rmdir(folder.c_str());
}
BENCHMARK(BM_SetQualityChecksFile)->Arg(11)->Arg(2551)->Unit(benchmark::kMillisecond);

}  // namespace
