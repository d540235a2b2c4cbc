// What the restart tables of the template diffusion are for, row by row: a template, and an image
// below a tone jump, decide from their first row on like the steady rows further down. (The
// tables themselves are the generator's output, and every template's bytes are golden.)
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "row_coverage.h"

namespace {

// Every row 0..3 of a 4096-wide template, at every level, has the level's coverage.
TEST(RestartTables, TemplatesHaveTheirCoverageFromTheFirstRow) {
  KORVEL_Init(50);
  for (int level = 1; level <= 99; ++level) {
    const std::vector<double> rows = quality::TemplateRowCoverage(level, 4096, 4);
    const double coverage = std::min(static_cast<int>(level * 2.55 + 0.5), 255) / 255.0;
    for (int y = 0; y < 4; ++y)
      EXPECT_NEAR(100 * rows[y], 100 * coverage, 4) << "level " << level << " row " << y;
  }
}

// Below a horizontal jump that restarts every column (amounts more than 400 apart), the first
// four rows have the lower tone's coverage, in the 4-bit image path and the 8-bit variant.
TEST(RestartTables, RowsBelowARestartingToneJumpKeepTheirTone) {
  KORVEL_Init(50);
  for (auto path : {quality::JumpPath::kImage4Bit, quality::JumpPath::kLevelImage8Bit}) {
    for (int above : quality::JumpGreys())
      for (int below : quality::JumpGreys()) {
        if (std::abs(above - below) <= 40) continue;
        const std::vector<double> rows = quality::JumpRowCoverage(path, above, below, 4096, 16, 4);
        const double coverage = quality::NominalCoverage(path, static_cast<uint8_t>(below));
        for (int y = 16; y < 20; ++y)
          EXPECT_NEAR(100 * rows[y], 100 * coverage, 4)
              << static_cast<int>(path) << ": " << above << " over " << below << ", row " << y - 16;
      }
  }
}

}  // namespace
