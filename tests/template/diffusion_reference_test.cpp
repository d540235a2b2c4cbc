// The template diffusion against a plain reference written straight from its rules, over
// random images and every level: uniform templates at 1, 2 and 4 bits and the 4-bit image path
// must place exactly the reference's dots.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "interface/globals.h"
#include "support/raster.h"
#include "template/diffusion_step.h"
#include "template/restart_tables.h"

namespace {

using test::Bytes;
using test::Stride;

// amounts[y][x] -> dots[y][x] (1 for a dot), one pixel at a time, no shortcuts: serpentine
// rows; a column restarts from the tables where its amount jumps; a dot where bias + error +
// pull > 0 (a damping mark weakens the pull); the lightest amounts are pulled towards a table
// error; the error goes 44 % ahead after a dot (56 % without) and the rest below; a dot raises
// the bias ahead and below and marks the pixels diagonally below every second dot.
std::vector<std::vector<int>> ReferenceDiffusion(const std::vector<std::vector<int>>& amounts) {
  const TemplateTables& tables = BuiltInTemplateTables();
  const int width = static_cast<int>(amounts[0].size());
  // Per column: error, bias and damping mark for this row, and the same for the row below.
  std::vector<int> error(width), bias(width), mark(width), columnAmount(width, 0);
  std::vector<int> nextError(width), nextBias(width), nextMark(width, 0);
  int parity = 0, previousAmount = 0;
  std::vector<std::vector<int>> dots(amounts.size(), std::vector<int>(width));
  for (size_t y = 0; y < amounts.size(); ++y) {
    const int dir = y % 2 == 0 ? 1 : -1;  // serpentine
    int carriedError = 0, carriedBias = 0, counter = 0, lightCount = 0;
    bool lightArmed = false;
    for (int i = 0; i < width; ++i) {
      const int x = dir > 0 ? i : width - 1 - i;
      const int a = amounts[y][x];
      int e = error[x] + carriedError, b = bias[x] + carriedBias, m = mark[x];
      const int g = columnAmount[x];
      if ((std::abs(a - g) > 400 || (g == 0 && a != 0)) && a >= 3 && a <= 2549) {
        const int bucket = a <= 10 ? a - 3 : (a - 1) / 10 + 7;
        e = tables.restartError[bucket * 256 + counter];
        m = a >= 1280 ? tables.restartFlag[counter] : 0;
        b = a > 500 ? tables.restartBias[bucket * 256 + counter] : 0;
        counter = (counter + 1) % 255;
      }
      columnAmount[x] = a;
      const int pull = m && a > 300 ? 3 * a / 5 : a;
      const int dot = b + e + pull > 0;
      e += a - (dot ? 2550 : 0);
      const int weight = dot ? 44 : 56;  // share of the error sent ahead
      dots[y][x] = dot;
      parity ^= dot;
      if (a <= 22) {
        if (dot) lightCount = 0, lightArmed = true;
        if (lightArmed && a >= 3) {
          if (std::abs(a - previousAmount) > 50) {
            lightCount = 0, lightArmed = false;
          } else if (++lightCount >= tables.lightDotSpacing[a]) {
            const int r = tables.lightResetError[a];
            e = e < r ? r * 90 / 100 : r * 110 / 100;
            lightCount = 0, lightArmed = false;
          }
        }
      }
      if (i == width - 1) {  // the end of a scan sends everything down
        nextError[x] = e;
        nextBias[x] = dot ? 1683 : 0;
      } else {
        carriedError = weight * e / 100;
        nextError[x] = e - carriedError;
        carriedBias = dot ? 714 : 0;
        nextBias[x] = dot ? 969 : 0;
        if (dot && parity) {
          nextMark[x + dir] = 1;
          if (i > 0) nextMark[x - dir] = 1;
        }
      }
      previousAmount = a;
    }
    error.swap(nextError), bias.swap(nextBias), mark.swap(nextMark);
    std::fill(nextMark.begin(), nextMark.end(), 0);
  }
  return dots;
}

class TemplateReference : public ::testing::Test {
 protected:
  void SetUp() override { KORVEL_Init(50); }
};

// Every level with the linear table, and then the lightest amounts 3..22 (which the linear table
// never gives) installed at level 1's entry over a larger area.
TEST_F(TemplateReference, UniformTemplatesAtEveryDepthAndLevel) {
  for (int round = 0; round <= 120; ++round) {
    const int level = round <= 100 ? round : 1, w = round <= 100 ? 37 : 211,
              h = round <= 100 ? 29 : 64;
    if (round > 100) g_levelAmount[3] = round - 98;
    const int amount = g_levelAmount[std::min(static_cast<int>(level * 2.55 + 0.5), 255)];
    const auto dots =
        ReferenceDiffusion(std::vector<std::vector<int>>(h, std::vector<int>(w, amount)));
    for (int bits : {1, 2, 4}) {
      Bytes out(static_cast<size_t>(Stride(w, bits)) * h, 0xEE);
      const auto fn = bits == 1   ? KORVEL_GetTempateData_1Bit
                      : bits == 2 ? KORVEL_GetTempateData_2Bit
                                  : KORVEL_GetTempateData_4Bit;
      ASSERT_EQ(fn(out.data(), w, h, level), 1);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          ASSERT_EQ(test::PixelAt(out, w, bits, x, y), dots[y][x] * ((1 << bits) - 1))
              << "amount " << amount << ", " << bits << " bits, pixel " << x << "," << y;
      EXPECT_EQ(test::CountDots(out, Stride(w, bits) * 8 / bits, h, bits),
                test::CountDots(out, w, h, bits))
          << "bits past the width stay clear";
    }
  }
}

// The 4-bit image path: each pixel takes the amount of level index 255 - grey.
TEST_F(TemplateReference, ImagePathFollowsEachPixelsLevel) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    const int w = 1 + static_cast<int>(seed * 13 % 61), h = 24;
    Bytes image = test::RandomScene(w, h, seed), out(static_cast<size_t>(Stride(w, 4)) * h, 0xEE);
    std::vector<std::vector<int>> amounts(h, std::vector<int>(w));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) amounts[y][x] = g_levelAmount[255 - image[y * Stride(w, 8) + x]];
    const auto dots = ReferenceDiffusion(amounts);
    ASSERT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out.data(), w, h), 1);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(test::PixelAt(out, w, 4, x, y), dots[y][x] * 15) << seed << ": " << x << "," << y;
  }
}

