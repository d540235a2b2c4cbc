// The halftone engine: cell geometry (reduction, margins, enlargement, clipping), the screen
// chosen by template type and flag, and the levels each screen may write.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cstdint>
#include <set>
#include <vector>

#include "image/error_diffusion_screen.h"
#include "image/halftone_engine.h"
#include "image/threshold_matrices.h"
#include "support/raster.h"
#include "template/template_generators.h"

namespace {

using test::Bytes;

constexpr uint8_t kSentinel = 0x5A;  // not a dot level
constexpr int kImage = 11;           // algorithm: screen the raster's own content
constexpr int kMidGrey = 3;          // algorithm: a pattern

int Stride8(int width) {
  return test::Stride(width, 8);
}

class HalftoneEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVEL_Init(0);
    g_useTemplateDiffusion = false;
  }
  void TearDown() override { g_useTemplateDiffusion = false; }
};

// A raster whose pixels inside the width come from pixel(x, y) and whose row padding holds
// the sentinel.
template <class Pixel>
Bytes Raster(int width, int height, Pixel pixel) {
  Bytes raster(static_cast<size_t>(Stride8(width)) * height, kSentinel);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) raster[y * Stride8(width) + x] = pixel(x, y);
  return raster;
}

Bytes Ramp(int width, int height) {
  return Raster(width, height, [&](int x, int y) {
    return static_cast<uint8_t>((x * 255 / (width > 1 ? width - 1 : 1) + y * 37) % 256);
  });
}

Bytes RunEngine(Bytes raster, int width, int height, int factor, int cellWidth, int cellHeight,
                int algorithm, int templateType) {
  EXPECT_EQ(RunHalftoneEngine(raster.data(), height, width, factor, cellWidth, cellHeight,
                              algorithm, templateType),
            1);
  return raster;
}

std::set<int> LevelsInside(const Bytes& raster, int width, int height) {
  std::set<int> levels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) levels.insert(raster[y * Stride8(width) + x]);
  return levels;
}

void ExpectPaddingUntouched(const Bytes& raster, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = width; x < Stride8(width); ++x)
      ASSERT_EQ(raster[y * Stride8(width) + x], kSentinel) << x << "," << y;
}

const std::set<int> kTwoLevels = {0, 255};

TEST_F(HalftoneEngine, EachScreenWritesOnlyItsLevelsInsideTheWidth) {
  const struct {
    int templateType;
    std::set<int> levels;
  } screens[] = {{34, kTwoLevels},     {-3, kTwoLevels},        {39, {170, 255}},
                 {40, {85, 170, 255}}, {41, {0, 85, 170, 255}}, {42, kTwoLevels}};
  const int width = 70, height = 40;
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (const auto& s : screens) {
      const Bytes out =
          RunEngine(Ramp(width, height), width, height, 1, 1, 1, kImage, s.templateType);
      ExpectPaddingUntouched(out, width, height);
      // A ramp over every grey shows every level the screen has.
      EXPECT_EQ(LevelsInside(out, width, height), diffusion ? kTwoLevels : s.levels)
          << "type " << s.templateType << " diffusion " << diffusion;
    }
  }
}

// A source made of uniform cells, exactly cols x rows of them, reduces to the small image; the
// result is then the small image's result enlarged cell by cell.
TEST_F(HalftoneEngine, ScreensOneReducedPixelPerCellAndEnlargesIt) {
  const int cols = 23, rows = 9;
  const Bytes small = Ramp(cols, rows);
  const struct {
    int factor, cellWidth, cellHeight;
  } grids[] = {{2, 1, 1}, {4, 1, 1}, {8, 1, 1}, {1, 3, 2}, {2, 2, 3}};
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (int type : {34, 39, 40, 41, 42}) {
      const Bytes screenedSmall = RunEngine(small, cols, rows, 1, 1, 1, kImage, type);
      for (const auto& g : grids) {
        const int cw = g.factor * g.cellWidth, ch = g.factor * g.cellHeight;
        const int width = cols * cw, height = rows * ch;
        const Bytes big = Raster(
            width, height, [&](int x, int y) { return small[(y / ch) * Stride8(cols) + x / cw]; });
        const Bytes out =
            RunEngine(big, width, height, g.factor, g.cellWidth, g.cellHeight, kImage, type);
        const Bytes expected = Raster(width, height, [&](int x, int y) {
          return screenedSmall[(y / ch) * Stride8(cols) + x / cw];
        });
        ASSERT_EQ(out, expected) << "type " << type << " cell " << cw << "x" << ch;
      }
    }
  }
}

