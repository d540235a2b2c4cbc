// The table-driven error-diffusion screen: the default screen of the halftone engine.
#ifndef KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H
#define KORVEL_IMAGE_ERROR_DIFFUSION_SCREEN_H

#include "core/screening_state.h"

// Screen an 8-bit grey raster (row stride (width + 3) & ~3, 255 white) into a raster of the
// same geometry holding 0 (dot) or 255 (no dot) inside the width; padding is not written.
// Each pixel's amount is 10 x grey and its target the state's toneCurve[2550 - amount],
// clamped into 0..2550. Deterministic: the result depends only on the input and the tone
// curve. A width or height below 1 writes nothing.
void RunErrorDiffusionScreen(const ScreeningState& state, const unsigned char* source,
                             unsigned char* destination, int width, int height);

#endif
