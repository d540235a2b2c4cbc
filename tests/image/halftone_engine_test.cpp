// The halftone engine: ten replicated pixels each side of the screened grid, and the row-by-row
// 1-bit path equal to the engine plus packing on every kind of cell grid. (The enlargement of
// cells by dot mode is in the dispatcher's tests, all outputs are golden.)
#include "image/halftone_engine.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include "config/tone_curve.h"
#include "image/error_diffusion_screen.h"
#include "image/image_packing.h"
#include "image/threshold_matrices.h"
#include "interface/globals.h"
#include "support/raster.h"
#include "template/template_generators.h"

namespace {

using test::Bytes;

constexpr int kImage = 11;  // algorithm: screen the raster's own content

int S8(int width) {
  return test::Stride(width, 8);
}

template <class Pixel>
Bytes Raster(int width, int height, Pixel pixel) {
  Bytes raster(static_cast<size_t>(S8(width)) * height, 0x5A);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) raster[static_cast<size_t>(y) * S8(width) + x] = pixel(x, y);
  return raster;
}

Bytes Engine(Bytes raster, int width, int height, int factor, int cellWidth, int cellHeight,
             int type) {
  RunHalftoneEngine(g_defaultState, raster.data(), width, height, factor, cellWidth, cellHeight,
                    kImage, type);
  return raster;
}

class HalftoneEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    KORVEL_Init(0), SetupToneCurve(g_defaultState, 0), g_useTemplateDiffusion = false;
  }
};

TEST_F(HalftoneEngine, ScreensTheGridWidenedByTenPixelsEachSide) {
  const int width = 40, height = 12, padded = width + 20;
  const Bytes image = test::RandomScene(width, height, 8);
  const Bytes widened = Raster(padded, height, [&](int x, int y) {
    return image[y * S8(width) + std::min(std::max(x - 10, 0), width - 1)];
  });
  Bytes diffused(widened.size()), errorDiffused(widened.size());
  GetDiffusedImageData_8Bit(g_defaultState, widened.data(), diffused.data(), padded, height);
  RunErrorDiffusionScreen(g_defaultState, widened.data(), errorDiffused.data(), padded, height);
  const auto kept = [&](const Bytes& full) {
    return Raster(width, height, [&](int x, int y) { return full[y * S8(padded) + 10 + x]; });
  };
  EXPECT_EQ(Engine(image, width, height, 1, 1, 1, 34), kept(errorDiffused));
  // The 257 matrix screen starts at row and column 321 of the widened grid: a dot where the
  // ink 255 - grey reaches the threshold.
  EXPECT_EQ(Engine(image, width, height, 1, 1, 1, 42), Raster(width, height, [&](int x, int y) {
              const int t = g_thresholdMatrix257[((321 + y) % 257) * 257 + (321 + 10 + x) % 257];
              return 255 - image[y * S8(width) + x] >= t ? 0 : 255;
            }));
  g_useTemplateDiffusion = true;
  EXPECT_EQ(Engine(image, width, height, 1, 1, 1, 34), kept(diffused));
}

TEST_F(HalftoneEngine, StreamedImageScreenEqualsTheEngineFollowedByPacking) {
  const int grids[][5] = {{45, 23, 1, 1, 1}, {1, 1, 1, 1, 1},    {10, 7, 1, 3, 1},
                          {33, 17, 2, 1, 3}, {100, 31, 4, 2, 3}, {31, 12, 1, 31, 1}};
  for (const auto& g : grids) {
    const Bytes image = test::RandomScene(g[0], g[1], static_cast<uint32_t>(g[0]));
    const Bytes screened = Engine(image, g[0], g[1], g[2], g[3], g[4], 34);
    const size_t outBytes = static_cast<size_t>(test::Stride(g[0], 1)) * g[1];
    Bytes expected(outBytes, 0xA5), streamed(outBytes, 0xA5);
    PackOneBit(screened.data(), g[0], g[1], expected.data());
    ScreenImageToOneBit(g_defaultState, image.data(), streamed.data(), g[0], g[1], g[2], g[3],
                        g[4]);
    EXPECT_EQ(streamed, expected) << g[0] << "x" << g[1];
  }
}

}  // namespace
