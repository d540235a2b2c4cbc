// Masks from the mask maker: every screening level holds its share of the plane, and options the
// maker cannot honour are refused.
#include "maskmaker/mask_maker.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <vector>

#include "mask/dither_mask_generator.h"
#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;

MaskMakerOptions Options(int planes, int side, int32_t maxThreshold, uint32_t seed = 1) {
  MaskMakerOptions o;
  o.planes = planes, o.width = side, o.height = side, o.maxThreshold = maxThreshold, o.seed = seed;
  return o;
}

// Every level 0..254 holds its share of each plane (1600 / 255 = 6.27 pixels), which with the
// mask's rule (the dither tests) screens a flat grey to its coverage; options the maker cannot
// honour give no mask at all. (The tool's golden output holds a mask made from a seed.)
TEST(MaskMaker, LevelsEquallyFilledAndRefusals) {
  const Bytes stored = MakeStoredMask(Options(2, 40, 65535, 11));
  auto object = test::NewMaskGenerator();
  ASSERT_TRUE(object->LoadMask(stored.data(), static_cast<int>(stored.size())));
  const auto& mask = dynamic_cast<CDitherMaskGenerator&>(*object);
  ASSERT_EQ(mask.planeCount * mask.maskHeight * mask.maskWidth, 2 * 40 * 40);
  for (int p = 0; p < 2; ++p) {
    std::vector<int> perLevel(256, 0);
    for (int i = 0; i < 40 * 40; ++i) ++perLevel[mask.thresholds[p * 1600 + i]];
    for (int level = 0; level < 256; ++level)
      EXPECT_TRUE(level < 255 ? perLevel[level] == 6 || perLevel[level] == 7 : perLevel[level] == 0)
          << "plane " << p << " level " << level;
  }
  MaskMakerOptions noSigma = Options(1, 8, 254);
  noSigma.sigma = 0.0;
  for (const MaskMakerOptions& o : {Options(0, 8, 254), Options(1, 0, 254), Options(1, 8, 0),
                                    noSigma, Options(1, 2048, 254), Options(300, 1024, 254)})
    EXPECT_TRUE(MakeStoredMask(o).empty()) << o.planes << " " << o.width << " " << o.maxThreshold;
}

}  // namespace
