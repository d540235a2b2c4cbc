// Void-and-cluster ranks: permutations, reproducible, blue at every density, evenly spread at
// both sparse ends; the threshold mapping and the spectrum helper they are checked with.
#include "bluenoise/void_and_cluster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool IsPermutation(const std::vector<int32_t>& ranks) {
  std::vector<int32_t> sorted = ranks;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < sorted.size(); ++i) {
    if (sorted[i] != static_cast<int32_t>(i)) return false;
  }
  return true;
}

// Smallest toroidal distance between two of the pixels selected by pick.
template <typename Pick>
double SmallestSpacing(const std::vector<int32_t>& ranks, int width, int height, Pick pick) {
  std::vector<int> xs, ys;
  for (int i = 0; i < width * height; ++i) {
    if (pick(ranks[i])) xs.push_back(i % width), ys.push_back(i / width);
  }
  double best = std::numeric_limits<double>::infinity();
  for (size_t a = 0; a < xs.size(); ++a) {
    for (size_t b = a + 1; b < xs.size(); ++b) {
      int dx = std::abs(xs[a] - xs[b]), dy = std::abs(ys[a] - ys[b]);
      dx = std::min(dx, width - dx), dy = std::min(dy, height - dy);
      best = std::min(best, std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    }
  }
  return best;
}

// Mean power of the bins first..last of a spectrum.
double MeanPower(const std::vector<double>& spectrum, int first, int last) {
  EXPECT_LT(static_cast<size_t>(last), spectrum.size());
  double sum = 0.0;
  for (int k = first; k <= last; ++k) sum += spectrum[k];
  return sum / (last - first + 1);
}

TEST(VoidAndCluster, RanksArePermutationsForAnyShape) {
  const int shapes[][2] = {{1, 1}, {1, 5}, {5, 1}, {2, 3}, {7, 5}, {16, 48}, {33, 20}};
  for (const auto& shape : shapes) {
    const auto ranks = VoidAndClusterRanks(shape[0], shape[1], 7);
    ASSERT_EQ(ranks.size(), static_cast<size_t>(shape[0] * shape[1]));
    EXPECT_TRUE(IsPermutation(ranks)) << shape[0] << " x " << shape[1];
  }
}

TEST(VoidAndCluster, RefusesEmptyHugeOrBadSigma) {
  EXPECT_TRUE(VoidAndClusterRanks(0, 8, 1).empty());
  EXPECT_TRUE(VoidAndClusterRanks(8, -1, 1).empty());
  EXPECT_TRUE(VoidAndClusterRanks(1 << 13, 1 << 12, 1).empty());
  EXPECT_TRUE(VoidAndClusterRanks(8, 8, 1, 0.0).empty());
  EXPECT_TRUE(VoidAndClusterRanks(8, 8, 1, std::nan("")).empty());
}

TEST(VoidAndCluster, SameSeedSameRanksOtherSeedOtherRanks) {
  const auto first = VoidAndClusterRanks(40, 24, 12345);
  EXPECT_EQ(first, VoidAndClusterRanks(40, 24, 12345));
  EXPECT_NE(first, VoidAndClusterRanks(40, 24, 12346));
  EXPECT_NE(first, VoidAndClusterRanks(40, 24, 12345, 2.0));
}

TEST(VoidAndCluster, EveryDensityHasLittlePowerBelowItsPrincipalFrequency) {
  constexpr int kSide = 64;
  const auto ranks = VoidAndClusterRanks(kSide, kSide, 2024);
  for (int denominator : {64, 32, 8, 4, 2}) {
    const double g = 1.0 / denominator;
    const auto dots = DotsOfRankBelow(ranks, kSide * kSide / denominator);
    const auto spectrum = RadialPowerSpectrum(dots, kSide, kSide);
    // Principal frequency sqrt(g) cycles per pixel; white noise has power g (1 - g).
    const int principal = static_cast<int>(std::sqrt(g) * kSide);
    const double white = g * (1.0 - g);
    EXPECT_LT(MeanPower(spectrum, 1, principal / 3), 0.1 * white) << "density 1/" << denominator;
    // Above the principal frequency the power returns to the white level.
    EXPECT_GT(MeanPower(spectrum, principal, static_cast<int>(spectrum.size()) - 1), 0.5 * white);
  }
}

TEST(VoidAndCluster, DotsOfRandomPatternAreNotBlue) {
  // The spectrum check above must be able to fail: a random pattern is white.
  constexpr int kSide = 64;
  std::vector<double> dots(kSide * kSide);
  uint32_t state = 1;
  for (double& d : dots) state = state * 1664525u + 1013904223u, d = (state >> 31) & 1;
  const auto spectrum = RadialPowerSpectrum(dots, kSide, kSide);
  EXPECT_GT(MeanPower(spectrum, 1, 22), 0.5 * 0.25);
}

TEST(VoidAndCluster, SparseDotsAndSparseHolesAreEvenlySpread) {
  constexpr int kSide = 64, kCount = 16;  // ideal spacing 16 pixels
  const auto ranks = VoidAndClusterRanks(kSide, kSide, 99);
  EXPECT_GE(SmallestSpacing(ranks, kSide, kSide, [](int32_t r) { return r < kCount; }), 10.0);
  EXPECT_GE(
      SmallestSpacing(ranks, kSide, kSide, [](int32_t r) { return r >= kSide * kSide - kCount; }),
      10.0);
  // The very first dots are far apart too.
  EXPECT_GE(SmallestSpacing(ranks, kSide, kSide, [](int32_t r) { return r < 4; }), 20.0);
}

TEST(VoidAndCluster, TwoHundredFiftySevenSquareIsAPermutation) {
  const auto ranks = VoidAndClusterRanks(257, 257, 1);
  ASSERT_EQ(ranks.size(), 257u * 257u);
  EXPECT_TRUE(IsPermutation(ranks));
}

TEST(RanksToThresholds, LowerRankLowerThresholdWithExactCounts) {
  const std::vector<int32_t> ranks = {4, 0, 3, 1, 5, 2};
  EXPECT_EQ(RanksToThresholds(ranks, {{10, 2}, {20, 0}, {30, 3}, {40, 1}}),
            (std::vector<int32_t>{30, 10, 30, 10, 40, 30}));
  // Counts that do not add up, negative counts and ranks that are no permutation are refused.
  EXPECT_TRUE(RanksToThresholds(ranks, {{1, 5}}).empty());
  EXPECT_TRUE(RanksToThresholds(ranks, {{1, 7}, {2, -1}}).empty());
  EXPECT_TRUE(RanksToThresholds({0, 1, 1}, {{1, 3}}).empty());
  EXPECT_TRUE(RanksToThresholds({0, 1, 3}, {{1, 3}}).empty());
  EXPECT_TRUE(RanksToThresholds({0, -1, 2}, {{1, 3}}).empty());
}

TEST(RanksToThresholds, EvenCountsShareThePixelsFairly) {
  const auto counts = EvenValueCounts(1, 255, 257 * 257);
  ASSERT_EQ(counts.size(), 255u);
  int64_t total = 0;
  for (size_t j = 0; j < counts.size(); ++j) {
    EXPECT_EQ(counts[j].value, static_cast<int32_t>(j + 1));
    EXPECT_TRUE(counts[j].count == 259 || counts[j].count == 260);
    total += counts[j].count;
  }
  EXPECT_EQ(total, 257 * 257);
  EXPECT_TRUE(EvenValueCounts(5, 4, 10).empty());
  EXPECT_TRUE(EvenValueCounts(0, 4, -1).empty());
}

TEST(RadialPowerSpectrum, ACosineLandsInItsBin) {
  constexpr int kSide = 32;
  std::vector<double> field(kSide * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      field[y * kSide + x] = 5.0 + std::cos(2 * 3.141592653589793 * 3 * x / kSide);
  const auto spectrum = RadialPowerSpectrum(field, kSide, kSide);
  for (size_t k = 0; k < spectrum.size(); ++k) {
    if (k == 3) {
      EXPECT_GT(spectrum[k], 1.0);
    } else {
      EXPECT_NEAR(spectrum[k], 0.0, 1e-9) << "bin " << k;
    }
  }
  EXPECT_TRUE(RadialPowerSpectrum(field, kSide, kSide - 1).empty());
}

}  // namespace
