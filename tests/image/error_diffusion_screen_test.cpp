// The image error-diffusion screen: extremes, the restart rule, the row turn, tone-curve
// clamping, the raster contract and golden outputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "config/tone_curve.h"
#include "image/error_diffusion_kernel.h"
#include "image/error_diffusion_screen.h"
#include "support/raster.h"
#include "template/raster_geometry.h"

namespace {

using test::Bytes;

constexpr int32_t kSentinelError = 7777;  // restart error of the probe tables
constexpr int32_t kSentinelBias = 4242;

void UseIdentityCurve() {
  for (int i = 0; i < kToneCurveSize; ++i) g_toneCurve[i] = i;
}

// Screen an 8-bit raster (stride8) through the public path; padding bytes start at 0xEE.
Bytes Screen(Bytes source, int width, int height) {
  Bytes out(source.size(), 0xEE);
  RunErrorDiffusionScreen(source.data(), out.data(), width, height);
  return out;
}

Bytes Flat(int width, int height, uint8_t grey) {
  return Bytes(static_cast<size_t>(Stride8(width)) * height, grey);
}

// A deterministic photograph-like raster: smooth gradients with sharp steps and noise.
Bytes Scene(int width, int height) {
  Bytes image = Flat(width, height, 0);
  uint32_t noise = 99;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      int v = (x * 255) / width;
      if (y > height / 3 && x > width / 4) v = 255 - v / 2;
      if (y > 2 * height / 3) v = (y * 7 + x) % 256;
      v += static_cast<int>(noise >> 29) - 4;
      image[static_cast<size_t>(y) * Stride8(width) + x] =
          static_cast<uint8_t>(std::clamp(v, 0, 255));
    }
  }
  return image;
}

// Tables whose restarts are recognisable: every restart state holds the sentinels.
struct ProbeTables {
  std::vector<int32_t> error =
      std::vector<int32_t>(kImgBucketCount * kImgRestartCycle, kSentinelError);
  std::vector<int32_t> bias =
      std::vector<int32_t>(kImgBucketCount * kImgRestartCycle, kSentinelBias);
  ErrorDiffusionTables tables;
  ProbeTables() : tables(BuiltInErrorDiffusionTables()) {
    tables.restartError = reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(error.data());
    tables.restartBias = reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(bias.data());
  }
};

// The (error, bias) the pixel at column x of the last row holds, screening rows of amounts.
struct Seen {
  int32_t error = 0, bias = 0;
};
Seen StateAt(const std::vector<std::vector<uint16_t>>& rows, int x, const int32_t* curve,
             const ErrorDiffusionTables& tables) {
  const int width = static_cast<int>(rows[0].size());
  ImageErrorDiffusion diffusion(width, curve, tables);
  std::vector<uint8_t> dots(width);
  Seen seen;
  for (size_t y = 0; y < rows.size(); ++y) {
    diffusion.DiffuseRow(static_cast<int>(y), rows[y].data(), dots.data(),
                         [&](int at, int32_t error, int32_t bias) {
                           if (at == x && y + 1 == rows.size()) seen = {error, bias};
                         });
  }
  return seen;
}

std::vector<int32_t> IdentityCurve() {
  std::vector<int32_t> curve(kToneCurveSize);
  for (int i = 0; i < kToneCurveSize; ++i) curve[i] = i;
  return curve;
}

class ErrorDiffusionScreen : public ::testing::Test {
 protected:
  void SetUp() override { UseIdentityCurve(); }
  void TearDown() override { UseIdentityCurve(); }
};

TEST_F(ErrorDiffusionScreen, WhiteAndFullInkStayUniformWithPaddingUntouched) {
  for (int width : {1, 21, 37, 300}) {
    const int height = 9, stride = Stride8(width);
    const Bytes white = Screen(Flat(width, height, 255), width, height);
    const Bytes black = Screen(Flat(width, height, 0), width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < stride; ++x) {
        const size_t i = static_cast<size_t>(y) * stride + x;
        ASSERT_EQ(white[i], x < width ? 255 : 0xEE) << width << " " << x << "," << y;
        ASSERT_EQ(black[i], x < width ? 0 : 0xEE) << width << " " << x << "," << y;
      }
    }
  }
}

TEST_F(ErrorDiffusionScreen, EveryPixelIsDotOrNoDotAndDeterministic) {
  const int width = 203, height = 64;
  const Bytes scene = Scene(width, height);
  const Bytes first = Screen(scene, width, height), second = Screen(scene, width, height);
  EXPECT_EQ(first, second);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t v = first[static_cast<size_t>(y) * Stride8(width) + x];
      ASSERT_TRUE(v == 0 || v == 255) << x << "," << y;
    }
}

