// Runs the image error-diffusion screen on long flat runs of one target and records the state
// (error and bias) each pixel holds when it is processed.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_STEADY_STATE_H
#define KORVEL_TOOLS_ED_TABLES_GEN_STEADY_STATE_H

#include <cstdint>
#include <vector>

#include "image/error_diffusion_tables.h"

// 256 consecutive pixel states of one row, in scan order.
struct StateWindow {
  int32_t error[kImgRestartCycle];
  int32_t bias[kImgRestartCycle];
};

struct SteadyState {
  std::vector<StateWindow> windows;  // one per sampled row
  double meanError = 0;              // over every sampled pixel
  double zeroBiasShare = 0;          // share of sampled pixels holding no bias
  double dotDensity = 0;             // dots per sampled pixel
};

// Screen a flat run of target t (identity tone curve) with the given tables: warm-up rows
// first, then sampleRows rows whose middle 256 pixels (in scan order) become windows.
SteadyState SampleSteadyState(int target, const ErrorDiffusionTables& tables, int warmRows,
                              int sampleRows);

#endif
