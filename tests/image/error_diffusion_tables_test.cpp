// The constant tables of the image error-diffusion screen: every stated range, pinned
// beginning and share, the closed forms, and the exactness of the division by 1000.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <set>
#include <vector>

#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_tables.h"
#include "support/amount_grid.h"

namespace {

std::vector<int32_t> Head(const int32_t* values, int n) {
  return {values, values + n};
}

double MeanOf(const int32_t* row) {
  return std::accumulate(row, row + kImgRestartCycle, 0.0) / kImgRestartCycle;
}

int ZerosIn(const int32_t* row) {
  int zeros = 0;
  for (int k = 0; k < kImgRestartCycle; ++k) zeros += row[k] == 0;
  return zeros;
}

TEST(ErrorDiffusionTables, RestartErrorRangesRowsAndTrend) {
  for (int b = 0; b < kImgBucketCount; ++b) {
    for (int k = 0; k < kImgRestartCycle; ++k) {
      ASSERT_GE(g_imgRestartError[b][k], -1880) << b << "," << k;
      ASSERT_LE(g_imgRestartError[b][k], 2025) << b << "," << k;
    }
  }
  EXPECT_EQ(ZerosIn(g_imgRestartError[0]), kImgRestartCycle);
  EXPECT_EQ(ZerosIn(g_imgRestartError[264]), kImgRestartCycle);
  EXPECT_EQ(Head(g_imgRestartError[1], 4), (std::vector<int32_t>{1862, 1862, 1862, 1862}));
  EXPECT_EQ(Head(g_imgRestartError[100], 4), (std::vector<int32_t>{1166, 673, 693, 724}));
  EXPECT_EQ(Head(g_imgRestartError[200], 4), (std::vector<int32_t>{-1556, -784, 10, -613}));
  // The light rows are mostly large and positive; the values fall with the bucket.
  for (int b = 1; b <= 20; ++b) EXPECT_GT(MeanOf(g_imgRestartError[b]), 1300) << b;
  for (int b = 2; b < 264; ++b) {
    EXPECT_LE(MeanOf(g_imgRestartError[b]), MeanOf(g_imgRestartError[b - 1])) << b;
  }
  EXPECT_LT(MeanOf(g_imgRestartError[263]), -1000);
}

TEST(ErrorDiffusionTables, RestartBiasRangesRowsAndZeroShare) {
  for (int b = 0; b < kImgBucketCount; ++b) {
    for (int k = 0; k < kImgRestartCycle; ++k) {
      const int32_t v = g_imgRestartBias[b][k];
      ASSERT_TRUE(v == 0 || (v >= 474 && v <= 1287)) << b << "," << k << ": " << v;
    }
  }
  for (int b = 0; b <= 4; ++b) EXPECT_EQ(ZerosIn(g_imgRestartBias[b]), kImgRestartCycle) << b;
  for (int b = 5; b < 264; ++b) {
    EXPECT_LE(ZerosIn(g_imgRestartBias[b]), ZerosIn(g_imgRestartBias[b - 1])) << b;
  }
  const double shareAt100 = ZerosIn(g_imgRestartBias[100]) / double(kImgRestartCycle);
  EXPECT_NEAR(shareAt100, 0.41, 0.05);
  for (int b = 240; b < kImgBucketCount; ++b) EXPECT_EQ(ZerosIn(g_imgRestartBias[b]), 0) << b;
  EXPECT_EQ(Head(g_imgRestartBias[100], 4), (std::vector<int32_t>{0, 535, 494, 476}));
  EXPECT_EQ(Head(g_imgRestartBias[264], 4), (std::vector<int32_t>{1203, 1167, 1131, 1210}));
  for (int k = 0; k < kImgRestartCycle; ++k) {
    EXPECT_GE(g_imgRestartBias[264][k], 1052);
    EXPECT_LE(g_imgRestartBias[264][k], 1282);
  }
}

TEST(ErrorDiffusionTables, DotBiasAndWeightCycles) {
  EXPECT_EQ(Head(g_imgDotBias, 6), (std::vector<int32_t>{494, 543, 494, 494, 504, 594}));
  EXPECT_EQ(*std::min_element(g_imgDotBias, g_imgDotBias + kImgDotBiasCycle), 474);
  EXPECT_EQ(*std::max_element(g_imgDotBias, g_imgDotBias + kImgDotBiasCycle), 594);
  EXPECT_EQ(Head(g_imgAheadWeightCycle, 4), (std::vector<int32_t>{344, 379, 344, 343}));
  EXPECT_EQ(*std::min_element(g_imgAheadWeightCycle, g_imgAheadWeightCycle + kImgWeightCycle), 327);
  EXPECT_EQ(*std::max_element(g_imgAheadWeightCycle, g_imgAheadWeightCycle + kImgWeightCycle), 415);
  for (int i = 0; i < kImgWeightCycle; ++i) {
    EXPECT_EQ(g_imgBelowWeightCycle[i], 816 - g_imgAheadWeightCycle[i]) << i;
  }
}

TEST(ErrorDiffusionTables, LightTablesFollowTheirClosedForms) {
  for (int t = 0; t < kImgTargetCount; ++t) {
    const int32_t a = t <= 30 ? 440 : t >= 150 ? 371 : 440 - (69 * (t - 30) + 119) / 120;
    const int32_t b = t <= 30 ? 560 : t >= 150 ? 445 : 560 - (115 * (t - 30) + 119) / 120;
    ASSERT_EQ(g_imgLightWeightA[t], a) << t;
    ASSERT_EQ(g_imgLightWeightB[t], b) << t;
  }
  EXPECT_EQ(g_imgLightWeightA[31], 439);  // ceil(69 / 120) = 1
  EXPECT_EQ(g_imgLightWeightB[149], 445);
  const std::vector<int32_t> spacing = {15, 13, 11, 10, 10, 9, 8, 8, 8, 7,
                                        7,  7,  7,  6,  6,  6, 6, 6, 6, 5};
  for (int t = 0; t < kImgLightTableSize; ++t) {
    const bool used = t >= 3 && t <= 22;
    EXPECT_EQ(g_imgLightDotSpacing[t], used ? spacing[t - 3] : 0) << t;
    EXPECT_EQ(g_imgLightResetError[t], !used ? 0 : t <= 11 ? 1600 : t <= 21 ? 1500 : 1400) << t;
  }
}

TEST(ErrorDiffusionTables, TargetBuckets) {
  EXPECT_EQ(ImgTargetBucket(0), 0);
  EXPECT_EQ(ImgTargetBucket(9), 9);
  EXPECT_EQ(ImgTargetBucket(10), 10);
  EXPECT_EQ(ImgTargetBucket(19), 10);
  EXPECT_EQ(ImgTargetBucket(910), 100);
  EXPECT_EQ(ImgTargetBucket(919), 100);
  EXPECT_EQ(ImgTargetBucket(2549), 263);
  EXPECT_EQ(ImgTargetBucket(2550), 264);
}

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

// The same multiply and shift divides any int32 by 1000: it is monotone in n, so checking both
// ends of every block of 1000 equal quotients covers the whole range.
TEST(ErrorDiffusionTables, DivisionBy1000IsExactForEveryInt32) {
  for (int64_t q = INT32_MIN / 1000 - 1; q <= INT32_MAX / 1000 + 1; ++q) {
    for (int64_t n : {q * 1000 - 999, q * 1000, q * 1000 + 999}) {
      if (n < INT32_MIN || n > INT32_MAX) continue;
      const int32_t m = static_cast<int32_t>(n);
      ASSERT_EQ(test::DivideBy1000(m), m / 1000) << m;
    }
  }
  EXPECT_EQ(test::DivideBy1000(INT32_MIN), INT32_MIN / 1000);
  EXPECT_EQ(test::DivideBy1000(INT32_MAX), INT32_MAX / 1000);
}

}  // namespace