// The 257 matrix screen shows which source pixel each cell took: grey 0 always gives a dot,
// grey 255 never.
TEST_F(HalftoneEngine, ReducesByNearestNeighbourAndClipsTheLastCells) {
  // Width 7 in cells of 2: four columns from source columns 0, 1, 3 and 5 (scale 1.75).
  // Height 5 in cells of 2: three rows from source rows 0, 1 and 3 (scale 5 / 3).
  const int width = 7, height = 5;
  // Black pixels, some where cells sample and some where none does.
  const std::set<std::pair<int, int>> black = {{0, 0}, {1, 1}, {3, 3}, {5, 0}, {3, 1},
                                               {2, 0}, {6, 4}, {4, 2}, {0, 2}};
  const Bytes source = Raster(width, height, [&](int x, int y) {
    return static_cast<uint8_t>(black.count({x, y}) ? 0 : 255);
  });
  const Bytes out = RunEngine(source, width, height, 1, 2, 2, kImage, 42);
  const int sourceColumn[] = {0, 1, 3, 5}, sourceRow[] = {0, 1, 3};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool dot = black.count({sourceColumn[x / 2], sourceRow[y / 2]}) > 0;
      EXPECT_EQ(out[y * Stride8(width) + x], dot ? 0 : 255) << x << "," << y;
    }
  ExpectPaddingUntouched(out, width, height);
}

TEST_F(HalftoneEngine, PatternsFillEveryPixelOfClippedCells) {
  const struct {
    int width, height, factor, cellWidth, cellHeight;
  } cases[] = {{10, 4, 1, 3, 1}, {9, 5, 2, 1, 1}, {6, 7, 8, 1, 1}, {1, 1, 1, 1, 1}};
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (const auto& c : cases)
      for (int type : {0, 39, 40, 41, 42}) {
        Bytes raster(static_cast<size_t>(Stride8(c.width)) * c.height, kSentinel);
        raster = RunEngine(raster, c.width, c.height, c.factor, c.cellWidth, c.cellHeight, kMidGrey,
                           type);
        const std::set<int> levels = LevelsInside(raster, c.width, c.height);
        EXPECT_EQ(levels.count(kSentinel), 0u) << c.width << "x" << c.height << " type " << type;
        ExpectPaddingUntouched(raster, c.width, c.height);
        // Cells are uniform: every row of a cell repeats, every cell column repeats.
        const int cw = c.factor * c.cellWidth, ch = c.factor * c.cellHeight;
        for (int y = 0; y < c.height; ++y)
          for (int x = 0; x < c.width; ++x)
            ASSERT_EQ(raster[y * Stride8(c.width) + x],
                      raster[(y / ch * ch) * Stride8(c.width) + x / cw * cw]);
      }
  }
}

TEST_F(HalftoneEngine, CellsLargerThanTheImageAreOneReducedPixel) {
  const int width = 13, height = 6;
  for (int type : {34, 39, 42}) {
    const Bytes out =
        RunEngine(Ramp(width, height), width, height, 8, INT_MAX, INT_MAX, kImage, type);
    EXPECT_EQ(LevelsInside(out, width, height).size(), 1u) << type;
  }
}

// Ten replicated pixels each side: the screened area starts at column 10 of the widened grid.
TEST_F(HalftoneEngine, ScreensTheGridWidenedByTenPixelsEachSide) {
  const int width = 40, height = 12, padded = width + 20;
  const uint8_t grey = 150;
  const Bytes flat = Raster(width, height, [&](int, int) { return grey; });
  Bytes widened = Raster(padded, height, [&](int, int) { return grey; });

  const Bytes matrix = RunEngine(flat, width, height, 1, 1, 1, kImage, 42);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int t = g_thresholdMatrix257[((321 + y) % 257) * 257 + (321 + 10 + x) % 257];
      ASSERT_EQ(matrix[y * Stride8(width) + x], 255 - grey >= t ? 0 : 255) << x << "," << y;
    }

  Bytes diffused(widened.size()), errorDiffused(widened.size());
  GetDiffusedImageData_8Bit(diffused.data(), widened.data(), padded, height);
  RunErrorDiffusionScreen(widened.data(), errorDiffused.data(), padded, height);
  const auto cropped = [&](const Bytes& full) {
    return Raster(width, height, [&](int x, int y) { return full[y * Stride8(padded) + 10 + x]; });
  };
  EXPECT_EQ(RunEngine(flat, width, height, 1, 1, 1, kImage, 34), cropped(errorDiffused));
  g_useTemplateDiffusion = true;
  EXPECT_EQ(RunEngine(flat, width, height, 1, 1, 1, kImage, 42), cropped(diffused));
}

}  // namespace
