// The constant tables of the template diffusion keep every property the diffusion relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "template/restart_tables.h"

namespace {

std::vector<int> Entries(const int32_t* table, int bucket, int count = kRestartCycle) {
  const int32_t* row = table + bucket * kRestartColumns;
  return std::vector<int>(row, row + count);
}

long RowSum(const int32_t* table, int bucket) {
  const std::vector<int> row = Entries(table, bucket);
  return std::accumulate(row.begin(), row.end(), 0L);
}

double NonZeroShare(int bucket) {
  const std::vector<int> row = Entries(g_restartBias, bucket);
  return std::count_if(row.begin(), row.end(), [](int v) { return v != 0; }) /
         static_cast<double>(row.size());
}

TEST(RestartTables, PinnedEntriesOfTheTellingRows) {
  EXPECT_EQ(Entries(g_restartError, 0, 8),
            (std::vector<int>{-1313, -1140, -909, -683, -491, -342, -233, -157}));
  EXPECT_EQ(Entries(g_restartError, 8, 8),
            (std::vector<int>{-884, -805, -688, -560, -438, -336, -257, -201}));
  EXPECT_EQ(Entries(g_restartError, 57, 8),
            (std::vector<int>{-2432, -1545, -1836, -794, -593, -156, -1208, -1636}));
  EXPECT_EQ(Entries(g_restartBias, 57, 8), (std::vector<int>{0, 0, 969, 0, 0, 0, 714, 714}));
  EXPECT_EQ(Entries(g_restartError, 200, 8),
            (std::vector<int>{-2281, -706, -3135, -2965, -2050, -1972, -2347, -3428}));
  EXPECT_EQ(Entries(g_restartBias, 200, 8),
            (std::vector<int>{1683, 0, 1683, 1683, 969, 714, 969, 1683}));
  EXPECT_EQ(Entries(g_restartError, 32, 16),
            (std::vector<int>{-471, -690, -372, -205, -1465, -2038, -1068, -581, -403, -171, -1228,
                              -900, -1694, -858, -493, -540}));
  EXPECT_EQ(Entries(g_restartError, 133, 16),
            (std::vector<int>{-2408, -2693, -2234, -1452, -1396, -1674, -1706, -3004, -2939, -1850,
                              -1306, -1537, -2453, -2313, -1366, -1856}));
  EXPECT_EQ(Entries(g_restartBias, 133, 16),
            (std::vector<int>{1683, 1683, 714, 0, 969, 714, 714, 1683, 969, 0, 0, 969, 1683, 714, 0,
                              969}));
  EXPECT_EQ(Entries(g_restartError, 210, 16),
            (std::vector<int>{-2210, -3462, -3263, -2826, -2848, -1711, -2213, -1587, -2961, -2538,
                              -2465, -1485, -1934, -3350, -2882, -1373}));
  EXPECT_EQ(Entries(g_restartBias, 210, 16),
            (std::vector<int>{969, 1683, 1683, 1683, 1683, 714, 1683, 969, 1683, 1683, 1683, 714,
                              969, 1683, 1683, 714}));
}

TEST(RestartTables, TellingRowsSpanTheirStatedRanges) {
  const struct {
    int bucket, lo, hi;
  } ranges[] = {
      {0, -1313, -1}, {8, -1132, -9}, {57, -2706, -153}, {133, -4129, -397}, {200, -3617, -561}};
  for (const auto& r : ranges) {
    const std::vector<int> row = Entries(g_restartError, r.bucket);
    EXPECT_EQ(*std::min_element(row.begin(), row.end()), r.lo) << r.bucket;
    EXPECT_EQ(*std::max_element(row.begin(), row.end()), r.hi) << r.bucket;
  }
  for (int v : Entries(g_restartError, 261)) ASSERT_EQ(v, -2700);
  for (int v : Entries(g_restartBias, 261)) ASSERT_EQ(v, 1683);
}

TEST(RestartTables, ErrorsAreNegativeButSixAndNoneBelowTheSmallest) {
  std::multiset<int> positives;
  int smallest = 0;
  for (int b = 0; b < kRestartBuckets; ++b)
    for (int v : Entries(g_restartError, b)) {
      if (v >= 0) positives.insert(v);
      smallest = std::min(smallest, v);
    }
  EXPECT_EQ(positives, (std::multiset<int>{25, 88, 90, 98, 114, 131}));
  EXPECT_EQ(smallest, -4223);
}

TEST(RestartTables, RowMeansFallWithTheBucket) {
  for (int b = 1; b < kRestartBuckets - 1; ++b)
    EXPECT_LT(RowSum(g_restartError, b), RowSum(g_restartError, b - 1)) << "bucket " << b;
  EXPECT_NEAR(RowSum(g_restartError, 0) / 255.0, -190, 80);
  EXPECT_NEAR(RowSum(g_restartError, 260) / 255.0, -2970, 80);
}

TEST(RestartTables, BiasTakesOnlyTheStepIncrementsAndGrowsWithTheBucket) {
  const std::set<int> allowed = {0, 714, 969, 1683};
  for (int b = 0; b < kRestartRows; ++b)
    for (int v : Entries(g_restartBias, b, kRestartColumns)) ASSERT_TRUE(allowed.count(v)) << b;
  for (int b = 0; b <= 56; ++b) EXPECT_EQ(NonZeroShare(b), 0.0) << b;
  EXPECT_NEAR(NonZeroShare(57), 0.40, 0.08);
  for (int b = 221; b < kRestartBuckets; ++b) EXPECT_EQ(NonZeroShare(b), 1.0) << b;
  // Averaged over bands of buckets, the share rises steadily.
  double previous = 0;
  for (int start = 57; start < 221; start += 41) {
    double band = 0;
    for (int b = start; b < start + 41; ++b) band += NonZeroShare(b) / 41;
    EXPECT_GT(band, previous) << start;
    previous = band;
  }
}

TEST(RestartTables, UnreadRowsAreZeroAndTheFlagAlternates) {
  for (int b = kRestartBuckets; b < kRestartRows; ++b) {
    for (int v : Entries(g_restartError, b, kRestartColumns)) ASSERT_EQ(v, 0);
    for (int v : Entries(g_restartBias, b, kRestartColumns)) ASSERT_EQ(v, 0);
  }
  for (int rc = 0; rc < kRestartColumns; ++rc) EXPECT_EQ(g_restartFlag[rc], rc % 2 == 0 ? 1 : 0);
  for (int a = 0; a < 256; ++a) {
    if (a >= 3 && a <= 22) {
      EXPECT_LT(g_lightResetError[a], 0);
      EXPECT_GE(g_lightDotSpacing[a], 7);
    } else {
      EXPECT_EQ(g_lightResetError[a], 0);
      EXPECT_EQ(g_lightDotSpacing[a], 0);
    }
  }
  EXPECT_EQ(g_lightResetError[17], -388);
  EXPECT_EQ(g_lightDotSpacing[3], 14);
}

}  // namespace