// Amounts far outside the full scale (a tone curve may produce them) stay defined however tall
// the raster: a dot everywhere above it, none below (the sanitizer build checks the arithmetic).
TEST_F(TemplateReference, AmountsFarOutsideTheFullScale) {
  const int w = 3, h = 3000;
  for (int32_t amount : {2551, INT_MAX, -1, INT_MIN}) {
    g_levelAmount[127] = amount;
    Bytes out(static_cast<size_t>(Stride(w, 1)) * h);
    ASSERT_EQ(KORVEL_GetTempateData_1Bit(out.data(), w, h, 50), 1);
    EXPECT_EQ(test::CountDots(out, w, h, 1), amount > 0 ? int64_t{w} * h : 0) << amount;
  }
}

// The folded percentage equals the truncating division wherever the diffusion can use it.
TEST(SlowDiffusionArithmetic, FoldedPercentEqualsTruncatingDivision) {
  for (int64_t e = -(1 << 24); e <= (1 << 24); ++e) {
    const int32_t v = static_cast<int32_t>(e);
    ASSERT_EQ(TemplateDiffusion::PercentOf<44>(v), (44 * v) / 100) << v;
    ASSERT_EQ(TemplateDiffusion::PercentOf<56>(v), (56 * v) / 100) << v;
  }
}

}  // namespace
