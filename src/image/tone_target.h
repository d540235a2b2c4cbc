// The ink amount the error-diffusion screen aims at for a pixel: the tone curve looked up at the
// pixel's white amount (ten times its grey level, 2550 paper white) and clamped into
// 0..kFullAmount. korvel's own screens take their amounts the same way, so that one tone curve
// means the same on every screen of the caller's image.
#ifndef KORVEL_IMAGE_TONE_TARGET_H
#define KORVEL_IMAGE_TONE_TARGET_H

#include <algorithm>
#include <cstdint>

#include "core/screening_state.h"

// toneCurve holds kToneCurveSize entries; whiteAmount is 0..kFullAmount.
inline int32_t ToneTarget(const int32_t* toneCurve, int32_t whiteAmount) {
  return std::min(std::max(toneCurve[kFullAmount - whiteAmount], 0), int32_t{kFullAmount});
}

// The same for an 8-bit grey level (255 white).
inline int32_t ToneTargetOfGrey(const int32_t* toneCurve, int grey) {
  return ToneTarget(toneCurve, 10 * grey);
}

#endif
