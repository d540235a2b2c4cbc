#include "interface/globals.h"

ScreeningState g_defaultState;

int32_t& g_qualityLevel = g_defaultState.qualityLevel;
int32_t (&g_levelAmount)[kLevelCount] = g_defaultState.levelAmount;
int32_t (&g_toneCurve)[kToneCurveSize] = g_defaultState.toneCurve;
bool& g_useTemplateDiffusion = g_defaultState.useTemplateDiffusion;

int32_t BucketQualityLevel(int level) {
  if (level == 0 || level == -1) return level;
  if (level < 15) return 10;
  if (level >= 95) return 100;
  return (level + 5) / 10 * 10;  // 15..24 -> 20, ..., 85..94 -> 90
}
