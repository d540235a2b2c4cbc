// The dot ditherers: levels at the band edges, the matrix phase across calls and column halves,
// and the 257 matrix screen's offsets and counts.
#include "image/dot_ditherers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "image/grey_rasters.h"
#include "image/threshold_matrices.h"

namespace {

using test::Bytes;
using test::FlatGrey;
using test::Stride8;

enum Screen { kSmall, kSmallMedium, kSmallMediumLarge };

// A 2-bit screen as the library runs it: a fresh object with its table built.
Bytes RunScreen(Screen screen, const Bytes& source, int width, int height) {
  Bytes out(source.size(), 0x5A);
  if (screen == kSmall) {
    C2BitDitherSDot ditherer(0, 2, 1);
    BuildSDotTable();
    ditherer.Dither(source.data(), out.data(), width, height);
  } else if (screen == kSmallMedium) {
    DitherSMDot(source.data(), out.data(), width, height);
  } else {
    DitherSMLDot(source.data(), out.data(), width, height);
  }
  return out;
}

TEST(DotDitherers, FlatGreysGiveTheLevelsOfTheirBand) {
  const struct {
    Screen screen;
    uint8_t grey;
    std::function<int(int)> levelAt;  // of the matrix threshold
  } cases[] = {
      {kSmall, 255, [](int) { return 255; }},
      {kSmallMedium, 255, [](int) { return 255; }},
      {kSmallMediumLarge, 255, [](int) { return 255; }},
      {kSmall, 0, [](int t) { return t > 0 ? 170 : 255; }},  // 65 holes a tile
      {kSmallMedium, 127, [](int) { return 170; }},
      {kSmallMedium, 0, [](int t) { return t >= 253 ? 170 : 85; }},
      {kSmallMediumLarge, 170, [](int) { return 170; }},
      {kSmallMediumLarge, 84, [](int) { return 85; }},
      {kSmallMediumLarge, 0, [](int t) { return t >= 252 ? 85 : 0; }},
  };
  const int width = 256, height = 130;  // two tiles across; the rows wrap once
  for (const auto& c : cases) {
    const Bytes out = RunScreen(c.screen, FlatGrey(width, height, c.grey), width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(out[y * width + x], c.levelAt(g_dotMatrix128[(y % 128) * 128 + x % 128]))
            << "screen " << c.screen << " grey " << int{c.grey} << " at " << x << "," << y;
  }
}

TEST(DotDitherers, RowPhaseCarriesTheMatrixRowAcrossCalls) {
  const int width = 37;
  const Bytes image = test::Noise(width, 8, 7);
  const size_t top = static_cast<size_t>(Stride8(width)) * 3;
  const auto screenInTwoCalls = [&](auto& ditherer) {
    Bytes out(image.size());
    ditherer.Dither(image.data(), out.data(), width, 3);
    ditherer.Dither(image.data() + top, out.data() + top, width, 5);
    return out;
  };
  C2BitDitherSDot small(0, 2, 1);
  C2BitDitherSMDot smallMedium(0, 2, 1);
  C2BitDitherSMLDot smallMediumLarge(0, 2, 1);
  BuildSDotTable();
  FillSmDotRamp();
  smallMedium.BuildTable();
  smallMediumLarge.InitLevels();
  smallMediumLarge.BuildTable();
  EXPECT_EQ(screenInTwoCalls(small), RunScreen(kSmall, image, width, 8));
  EXPECT_EQ(screenInTwoCalls(smallMedium), RunScreen(kSmallMedium, image, width, 8));
  EXPECT_EQ(screenInTwoCalls(smallMediumLarge), RunScreen(kSmallMediumLarge, image, width, 8));
}

TEST(DotDitherers, SecondHalfRestartsTheMatrixAtHalfTheWidth) {
  // Width 200: columns 100..199 read matrix columns 0..99 again.
  const int width = 200, height = 6;
  const Bytes noise = test::Noise(100, height, 3);
  const Bytes image =
      test::GreyRaster(width, height, [&](int x, int y) { return noise[y * 100 + x % 100]; });
  for (Screen s : {kSmall, kSmallMedium, kSmallMediumLarge}) {
    const Bytes out = RunScreen(s, image, width, height);
    for (int y = 0; y < height; ++y)
      EXPECT_TRUE(std::equal(&out[y * width], &out[y * width + 100], &out[y * width + 100]));
  }
  // Width 5 splits 2 + 3; width 1 leaves the first half empty.
  const Bytes odd = RunScreen(kSmall, FlatGrey(5, 1, 0), 5, 1);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(odd[x], g_dotMatrix128[x < 2 ? x : x - 2] ? 170 : 255);
  EXPECT_EQ(RunScreen(kSmall, FlatGrey(1, 1, 0), 1, 1)[0], g_dotMatrix128[0] ? 170 : 255);
}

Bytes RunMatrixScreen(const Bytes& source, int width, int height, uint32_t offset) {
  Bytes out(source.size(), 0x5A);
  CDitherBase(g_thresholdMatrix257, 0, offset, 1).Dither(source.data(), out.data(), width, height);
  return out;
}

TEST(DotDitherers, MatrixScreenCountsTheThresholdsAtOrBelowTheInk) {
  const int side = kThresholdMatrixSide;
  for (int v : {0, 1, 84, 85, 127, 170, 254, 255}) {
    const Bytes out = RunMatrixScreen(FlatGrey(side, side, v), side, side, 321);
    const auto blanks = test::CountDots(out, side, side, 8);  // counts the 255s
    EXPECT_EQ(side * side - blanks,
              std::count_if(g_thresholdMatrix257, g_thresholdMatrix257 + side * side,
                            [v](int32_t t) { return t <= 255 - v; }))
        << "grey " << v;
    const std::set<int> levels = test::ValuesInside(out, 8, side, side), twoLevels = {0, 255};
    EXPECT_TRUE(std::includes(twoLevels.begin(), twoLevels.end(), levels.begin(), levels.end()));
  }
}

// Grey 255 - t on every threshold t read gives a dot everywhere; one lighter, none.
TEST(DotDitherers, MatrixScreenReadsRowAndColumnFromTheOffsetAndWraps) {
  const struct {
    int width, height;
    uint32_t offset;
  } cases[] = {{300, 260, 321}, {12, 2, 0xFFFFFFFDu}};  // the column sum wraps at 2^32
  for (const auto& c : cases)
    for (int lighter : {0, 1}) {
      const Bytes source = test::GreyRaster(c.width, c.height, [&](int x, int y) {
        const uint32_t row = (c.offset + y) % 257, column = (c.offset + x) % 257;
        return static_cast<uint8_t>(255 - g_thresholdMatrix257[row * 257 + column] + lighter);
      });
      const Bytes out = RunMatrixScreen(source, c.width, c.height, c.offset);
      EXPECT_EQ(test::ValuesInside(out, 8, c.width, c.height), std::set<int>({lighter ? 255 : 0}))
          << c.width << " wide, offset " << c.offset;
    }
}

}  // namespace
