// The halftone engine: cell geometry (reduction, margins, enlargement, clipping), the screen
// chosen by template type and flag, and the levels each screen may write.
#include "image/halftone_engine.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>

#include "config/tone_curve.h"
#include "image/error_diffusion_screen.h"
#include "image/grey_rasters.h"
#include "image/image_packing.h"
#include "image/threshold_matrices.h"
#include "interface/globals.h"
#include "template/template_generators.h"

namespace {

using test::Bytes;
using test::GreyRaster;
using test::Stride8;

constexpr int kImage = 11;          // algorithm: screen the raster's own content
constexpr int kMidGrey = 3;         // algorithm: a pattern
constexpr uint8_t kPadding = 0x5A;  // not a dot level

class HalftoneEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVEL_Init(0);
    SetupToneCurve(g_defaultState, 0);  // the identity curve that the error-diffusion screen reads
  }
  void TearDown() override { g_useTemplateDiffusion = false; }

  static Bytes Screen(Bytes raster, int width, int height, int factor, int cellWidth,
                      int cellHeight, int algorithm, int type) {
    RunHalftoneEngine(g_defaultState, raster.data(), width, height, factor, cellWidth, cellHeight,
                      algorithm, type);
    for (int y = 0; y < height; ++y)  // the row padding is never written
      for (int x = width; x < Stride8(width); ++x)
        EXPECT_EQ(raster[y * Stride8(width) + x], kPadding);
    return raster;
  }
};

TEST_F(HalftoneEngine, EachScreenWritesOnlyItsLevels) {
  const std::set<int> twoLevels = {0, 255};
  const std::pair<int, std::set<int>> screens[] = {{34, twoLevels},         {-3, twoLevels},
                                                   {39, {170, 255}},        {40, {85, 170, 255}},
                                                   {41, {0, 85, 170, 255}}, {42, twoLevels}};
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (const auto& [type, levels] : screens) {
      const Bytes out = Screen(test::GreyRamp(70, 40), 70, 40, 1, 1, 1, kImage, type);
      EXPECT_EQ(test::ValuesInside(out, 8, 70, 40), diffusion ? twoLevels : levels) << type;
    }
  }
}

// A source of exactly cols x rows uniform cells reduces to the small image, and the result is
// the small image's result enlarged cell by cell.
TEST_F(HalftoneEngine, ScreensOneReducedPixelPerCellAndEnlargesIt) {
  const int cols = 23, rows = 9;
  const Bytes small = test::GreyRamp(cols, rows);
  const int grids[][3] = {{2, 1, 1}, {8, 1, 1}, {1, 3, 2}, {2, 2, 3}};  // factor, cell w, h
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (int type : {34, 39, 40, 41, 42}) {
      const Bytes screened = Screen(small, cols, rows, 1, 1, 1, kImage, type);
      for (const auto& g : grids) {
        const int cw = g[0] * g[1], ch = g[0] * g[2], width = cols * cw, height = rows * ch;
        const auto enlarged = [&](const Bytes& cells) {
          return GreyRaster(width, height,
                            [&](int x, int y) { return cells[(y / ch) * Stride8(cols) + x / cw]; });
        };
        EXPECT_EQ(Screen(enlarged(small), width, height, g[0], g[1], g[2], kImage, type),
                  enlarged(screened))
            << "type " << type << " cell " << cw << "x" << ch;
      }
    }
  }
}

// The 257 matrix screen shows which source pixel each cell took: 0 always gives a dot, 255
// never. Width 7 in cells of 2 samples columns 0, 1, 3, 5; height 5 samples rows 0, 1, 3.
TEST_F(HalftoneEngine, ReducesByNearestNeighbourAndClipsTheLastCells) {
  const std::set<std::pair<int, int>> black = {{0, 0}, {1, 1}, {3, 3}, {5, 0}, {3, 1},
                                               {2, 0}, {6, 4}, {4, 2}, {0, 2}};
  const Bytes source = GreyRaster(7, 5, [&](int x, int y) {
    return black.count({x, y}) ? 0 : 255;
  });
  const Bytes out = Screen(source, 7, 5, 1, 2, 2, kImage, 42);
  const int column[] = {0, 1, 3, 5}, row[] = {0, 1, 3};
  EXPECT_EQ(out, GreyRaster(7, 5, [&](int x, int y) {
              return black.count({column[x / 2], row[y / 2]}) ? 0 : 255;
            }));
}

