// The constant tables of the image error-diffusion screen: every stated range, pinned
// beginning and share, the light tables' closed forms, the rows below a restarting tone jump,
// and the exactness of the per-mille split for every weight the tables hold.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <set>
#include <utility>
#include <vector>

#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_tables.h"
#include "row_coverage.h"
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

TEST(ErrorDiffusionTables, RestartTablesKeepTheirRangesRowsAndTrends) {
  for (int b = 0; b < kImgBucketCount; ++b)
    for (int k = 0; k < kImgRestartCycle; ++k) {
      const int32_t e = g_imgRestartError[b][k], v = g_imgRestartBias[b][k];
      ASSERT_TRUE(e >= -1880 && e <= 2025) << b << "," << k << ": " << e;
      ASSERT_TRUE(v == 0 || (v >= 474 && v <= 1287)) << b << "," << k << ": " << v;
      ASSERT_TRUE(b < 264 || (v >= 1052 && v <= 1282)) << k;
    }
  EXPECT_EQ(ZerosIn(g_imgRestartError[0]), kImgRestartCycle);
  EXPECT_EQ(ZerosIn(g_imgRestartError[264]), kImgRestartCycle);
  EXPECT_EQ(Head(g_imgRestartError[1], 4), (std::vector<int32_t>{1862, 1862, 1862, 1862}));
  EXPECT_EQ(Head(g_imgRestartError[100], 4), (std::vector<int32_t>{1166, 673, 693, 724}));
  EXPECT_EQ(Head(g_imgRestartError[200], 4), (std::vector<int32_t>{-1556, -784, 10, -613}));
  EXPECT_EQ(Head(g_imgRestartBias[100], 4), (std::vector<int32_t>{0, 535, 494, 476}));
  EXPECT_EQ(Head(g_imgRestartBias[264], 4), (std::vector<int32_t>{1203, 1167, 1131, 1210}));
  // The light rows are mostly large and positive; errors fall with the bucket, and so does
  // the share of restarts without bias: none in the lightest rows, none from row 240 on.
  for (int b = 1; b <= 20; ++b) EXPECT_GT(MeanOf(g_imgRestartError[b]), 1300) << b;
  for (int b = 2; b < 264; ++b)
    EXPECT_LE(MeanOf(g_imgRestartError[b]), MeanOf(g_imgRestartError[b - 1])) << b;
  EXPECT_LT(MeanOf(g_imgRestartError[263]), -1000);
  for (int b = 0; b <= 4; ++b) EXPECT_EQ(ZerosIn(g_imgRestartBias[b]), kImgRestartCycle) << b;
  for (int b = 5; b < 264; ++b)
    EXPECT_LE(ZerosIn(g_imgRestartBias[b]), ZerosIn(g_imgRestartBias[b - 1])) << b;
  EXPECT_NEAR(ZerosIn(g_imgRestartBias[100]) / double(kImgRestartCycle), 0.41, 0.05);
  for (int b = 240; b < kImgBucketCount; ++b) EXPECT_EQ(ZerosIn(g_imgRestartBias[b]), 0) << b;
}

// The two weights of a pixel share one fixed total: what is not sent ahead goes below.
TEST(ErrorDiffusionTables, BelowWeightsCompleteTheAheadWeights) {
  for (int i = 0; i < kImgWeightCycle; ++i) {
    EXPECT_EQ(g_imgBelowWeightCycle[i], 816 - g_imgAheadWeightCycle[i]) << i;
  }
}

TEST(ErrorDiffusionTables, LightTablesAndBuckets) {
  // The closed forms the generator writes the light tables from, at their corners.
  EXPECT_EQ(Head(g_imgLightWeightA + 29, 4), (std::vector<int32_t>{440, 440, 439, 438}));
  EXPECT_EQ(Head(g_imgLightWeightB + 148, 4), (std::vector<int32_t>{446, 445, 445, 445}));
  EXPECT_EQ(g_imgLightWeightA[2550], 371);
  EXPECT_EQ(Head(g_imgLightDotSpacing + 2, 4), (std::vector<int32_t>{0, 15, 13, 11}));
  EXPECT_EQ(Head(g_imgLightResetError + 10, 4), (std::vector<int32_t>{1600, 1600, 1500, 1500}));
  EXPECT_EQ(Head(g_imgLightResetError + 21, 3), (std::vector<int32_t>{1500, 1400, 0}));
  for (auto [target, bucket] :
       {std::pair{0, 0}, {9, 9}, {10, 10}, {19, 10}, {919, 100}, {2549, 263}, {2550, 264}})
    EXPECT_EQ(ImgTargetBucket(target), bucket) << target;
}

// Below a horizontal jump that restarts the screen (greys more than 20 apart), each of the four
// first rows has the coverage of the steady rows further down.
TEST(ErrorDiffusionTables, RowsBelowARestartingToneJumpKeepTheSteadyCoverage) {
  for (int above : quality::JumpGreys())
    for (int below : quality::JumpGreys()) {
      if (std::abs(above - below) <= 20) continue;
      const std::vector<double> rows =
          quality::JumpRowCoverage(quality::JumpPath::kErrorDiffusion, above, below, 4096, 16, 48);
      const double steady = std::accumulate(rows.begin() + 32, rows.end(), 0.0) / 32;
      for (int y = 16; y < 20; ++y)
        EXPECT_NEAR(100 * rows[y], 100 * steady, 4)
            << above << " over " << below << ", row " << y - 16;
    }
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
