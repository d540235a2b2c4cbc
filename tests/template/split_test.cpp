// Multi-plane splits: every pixel in exactly one plane, over the whole buffers, and the planes'
// relation to the 2-bit templates they are made from.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <vector>

#include "interface/globals.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

Bytes Template2(int width, int height, int level) {
  Bytes out(static_cast<size_t>(Stride(width, 2)) * height);
  KORVEL_GetTempateData_2Bit(out.data(), width, height, level);
  return out;
}

// Run a split into `count` planes pre-filled with garbage.
std::vector<Bytes> Split(int count, int width, int height) {
  std::vector<Bytes> planes(count, Bytes(static_cast<size_t>(Stride(width, 2)) * height, 0x5A));
  int result = 0;
  if (count == 2)
    result = KORVEL_GetTempateData_2Bit_1to2(planes[0].data(), planes[1].data(), width, height);
  if (count == 3)
    result = KORVEL_GetTempateData_2Bit_1to3(planes[0].data(), planes[1].data(), planes[2].data(),
                                             width, height);
  if (count == 4)
    result = KORVEL_GetTempateData_2Bit_1to4(planes[0].data(), planes[1].data(), planes[2].data(),
                                             planes[3].data(), width, height);
  EXPECT_EQ(result, 1);
  return planes;
}

void ExpectPartition(const std::vector<Bytes>& planes) {
  for (size_t k = 0; k < planes[0].size(); ++k) {
    unsigned all = 0;
    for (size_t i = 0; i < planes.size(); ++i) {
      for (size_t j = i + 1; j < planes.size(); ++j) ASSERT_EQ(planes[i][k] & planes[j][k], 0) << k;
      all |= planes[i][k];
    }
    ASSERT_EQ(all, 0xFFu) << "byte " << k;
  }
}

Bytes Row(const Bytes& plane, int width, int y) {
  const int s = Stride(width, 2);
  return Bytes(plane.begin() + s * y, plane.begin() + s * (y + 1));
}

class Splits : public ::testing::Test {
 protected:
  void SetUp() override { KORVEL_Init(50); }
};

TEST_F(Splits, PlanesPartitionEveryByteForManySizes) {
  for (int count : {2, 3, 4})
    for (int width : {1, 5, 16, 37, 300})
      for (int height : {1, 2, 5, 64}) ExpectPartition(Split(count, width, height));
}

TEST_F(Splits, TwoPlanesDoubleTheUpperHalfOfTheHalfTemplate) {
  for (int height : {2, 3, 5, 8, 33}) {
    const int w = 29;
    const auto planes = Split(2, w, height);
    const Bytes base = Template2(w, height, 50);
    for (int y = 0; y + 1 < height; y += 2) {
      EXPECT_EQ(Row(planes[0], w, y), Row(base, w, y / 2)) << height << " row " << y;
      EXPECT_EQ(Row(planes[0], w, y + 1), Row(base, w, y / 2));
    }
    if (height % 2) {
      EXPECT_EQ(Row(planes[0], w, height - 1), Row(planes[0], w, height - 2));
    }
  }
  // A single row keeps the generated template's first row.
  EXPECT_EQ(Split(2, 29, 1)[0], Template2(29, 1, 50));
}

TEST_F(Splits, PaddingIsOnesOnlyInTheNotBothPlane) {
  const auto two = Split(2, 5, 3);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(two[1][y * 4 + 2], 0xFF);
    EXPECT_EQ(two[1][y * 4 + 3], 0xFF);
    EXPECT_EQ(two[1][y * 4 + 1] & 0x3F, 0x3F);
    EXPECT_EQ(two[0][y * 4 + 1] & 0x3F, 0);
  }
  const auto three = Split(3, 5, 2), four = Split(4, 5, 2);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(three[2][y * 4 + 3], 0xFF);
    EXPECT_EQ(four[1][y * 4 + 3], 0xFF);
    EXPECT_EQ(three[0][y * 4 + 3] | three[1][y * 4 + 3], 0);
    EXPECT_EQ(four[0][y * 4 + 3] | four[2][y * 4 + 3] | four[3][y * 4 + 3], 0);
  }
}

TEST_F(Splits, ThreeAndFourPlanesFollowTheirTemplates) {
  const int w = 70, h = 41;
  const auto three = Split(3, w, h);
  EXPECT_EQ(three[0], Template2(w, h, 33));
  const auto four = Split(4, w, h);
  const Bytes half = Template2(w, h, 50), partner = Template2(w, h, 53);
  for (size_t k = 0; k < half.size(); ++k) {
    ASSERT_EQ(four[2][k] | four[3][k], half[k]);
    ASSERT_EQ(four[0][k] | four[2][k], partner[k]);
  }
}

TEST_F(Splits, BeforeInitTheEmptyTemplatesGiveFixedPlanes) {
  for (int& v : g_levelAmount) v = 0;
  const auto two = Split(2, 13, 4), three = Split(3, 13, 4), four = Split(4, 13, 4);
  const Bytes zeros(two[0].size(), 0), ones(two[0].size(), 0xFF);
  EXPECT_EQ(two[0], zeros);
  EXPECT_EQ(two[1], ones);
  EXPECT_EQ(three[0], zeros);
  EXPECT_EQ(three[1], zeros);
  EXPECT_EQ(three[2], ones);
  EXPECT_EQ(four[0], zeros);
  EXPECT_EQ(four[1], ones);
  EXPECT_EQ(four[2], zeros);
  EXPECT_EQ(four[3], zeros);
}

TEST_F(Splits, RepeatedCallsAgree) {
  for (int count : {2, 3, 4}) EXPECT_EQ(Split(count, 100, 30), Split(count, 100, 30));
}

TEST_F(Splits, EmptyAreasAndBadArgumentsWriteNothing) {
  Bytes a(64, 0x77), b(64, 0x77), c(64, 0x77), d(64, 0x77);
  const Bytes untouched(64, 0x77);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to2(a.data(), b.data(), 0, 5), 1);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to3(a.data(), b.data(), c.data(), 5, 0), 1);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to4(nullptr, nullptr, nullptr, nullptr, 0, 0), 1);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to2(a.data(), b.data(), -1, 5), 0);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to2(a.data(), nullptr, 4, 4), 0);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to3(a.data(), b.data(), c.data(), 4, -4), 0);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to3(a.data(), b.data(), nullptr, 4, 4), 0);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), nullptr, 4, 4), 0);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), INT_MAX, 64),
            0);
  for (const Bytes* p : {&a, &b, &c, &d}) EXPECT_EQ(*p, untouched);
}

TEST_F(Splits, OneBitSplitsTouchNothing) {
  Bytes a(16, 0x33), b(16, 0x44), c(16, 0x55), d(16, 0x66);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to2(a.data(), b.data(), 8, 4), 1);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to3(nullptr, nullptr, nullptr, -3, 1 << 30), 1);
  EXPECT_EQ(KORVEL_GetTempateData_1Bit_1to4(a.data(), b.data(), c.data(), d.data(), 8, 4), 1);
  EXPECT_EQ(a, Bytes(16, 0x33));
  EXPECT_EQ(b, Bytes(16, 0x44));
  EXPECT_EQ(c, Bytes(16, 0x55));
  EXPECT_EQ(d, Bytes(16, 0x66));
}

}  // namespace
