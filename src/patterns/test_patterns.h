// The generated test patterns that the halftone engine screens instead of a caller's image.
// Each draws into an 8-bit raster of cols x rows pixels (both positive) with row stride
// `stride`; 0 is full ink, 255 white. Only the first cols bytes of a row are written.
#ifndef KORVEL_PATTERNS_TEST_PATTERNS_H
#define KORVEL_PATTERNS_TEST_PATTERNS_H

#include <cstdint>

struct PatternRaster {
  unsigned char* pixels;
  int rows;
  int cols;
  int64_t stride;

  unsigned char* Row(int r) const { return pixels + r * stride; }
  void FillRow(int r, unsigned char value) const;
  void Fill(unsigned char value) const;
};

// Row r = 254 - trunc(r / rows * 254): 254 at the top, falling towards 1.
void DrawVerticalRamp(const PatternRaster& raster);

// A ramp tile of width cols / copies, repeated `copies` times from the left edge: a vertical
// ramp from 250 at the top towards 0, notched towards the tile's centre column. The columns the
// copies leave over on the right (all of them when cols < copies) are white (255).
void DrawRampTiles(const PatternRaster& raster, int copies);

// Horizontal shift of the bar rows: none, trunc(-5 sin(0.2 y)) or trunc(5 sin(0.2 y)).
enum class BarWave { kStraight, kMinusSine, kPlusSine };

// Grey bars of random height (a quarter, half, three quarters or all of the rows, one rand()
// per bar) standing on a ramp, the whole inverted. Bars are 4 / factor pixels wide with gaps
// as wide. A factor that gives a width of 0 (or a factor below 1) draws no bars.
void DrawBarsOnRamp(const PatternRaster& raster, int factor, BarWave wave);

// Rows from the ink-coverage profile Param0..Param6 of section "QNT_COMPENSATION" of the
// pass-parameter file of a quality level, interpolated over the rows.
void DrawCompensationProfile(const PatternRaster& raster, int qualityLevel);

#endif
