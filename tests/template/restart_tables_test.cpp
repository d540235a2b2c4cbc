// The restart tables of the template diffusion: the properties the data must keep, and what the
// tables are for, row by row: a template, and an image below a tone jump, decide from their
// first row on like the steady rows further down.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <vector>

#include "row_coverage.h"
#include "template/restart_tables.h"

namespace {

std::vector<int> Entries(const int32_t* table, int bucket, int count = kRestartCycle) {
  const int32_t* row = table + bucket * kRestartColumns;
  return std::vector<int>(row, row + count);
}

double NonZeroShare(int bucket) {
  const std::vector<int> row = Entries(g_restartBias, bucket);
  return 1 - std::count(row.begin(), row.end(), 0) / static_cast<double>(row.size());
}

TEST(RestartTables, MeansFallWithTheBucket) {
  std::vector<long> sums;
  for (int b = 0; b < kRestartBuckets - 1; ++b) {
    const std::vector<int> row = Entries(g_restartError, b);
    sums.push_back(std::accumulate(row.begin(), row.end(), 0L));
    if (b > 0) {
      EXPECT_LT(sums[b], sums[b - 1]) << "bucket " << b;
    }
  }
  EXPECT_NEAR(sums.front() / 255.0, -190, 80);
  EXPECT_NEAR(sums.back() / 255.0, -2970, 80);
}

TEST(RestartTables, BiasGrowsWithTheBucketUnreadRowsAreZeroFlagAndLightTables) {
  const std::set<int> allowed = {0, 714, 969, 1683};
  for (int b = 0; b < kRestartRows; ++b)
    for (int v : Entries(g_restartBias, b, kRestartColumns)) ASSERT_TRUE(allowed.count(v)) << b;
  for (int b = 0; b <= 56; ++b) EXPECT_EQ(NonZeroShare(b), 0.0) << b;
  EXPECT_NEAR(NonZeroShare(57), 0.40, 0.08);
  for (int b = 221; b < kRestartBuckets; ++b) EXPECT_EQ(NonZeroShare(b), 1.0) << b;
  double previous = 0;  // averaged over bands of buckets, the share rises steadily
  for (int start = 57; start < 221; start += 41) {
    double band = 0;
    for (int b = start; b < start + 41; ++b) band += NonZeroShare(b) / 41;
    EXPECT_GT(band, previous) << start;
    previous = band;
  }
  for (int b = kRestartBuckets; b < kRestartRows; ++b)
    for (int i = 0; i < kRestartColumns; ++i)
      ASSERT_TRUE(g_restartError[b * kRestartColumns + i] == 0 &&
                  g_restartBias[b * kRestartColumns + i] == 0);
  for (int rc = 0; rc < kRestartColumns; ++rc) EXPECT_EQ(g_restartFlag[rc], rc % 2 == 0 ? 1 : 0);
  for (int a = 0; a < 256; ++a) {  // the light tables: only amounts 3..22 have entries
    const bool light = a >= 3 && a <= 22;
    EXPECT_EQ(g_lightResetError[a] < 0, light) << a;
    EXPECT_EQ(g_lightDotSpacing[a] >= 7, light) << a;
  }
  EXPECT_EQ(g_lightResetError[17], -388);
  EXPECT_EQ(g_lightDotSpacing[3], 14);
}

// Every row 0..3 of a 4096-wide template, at every level, has the level's coverage.
TEST(RestartTables, TemplatesHaveTheirCoverageFromTheFirstRow) {
  KORVEL_Init(50);
  for (int level = 1; level <= 99; ++level) {
    const std::vector<double> rows = quality::TemplateRowCoverage(level, 4096, 4);
    const double coverage = std::min(static_cast<int>(level * 2.55 + 0.5), 255) / 255.0;
    for (int y = 0; y < 4; ++y)
      EXPECT_NEAR(100 * rows[y], 100 * coverage, 4) << "level " << level << " row " << y;
  }
}

// Below a horizontal jump that restarts every column (amounts more than 400 apart), the first
// four rows have the lower tone's coverage, in the 4-bit image path and the 8-bit variant.
TEST(RestartTables, RowsBelowARestartingToneJumpKeepTheirTone) {
  KORVEL_Init(50);
  for (auto path : {quality::JumpPath::kImage4Bit, quality::JumpPath::kLevelImage8Bit}) {
    for (int above : quality::JumpGreys())
      for (int below : quality::JumpGreys()) {
        if (std::abs(above - below) <= 40) continue;
        const std::vector<double> rows = quality::JumpRowCoverage(path, above, below, 4096, 16, 4);
        const double coverage = quality::NominalCoverage(path, static_cast<uint8_t>(below));
        for (int y = 16; y < 20; ++y)
          EXPECT_NEAR(100 * rows[y], 100 * coverage, 4)
              << static_cast<int>(path) << ": " << above << " over " << below << ", row " << y - 16;
      }
  }
}

}  // namespace
