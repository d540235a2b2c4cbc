// Tone curves: the identity, the bent diagonal of template type 11, curves from the parameter
// file of a positive quality level, and the built-in curve of level -1.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstring>
#include <string>

#include "config/tone_curve.h"
#include "data_dir.h"
#include "interface/globals.h"
#include "support/raster.h"

namespace {

constexpr int kBentType = 11;

std::string CurveFile(int count, std::initializer_list<int> params) {
  std::string text = "[QNT_CURVE]\nEffectiveParams=" + std::to_string(count) + "\n";
  int k = 1;
  for (int p : params) text += "Param" + std::to_string(k++) + "=" + std::to_string(p) + "\n";
  return text;
}

// Both tables, for golden comparisons.
std::string TablesFingerprint() {
  test::Bytes bytes(sizeof g_toneCurve + sizeof g_levelAmount);
  std::memcpy(bytes.data(), g_toneCurve, sizeof g_toneCurve);
  std::memcpy(bytes.data() + sizeof g_toneCurve, g_levelAmount, sizeof g_levelAmount);
  return test::Fingerprint(bytes);
}

class ToneCurve : public ::testing::Test {
 protected:
  // Initialises the library at a quality level and installs the curve of a template type.
  void Install(int level, int templateType = 0) {
    KORVEL_Init(level);
    SetupToneCurve(templateType);
  }
  void ExpectMissingCurve() {
    for (int i = 0; i < 2550; ++i) ASSERT_EQ(g_toneCurve[i], 0) << i;
    for (int j = 0; j < 255; ++j) ASSERT_EQ(g_levelAmount[j], 0) << j;
    EXPECT_EQ(g_toneCurve[2550], 2550);
    EXPECT_EQ(g_levelAmount[255], 2541);
  }
  test::ScopedDataDir dir_;
};

TEST_F(ToneCurve, LevelZeroIsTheIdentityWithTheReversedLevelTable) {
  dir_.Write(0, CurveFile(3, {0, 0, 0}));  // never read at level 0
  Install(0);
  for (int i = 0; i <= 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  EXPECT_EQ(g_levelAmount[0], 0);
  for (int j = 1; j < 256; ++j) ASSERT_EQ(g_levelAmount[j], 10 * j - 9) << j;
}

TEST_F(ToneCurve, MissingOrUnusableCurveFilesZeroAllButTheLastEntries) {
  Install(50);  // no file at all
  ExpectMissingCurve();
  for (const std::string& text :
       {CurveFile(2, {100, 100}), CurveFile(-4, {100, 100, 100}), std::string("[QNT_CURVE]\n"),
        std::string("[OTHER]\nEffectiveParams=3\nParam1=100\nParam2=100\nParam3=100\n")}) {
    dir_.Write(50, text);
    Install(50);
    ExpectMissingCurve();
  }
}

TEST_F(ToneCurve, StraightLineFileGivesTheIdentityAndScaledLevels) {
  dir_.Write(10, CurveFile(3, {0, 50, 100}));
  Install(14);  // buckets to 10
  for (int i = 0; i < 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  EXPECT_EQ(g_toneCurve[2550], 2550);
  for (int j = 0; j < 255; ++j) {
    ASSERT_EQ(g_levelAmount[j], static_cast<int>((10 * j + 9 + 0.5) / 255 * 254)) << j;
  }
  EXPECT_EQ(g_levelAmount[0], 9);
  EXPECT_EQ(g_levelAmount[254], 2539);
  EXPECT_EQ(g_levelAmount[255], 2541);
  Install(15);  // buckets to 20, which has no file
  ExpectMissingCurve();
}

TEST_F(ToneCurve, EditedFileIsHonouredWithoutReinitialising) {
  dir_.Write(10, CurveFile(3, {0, 50, 100}));
  Install(10);
  EXPECT_EQ(g_toneCurve[1000], 1000);
  dir_.Write(10, CurveFile(3, {100, 100, 100}));
  SetupToneCurve(0);
  EXPECT_EQ(g_toneCurve[1000], 2550);
}

TEST_F(ToneCurve, MissingParamsCountAsZeroAndValuesAreNotClamped) {
  // Five points at 0, 637.5, 1275, 1912.5, 2550 of which only the first two are given.
  dir_.Write(10, CurveFile(5, {0, 25}));
  Install(10);
  EXPECT_EQ(g_toneCurve[0], 0);
  EXPECT_EQ(g_toneCurve[1275], 0);
  EXPECT_GT(g_toneCurve[637], 600);
  dir_.Write(10, CurveFile(3, {-10, 150, 120}));
  Install(10);
  EXPECT_EQ(g_toneCurve[0], -254);  // trunc(-255 + 0.5)
  EXPECT_EQ(g_toneCurve[1275], 3825);
  EXPECT_GT(g_levelAmount[127], 2550);
}

TEST_F(ToneCurve, LargestPointCountIsUsedAndOneMoreIsRefused) {
  std::string text;
  for (int k = 1; k <= 2552; ++k) text += "Param" + std::to_string(k) + "=100\n";
  dir_.Write(10, "[QNT_CURVE]\nEffectiveParams=2551\n" + text);
  Install(10);
  EXPECT_EQ(g_toneCurve[1234], 2550);
  dir_.Write(10, "[QNT_CURVE]\nEffectiveParams=2552\n" + text);
  Install(10);
  ExpectMissingCurve();
}

TEST_F(ToneCurve, TypeElevenBendsTheDiagonal) {
  Install(0, kBentType);
  const int start[] = {0, 0, 0, 1, 1};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(g_toneCurve[i], start[i]) << i;
  EXPECT_LT(g_toneCurve[1275], 1275 - 400);
  EXPECT_GT(g_toneCurve[2550], 2550);  // just past the last point, not clamped
  EXPECT_LT(g_levelAmount[0], 0);
  EXPECT_EQ(g_levelAmount[100], 2080);
  for (int j = 1; j < 256; ++j) ASSERT_GT(g_levelAmount[j], 10 * j - 9) << j;
  EXPECT_EQ(TablesFingerprint(), "c153d47eb24a4dea");

  // A file curve at a positive level overwrites all but the last entries of the bend.
  dir_.Write(10, CurveFile(3, {0, 50, 100}));
  Install(10, kBentType);
  EXPECT_EQ(g_toneCurve[2549], 2549);
  EXPECT_GT(g_toneCurve[2550], 2550);
}

TEST_F(ToneCurve, LevelMinusOneUsesTheBuiltInCurve) {
  dir_.Write(-1, CurveFile(3, {0, 0, 0}));  // never read at level -1
  Install(-1);
  EXPECT_EQ(g_toneCurve[1275], 765);
  EXPECT_EQ(g_toneCurve[2550], 2550);
  EXPECT_EQ(g_levelAmount[0], 0);
  for (int j = 2; j < 256; ++j) ASSERT_GT(g_levelAmount[j], g_levelAmount[j - 1]) << j;
  // Entry 128 comes from amount 1279, just past the knot (0.5, 0.3) of the curve.
  EXPECT_NEAR(g_levelAmount[128], 2550 - 765 * 254 / 255.0, 6);
  EXPECT_EQ(TablesFingerprint(), "ced7871ec5eb9ea8");
  Install(-1, kBentType);
  EXPECT_LT(g_levelAmount[0], 0);  // entry 0 keeps the bend's value
}

}  // namespace
