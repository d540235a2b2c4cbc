// The jittered line overlay: the softening curve, which pixels the lines reach, and how many
// random numbers they use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "image/line_overlay.h"
#include "support/raster.h"

namespace {

int Soften(int v) {
  unsigned char p = static_cast<unsigned char>(v);
  SoftenPixel(&p);
  return p;
}

// The value rand() gives after srand(seed) and `draws` earlier calls.
int RandAfter(unsigned seed, long draws) {
  std::srand(seed);
  for (long i = 0; i < draws; ++i) std::rand();
  return std::rand();
}

struct Overlaid {
  test::Bytes raster;
  int nextRand;  // rand() right after the overlay
};

Overlaid Overlay(int rows, int cols, int angle, unsigned seed, uint8_t fill = 0) {
  Overlaid out{test::Bytes(static_cast<size_t>(test::Stride(cols, 8)) * rows, fill), 0};
  std::srand(seed);
  EXPECT_EQ(ApplyLineOverlay(out.raster.data(), rows, cols, angle), 1);
  out.nextRand = std::rand();
  return out;
}

// Lines are 10 apart over the range of left-edge crossings that meet the raster.
long LineCount(int rows, int cols, int angle) {
  const double t = std::tan(angle * 0.017453292222222222);
  const long start = angle > 0 ? 0 : static_cast<long>(cols * t);
  const long end = angle > 0 ? static_cast<long>(std::floor(cols * t + rows)) : rows;
  return end > start ? (end - start + 9) / 10 : 0;
}

TEST(LineOverlay, SoftenPixelPullsGreysTowardsTheMiddle) {
  const int pairs[][2] = {{0, 49},    {1, 50},    {53, 102},  {54, 103},  {100, 126}, {127, 127},
                          {128, 127}, {150, 128}, {201, 151}, {202, 152}, {254, 204}, {255, 205}};
  for (const auto& p : pairs) EXPECT_EQ(Soften(p[0]), p[1]) << p[0];
  for (int v = 1; v < 256; ++v) EXPECT_GE(Soften(v), Soften(v - 1)) << v;
}

TEST(LineOverlay, WideRasterUsesTwoNumbersPerColumnAndLineAndSparesRowZero) {
  for (int angle : {5, -5}) {
    const int rows = 30, cols = 97, stride = test::Stride(cols, 8);
    const Overlaid a = Overlay(rows, cols, angle, 3);
    EXPECT_EQ(a.nextRand, RandAfter(3, 2 * cols * LineCount(rows, cols, angle))) << angle;
    int touched = 0, twice = 0;
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < cols; ++x) {
        const int v = a.raster[y * stride + x];
        ASSERT_TRUE(v == 0 || v == Soften(0) || v == Soften(Soften(0)) ||
                    v == Soften(Soften(Soften(0))) || v == Soften(Soften(Soften(Soften(0)))))
            << v;
        touched += v != 0;
        twice += v == Soften(Soften(0));
      }
      if (y == 0) {
        EXPECT_EQ(touched, 0);
      }
    }
    EXPECT_GT(touched, 3 * cols);  // every column of every line crossing the raster
    EXPECT_GT(twice, 0);           // a second jitter of 0 softens the same pixel again
    for (int y = 0; y < rows; ++y)
      for (int x = cols; x < stride; ++x) ASSERT_EQ(a.raster[y * stride + x], 0);
    EXPECT_EQ(Overlay(rows, cols, angle, 3).raster, a.raster);
    EXPECT_NE(Overlay(rows, cols, angle, 4).raster, a.raster);
  }
}

TEST(LineOverlay, TallRasterUsesOneNumberPerRowAndLineAndSparesColumnZero) {
  for (int angle : {5, -5}) {
    const int rows = 150, cols = 100, stride = test::Stride(cols, 8);
    const Overlaid a = Overlay(rows, cols, angle, 8, 255);
    EXPECT_EQ(a.nextRand, RandAfter(8, rows * LineCount(rows, cols, angle))) << angle;
    int touched = 0;
    for (int y = 0; y < rows; ++y) {
      EXPECT_EQ(a.raster[y * stride], 255);
      for (int x = 1; x < cols; ++x) touched += a.raster[y * stride + x] != 255;
    }
    EXPECT_GT(touched, 0);
    EXPECT_EQ(Overlay(rows, cols, angle, 8, 255).raster, a.raster);
  }
}

TEST(LineOverlay, UnusableAnglesAndRastersDrawNothingAndDrawNoNumbers) {
  for (int angle : {0, 90, -90, 1000}) {
    const Overlaid a = Overlay(20, 20, angle, 1, 77);
    EXPECT_EQ(a.raster, test::Bytes(20 * 20, 77)) << angle;
    EXPECT_EQ(a.nextRand, RandAfter(1, 0)) << angle;
  }
  std::srand(1);
  EXPECT_EQ(ApplyLineOverlay(nullptr, 10, 10, 5), 1);
  unsigned char pixel = 0;
  EXPECT_EQ(ApplyLineOverlay(&pixel, 0, 1, 5), 1);
  const int next = std::rand();
  EXPECT_EQ(next, RandAfter(1, 0));
}

TEST(LineOverlay, GoldenRasters) {
  EXPECT_EQ(test::Fingerprint(Overlay(64, 200, 5, 0, 30).raster), "54f24f06299deee1");
  EXPECT_EQ(test::Fingerprint(Overlay(64, 200, -5, 2000, 230).raster), "35a85c5ce93e7511");
  EXPECT_EQ(test::Fingerprint(Overlay(150, 101, -5, 0, 128).raster), "d8f5982f8d1a1dba");
}

}  // namespace
