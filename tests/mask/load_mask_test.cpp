// Loading stored masks: decoding through the substitution table, normalisation to the
// screening scale, the level table reset, replacement and release. (Malformed masks are in the
// refusal table.)
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <vector>

#include "interface/globals.h"
#include "mask/dither_mask_generator.h"
#include "mask/stored_mask.h"

namespace {

std::vector<int32_t> Loaded(const std::vector<uint8_t>& stored) {
  auto object = test::NewMaskGenerator();
  EXPECT_TRUE(object->LoadMask(stored.data(), static_cast<int>(stored.size())));
  const auto& mask = dynamic_cast<CDitherMaskGenerator&>(*object);
  const int64_t n = int64_t{mask.planeCount} * mask.maskHeight * mask.maskWidth;
  return std::vector<int32_t>(mask.thresholds.get(), mask.thresholds.get() + n);
}

// trunc(raw / M * 254) for every raw threshold, on both sides of 0 and beyond M (such
// thresholds dot even white pixels, or never dot); exact at M and M / 2 for any M.
TEST(LoadMask, NormalisesThresholdsToTheScreeningScale) {
  EXPECT_EQ(Loaded(test::StoredMask(2, 1, 4, 1000, {1000, 500, 0, 999, 1, 2000, -5, -1000})),
            (std::vector<int32_t>{254, 127, 0, 253, 0, 508, -1, -254}));
  for (int32_t m : {1, 2, 255, 65535, INT_MAX - 1, INT_MAX})
    EXPECT_EQ(Loaded(test::StoredMask(1, 1, 2, m, {m, m / 2})),
              (std::vector<int32_t>{254, m % 2 == 0 ? 127 : (m == 1 ? 0 : 126)}))
        << "M " << m;
}

TEST(LoadMask, ResetsTheLevelTableReplacesAndReleases) {
  for (int i = 0; i < kLevelCount; ++i) g_levelAmount[i] = 2550 - 10 * i;  // a tone curve
  auto object = test::NewMaskGenerator();
  const auto first = test::StoredMask(1, 1, 2, 254, {10, 20}),
             second = test::StoredMask(3, 1, 1, 254, {30, 40, 50});
  ASSERT_TRUE(object->LoadMask(first.data(), static_cast<int>(first.size())));
  for (int i = 0; i < kLevelCount; ++i) ASSERT_EQ(g_levelAmount[i], 10 * i);
  ASSERT_TRUE(object->LoadMask(second.data(), static_cast<int>(second.size())));
  const auto& mask = dynamic_cast<CDitherMaskGenerator&>(*object);
  EXPECT_EQ(mask.planeCount, 3);
  EXPECT_EQ(mask.thresholds[2], 50);
  EXPECT_TRUE(object->ReleaseMask());
  EXPECT_EQ(mask.thresholds, nullptr);
}

}  // namespace
