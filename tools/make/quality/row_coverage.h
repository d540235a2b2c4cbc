// Row-by-row ink coverage where a diffusion restarts: the first rows of uniform templates and
// the rows after a horizontal tone jump, for the template diffusion (1-bit templates, the 4-bit
// image path, the 8-bit level-image variant) and for the image error-diffusion screen. An
// averaged figure hides a band of one or two rows; these figures do not.
#ifndef KORVEL_TOOLS_QUALITY_ROW_COVERAGE_H
#define KORVEL_TOOLS_QUALITY_ROW_COVERAGE_H

#include <cstdint>
#include <vector>

#include "image/error_diffusion_tables.h"

namespace quality {

// The greys whose pairs make the tone jumps.
const std::vector<uint8_t>& JumpGreys();

// Coverage (0..1) of rows 0 .. rows - 1 of a 1-bit template of the level (percent), with the
// level-to-amount table as it stands.
std::vector<double> TemplateRowCoverage(int level, int width, int rows);

// The paths an image can take through a diffusion.
enum class JumpPath {
  kImage4Bit,                // grey image, 4-bit image path (amount of 255 - grey)
  kLevelImage8Bit,           // level-index image, 8-bit variant (amount of the byte)
  kErrorDiffusion,           // grey image, error-diffusion screen, identity tone curve
  kErrorDiffusionNoRestart,  // the same screen with every restart left out (a reference)
};

// A width x (rowsAbove + rowsBelow) image of `above` over `below`, screened by the path;
// the coverage of every row (dots / width). The error-diffusion paths use `tables` when given
// (a trial set), the built-in tables otherwise.
std::vector<double> JumpRowCoverage(JumpPath path, uint8_t above, uint8_t below, int width,
                                    int rowsAbove, int rowsBelow,
                                    const ErrorDiffusionTables* tables = nullptr);

// The coverage a path aims at for a byte: the level's ink share.
double NominalCoverage(JumpPath path, uint8_t value);

// Worst deviation (points of coverage, 0..100) over the `rows` rows after the jump between
// any two greys of JumpGreys() in either order, measured against `reference`: the nominal
// coverage of the lower grey (template paths) or the mean coverage of the steady rows further
// below (error diffusion). minGreyStep leaves out pairs closer than that.
struct JumpFigures {
  double worst[4] = {0, 0, 0, 0};  // per row after the jump
  int worstAbove = 0, worstBelow = 0;
};
JumpFigures WorstJumpRows(JumpPath path, int width, int minGreyStep,
                          const ErrorDiffusionTables* tables = nullptr);

}  // namespace quality

#endif
