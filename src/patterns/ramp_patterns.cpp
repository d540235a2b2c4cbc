// The ramp patterns: plain vertical ramp, notched ramp tiles, and the row/fill helpers.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/truncate.h"
#include "patterns/test_patterns.h"

void PatternRaster::FillRow(int r, unsigned char value) const {
  std::memset(Row(r), value, static_cast<size_t>(cols));
}

void PatternRaster::Fill(unsigned char value) const {
  for (int r = 0; r < rows; ++r) FillRow(r, value);
}

void DrawVerticalRamp(const PatternRaster& raster) {
  for (int r = 0; r < raster.rows; ++r) {
    const int value = 254 - TruncateToInt32(static_cast<double>(r) / raster.rows * 254);
    raster.FillRow(r, static_cast<unsigned char>(value));
  }
}

namespace {

constexpr unsigned char kWhite = 255;

// One row of the tile. Because k is 30 times the half width, dist is close to the distance from
// the bottom, (rows - r) / rows; the gain g dips from 1 at the tile's edges to 1 - r / (2 rows)
// in its centre column, which notches the ramp.
void ComputeTileRow(int r, int rows, int width, unsigned char* out) {
  const double half = 0.5 * width;
  const double k = 30.0 * half;
  const double rowsSquared = static_cast<double>(static_cast<int64_t>(rows) * rows);
  const double below = rows - r;
  const double f = static_cast<double>(r) / rows;
  const double centreGain = 1.0 - 0.5 * f;
  const double slope = (1.0 - centreGain) / half;
  for (int x = 0; x < width; ++x) {
    const double dx = x - half;
    const double g = centreGain + std::fabs(dx) * slope;
    const double dist = std::sqrt(dx * dx * rowsSquared + (k * k) * (below * below)) / (k * rows);
    out[x] = static_cast<unsigned char>(TruncateToInt32(250.0 * std::min(1.0, dist * g)));
  }
}

}  // namespace

void DrawRampTiles(const PatternRaster& raster, int copies) {
  const int width = raster.cols / copies;
  const int covered = width * copies;
  std::vector<unsigned char> tileRow(static_cast<size_t>(width));
  for (int r = 0; r < raster.rows; ++r) {
    unsigned char* row = raster.Row(r);
    if (width > 0) {
      ComputeTileRow(r, raster.rows, width, tileRow.data());
      for (int i = 0; i < copies; ++i) std::memcpy(row + i * width, tileRow.data(), width);
    }
    std::memset(row + covered, kWhite, static_cast<size_t>(raster.cols - covered));
  }
}
