#include "interface/globals.h"

#include <cstring>

int32_t g_qualityLevel = 0;
int32_t g_levelAmount[kLevelCount] = {};

const int32_t g_defaultLevelAmount[kLevelCount] = {
#define KORVEL_ROW(i) 10 * (i), 10 * (i + 1), 10 * (i + 2), 10 * (i + 3)
    KORVEL_ROW(0),   KORVEL_ROW(4),   KORVEL_ROW(8),   KORVEL_ROW(12),  KORVEL_ROW(16),
    KORVEL_ROW(20),  KORVEL_ROW(24),  KORVEL_ROW(28),  KORVEL_ROW(32),  KORVEL_ROW(36),
    KORVEL_ROW(40),  KORVEL_ROW(44),  KORVEL_ROW(48),  KORVEL_ROW(52),  KORVEL_ROW(56),
    KORVEL_ROW(60),  KORVEL_ROW(64),  KORVEL_ROW(68),  KORVEL_ROW(72),  KORVEL_ROW(76),
    KORVEL_ROW(80),  KORVEL_ROW(84),  KORVEL_ROW(88),  KORVEL_ROW(92),  KORVEL_ROW(96),
    KORVEL_ROW(100), KORVEL_ROW(104), KORVEL_ROW(108), KORVEL_ROW(112), KORVEL_ROW(116),
    KORVEL_ROW(120), KORVEL_ROW(124), KORVEL_ROW(128), KORVEL_ROW(132), KORVEL_ROW(136),
    KORVEL_ROW(140), KORVEL_ROW(144), KORVEL_ROW(148), KORVEL_ROW(152), KORVEL_ROW(156),
    KORVEL_ROW(160), KORVEL_ROW(164), KORVEL_ROW(168), KORVEL_ROW(172), KORVEL_ROW(176),
    KORVEL_ROW(180), KORVEL_ROW(184), KORVEL_ROW(188), KORVEL_ROW(192), KORVEL_ROW(196),
    KORVEL_ROW(200), KORVEL_ROW(204), KORVEL_ROW(208), KORVEL_ROW(212), KORVEL_ROW(216),
    KORVEL_ROW(220), KORVEL_ROW(224), KORVEL_ROW(228), KORVEL_ROW(232), KORVEL_ROW(236),
    KORVEL_ROW(240), KORVEL_ROW(244), KORVEL_ROW(248), KORVEL_ROW(252),
#undef KORVEL_ROW
};

int32_t BucketQualityLevel(int level) {
  if (level == 0 || level == -1) return level;
  if (level < 15) return 10;
  if (level >= 95) return 100;
  return (level + 5) / 10 * 10;  // 15..24 -> 20, ..., 85..94 -> 90
}

void ResetLevelAmount() {
  std::memcpy(g_levelAmount, g_defaultLevelAmount, sizeof g_levelAmount);
}