TEST_F(ErrorDiffusionScreen, ImagePathMatchesTheAmountGrid) {
  const int width = 77, height = 40;
  const Bytes scene = Scene(width, height);
  std::vector<uint16_t> amounts(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      amounts[static_cast<size_t>(y) * width + x] =
          10 * scene[static_cast<size_t>(y) * Stride8(width) + x];
  Bytes fromGrid(scene.size(), 0xEE);
  DiffuseAmountGrid(fromGrid.data(), amounts.data(), width, height);
  EXPECT_EQ(Screen(scene, width, height), fromGrid);
}

TEST_F(ErrorDiffusionScreen, RestartWhenTheTargetMovesMoreThan200FromTheColumn) {
  const ProbeTables probe;
  const std::vector<int32_t> curve = IdentityCurve();
  const auto rows = [](int above, int below) {
    return std::vector<std::vector<uint16_t>>{std::vector<uint16_t>(30, 2550 - above),
                                              std::vector<uint16_t>(30, 2550 - below)};
  };
  struct Case {
    int above, below;
    bool restarts;
  } cases[] = {
      {1000, 1200, false}, {1000, 1201, true},  {1000, 800, false}, {1000, 799, true},
      {2550, 2549, true},  {2550, 2550, false}, {5, 205, false},    {5, 206, true},
  };
  for (const Case& c : cases) {
    const Seen seen = StateAt(rows(c.above, c.below), 15, curve.data(), probe.tables);
    EXPECT_EQ(seen.error == kSentinelError && seen.bias == kSentinelBias, c.restarts)
        << c.above << " -> " << c.below << ": " << seen.error;
  }
}

TEST_F(ErrorDiffusionScreen, ZeroTargetUnderZeroContinuesAndAnyOtherRestarts) {
  // Amount 2540 (target 10 under the identity) is mapped to target 0 here, so a column whose
  // last target is 0 is met without the white reset.
  const ProbeTables probe;
  std::vector<int32_t> curve = IdentityCurve();
  curve[10] = 0;
  curve[20] = 10;
  const std::vector<std::vector<uint16_t>> zeroRow = {std::vector<uint16_t>(30, 2540)};
  const Seen zero = StateAt(zeroRow, 7, curve.data(), probe.tables);
  EXPECT_EQ(zero.error, 0);
  EXPECT_EQ(zero.bias, 0);
  const std::vector<std::vector<uint16_t>> tenRow = {std::vector<uint16_t>(30, 2530)};
  EXPECT_EQ(StateAt(tenRow, 7, curve.data(), probe.tables).error, kSentinelError);
  // A white pixel resets its column to target 0 and leaves -150 ahead and -150 below.
  const std::vector<std::vector<uint16_t>> whiteRows = {std::vector<uint16_t>(30, 2550),
                                                        std::vector<uint16_t>(30, 2550)};
  EXPECT_EQ(StateAt(whiteRows, 7, curve.data(), probe.tables).error, -300);
}

TEST_F(ErrorDiffusionScreen, LastPixelCarriesIntoTheSameColumnOfTheNextRow) {
  // Target 100 uses the fixed light weights: a dot sends 440 per mille ahead and 560 below,
  // no dot the other way round; nothing goes behind at targets up to 30, 17.7 % at 100.
  const int width = 25;
  const std::vector<int32_t> curve = IdentityCurve();
  const std::vector<std::vector<uint16_t>> rows(2, std::vector<uint16_t>(width, 2450));
  ImageErrorDiffusion diffusion(width, curve.data());
  std::vector<uint8_t> dots(width);
  int32_t lastError = 0;
  diffusion.DiffuseRow(0, rows[0].data(), dots.data(), [&](int x, int32_t error, int32_t) {
    if (x == width - 1) lastError = error;
  });
  const bool dot = dots[width - 1] == 0;
  const int32_t value = lastError + 100 - (dot ? 2550 : 0);
  const int32_t wAhead = dot ? g_imgLightWeightA[100] : g_imgLightWeightB[100];
  const int32_t wBelow = dot ? g_imgLightWeightB[100] : g_imgLightWeightA[100];
  int32_t turned = 0;
  diffusion.DiffuseRow(1, rows[1].data(), dots.data(), [&](int x, int32_t error, int32_t) {
    if (x == width - 1) turned = error;
  });
  EXPECT_EQ(turned, value * wAhead / 1000 + value * wBelow / 1000);
}

TEST_F(ErrorDiffusionScreen, OutOfRangeToneCurveValuesAreClamped) {
  const int width = 64, height = 24;
  const Bytes scene = Scene(width, height);
  for (int i = 0; i < kToneCurveSize; ++i) g_toneCurve[i] = (i % 3 == 0) ? -900 : 4000 + i;
  const Bytes wild = Screen(scene, width, height);
  for (int i = 0; i < kToneCurveSize; ++i) g_toneCurve[i] = (i % 3 == 0) ? 0 : 2550;
  EXPECT_EQ(wild, Screen(scene, width, height));
}

TEST_F(ErrorDiffusionScreen, AmountsAboveTheScaleReadAsWhite) {
  const int width = 40, height = 6;
  std::vector<uint16_t> amounts(static_cast<size_t>(width) * height, 2600);
  std::fill(amounts.begin(), amounts.begin() + width, 60000);
  Bytes out(static_cast<size_t>(Stride8(width)) * height, 0);
  DiffuseAmountGrid(out.data(), amounts.data(), width, height);
  EXPECT_EQ(test::CountDots(out, width, height, 8), static_cast<int64_t>(width) * height);
}

TEST_F(ErrorDiffusionScreen, LightRuleRegularisesOnlyTheLightestTargets) {
  // Resetting the light-rule error to 0 changes a flat run at target 10 but not one at 30.
  const std::vector<int32_t> curve = IdentityCurve();
  const std::vector<int32_t> noReset(kImgLightTableSize, 0);
  ErrorDiffusionTables altered = BuiltInErrorDiffusionTables();
  altered.lightResetError = noReset.data();
  const auto run = [&](int target, const ErrorDiffusionTables& tables) {
    const int width = 200;
    ImageErrorDiffusion diffusion(width, curve.data(), tables);
    const std::vector<uint16_t> row(width, 2550 - target);
    std::vector<uint8_t> dots(width), all;
    for (int y = 0; y < 400; ++y) {
      diffusion.DiffuseRow(y, row.data(), dots.data());
      all.insert(all.end(), dots.begin(), dots.end());
    }
    return all;
  };
  EXPECT_NE(run(10, BuiltInErrorDiffusionTables()), run(10, altered));
  EXPECT_EQ(run(30, BuiltInErrorDiffusionTables()), run(30, altered));
}

// The division by 1000 is exact over products of errors within +-65536 (checked in the table
// tests); errors on hostile inputs stay far inside that.
TEST_F(ErrorDiffusionScreen, ErrorsStayWithinTheCheckedRange) {
  const int width = 128, height = 256;
  uint32_t noise = 7;
  std::vector<std::vector<uint16_t>> rows(height, std::vector<uint16_t>(width));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int kind = (y / 64) % 4;
      rows[y][x] = kind == 0   ? static_cast<uint16_t>((noise >> 20) % 2551)
                   : kind == 1 ? static_cast<uint16_t>(((x + y) & 1) ? 0 : 2549)
                   : kind == 2 ? static_cast<uint16_t>((x & 4) ? 2550 : 2340)
                               : static_cast<uint16_t>((noise >> 31) ? 0 : 2300);
    }
  const std::vector<int32_t> curve = IdentityCurve();
  ImageErrorDiffusion diffusion(width, curve.data());
  std::vector<uint8_t> dots(width);
  int32_t largest = 0;
  for (int y = 0; y < height; ++y) {
    diffusion.DiffuseRow(y, rows[y].data(), dots.data(), [&](int, int32_t error, int32_t) {
      largest = std::max(largest, error < 0 ? -error : error);
    });
  }
  EXPECT_LT(largest, 8000);
}

