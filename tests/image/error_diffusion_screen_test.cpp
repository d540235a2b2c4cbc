// The image error-diffusion screen: when a column restarts from the tables, and the white reset.
// (Its outputs on real images and curves beyond the full scale are golden.)
#include <gtest/gtest.h>

#include <vector>

#include "config/tone_curve.h"
#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_screen.h"
#include "support/raster.h"

namespace {

using test::Bytes;

constexpr int32_t kSentinelError = 7777;  // restart error of the probe tables
constexpr int32_t kSentinelBias = 4242;

std::vector<int32_t> IdentityCurve() {
  std::vector<int32_t> curve(kToneCurveSize);
  for (int i = 0; i < kToneCurveSize; ++i) curve[i] = i;
  return curve;
}

// Tables whose restarts are recognisable: every restart state holds the sentinels.
struct ProbeTables {
  std::vector<int32_t> error =
      std::vector<int32_t>(kImgBucketCount * kImgRestartCycle, kSentinelError);
  std::vector<int32_t> bias =
      std::vector<int32_t>(kImgBucketCount * kImgRestartCycle, kSentinelBias);
  ErrorDiffusionTables tables = BuiltInErrorDiffusionTables();
  ProbeTables() {
    tables.restartError = reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(error.data());
    tables.restartBias = reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(bias.data());
  }
};

// The error a pixel in the middle of the second row holds, after a row of target `above` and
// one of target `below` (amount = 2550 - target under the identity curve).
int32_t SecondRowError(int above, int below, const std::vector<int32_t>& curve) {
  const ProbeTables probe;
  ImageErrorDiffusion diffusion(30, curve.data(), probe.tables);
  std::vector<uint8_t> dots(30);
  int32_t seen = 0;
  const std::vector<uint16_t> first(30, static_cast<uint16_t>(2550 - above)),
      second(30, static_cast<uint16_t>(2550 - below));
  diffusion.DiffuseRow(0, first.data(), dots.data());
  diffusion.DiffuseRow(1, second.data(), dots.data(), [&](int x, int32_t error, int32_t bias) {
    if (x == 15) seen = error == kSentinelError && bias == kSentinelBias ? -1 : error;
  });
  return seen;
}

TEST(ErrorDiffusionScreen, RestartsWhenTheTargetMovesMoreThan200) {
  const std::vector<int32_t> curve = IdentityCurve();
  const struct {
    int above, below;
    bool restarts;
  } cases[] = {{1000, 1200, false}, {1000, 1201, true},  {1000, 800, false}, {1000, 799, true},
               {2550, 2549, true},  {2550, 2550, false}, {5, 205, false},    {5, 206, true}};
  for (const auto& c : cases)
    EXPECT_EQ(SecondRowError(c.above, c.below, curve) == -1, c.restarts)
        << c.above << " -> " << c.below;
  // White pixels reset their column: -150 ahead and -150 below, no restart on the next white.
  EXPECT_EQ(SecondRowError(0, 0, curve), -300);
}

}  // namespace
