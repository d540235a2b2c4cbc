// A plain, slow direct binary search over a whole page, the yardstick the best screen is held
// against: toggles to every other level and swaps with the eight neighbours, under a Gaussian
// eye, started from a given halftone, sweeps in raster order until a sweep changes nothing. No
// window, no tiles, no rule on where a pixel may change its level; floating point throughout.
#ifndef KORVEL_TOOLS_QUALITY_PLAIN_SEARCH_H
#define KORVEL_TOOLS_QUALITY_PLAIN_SEARCH_H

#include "image/own_screen.h"
#include "quality_metrics.h"

namespace quality {

// The halftone `start` (greys of the drops' levels, as ScreenOwn draws them) of `image`
// improved by the search under a Gaussian eye of `sigma` pixels; maxSweeps bounds the sweeps.
GreyImage PlainSearch(const GreyImage& image, const GreyImage& start, const DropSet& drops,
                      double sigma, int maxSweeps = 60);

}  // namespace quality

#endif
