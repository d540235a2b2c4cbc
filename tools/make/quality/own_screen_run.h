// korvel's own screens (fine, best) run straight on a grey image with the identity tone curve
// (amount = (255 - grey) * 10), the serpentine Floyd-Steinberg they are measured against
// diffusing to the same drop inks, and a second eye model beside the Gaussian one.
#ifndef KORVEL_TOOLS_QUALITY_OWN_SCREEN_RUN_H
#define KORVEL_TOOLS_QUALITY_OWN_SCREEN_RUN_H

#include <functional>
#include <memory>
#include <vector>

#include "image/own_screen.h"
#include "quality_metrics.h"

namespace quality {

using OwnScreenMaker = std::function<std::unique_ptr<OwnScreen>(int, int, const DropSet&)>;

// The screen's levels drawn as greys: 255 - ink / 10 (paper 255, full ink 0).
GreyImage ScreenOwn(const GreyImage& image, const DropSet& drops, const OwnScreenMaker& make);

// The same, the rows fed in bands of `band` rows and read back after every band.
GreyImage ScreenOwnInBands(const GreyImage& image, const DropSet& drops, const OwnScreenMaker& make,
                           int band);

// The drop levels (0..levels - 1) the screen lays for the image, row after row.
std::vector<uint8_t> ScreenLevels(OwnScreen& screen, const GreyImage& image);

// Drop levels shown as greys, as ScreenOwn draws them.
GreyImage LevelsAsGrey(const std::vector<uint8_t>& levels, int width, int height,
                       const DropSet& drops);

// The fine screen of the image, as greys.
GreyImage FineScreenGrey(const GreyImage& image, const DropSet& drops);

// Serpentine Floyd-Steinberg in floating point to the nearest of the drops' inks, drawn the same
// way (at 1 bit the textbook two-level one).
GreyImage FloydSteinbergToDrops(const GreyImage& image, const DropSet& drops);

// PSNR (dB, peak 255) after both images are filtered by a contrast-sensitivity-like spread,
// (1 + r^2 / a^2)^(-3/2) with a = `scale` pixels (a low-pass falling exponentially with
// frequency), truncated at 6 a and normalised; edges replicated.
double CsfPsnr(const GreyImage& input, const GreyImage& halftone, double scale = 1.0);

// Anisotropy of a flat halftone patch: its periodogram averaged over tile x tile tiles (tile a
// power of two), and in each ring of width 1 / tile cycles per pixel from 4 / tile outwards the
// variance of the power around the ring over the square of its mean, averaged over the rings
// (about 1 / (number of tiles) for an isotropic pattern; stripes and diagonal textures score high).
double Anisotropy(const GreyImage& halftone, int tile = 128);

}  // namespace quality

#endif
