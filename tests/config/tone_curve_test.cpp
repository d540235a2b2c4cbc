// Tone curves: the identity with its reversed level table, a parameter file's curve and its
// refusals. (The built-in curves of type 11 and level -1 are pinned by the golden image calls.)
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <string>

#include "config/data_dir.h"
#include "config/tone_curve.h"
#include "interface/globals.h"
#include "process/parameter_files.h"

namespace {

void Install(int level, int templateType = 0) {
  KORVEL_Init(level);
  SetupToneCurve(g_defaultState, templateType);
}

TEST(ToneCurve, IdentityAndTheFileCurveOfTheBucketedLevel) {
  test::ScopedDataDir dir;
  dir.Write(0, test::CurveTextOf({0, 0, 0}, "3"));  // never read at level 0
  Install(0);
  for (int i = 0; i <= 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  for (int j = 1; j < 256; ++j) ASSERT_EQ(g_levelAmount[j], 10 * j - 9) << j;
  dir.Write(10, test::CurveTextOf({0, 50, 100}, "3"));  // a straight line, scaled by 254/255
  Install(14);
  for (int i = 0; i < 2550; ++i) ASSERT_EQ(g_toneCurve[i], i);
  for (int j = 0; j < 255; ++j)
    ASSERT_EQ(g_levelAmount[j], static_cast<int>((10 * j + 9 + 0.5) / 255 * 254)) << j;
  dir.Write(10, test::CurveTextOf({-10, 150, 120}, "3"));  // kept beyond 0..100 %, read afresh
  SetupToneCurve(g_defaultState, 0);
  EXPECT_EQ(g_toneCurve[0], -254);
  EXPECT_EQ(g_toneCurve[1275], 3825);
  // Fewer than 3 points, more than 2551 or no number is no curve: all but the last entries 0.
  for (const char* count : {"2", "-4", "2552", "x"}) {
    dir.Write(10, test::CurveTextOf({100, 100, 100, 100}, count));
    SetupToneCurve(g_defaultState, 0);
    EXPECT_EQ(g_toneCurve[1000] | g_toneCurve[2549] | g_levelAmount[254], 0) << count;
    EXPECT_EQ(g_toneCurve[2550], 2550);
  }
}

}  // namespace
