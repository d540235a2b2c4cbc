// The comparison sheet: one picture setting the screens side by side at 4x zoom on the same
// crop of a photograph, a grey ramp and flat greys, labelled, with plots of each screen's tone
// response (measured ink against requested, on a ramp) and the radially averaged power spectra
// of its flat greys.
#ifndef KORVEL_TOOLS_QUALITY_COMPARISON_SHEET_H
#define KORVEL_TOOLS_QUALITY_COMPARISON_SHEET_H

#include <string>

namespace quality {

// Draw the sheet from the photographs in the folder (the camera one, or the first there is)
// and write it as a PNG; false, with the reason in *error, when it cannot be made or written.
bool WriteComparisonSheet(const std::string& photoFolder, const std::string& path,
                          std::string* error);

}  // namespace quality

#endif
