// The dot ditherers: the levels each screen gives at the band edges, the linear blends of the
// lookup tables, the matrix phase across calls and column halves, and the 257 matrix screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>

#include "image/dot_ditherers.h"
#include "image/threshold_matrices.h"
#include "support/raster.h"

namespace {

using test::Bytes;

int Stride8(int width) {
  return test::Stride(width, 8);
}

Bytes Flat(int width, int height, uint8_t value) {
  return Bytes(static_cast<size_t>(Stride8(width)) * height, value);
}

int DotMatrixAt(int x, int y) {
  return g_dotMatrix128[(y & 127) * kDotMatrixSide + (x & 127)];
}

// The three 2-bit screens as the library runs them: a fresh object with its table built.
enum class Screen { kSmall, kSmallMedium, kSmallMediumLarge };

Bytes RunScreen(Screen screen, const Bytes& source, int width, int height) {
  Bytes out(source.size(), 0x5A);
  switch (screen) {
    case Screen::kSmall: {
      C2BitDitherSDot ditherer(0, 2, 1);
      BuildSDotTable();
      ditherer.Dither(out.data(), source.data(), height, width);
      break;
    }
    case Screen::kSmallMedium:
      DitherSMDot(source.data(), out.data(), width, height);
      break;
    case Screen::kSmallMediumLarge:
      DitherSMLDot(source.data(), out.data(), width, height);
      break;
  }
  return out;
}

// Expect every pixel of a flat screen of grey v to be level(threshold at that pixel).
void ExpectFlatScreen(Screen screen, uint8_t v, const std::function<int(int)>& level) {
  const int width = 256, height = 130;  // two tiles across, the rows wrapping once
  const Bytes out = RunScreen(screen, Flat(width, height, v), width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int t = DotMatrixAt(x, y);
      ASSERT_EQ(out[y * Stride8(width) + x], level(t))
          << "v " << int{v} << " at " << x << "," << y << " threshold " << t;
    }
}

TEST(DotDitherers, FlatGreysGiveTheLevelsOfTheirBand) {
  for (Screen s : {Screen::kSmall, Screen::kSmallMedium, Screen::kSmallMediumLarge})
    ExpectFlatScreen(s, 255, [](int) { return 255; });
  ExpectFlatScreen(Screen::kSmall, 0, [](int t) { return t > 0 ? 170 : 255; });
  ExpectFlatScreen(Screen::kSmallMedium, 127, [](int) { return 170; });
  ExpectFlatScreen(Screen::kSmallMedium, 0, [](int t) { return t >= 253 ? 170 : 85; });
  ExpectFlatScreen(Screen::kSmallMediumLarge, 170, [](int) { return 170; });
  ExpectFlatScreen(Screen::kSmallMediumLarge, 84, [](int) { return 85; });
  ExpectFlatScreen(Screen::kSmallMediumLarge, 0, [](int t) { return t >= 252 ? 85 : 0; });
}

TEST(DotDitherers, SmallDotsLeaveSixtyFiveHolesPerTileAtFullInk) {
  const Bytes out = RunScreen(Screen::kSmall, Flat(256, 256, 0), 256, 256);
  for (int ty = 0; ty < 2; ++ty)
    for (int tx = 0; tx < 2; ++tx) {
      int holes = 0;
      for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) holes += out[(ty * 128 + y) * 256 + tx * 128 + x] == 255;
      EXPECT_EQ(holes, 65) << "tile " << tx << "," << ty;
    }
}

// Within each band the darker level covers a share of the 255 thresholds that grows by steps
// from none at the band's light end to all but two (SM) or three (SML) at its dark end.
struct Band {
  int light, dark;      // grey values at the two ends (light > dark)
  int lighter, darker;  // the band's two levels
};

void ExpectLinearBlend(const uint8_t* table, const Band& band, int darkShare) {
  int previous = -1;
  for (int v = band.light; v >= band.dark; --v) {
    int share = 0;
    for (int t = 0; t < 255; ++t) {
      const int level = table[v * 256 + t];
      ASSERT_TRUE(level == band.lighter || level == band.darker) << v << "," << t;
      share += level == band.darker;
    }
    if (v == band.light) {
      EXPECT_EQ(share, 0) << "light end " << v;
    }
    if (v == band.dark) {
      EXPECT_EQ(share, darkShare) << "dark end " << v;
    }
    EXPECT_GE(share, previous) << v;
    EXPECT_LE(share - previous, v == band.light ? 255 : 4) << "step at " << v;
    previous = share;
  }
}

TEST(DotDitherers, LookupTablesBlendLinearlyWithinEachBand) {
  RunScreen(Screen::kSmallMedium, Flat(4, 1, 0), 4, 1);
  RunScreen(Screen::kSmallMediumLarge, Flat(4, 1, 0), 4, 1);
  ASSERT_TRUE(g_smDotTableReady && g_smlDotTableReady);
  ExpectLinearBlend(g_smDotTable, {127, 0, 170, 85}, 253);
  ExpectLinearBlend(g_smDotTable, {255, 128, 255, 170}, 253);
  ExpectLinearBlend(g_smlDotTable, {84, 0, 85, 0}, 252);
  ExpectLinearBlend(g_smlDotTable, {170, 85, 170, 85}, 252);
  ExpectLinearBlend(g_smlDotTable, {255, 171, 255, 170}, 252);
  // The small-dot table is a plain comparison: a dot wherever the grey is below the threshold.
  BuildSDotTable();
  for (int v = 0; v < 256; ++v)
    for (int t = 0; t < 256; ++t) ASSERT_EQ(g_sDotTable[v * 256 + t], v < t ? 170 : 255);
}

Bytes NoiseImage(int width, int height, uint32_t seed) {
  Bytes image(static_cast<size_t>(Stride8(width)) * height);
  for (auto& b : image) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return image;
}

