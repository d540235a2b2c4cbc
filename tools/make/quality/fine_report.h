// The fine screen's figures against textbook serpentine Floyd-Steinberg to the same drop
// levels: per photograph the eye-weighted PSNR under three eye models (Gaussian sigma 1.5 and
// 3 px, the exponential model of ExponentialEyePsnr at alpha 1 px) and the mean tone; per flat
// grey the ink laid, the first rows against the steady ones, the low-frequency power and the
// anisotropy of the spectrum.
#ifndef KORVEL_TOOLS_QUALITY_FINE_REPORT_H
#define KORVEL_TOOLS_QUALITY_FINE_REPORT_H

#include <string>

#include "image/own_screen.h"

namespace quality {

// Prints the figures of the photographs in `photos` (their mean last); with `dump` not empty,
// writes each input and both halftones there as PGM files. False when there were none.
bool PrintFinePhotoFigures(const std::string& photos, const DropSet& drops,
                           const std::string& dump);

// Prints the flat-grey figures of the named greys, then the worst of every grey 1..254; with
// `dump` not empty, writes every grey's figures there as fine_flat_LEVELS.csv (for plots).
// False when the table could not be written.
bool PrintFineFlatFigures(const DropSet& drops, const std::string& dump);

}  // namespace quality

#endif
