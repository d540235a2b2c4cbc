// The image entry points: packing against a reference, and the dispatcher's equivalences
// between template types, dot modes and cell sizes. (Outputs of every type are golden.)
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>

#include "image/image_packing.h"
#include "support/image_call.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

// Dot levels (0 large, 85 medium, 170 small, 255 none) packed one pixel at a time: at 1 bit a
// level below 128 is a dot; at 2 bits the code is 3 - level / 85.
TEST(ImagePacking, MatchesAPixelByPixelReference) {
  BuildPackTables();
  test::Random random{3};
  for (int width = 1; width <= 40; ++width) {
    Bytes levels(static_cast<size_t>(Stride(width, 8)) * 2);
    for (auto& v : levels) v = static_cast<uint8_t>(random.Below(4) * 85 + random.Below(2) * 40);
    Bytes one(static_cast<size_t>(Stride(width, 1)) * 2, 0xA5), two(Stride(width, 2) * 2, 0xA5);
    PackOneBit(levels.data(), width, 2, one.data());
    PackTwoBit(levels.data(), width, 2, two.data());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < Stride(width, 8); ++x) {
        const int level = levels[static_cast<size_t>(y) * Stride(width, 8) + x];
        if (x < width) {
          ASSERT_EQ(test::PixelAt(one, width, 1, x, y), level < 128) << width;
        }
        if (x < Stride(width, 2) * 4) {  // the 8-bit padding is packed too
          ASSERT_EQ(test::PixelAt(two, width, 2, x, y), 3 - level / 85) << width << " x " << x;
        }
      }
    EXPECT_EQ(test::CountDots(one, Stride(width, 1) * 8, 2, 1), test::CountDots(one, width, 2, 1));
  }
}

Bytes Screen(int bits, int type, int cellWidth, int cellHeight, int mode, int height = 23) {
  const int width = 61;
  return test::ImageCall(bits, test::RandomScene(width, height, 11), width, height, type, cellWidth,
                         cellHeight, mode, false);
}

TEST(ImageDispatch, EquivalentTypesModesAndCells) {
  KORVEL_Init(0);
  for (int bits : {1, 2}) {
    // Types without a pattern of their own, in range or not, screen the ramp of type 0.
    for (int type : {INT_MIN, -1, 10, 33, 35, 37, 43})
      EXPECT_EQ(Screen(bits, type, 1, 1, 0), Screen(bits, 0, 1, 1, 0)) << "type " << type;
    // Dot mode m enlarges the cells by 2^m; modes outside 0..3 act as 0; bars stop at 2.
    for (int type : {0, 34, 38, 42})
      for (int mode : {1, 2, 3})
        EXPECT_EQ(Screen(bits, type, 3, 2, mode), Screen(bits, type, 3 << mode, 2 << mode, 0))
            << "type " << type << " mode " << mode;
    EXPECT_EQ(Screen(bits, 34, 1, 1, 4), Screen(bits, 34, 1, 1, 0));
    EXPECT_EQ(Screen(bits, 8, 1, 1, 3), Screen(bits, 8, 1, 1, 1));
    // Type 36 screens the ramp one row taller than asked and drops the first; below 4 rows mid
    // grey.
    const Bytes taller = Screen(bits, 0, 1, 1, 0, 5);
    EXPECT_EQ(Screen(bits, 36, 1, 1, 0, 4), Bytes(taller.begin() + Stride(61, bits), taller.end()));
    EXPECT_EQ(Screen(bits, 36, 1, 1, 0, 3), Screen(bits, 2, 1, 1, 0, 3));
  }
}

}  // namespace
