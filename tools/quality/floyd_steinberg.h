// The textbook serpentine Floyd-Steinberg error diffusion the screens are compared against:
// errors in floating point, weights 7/16 ahead, 3/16, 5/16 and 1/16 on the next row, threshold
// at mid grey, errors leaving the image dropped.
#ifndef KORVEL_TOOLS_QUALITY_FLOYD_STEINBERG_H
#define KORVEL_TOOLS_QUALITY_FLOYD_STEINBERG_H

#include "quality_metrics.h"

namespace quality {

// A two-level halftone (0 dot, 255 none) of the image.
GreyImage FloydSteinbergSerpentine(const GreyImage& image);

}  // namespace quality

#endif
