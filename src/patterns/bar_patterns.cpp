// Bars of random height on a light ramp, optionally wave-shifted, inverted at the end.
#include <cmath>
#include <cstdlib>

#include "core/truncate.h"
#include "patterns/test_patterns.h"

namespace {

constexpr int kFullBarWidth = 4;  // bar width at factor 1

unsigned char BackgroundValue(int r, int rows) {
  return static_cast<unsigned char>(TruncateToInt32((0.95 / rows * r + 0.05) * 255 * 0.8));
}

unsigned char BarValue(int y, int rows) {
  return static_cast<unsigned char>(TruncateToInt32((0.6 / rows * y + 0.4) * 255));
}

int WaveShift(int y, BarWave wave) {
  if (wave == BarWave::kStraight) return 0;
  const double s = std::sin(0.2 * y);
  return wave == BarWave::kMinusSine ? TruncateToInt32(-5 * s) : TruncateToInt32(5 * s);
}

void DrawBar(const PatternRaster& raster, int64_t start, int width, int height, BarWave wave) {
  for (int y = raster.rows - 1; y >= raster.rows - height; --y) {
    const unsigned char value = BarValue(y, raster.rows);
    const int64_t left = start - WaveShift(y, wave);
    unsigned char* row = raster.Row(y);
    for (int x = 0; x < width; ++x) {
      const int64_t column = left + x;
      if (column >= 0 && column < raster.cols) row[column] = value;
    }
  }
}

void Invert(const PatternRaster& raster) {
  for (int r = 0; r < raster.rows; ++r) {
    unsigned char* row = raster.Row(r);
    for (int c = 0; c < raster.cols; ++c) row[c] = static_cast<unsigned char>(255 - row[c]);
  }
}

}  // namespace

void DrawBarsOnRamp(const PatternRaster& raster, int factor, BarWave wave) {
  const int rows = raster.rows;
  for (int r = 0; r < rows; ++r) raster.FillRow(r, BackgroundValue(r, rows));

  const int heights[4] = {TruncateToInt32(0.25 * rows), TruncateToInt32(0.5 * rows),
                          TruncateToInt32(0.75 * rows), rows};
  const int width = factor > 0 ? kFullBarWidth / factor : 0;
  if (width > 0) {
    for (int64_t start = 0; start < raster.cols; start += 2 * width) {
      const int height = heights[std::rand() % 4];
      DrawBar(raster, start, width, height, wave);
    }
  }
  Invert(raster);
}
