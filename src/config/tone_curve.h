// Tone curves: built per template type from the quality level's parameter file and installed
// into g_toneCurve (read by the error-diffusion screen) and g_levelAmount (read by the template
// generators).
#ifndef KORVEL_CONFIG_TONE_CURVE_H
#define KORVEL_CONFIG_TONE_CURVE_H

#include <cstdint>

constexpr int kToneCurveSize = 2551;  // one entry per ink amount 0..2550

extern int32_t g_toneCurve[kToneCurveSize];

// Rebuild g_toneCurve and g_levelAmount for a template type at the current quality level.
void SetupToneCurve(int templateType);

#endif
