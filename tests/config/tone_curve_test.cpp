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

std::string TablesFingerprint() {
  test::Bytes bytes(sizeof g_toneCurve + sizeof g_levelAmount);
  std::memcpy(bytes.data(), g_toneCurve, sizeof g_toneCurve);
  std::memcpy(bytes.data() + sizeof g_toneCurve, g_levelAmount, sizeof g_levelAmount);
  return test::Fingerprint(bytes);
}

class ToneCurve : public ::testing::Test {
 protected:
  void Install(int level, int templateType = 0) {
    KORVEL_Init(level);
    SetupToneCurve(g_defaultState, templateType);
  }
  void ExpectMissingCurve(const std::string& context) {
    for (int i = 0; i < 2550; ++i) ASSERT_EQ(g_toneCurve[i], 0) << context;
    for (int j = 0; j < 255; ++j) ASSERT_EQ(g_levelAmount[j], 0) << context;
    EXPECT_EQ(g_toneCurve[2550], 2550);
    EXPECT_EQ(g_levelAmount[255], 2541);
  }
  test::ScopedDataDir dir_;
};

TEST_F(ToneCurve, LevelZeroIsTheIdentityWithTheReversedLevelTable) {
  dir_.Write(0, CurveFile(3, {0, 0, 0}));  // not read at level 0
  Install(0);
  for (int i = 0; i <= 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  EXPECT_EQ(g_levelAmount[0], 0);
  for (int j = 1; j < 256; ++j) ASSERT_EQ(g_levelAmount[j], 10 * j - 9) << j;
}

TEST_F(ToneCurve, MissingOrUnusableCurveFilesZeroAllButTheLastEntries) {
  Install(50);
  ExpectMissingCurve("no file");
  std::string params;
  for (int k = 1; k <= 2552; ++k) params += "Param" + std::to_string(k) + "=100\n";
  for (const char* count : {"2", "-4", "2552", "x"}) {
    dir_.Write(50, std::string("[QNT_CURVE]\nEffectiveParams=") + count + "\n" + params);
    Install(50);
    ExpectMissingCurve(count);
  }
  dir_.Write(50, "[QNT_CURVE]\nEffectiveParams=2551\n" + params);  // the largest count is used
  Install(50);
  EXPECT_EQ(g_toneCurve[1234], 2550);
}

TEST_F(ToneCurve, FileCurvesFollowTheLevelsFileAndItsEdits) {
  dir_.Write(10, CurveFile(3, {0, 50, 100}));
  Install(14);  // bucketed to 10
  for (int i = 0; i < 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  for (int j = 0; j < 255; ++j)
    ASSERT_EQ(g_levelAmount[j], static_cast<int>((10 * j + 9 + 0.5) / 255 * 254)) << j;
  EXPECT_EQ(g_levelAmount[0], 9);
  EXPECT_EQ(g_levelAmount[254], 2539);
  EXPECT_EQ(g_levelAmount[255], 2541);

  // Missing points count as 0 %; values beyond 0..100 % are kept as they are.
  dir_.Write(10, CurveFile(5, {0, 25}));
  SetupToneCurve(g_defaultState, 0);  // an edit applies without KORVEL_Init
  EXPECT_EQ(g_toneCurve[1275], 0);
  EXPECT_GT(g_toneCurve[637], 600);
  dir_.Write(10, CurveFile(3, {-10, 150, 120}));
  SetupToneCurve(g_defaultState, 0);
  EXPECT_EQ(g_toneCurve[0], -254);  // trunc(-255 + 0.5)
  EXPECT_EQ(g_toneCurve[1275], 3825);
  EXPECT_GT(g_levelAmount[127], 2550);
  Install(15);  // bucketed to 20, which has no file
  ExpectMissingCurve("level 20");
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
  dir_.Write(10, CurveFile(3, {0, 50, 100}));  // a file curve keeps only the bend's last entry
  Install(10, kBentType);
  EXPECT_EQ(g_toneCurve[2549], 2549);
  EXPECT_GT(g_toneCurve[2550], 2550);
}

TEST_F(ToneCurve, LevelMinusOneUsesTheBuiltInCurve) {
  dir_.Write(-1, CurveFile(3, {0, 0, 0}));  // not read at level -1
  Install(-1);
  EXPECT_EQ(g_toneCurve[1275], 765);
  EXPECT_EQ(g_toneCurve[2550], 2550);
  EXPECT_EQ(g_levelAmount[0], 0);
  for (int j = 2; j < 256; ++j) ASSERT_GT(g_levelAmount[j], g_levelAmount[j - 1]) << j;
  EXPECT_NEAR(g_levelAmount[128], 2550 - 765 * 254 / 255.0, 6);  // amount 1279, near a knot
  EXPECT_EQ(TablesFingerprint(), "ced7871ec5eb9ea8");
  Install(-1, kBentType);
  EXPECT_LT(g_levelAmount[0], 0);  // entry 0 keeps the bend's value
}

}  // namespace
