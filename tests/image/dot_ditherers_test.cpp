// The 2-bit dot screens (template types 39, 40, 41 of the 2-bit entry): each grey band gives its
// two dot levels, the darker one where the band's ramp exceeds the 128 matrix's threshold; the
// two column halves each start at matrix column 0, and rows wrap every 128.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <functional>

#include "image/threshold_matrices.h"
#include "support/raster.h"

namespace {

using test::Bytes;

TEST(DotDitherers, FlatGreysGiveTheLevelsOfTheirBand) {
  const struct {
    int type, grey;
    std::function<int(int)> levelAt;  // dot level (0 large .. 255 none) at matrix threshold t
  } cases[] = {
      {39, 255, [](int) { return 255; }},
      {39, 0, [](int t) { return t > 0 ? 170 : 255; }},
      {40, 127, [](int) { return 170; }},
      {40, 0, [](int t) { return t >= 253 ? 170 : 85; }},
      {41, 170, [](int) { return 170; }},
      {41, 84, [](int) { return 85; }},
      {41, 0, [](int t) { return t >= 252 ? 85 : 0; }},
      {41, 255, [](int) { return 255; }},
  };
  const int width = 200, height = 130, half = width / 2;
  for (const auto& c : cases) {
    Bytes image(static_cast<size_t>(test::Stride(width, 8)) * height, static_cast<uint8_t>(c.grey));
    Bytes out(static_cast<size_t>(test::Stride(width, 2)) * height);
    ASSERT_EQ(KORVEL_GetImageTempateData_2Bit(image.data(), out.data(), width, height,
                                              static_cast<__QUENTAL_TEMPLATE_TYPE>(c.type), 1, 1,
                                              static_cast<__QUENTAL_DOT_MODE>(0), false),
              1);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int t = g_dotMatrix128[(y % 128) * 128 + (x < half ? x : x - half) % 128];
        ASSERT_EQ(test::PixelAt(out, width, 2, x, y), 3 - c.levelAt(t) / 85)
            << "type " << c.type << " grey " << c.grey << " at " << x << "," << y;
      }
  }
}

}  // namespace
