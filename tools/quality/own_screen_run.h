// korvel's own screens and the textbook diffusion to the same drop levels, on grey images:
// grey g is the ink amount (255 - g) * 10 (identity tone curve), and a drop level is shown as
// the grey of its ink.
#ifndef KORVEL_TOOLS_QUALITY_OWN_SCREEN_RUN_H
#define KORVEL_TOOLS_QUALITY_OWN_SCREEN_RUN_H

#include <vector>

#include "image/own_screen.h"
#include "quality_metrics.h"

namespace quality {

// The drop levels (0..levels - 1) the screen lays for the image, row after row.
std::vector<uint8_t> ScreenLevels(OwnScreen& screen, const GreyImage& image);

// Drop levels shown as greys: 255 - ink / 10, rounded.
GreyImage LevelsAsGrey(const std::vector<uint8_t>& levels, int width, int height,
                       const DropSet& drops);

// The fine screen of the image, as greys.
GreyImage FineScreenGrey(const GreyImage& image, const DropSet& drops);

// Textbook serpentine Floyd-Steinberg to the nearest drop level (errors in floating point,
// errors leaving the image dropped), as greys.
GreyImage FloydSteinbergToDrops(const GreyImage& image, const DropSet& drops);

}  // namespace quality

#endif