TEST_F(HalftoneEngine, PatternCellsAreUniformAndClippedAtTheEdges) {
  const int cases[][5] = {{10, 4, 1, 3, 1}, {9, 5, 2, 1, 1}, {6, 7, 8, 1, 1}, {1, 1, 1, 1, 1}};
  for (bool diffusion : {false, true}) {
    g_useTemplateDiffusion = diffusion;
    for (const auto& c : cases)
      for (int type : {0, 39, 42}) {
        const int width = c[0], height = c[1], cw = c[2] * c[3], ch = c[2] * c[4];
        const Bytes out = Screen(test::FlatGrey(width, height, kPadding), width, height, c[2], c[3],
                                 c[4], kMidGrey, type);
        EXPECT_EQ(out, GreyRaster(width, height,
                                  [&](int x, int y) {
                                    return out[(y / ch * ch) * Stride8(width) + x / cw * cw];
                                  }))
            << width << "x" << height << " type " << type;
        EXPECT_EQ(test::ValuesInside(out, 8, width, height).count(kPadding), 0u);
      }
  }
  // Cells of 8 x INT_MAX pixels do not overflow: the image is one cell.
  const Bytes one = Screen(test::GreyRamp(13, 6), 13, 6, 8, INT_MAX, INT_MAX, kImage, 42);
  EXPECT_EQ(test::ValuesInside(one, 8, 13, 6).size(), 1u);
}

// Ten replicated pixels each side: the kept area starts at column 10 of the widened grid.
TEST_F(HalftoneEngine, ScreensTheGridWidenedByTenPixelsEachSide) {
  const int width = 40, height = 12, padded = width + 20;
  const uint8_t grey = 150;
  const Bytes flat = test::FlatGrey(width, height, grey);
  Bytes widened = test::FlatGrey(padded, height, grey);
  Bytes diffused(widened.size()), errorDiffused(widened.size());
  GetDiffusedImageData_8Bit(g_defaultState, widened.data(), diffused.data(), padded, height);
  RunErrorDiffusionScreen(g_defaultState, widened.data(), errorDiffused.data(), padded, height);
  const auto kept = [&](const Bytes& full) {
    return GreyRaster(width, height,
                      [&](int x, int y) { return full[y * Stride8(padded) + 10 + x]; });
  };
  EXPECT_EQ(Screen(flat, width, height, 1, 1, 1, kImage, 34), kept(errorDiffused));
  EXPECT_EQ(Screen(flat, width, height, 1, 1, 1, kImage, 42),
            GreyRaster(width, height, [&](int x, int y) {
              const int t = g_thresholdMatrix257[((321 + y) % 257) * 257 + (321 + 10 + x) % 257];
              return 255 - grey >= t ? 0 : 255;
            }));
  g_useTemplateDiffusion = true;
  EXPECT_EQ(Screen(flat, width, height, 1, 1, 1, kImage, 42), kept(diffused));
}

// The row-by-row 1-bit path must give exactly what the engine followed by the packing gives,
// on whole-pixel, enlarged, uneven and one-column grids, and write every byte of the output.
TEST_F(HalftoneEngine, StreamedImageScreenEqualsTheEngineFollowedByPacking) {
  SetupToneCurve(g_defaultState, 34);
  const struct {
    int width, height, factor, cellWidth, cellHeight;
  } grids[] = {{45, 23, 1, 1, 1}, {64, 9, 1, 1, 1},  {1, 1, 1, 1, 1},   {10, 7, 1, 3, 1},
               {33, 17, 2, 1, 3}, {9, 5, 8, 1, 1},   {3, 40, 1, 5, 1},  {100, 31, 4, 2, 3},
               {17, 70, 1, 1, 4}, {70, 13, 2, 5, 1}, {40, 3, 1, 1, 10}, {31, 12, 1, 31, 1}};
  uint32_t seed = 99;
  for (const auto& g : grids) {
    // Noise with white runs, so restarts and white resets both occur.
    const Bytes image = GreyRaster(g.width, g.height, [&seed](int x, int) {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<uint8_t>(x % 7 == 3 ? 255 : seed >> 24);
    });
    Bytes screened = image;
    RunHalftoneEngine(g_defaultState, screened.data(), g.width, g.height, g.factor, g.cellWidth,
                      g.cellHeight, kImage, 34);
    const size_t outBytes = static_cast<size_t>(test::Stride(g.width, 1)) * g.height;
    Bytes expected(outBytes, 0xA5), streamed(outBytes, 0xA5);
    PackOneBit(screened.data(), g.width, g.height, expected.data());
    ScreenImageToOneBit(g_defaultState, image.data(), streamed.data(), g.width, g.height, g.factor,
                        g.cellWidth, g.cellHeight);
    EXPECT_EQ(test::Hex(streamed), test::Hex(expected))
        << g.width << "x" << g.height << " factor " << g.factor << " cells " << g.cellWidth << "x"
        << g.cellHeight;
  }
}

}  // namespace
