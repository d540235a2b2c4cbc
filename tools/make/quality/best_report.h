// The best screen against serpentine Floyd-Steinberg to the same drops, per photograph, at 1
// bit and at 2 bits (small, medium and large drops of 1/3, 2/3 and 1 of the large drop's ink):
// eye-weighted PSNR under Gaussians of sigma 1.5 and 3 and under a contrast-sensitivity-like
// spread, the mean tone error, the rows at the top of flat greys, and flat greys' spectra.
#ifndef KORVEL_TOOLS_QUALITY_BEST_REPORT_H
#define KORVEL_TOOLS_QUALITY_BEST_REPORT_H

#include <string>

namespace quality {

// Prints the figures; true when every photograph and flat grey meets the screen's bar (1 bit
// and 2 bits: at least 3 dB over Floyd-Steinberg at sigma 1.5, better at sigma 3 and under the
// contrast-sensitivity-like eye of scale 2 pixels, mean tone within half a grey level; flat
// greys: rows 0..3 within 2 points of the steady coverage, low-frequency power and anisotropy no
// higher than Floyd-Steinberg's).
bool PrintBestReport(const std::string& photoFolder, const std::string& dumpFolder);

// The best screen and a plain whole-page search (plain_search.h), both against Floyd-Steinberg
// on the photographs, whole, inside a border and on it.
bool PrintSearchYardstick(const std::string& photoFolder);

}  // namespace quality

#endif
