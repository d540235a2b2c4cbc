// Multi-plane splits: each plane made from the 2-bit templates the way its combination says,
// so that every pixel is in exactly one plane.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <vector>

#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

Bytes Template2(int width, int height, int level) {
  Bytes out(static_cast<size_t>(Stride(width, 2)) * height);
  KORVEL_GetTempateData_2Bit(out.data(), width, height, level);
  return out;
}

std::vector<Bytes> Split(int count, int width, int height) {
  std::vector<Bytes> p(count, Bytes(static_cast<size_t>(Stride(width, 2)) * height, 0x5A));
  if (count == 2) KORVEL_GetTempateData_2Bit_1to2(p[0].data(), p[1].data(), width, height);
  if (count == 3)
    KORVEL_GetTempateData_2Bit_1to3(p[0].data(), p[1].data(), p[2].data(), width, height);
  if (count == 4)
    KORVEL_GetTempateData_2Bit_1to4(p[0].data(), p[1].data(), p[2].data(), p[3].data(), width,
                                    height);
  return p;
}

// Two planes: rows 2i and 2i + 1 take row i of the 50 % template (an odd last row repeats the
// one above), the second plane the rest. Three: the 33 % template, then what the 50 % partner
// adds, then the rest. Four: the 50 % template split by its 53 % partner. Every byte, padding
// included, so the planes partition every pixel.
TEST(Splits, PlanesFollowTheirTemplates) {
  KORVEL_Init(50);
  for (const auto& [w, h] : {std::pair{29, 7}, {5, 1}, {1, 2}, {37, 5}}) {
    const int s = Stride(w, 2);
    const Bytes half = Template2(w, h, 50), third = Template2(w, h, 33),
                partner = Template2(w, h, 53);
    const auto two = Split(2, w, h), three = Split(3, w, h), four = Split(4, w, h);
    for (size_t k = 0; k < half.size(); ++k) {
      const int y = static_cast<int>(k) / s, source = y == h - 1 && h % 2 && h > 1 ? y - 1 : y;
      ASSERT_EQ(two[0][k], half[source / 2 * s + k % s]) << w << "x" << h << " byte " << k;
      ASSERT_EQ(two[1][k], static_cast<uint8_t>(~two[0][k]));
      ASSERT_EQ(three[0][k], third[k]);
      ASSERT_EQ(three[1][k], static_cast<uint8_t>(~third[k] & half[k]));
      ASSERT_EQ(three[2][k], static_cast<uint8_t>(~(third[k] | half[k])));
      ASSERT_EQ(four[0][k], static_cast<uint8_t>(~half[k] & partner[k]));
      ASSERT_EQ(four[1][k], static_cast<uint8_t>(~(half[k] | partner[k])));
      ASSERT_EQ(four[2][k], static_cast<uint8_t>(half[k] & partner[k]));
      ASSERT_EQ(four[3][k], static_cast<uint8_t>(half[k] & ~partner[k]));
    }
  }
}

TEST(Splits, OneBitSplitsTouchNothing) {
  Bytes a(16, 0x33);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to2(a.data(), a.data(), 8, 4), 1);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to3(a.data(), a.data(), a.data(), 8, 4), 1);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to4(a.data(), a.data(), a.data(), a.data(), 8, 4), 1);
  EXPECT_EQ(a, Bytes(16, 0x33));
}

}  // namespace
