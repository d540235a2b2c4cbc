// Test patterns that the halftone engine screens instead of a caller's image.
#ifndef KORVEL_PATTERNS_COMPENSATION_H
#define KORVEL_PATTERNS_COMPENSATION_H

#include "core/screening_state.h"

// The numbers of the patterns, as the image dispatch chooses them per template type. The
// caller's image has a number of its own: it is screened as it is, with no pattern drawn.
enum TestPattern : int {
  kVerticalRamp = 0,
  kWideRampTiles = 1,         // ramp tiles, a tenth of the width each
  kMidGreyFill = 3,           // mid grey 127
  kNarrowRampTiles = 4,       // ramp tiles, a fiftieth of the width each
  kBarsOnRamp = 5,            // bars of random height on a ramp, inverted
  kRampRisingLines = 6,       // the ramp with soft lines at +5 degrees
  kRampFallingLines = 7,      // the ramp with soft lines at -5 degrees
  kTilesRisingLines = 8,      // the wide tiles with soft lines at +5 degrees
  kBarsMinusWave = 9,         // wave-shifted bars
  kBarsPlusWave = 10,         // wave-shifted bars, the other phase
  kCallerImage = 11,          // no pattern: the caller's image
  kCompensationProfile = 15,  // the profile of the "QNT_COMPENSATION" section
};

// Draw a pattern into an 8-bit raster of cols x rows pixels (row stride (cols + 3) & ~3; only
// the first cols bytes of a row are written). Tiles leave the columns they do not cover as
// they are; bars (one rand() each) are 4 / factor pixels wide, and a factor that makes them 0
// wide, or one below 1, draws no bars. The profile is read from the pass-parameter file of the
// state's quality level. The caller's image and any number that names no pattern leave the
// raster as it is, and so does an empty or oversized raster or a null pointer.
void SetupCompensation(const ScreeningState& state, unsigned char* raster, int cols, int rows,
                       int pattern, int factor);

#endif