template <class Ditherer>
void ExpectRowPhaseCarriesOver(const std::function<void(Ditherer&)>& prepare) {
  const int width = 37;
  const Bytes image = NoiseImage(width, 8, 7);
  Ditherer once(0, 2, 1), twice(0, 2, 1);
  prepare(once);
  prepare(twice);
  Bytes whole(image.size()), split(image.size());
  once.Dither(whole.data(), image.data(), 8, width);
  const size_t top = static_cast<size_t>(Stride8(width)) * 3;
  twice.Dither(split.data(), image.data(), 3, width);
  twice.Dither(split.data() + top, image.data() + top, 5, width);
  EXPECT_EQ(whole, split);
  EXPECT_EQ(twice.RowPhase(), 8u);
}

TEST(DotDitherers, RowPhaseCarriesTheMatrixRowAcrossCalls) {
  ExpectRowPhaseCarriesOver<C2BitDitherSDot>([](C2BitDitherSDot&) { BuildSDotTable(); });
  ExpectRowPhaseCarriesOver<C2BitDitherSMDot>([](C2BitDitherSMDot& d) {
    FillSmDotRamp();
    d.BuildTable();
  });
  ExpectRowPhaseCarriesOver<C2BitDitherSMLDot>([](C2BitDitherSMLDot& d) {
    d.InitLevels();
    d.BuildTable();
  });
}

TEST(DotDitherers, SecondHalfRestartsTheMatrixAtHalfTheWidth) {
  // Width 200: columns 100..199 see matrix columns 0..99 again, like columns 0..99.
  const int width = 200, height = 6;
  Bytes image = NoiseImage(width, height, 3);
  for (int y = 0; y < height; ++y) std::copy_n(&image[y * width], 100, &image[y * width + 100]);
  for (Screen s : {Screen::kSmall, Screen::kSmallMedium, Screen::kSmallMediumLarge}) {
    const Bytes out = RunScreen(s, image, width, height);
    for (int y = 0; y < height; ++y)
      EXPECT_TRUE(std::equal(&out[y * width], &out[y * width + 100], &out[y * width + 100]));
  }
  // An odd width puts the extra column in the second half; a width of 1 leaves the first
  // half empty, so its only pixel reads matrix column 0.
  const Bytes odd = RunScreen(Screen::kSmall, Flat(5, 1, 0), 5, 1);
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(odd[x], DotMatrixAt(x < 2 ? x : x - 2, 0) > 0 ? 170 : 255) << x;
}

TEST(DotDitherers, RowPaddingIsSetToNoDot) {
  const Bytes out = RunScreen(Screen::kSmallMediumLarge, Flat(5, 3, 0), 5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 5; x < 8; ++x) EXPECT_EQ(out[y * 8 + x], 255);
}

// The 257 matrix screen as the halftone engine builds it (row offset 0, offset 321).
Bytes RunMatrixScreen(const Bytes& source, int width, int height, uint32_t offset = 321) {
  Bytes out(source.size(), 0x5A);
  CDitherBase(g_thresholdMatrix257, 0, offset, 1).Dither(out.data(), source.data(), width, height);
  return out;
}

TEST(DotDitherers, MatrixScreenDotCountFollowsTheThresholds) {
  const int side = kThresholdMatrixSide;
  for (int v : {0, 1, 2, 84, 85, 127, 170, 200, 254, 255}) {
    const Bytes out = RunMatrixScreen(Flat(side, side, static_cast<uint8_t>(v)), side, side);
    const int64_t expected = std::count_if(g_thresholdMatrix257, g_thresholdMatrix257 + side * side,
                                           [v](int32_t t) { return t <= 255 - v; });
    std::set<int> levels;
    int64_t dots = 0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const uint8_t level = out[y * Stride8(side) + x];
        levels.insert(level);
        dots += level == 0;
      }
    EXPECT_EQ(dots, expected) << "grey " << v;
    EXPECT_TRUE(levels.size() == 1 || levels == std::set<int>({0, 255})) << v;
    if (v == 0) {
      EXPECT_EQ(dots, side * side);
    }
    if (v == 255) {
      EXPECT_EQ(dots, 0);
    }
  }
}

// Grey 255 - threshold is exactly on each threshold (a dot); one lighter is just above it.
Bytes SourceOnThresholds(int width, int height, uint32_t offset, int lighter) {
  Bytes source(static_cast<size_t>(Stride8(width)) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t r = (offset + static_cast<uint32_t>(y)) % 257;
      const uint32_t c = (offset + static_cast<uint32_t>(x)) % 257;
      source[y * Stride8(width) + x] =
          static_cast<uint8_t>(255 - g_thresholdMatrix257[r * 257 + c] + lighter);
    }
  return source;
}

// A source on the thresholds gives a dot everywhere, one grey lighter none at all.
void ExpectExactlyOnThresholds(int width, int height, uint32_t offset) {
  const Bytes on =
      RunMatrixScreen(SourceOnThresholds(width, height, offset, 0), width, height, offset);
  const Bytes above =
      RunMatrixScreen(SourceOnThresholds(width, height, offset, 1), width, height, offset);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(on[y * Stride8(width) + x], 0) << x << "," << y << " offset " << offset;
      ASSERT_EQ(above[y * Stride8(width) + x], 255) << x << "," << y << " offset " << offset;
    }
}

TEST(DotDitherers, MatrixScreenReadsFromRowAndColumn64AndWraps) {
  ExpectExactlyOnThresholds(300, 260, 321);  // both wrap past the matrix side
  // The column is a 32-bit sum: just before 2^32 the column sequence wraps to 0.
  ExpectExactlyOnThresholds(12, 2, 0xFFFFFFFDu);
}

}  // namespace
