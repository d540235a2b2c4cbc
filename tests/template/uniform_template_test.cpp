// Uniform-level templates: exact patterns, packing at every depth, refusals and tone.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "interface/globals.h"
#include "support/raster.h"
#include "template/template_generators.h"

namespace {

using test::Bytes;
using test::Stride;

using TemplateFn = int (*)(unsigned char*, int, int, int);
const TemplateFn kTemplate[] = {nullptr, KORVEL_GetTempateData_1Bit, KORVEL_GetTempateData_2Bit,
                                nullptr, KORVEL_GetTempateData_4Bit};

Bytes Template(int bits, int width, int height, int level) {
  Bytes out(static_cast<size_t>(Stride(width, bits)) * height, 0xEE);
  EXPECT_EQ(kTemplate[bits](out.data(), width, height, level), 1);
  return out;
}

class UniformTemplate : public ::testing::Test {
 protected:
  void SetUp() override { KORVEL_Init(50); }
};

TEST_F(UniformTemplate, SixteenByFourPatternsMatchByteForByte) {
  const struct {
    int level;
    Bytes rows;
  } cases[] = {
      {10, {0x10, 0x40, 0, 0, 0x80, 0x02, 0, 0, 0x02, 0x00, 0, 0, 0x00, 0x08, 0, 0}},
      {50, {0xCE, 0x19, 0, 0, 0x22, 0xEA, 0, 0, 0x38, 0xA2, 0, 0, 0xD7, 0x9F, 0, 0}},
      {80, {0x5F, 0x7F, 0, 0, 0xCF, 0xDD, 0, 0, 0xFB, 0xB7, 0, 0, 0xF6, 0xFB, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(test::Hex(Template(1, 16, 4, c.level)), test::Hex(c.rows)) << "level " << c.level;
  }
}

TEST_F(UniformTemplate, LevelToIndexRoundsInDoublePrecision) {
  EXPECT_EQ(LevelIndexOfPercent(0), 0);
  EXPECT_EQ(LevelIndexOfPercent(1), 3);
  EXPECT_EQ(LevelIndexOfPercent(33), 84);
  EXPECT_EQ(LevelIndexOfPercent(50), 127);
  EXPECT_EQ(LevelIndexOfPercent(53), 135);
  EXPECT_EQ(LevelIndexOfPercent(90), 229);
  EXPECT_EQ(LevelIndexOfPercent(99), 252);
  EXPECT_EQ(LevelIndexOfPercent(100), 255);
  // Level 50 reads entry 127, not 128: make the two entries tell apart.
  g_levelAmount[128] = 2550;
  EXPECT_EQ(test::CountDots(Template(1, 64, 8, 50), 64, 8, 1),
            (KORVEL_Init(50), test::CountDots(Template(1, 64, 8, 50), 64, 8, 1)));
  g_levelAmount[127] = 0;
  EXPECT_EQ(test::CountDots(Template(1, 64, 8, 50), 64, 8, 1), 0);
}

TEST_F(UniformTemplate, EmptyAndFullLevelsFillOnlyThePixelsInsideTheWidth) {
  for (int bits : {1, 2, 4}) {
    const Bytes none = Template(bits, 21, 5, 0);
    EXPECT_EQ(none, Bytes(none.size(), 0)) << bits << " bits";
    const Bytes full = Template(bits, 21, 5, 100);
    const int maxValue = (1 << bits) - 1;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 21; ++x) ASSERT_EQ(test::PixelAt(full, 21, bits, x, y), maxValue);
    // Every bit past the width is clear: the raster holds exactly 21 * 5 full pixels.
    int64_t setBits = 0;
    for (uint8_t b : full) setBits += __builtin_popcount(b);
    EXPECT_EQ(setBits, 21 * 5 * bits) << bits << " bits";
  }
  EXPECT_EQ(test::Hex(Template(2, 3, 2, 100)), "FC 00 00 00 FC 00 00 00");
  EXPECT_EQ(test::Hex(Template(4, 3, 1, 100)), "FF 0F 00 00");
}

TEST_F(UniformTemplate, DotsSitAtTheSamePixelsAtEveryDepthAndIn8BitImageVariant) {
  const int w = 45, h = 23;
  for (int level : {1, 7, 33, 50, 66, 97}) {
    const Bytes one = Template(1, w, h, level), two = Template(2, w, h, level),
                four = Template(4, w, h, level);
    const int index = LevelIndexOfPercent(level);
    Bytes flat(static_cast<size_t>(Stride(w, 8)) * h, static_cast<uint8_t>(index));
    Bytes eight(flat.size(), 0x11);
    GetDiffusedImageData_8Bit(g_defaultState, flat.data(), eight.data(), w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int dot = test::PixelAt(one, w, 1, x, y);
        ASSERT_EQ(test::PixelAt(two, w, 2, x, y), dot * 3);
        ASSERT_EQ(test::PixelAt(four, w, 4, x, y), dot * 15);
        ASSERT_EQ(test::PixelAt(eight, w, 8, x, y), dot * 255);
      }
    for (int y = 0; y < h; ++y)  // padding of the 8-bit variant stays 0
      for (int x = w; x < Stride(w, 8); ++x) ASSERT_EQ(eight[y * Stride(w, 8) + x], 0);
  }
}

TEST_F(UniformTemplate, RejectedLevelsAndBadArgumentsLeaveTheBufferUntouched) {
  for (int bits : {1, 2, 4}) {
    Bytes out(64, 0x5A);
    for (int level : {-1, 101, INT_MIN, INT_MAX})
      EXPECT_EQ(kTemplate[bits](out.data(), 8, 4, level), 0);
    EXPECT_EQ(kTemplate[bits](out.data(), -1, 4, 50), 0);
    EXPECT_EQ(kTemplate[bits](out.data(), 8, -4, 50), 0);
    EXPECT_EQ(kTemplate[bits](nullptr, 8, 4, 50), 0);
    EXPECT_EQ(kTemplate[bits](out.data(), INT_MAX, 1000, 50), 0);  // stride * height overflows
    EXPECT_EQ(out, Bytes(64, 0x5A));
    EXPECT_EQ(kTemplate[bits](nullptr, 0, 4, 50), 1);
    EXPECT_EQ(kTemplate[bits](out.data(), 8, 0, 50), 1);
    EXPECT_EQ(out, Bytes(64, 0x5A));
  }
}

TEST_F(UniformTemplate, StridesPadRowsToFourBytes) {
  EXPECT_EQ(Template(1, 8, 1, 50).size(), 4u);
  EXPECT_EQ(Template(1, 33, 1, 50).size(), 8u);
  EXPECT_EQ(Template(2, 17, 1, 50).size(), 8u);
  EXPECT_EQ(Template(4, 9, 1, 50).size(), 8u);
}

TEST_F(UniformTemplate, RepeatedCallsAgreeAndRowsRunSerpentine) {
  EXPECT_EQ(Template(1, 300, 40, 37), Template(1, 300, 40, 37));
  // Amount 1 is never restarted: the first pixel of the scan is the first dot.
  g_levelAmount[LevelIndexOfPercent(50)] = 1;
  const Bytes t = Template(1, 40, 3, 50);
  EXPECT_EQ(test::PixelAt(t, 40, 1, 0, 0), 1);
  EXPECT_EQ(test::PixelAt(t, 40, 1, 1, 0), 0);
}

TEST_F(UniformTemplate, CoverageFollowsTheAmountWithoutAStartUpBand) {
  const int w = 256, h = 256;
  for (int level = 1; level <= 99; ++level) {
    const Bytes t = Template(1, w, h, level);
    const double expected = g_levelAmount[LevelIndexOfPercent(level)] / 2550.0;
    const double whole = static_cast<double>(test::CountDots(t, w, h, 1)) / (w * h);
    EXPECT_NEAR(whole, expected, 0.005) << "level " << level;
    const double top = static_cast<double>(test::CountDots(t, w, 16, 1)) / (w * 16);
    EXPECT_NEAR(top, expected, 0.03) << "top rows, level " << level;
  }
}

}  // namespace
