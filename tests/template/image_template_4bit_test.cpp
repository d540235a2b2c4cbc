// The 4-bit image path: grey images diffused with the template step, packed low nibble first.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>

#include "interface/globals.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

Bytes Image4(const Bytes& image, int width, int height) {
  Bytes out(static_cast<size_t>(Stride(width, 4)) * height, 0xC3);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(const_cast<uint8_t*>(image.data()), out.data(), width,
                                            height),
            1);
  return out;
}

Bytes Flat(int width, int height, uint8_t grey) {
  return Bytes(static_cast<size_t>(Stride(width, 8)) * height, grey);
}

class ImageTemplate4Bit : public ::testing::Test {
 protected:
  void SetUp() override { KORVEL_Init(50); }
};

TEST_F(ImageTemplate4Bit, FlatGreyEqualsTheTemplateOfTheInvertedIndex) {
  const int w = 77, h = 31;
  for (int grey : {1, 60, 128, 200, 252}) {
    // The 50 % template reads index 127; give it the amount that grey's index has by default.
    Bytes expected(static_cast<size_t>(Stride(w, 4)) * h);
    g_levelAmount[127] = 10 * (255 - grey);
    KORVEL_GetTempateData_4Bit(expected.data(), w, h, 50);
    KORVEL_Init(50);
    EXPECT_EQ(Image4(Flat(w, h, static_cast<uint8_t>(grey)), w, h), expected) << "grey " << grey;
  }
}

TEST_F(ImageTemplate4Bit, BlackWhiteAndBlankTable) {
  EXPECT_EQ(Image4(Flat(9, 3, 255), 9, 3), Bytes(Stride(9, 4) * 3, 0));
  EXPECT_EQ(test::Hex(Image4(Flat(1, 2, 0), 1, 2)), "0F 00 00 00 0F 00 00 00");
  EXPECT_EQ(test::Hex(Image4(Flat(2, 1, 0), 2, 1)), "FF 00 00 00");
  const Bytes black = Image4(Flat(9, 3, 0), 9, 3);
  EXPECT_EQ(test::CountDots(black, 9, 3, 4), 27);
  for (int& v : g_levelAmount) v = 0;
  EXPECT_EQ(Image4(Flat(9, 3, 0), 9, 3), Bytes(Stride(9, 4) * 3, 0));
}

TEST_F(ImageTemplate4Bit, ToneJumpRestartsTheColumn) {
  // Grey 245 above grey 55 (amount 100 over 2000): the lower half must look like a flat 55
  // image restarted at its first row, i.e. its coverage is right from the first rows on.
  const int w = 256, h = 64;
  Bytes image = Flat(w, h, 245);
  for (int y = 32; y < h; ++y)
    for (int x = 0; x < w; ++x) image[y * Stride(w, 8) + x] = 55;
  const Bytes out = Image4(image, w, h);
  int64_t dots = 0;
  for (int y = 32; y < 40; ++y)
    for (int x = 0; x < w; ++x) dots += test::PixelAt(out, w, 4, x, y) != 0;
  EXPECT_NEAR(dots / (8.0 * w), 2000 / 2550.0, 0.04);
}

TEST_F(ImageTemplate4Bit, LightAmountRuleActsOnFlatLightImages) {
  // With amounts 3..22 the light rule pulls the error a fixed distance after each dot; a flat
  // image there must still reproduce its tone.
  for (int i = 0; i < kLevelCount; ++i) g_levelAmount[i] = i < 23 ? i : 10 * i;
  for (int grey : {255 - 5, 255 - 12, 255 - 22}) {
    const int w = 512, h = 512;
    const Bytes out = Image4(Flat(w, h, static_cast<uint8_t>(grey)), w, h);
    const double coverage = test::CountDots(out, w, h, 4) / double(w * h);
    EXPECT_NEAR(coverage, (255 - grey) / 2550.0, 0.0015) << "grey " << grey;
  }
}

TEST_F(ImageTemplate4Bit, RefusalsWriteNothing) {
  Bytes image(64, 0), out(64, 0x99);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), -1, 4), 0);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), 4, -1), 0);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(nullptr, out.data(), 4, 4), 0);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), nullptr, 4, 4), 0);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), INT_MAX / 4, 64), 0);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), 0, 4), 1);
  EXPECT_EQ(KORVEL_GetImageTempateData_4Bit(nullptr, nullptr, 4, 0), 1);
  EXPECT_EQ(out, Bytes(64, 0x99));
}

}  // namespace
