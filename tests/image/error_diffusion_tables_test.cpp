// The constant tables of the image error-diffusion screen (the generator's output, its screen's
// bytes golden): the exactness of the per-mille split for every weight the tables hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_tables.h"

namespace {

// The screen scales an error by a per-mille weight, value * w / 1000 truncated toward zero on
// the 32-bit product, by one multiply and shift. Errors stay within a few thousand (the screen
// tests check that on hostile inputs), so the values it splits lie well inside +-65536: that
// range is checked against plain division for every weight the tables hold, value by value.
TEST(ErrorDiffusionTables, PerMilleScalingIsExactOverTheReachableRange) {
  std::set<int32_t> weights(g_imgAheadWeightCycle, g_imgAheadWeightCycle + kImgWeightCycle);
  weights.insert(g_imgBelowWeightCycle, g_imgBelowWeightCycle + kImgWeightCycle);
  weights.insert(g_imgLightWeightA, g_imgLightWeightA + 151);
  weights.insert(g_imgLightWeightB, g_imgLightWeightB + 151);
  constexpr int32_t kReach = 1 << 16;
  int64_t wrong = 0;
  for (int32_t w : weights) {
    const int64_t multiplier = PerMilleMultiplier(w);
    for (int32_t value = -kReach; value <= kReach; ++value) {
      wrong += ScalePerMille(value, multiplier) != value * w / 1000;
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
