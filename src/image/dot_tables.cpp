// The lookup tables of the 2-bit dot screens. Each maps (grey v, matrix threshold t) to a dot
// level; within a band of v the darker of its two levels is chosen where the band's ramp value
// for v exceeds t, so the darker level's share grows linearly across the band.
//
// Each table and ramp is filled once per process under a std::once_flag, so that two threads
// making their first 2-bit call together neither race on the fill nor read a half-built table.
#include <mutex>

#include "image/dot_ditherers.h"

uint8_t g_sDotTable[kDotTableSize];
int32_t g_smDotRamp[256];
uint8_t g_smDotTable[kDotTableSize];
int32_t g_smlDotRamp[256];
uint8_t g_smlDotTable[kDotTableSize];

namespace {

// Fill a 256 x 256 table entry by entry from level(v, t).
template <class LevelOf>
void FillTable(uint8_t* table, LevelOf level) {
  for (int v = 0; v < 256; ++v)
    for (int t = 0; t < 256; ++t) table[v * 256 + t] = static_cast<uint8_t>(level(v, t));
}

// Three bands: 0..84 and 171..255 ramped by 3, 85..170 by 255/86; each reaches 252 at most.
void FillSmlDotRamp() {
  static std::once_flag filled;
  std::call_once(filled, [] {
    for (int i = 0; i < 256; ++i) {
      if (i < 85)
        g_smlDotRamp[i] = 3 * i;
      else if (i < 171)
        g_smlDotRamp[i] = static_cast<int32_t>((i - 85) * 2.9651162790697674);
      else
        g_smlDotRamp[i] = 3 * (i - 171);
    }
  });
}

}  // namespace

// Two bands of 128 values, each ramped over 0..253 (factor 255/128, exact in binary).
void FillSmDotRamp() {
  static std::once_flag filled;
  std::call_once(filled, [] {
    for (int i = 0; i < 256; ++i) g_smDotRamp[i] = static_cast<int32_t>((i & 127) * 1.9921875);
  });
}

void BuildSDotTable() {
  static std::once_flag built;
  std::call_once(built,
                 [] { FillTable(g_sDotTable, [](int v, int t) { return v < t ? 170 : 255; }); });
}

void C2BitDitherSMDot::BuildTable() {
  static std::once_flag built;
  const int mid = levels_[1];
  std::call_once(built, [mid] {
    FillTable(g_smDotTable, [mid](int v, int t) {
      if (g_smDotRamp[255 - v] > t) return v < mid ? 85 : 170;
      return v > mid ? 255 : 170;
    });
  });
}

void C2BitDitherSMLDot::InitLevels() {
  levels_[0] = 0;
  levels_[1] = 85;
  levels_[2] = 170;
  levels_[3] = 255;
  FillSmlDotRamp();
}

void C2BitDitherSMLDot::BuildTable() {
  static std::once_flag built;
  const int lo = levels_[1];
  const int hi = levels_[2];
  std::call_once(built, [lo, hi] {
    FillTable(g_smlDotTable, [lo, hi](int v, int t) {
      const bool darker = g_smlDotRamp[255 - v] > t;
      if (v < lo) return darker ? 0 : 85;
      if (v <= hi) return darker ? 85 : 170;
      return darker ? 170 : 255;
    });
  });
}
