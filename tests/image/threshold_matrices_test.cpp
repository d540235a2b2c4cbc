// The threshold matrices: exact value counts and pinned entries, and blue-noise texture (little
// power below the principal frequency at every grey).
#include "image/threshold_matrices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "bluenoise/void_and_cluster.h"

namespace {

std::vector<int32_t> DotMatrix() {
  return {g_dotMatrix128, g_dotMatrix128 + kDotMatrixSide * kDotMatrixSide};
}
std::vector<int32_t> Matrix257() {
  return {g_thresholdMatrix257, g_thresholdMatrix257 + kThresholdMatrixSide * kThresholdMatrixSide};
}

std::map<int32_t, int> Histogram(const std::vector<int32_t>& m) {
  std::map<int32_t, int> counts;
  for (int32_t t : m) ++counts[t];
  return counts;
}

TEST(ThresholdMatrices, DotMatrixHasItsValueCountsAndFirstEntries) {
  const auto counts = Histogram(DotMatrix());
  ASSERT_EQ(counts.size(), 255u);
  EXPECT_EQ(counts.begin()->first, 0);
  EXPECT_EQ(counts.rbegin()->first, 254);
  EXPECT_EQ(counts.at(0), 65);
  int of65 = 0, of64 = 0;
  for (const auto& [value, n] : counts) {
    EXPECT_TRUE(n == 64 || n == 65) << value;
    of65 += n == 65;
    of64 += n == 64;
  }
  EXPECT_EQ(of65, 64);  // value 0 and 63 others
  EXPECT_EQ(of64, 191);
  const int32_t row0[] = {168, 8, 51, 92, 130, 57, 114, 87}, row1[] = {242, 114, 188, 219};
  EXPECT_TRUE(std::equal(std::begin(row0), std::end(row0), g_dotMatrix128));
  EXPECT_TRUE(std::equal(std::begin(row1), std::end(row1), g_dotMatrix128 + kDotMatrixSide));
}

TEST(ThresholdMatrices, Matrix257HasItsValueCountsAndFirstEntries) {
  const auto counts = Histogram(Matrix257());
  ASSERT_EQ(counts.size(), 255u);
  EXPECT_EQ(counts.begin()->first, 1);
  EXPECT_EQ(counts.rbegin()->first, 255);
  for (const auto& [value, n] : counts) {
    const bool extra = value == 1 || value == 85 || value == 170 || value == 255;
    EXPECT_EQ(n, extra ? 260 : 259) << value;
  }
  const int32_t row0[] = {123, 81, 195, 251, 107, 1, 147, 205};
  EXPECT_TRUE(std::equal(std::begin(row0), std::end(row0), g_thresholdMatrix257));
}

TEST(ThresholdMatrices, EveryGreyHasLittlePowerBelowItsPrincipalFrequency) {
  for (int32_t level : {0, 2, 10, 40, 90, 127, 170, 220, 250, 253})
    EXPECT_LT(LowFrequencyShare(DotMatrix(), kDotMatrixSide, level, 1.0 / 3), 0.1)
        << "level " << level;
  for (int32_t level : {1, 32, 128, 254})
    EXPECT_LT(LowFrequencyShare(Matrix257(), kThresholdMatrixSide, level, 1.0 / 3), 0.1)
        << "level " << level;
}

}  // namespace
