// Tone curves: built per template type from the quality level's parameter file and installed
// into the state's tone curve (read by the error-diffusion screen) and level-to-amount table
// (read by the template generators).
#ifndef KORVEL_CONFIG_TONE_CURVE_H
#define KORVEL_CONFIG_TONE_CURVE_H

#include "core/screening_state.h"

// The point counts a curve may have: fewer than 3 is no curve, and more points than amounts
// would put several points on one abscissa.
constexpr int kFewestCurvePoints = 3;
constexpr int kMostCurvePoints = kToneCurveSize;

// Whether the image calls of the state read their tone curve from the level's parameter file
// (a positive level without a curve of the state's own).
bool ReadsFileCurve(const ScreeningState& state);
// The same for a quality level (bucketed) with or without a curve of the state's own.
bool ReadsFileCurve(int qualityLevel, bool ownCurve);

// Rebuild the tone curve and the level table of the state for a template type at the state's
// quality level.
void SetupToneCurve(ScreeningState& state, int templateType);

#endif
