// Void-and-cluster ranks are blue at every density, where random dots are not. (The mask
// maker's tests check that they are a permutation, every level equally filled.)
#include "bluenoise/void_and_cluster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

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
