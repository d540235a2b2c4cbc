// The screening state: the tables and settings that the set-up writes and the screens read.
// Every piece of code that reads or writes them is handed the state it works on; the exported
// functions run on one process-wide instance.
#ifndef KORVEL_CORE_SCREENING_STATE_H
#define KORVEL_CORE_SCREENING_STATE_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/pattern_random.h"

constexpr int kLevelCount = 256;      // level indices 0..255
constexpr int kFullAmount = 2550;     // ink amount of a dot at every pixel
constexpr int kToneCurveSize = 2551;  // one tone-curve entry per ink amount 0..2550

// Entry i = 10 i: the linear level-to-amount table that a reset installs.
extern const int32_t (&g_defaultLevelAmount)[kLevelCount];

struct ScreeningState {
  ScreeningState() = default;
  explicit ScreeningState(PatternRandom::Source randomSource) : random(randomSource) {}

  // The bucketed quality level: 0, -1 or 10, 20, ..., 100. It numbers the pass-parameter file
  // that the tone curves and the compensation profile are read from.
  int32_t qualityLevel = 0;
  // Ink amount of each level index, read by every template generator. All zero until the
  // first reset, so that a template made before any set-up is blank.
  int32_t levelAmount[kLevelCount] = {};
  // Target amount of each ink amount, read by the error-diffusion screen.
  int32_t toneCurve[kToneCurveSize] = {};
  // Screen images with the template diffusion instead of the template type's own screen.
  bool useTemplateDiffusion = false;
  // Folder of the pass-parameter files; empty for the executable's Data folder (or the folder
  // that KORVEL_DATA_DIR names).
  std::string parameterFolder;
  // Tone-curve points in percent, evenly spread over the amounts, that replace the curve of the
  // parameter file when present (3 or more points).
  std::vector<int32_t> ownCurve;
  // The generator the test patterns draw from. Drawing changes no screening setting, so it may
  // be drawn through a const state.
  mutable PatternRandom random;

  // Install the linear level-to-amount table, discarding any tone curve.
  void ResetLevelAmount();
};

#endif
