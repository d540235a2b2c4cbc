// The jittered line overlay: the softening curve, which pixels the lines reach, and how many
// random numbers they use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "patterns/line_overlay.h"
#include "support/raster.h"

namespace {

int Soften(int v) {
  unsigned char p = static_cast<unsigned char>(v);
  SoftenPixel(&p);
  return p;
}

// rand() after srand(seed) and `draws` earlier calls.
int RandAfter(unsigned seed, long draws) {
  std::srand(seed);
  for (long i = 0; i < draws; ++i) std::rand();
  return std::rand();
}

struct Overlaid {
  test::Bytes raster;
  int nextRand;
};

Overlaid Overlay(int rows, int cols, int angle, unsigned seed, uint8_t fill) {
  Overlaid out{test::Bytes(static_cast<size_t>(test::Stride(cols, 8)) * rows, fill), 0};
  std::srand(seed);
  PatternRandom cLibrary(PatternRandom::Source::kCLibrary);
  ApplyLineOverlay(out.raster.data(), cols, rows, angle, cLibrary);
  out.nextRand = std::rand();
  return out;
}

// Lines run 10 apart over the left-edge crossings of lines that meet the raster.
long LineCount(int rows, int cols, int angle) {
  const double t = std::tan(angle * 0.017453292222222222);
  const long start = angle > 0 ? 0 : long(cols * t);
  const long end = angle > 0 ? long(std::floor(cols * t + rows)) : rows;
  return (end - start + 9) / 10;
}

TEST(LineOverlay, SoftenPixelPullsGreysTowardsTheMiddle) {
  const int pairs[][2] = {{0, 49},    {1, 50},    {53, 102},  {54, 103},  {100, 126}, {127, 127},
                          {128, 127}, {150, 128}, {201, 151}, {202, 152}, {254, 204}, {255, 205}};
  for (const auto& p : pairs) EXPECT_EQ(Soften(p[0]), p[1]) << p[0];
  for (int v = 1; v < 256; ++v) EXPECT_GE(Soften(v), Soften(v - 1)) << v;
}

// One number per row and line on a raster taller than wide, two per column and line otherwise;
// the lines never reach row 0 of a wide raster nor column 0 of a tall one.
TEST(LineOverlay, RandomNumbersUsedAndPixelsReachedDependOnTheShape) {
  for (int angle : {5, -5}) {
    for (const bool tall : {false, true}) {
      const int rows = tall ? 150 : 30, cols = tall ? 100 : 97, stride = test::Stride(cols, 8);
      const Overlaid a = Overlay(rows, cols, angle, 3, 0);
      const long draws = (tall ? rows : 2 * cols) * LineCount(rows, cols, angle);
      EXPECT_EQ(a.nextRand, RandAfter(3, draws)) << angle << tall;
      int touched = 0, twice = 0;
      for (int y = 0; y < rows; ++y)
        for (int x = 0; x < stride; ++x) {
          const int v = a.raster[y * stride + x];
          ASSERT_TRUE(v == 0 || (x < cols && (tall ? x > 0 : y > 0))) << y << "," << x;
          touched += v != 0;
          twice += v == Soften(49);  // softened again: crossed twice
        }
      EXPECT_GT(touched, tall ? 50 : 3 * cols);
      EXPECT_TRUE(tall || twice > 0);
      EXPECT_EQ(Overlay(rows, cols, angle, 3, 0).raster, a.raster);
      EXPECT_NE(Overlay(rows, cols, angle, 4, 0).raster, a.raster);
    }
  }
}

TEST(LineOverlay, UnusableAnglesAndRastersDrawNothing) {
  for (int angle : {0, 90, -90}) {
    const Overlaid a = Overlay(20, 20, angle, 1, 77);
    EXPECT_EQ(a.raster, test::Bytes(20 * 20, 77)) << angle;
    EXPECT_EQ(a.nextRand, RandAfter(1, 0)) << angle;
  }
  PatternRandom own;
  ApplyLineOverlay(nullptr, 10, 10, 5, own);
}

TEST(LineOverlay, GoldenRasters) {
  EXPECT_EQ(test::Fingerprint(Overlay(64, 200, 5, 0, 30).raster), "54f24f06299deee1");
  EXPECT_EQ(test::Fingerprint(Overlay(64, 200, -5, 2000, 230).raster), "35a85c5ce93e7511");
  EXPECT_EQ(test::Fingerprint(Overlay(150, 101, -5, 0, 128).raster), "d8f5982f8d1a1dba");
}

}  // namespace
