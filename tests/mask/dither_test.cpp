// Screening against a loaded mask, checked pixel by pixel against the rule written out with
// 64-bit modular arithmetic, over random masks, walks (offsets of any sign, steps), planes,
// depths and widths; bits and bytes past the pixels are zero.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <vector>

#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;

TEST(MaskDither, FollowsTheRuleForAnyWalkDepthAndShape) {
  // Thresholds spread over 0..400, then over -300..100, with M = 254 so that they load as they
  // are: above 254 nothing dots, below 0 even white does (a mask with those screens otherwise).
  const int w = 5, h = 3, planes = 2;
  std::vector<int32_t> raw(planes * h * w);
  const int offsets[] = {0, 3, -1, -5, -6, 11, INT32_MIN, INT32_MAX};
  const int steps[] = {0, 1, 2, 4, 5, 7, 13, INT32_MAX};
  test::Random random{5};
  auto mask = test::NewMaskGenerator();
  for (int round = 0; round < 600; ++round) {
    if (round % 300 == 0) {
      for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<int32_t>((i * 97 + 13) % 401) - round;
      const Bytes stored = test::StoredMask(planes, h, w, 254, raw);
      ASSERT_TRUE(mask->LoadMask(stored.data(), static_cast<int>(stored.size())));
    }
    const int width = 1 + random.Below(40), height = 1 + random.Below(4), plane = random.Below(2);
    const int xOffset = offsets[random.Below(8)], yOffset = offsets[random.Below(8)];
    const int xStep = steps[random.Below(8)], yStep = steps[random.Below(8)];
    const int bits = random.Below(3), depth = bits == 1 ? 1 : 2;  // anything but 1 is 2 bits
    const int stride = test::Stride(width, depth) + random.Below(2) * 4;
    Bytes source(static_cast<size_t>(width) * height),
        out(static_cast<size_t>(stride) * height, 0xEE);
    for (auto& v : source) v = static_cast<uint8_t>(random.Below(256));
    ASSERT_TRUE(mask->Dither(source.data(), out.data(), stride, width, height, plane, xOffset,
                             yOffset, xStep, yStep, bits));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < stride * 8 / depth; ++x) {
        const int64_t column = ((xOffset % w + w) % w + int64_t{x} * xStep) % w;
        const int64_t row = ((yOffset % h + h) % h + int64_t{y} * yStep) % h;
        const bool dot =
            x < width && 255 - source[y * width + x] > raw[(plane * h + row) * w + column];
        const Bytes line(out.begin() + y * stride, out.begin() + (y + 1) * stride);
        ASSERT_EQ(test::PixelAt(line, stride * 8 / depth, depth, x, 0), dot ? (1 << depth) - 1 : 0)
            << "round " << round << " pixel " << x << "," << y;
      }
  }
}

}  // namespace