TEST_F(ErrorDiffusionScreen, GoldenOutputs) {
  struct Golden {
    int width, height;
    const char* fingerprint;
  } cases[] = {
      {203, 64, "4c3067b1f294bead"}, {21, 300, "fa7e4be00e8865c9"}, {1024, 48, "b18b96f10b20323a"}};
  for (const Golden& g : cases) {
    EXPECT_EQ(test::Fingerprint(Screen(Scene(g.width, g.height), g.width, g.height)), g.fingerprint)
        << g.width << "x" << g.height;
  }
}

// The same multiply and shift divides any int32 by 1000: it is monotone in n, so checking both
// ends of every block of 1000 equal quotients covers the whole range.
TEST(ErrorDiffusionScreenArithmetic, DivisionBy1000IsExactForEveryInt32) {
  for (int64_t q = INT32_MIN / 1000 - 1; q <= INT32_MAX / 1000 + 1; ++q) {
    for (int64_t n : {q * 1000 - 999, q * 1000, q * 1000 + 999}) {
      if (n < INT32_MIN || n > INT32_MAX) continue;
      const int32_t m = static_cast<int32_t>(n);
      ASSERT_EQ(DivideBy1000(m), m / 1000) << m;
    }
  }
  EXPECT_EQ(DivideBy1000(INT32_MIN), INT32_MIN / 1000);
  EXPECT_EQ(DivideBy1000(INT32_MAX), INT32_MAX / 1000);
}

}  // namespace
