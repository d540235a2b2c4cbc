// The halftone engine: ten replicated pixels each side of the screened grid, and the row stream
// of the image calls equal to the engine plus packing on every screen and kind of cell grid. (The enlargement of
// cells by dot mode is in the dispatcher's tests, all outputs are golden.)
#include "image/halftone_engine.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include "config/tone_curve.h"
#include "image/dot_ditherers.h"
#include "image/error_diffusion_screen.h"
#include "image/image_packing.h"
#include "image/image_row_stream.h"
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

// The row stream of the image calls against the engine on the whole raster followed by the
// packing of the whole raster: every screen at both depths, on every kind of cell grid, with
// random bytes in the image's row padding (which the 2-bit packing reads past the width).
TEST_F(HalftoneEngine, RowStreamEqualsTheEngineFollowedByPacking) {
  const int grids[][5] = {{45, 23, 1, 1, 1}, {1, 1, 1, 1, 1},    {10, 7, 1, 3, 1},  {6, 9, 2, 1, 2},
                          {33, 17, 2, 1, 3}, {100, 31, 4, 2, 3}, {31, 12, 1, 31, 1}};
  for (const auto& g : grids)
    for (int type : {34, 39, 40, 41, 42})
      for (int bits : {1, 2})
        for (bool diffusion : {false, true}) {
          const int width = g[0], height = g[1];
          Bytes image = test::RandomScene(width, height, static_cast<uint32_t>(width + type));
          for (size_t i = 0; i < image.size(); ++i)
            if (i % S8(width) >= static_cast<size_t>(width))
              image[i] = static_cast<uint8_t>(i * 37);
          g_defaultState.useTemplateDiffusion = diffusion;
          const Bytes screened = Engine(image, width, height, g[2], g[3], g[4], type);
          const size_t outBytes = static_cast<size_t>(test::Stride(width, bits)) * height;
          Bytes expected(outBytes, 0), streamed(outBytes, 0xA5);
          BuildPackTables();
          (bits == 1 ? PackOneBit : PackTwoBit)(screened.data(), width, height, expected.data());
          ImageRowStream stream(g_defaultState, type, bits, width, height, g[2], g[3], g[4]);
          for (int y = 0; y < height; ++y)
            stream.NextRow(&image[S8(width) * y], &streamed[test::Stride(width, bits) * y]);
          EXPECT_EQ(streamed, expected) << width << "x" << height << " type " << type << ", "
                                        << bits << " bits" << (diffusion ? ", diffusion" : "");
        }
}

// The 2-bit call's dot screens straight on the image, row by row, against one screen of the
// whole image: the matrix row carries on from row to row.
TEST_F(HalftoneEngine, DotScreenRowsEqualTheWholeImageScreen) {
  const int sizes[][2] = {{1, 3}, {7, 5}, {200, 140}};
  for (const auto& size : sizes)
    for (int type : {39, 40, 41}) {
      const int width = size[0], height = size[1];
      const Bytes image = test::RandomScene(width, height, 5);
      Bytes screened(image.size());
      C2BitDitherSDot small(0, 2, 1);
      BuildSDotTable();
      if (type == 39) small.Dither(image.data(), screened.data(), width, height);
      if (type == 40) DitherSMDot(image.data(), screened.data(), width, height);
      if (type == 41) DitherSMLDot(image.data(), screened.data(), width, height);
      const size_t stride = static_cast<size_t>(test::Stride(width, 2));
      Bytes expected(stride * height, 0xA5), streamed = expected;
      BuildPackTables();
      PackTwoBit(screened.data(), width, height, expected.data());
      const auto stream = ImageRowStream::DotScreenOnImage(type, width, height);
      for (int y = 0; y < height; ++y)
        stream->NextRow(&image[S8(width) * y], &streamed[stride * y]);
      EXPECT_EQ(streamed, expected) << width << "x" << height << " type " << type;
    }
}

}  // namespace
