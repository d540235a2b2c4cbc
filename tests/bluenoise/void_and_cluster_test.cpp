// Void-and-cluster ranks: permutations, reproducible, blue at every density (where random dots
// are not). The mask maker's tests check the thresholds made from them.
#include "bluenoise/void_and_cluster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

TEST(VoidAndCluster, RanksArePermutationsReproducibleBySeed) {
  for (const auto& [w, h] : {std::pair{1, 1}, {1, 5}, {2, 3}, {16, 48}, {33, 20}}) {
    std::vector<int32_t> ranks = VoidAndClusterRanks(w, h, 7), identity(w * h);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(ranks, VoidAndClusterRanks(w, h, 7));
    std::sort(ranks.begin(), ranks.end());
    EXPECT_EQ(ranks, identity) << w << " x " << h;
  }
  EXPECT_NE(VoidAndClusterRanks(40, 24, 1), VoidAndClusterRanks(40, 24, 2));
}

TEST(VoidAndCluster, EveryDensityHasLittleLowFrequencyPower) {
  constexpr int kSide = 64;
  const std::vector<int32_t> ranks = VoidAndClusterRanks(kSide, kSide, 2024);
  std::vector<int32_t> random(ranks);
  std::shuffle(random.begin(), random.end(), std::minstd_rand(1));
  for (int denominator : {64, 32, 8, 4, 2}) {
    const int32_t level = kSide * kSide / denominator - 1;
    EXPECT_LT(LowFrequencyShare(ranks, kSide, level, 1.0 / 3), 0.1) << "density 1/" << denominator;
    EXPECT_GT(LowFrequencyShare(random, kSide, level, 1.0 / 3), 0.5) << "density 1/" << denominator;
  }
}

}  // namespace
