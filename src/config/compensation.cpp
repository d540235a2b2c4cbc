#include "config/compensation.h"

#include "config/test_patterns.h"
#include "image/line_overlay.h"
#include "template/raster_geometry.h"

namespace {

constexpr unsigned char kMidGrey = 127;
constexpr int kOverlayAngle = 5;
constexpr int kWideTileCopies = 10;
constexpr int kNarrowTileCopies = 50;

enum Algorithm {
  kVerticalRamp = 0,
  kWideTiles = 1,
  kMidGreyFill = 3,
  kNarrowTiles = 4,
  kBars = 5,
  kRampWithRisingLines = 6,
  kRampWithFallingLines = 7,
  kTilesWithLines = 8,
  kBarsMinusWave = 9,
  kBarsPlusWave = 10,
  kCallerImage = 11,
  kProfile = 15,
};

void Overlay(const PatternRaster& raster, int angle) {
  ApplyLineOverlay(raster.pixels, raster.rows, raster.cols, angle);
}

}  // namespace

int SetupCompensation(unsigned char* raster, int rows, int cols, int algorithm, int factor) {
  if (raster == nullptr || rows <= 0 || cols <= 0 || !RasterFits(cols, rows, 8)) return 1;
  const PatternRaster pattern{raster, rows, cols, RowStride(cols, 8)};
  switch (algorithm) {
    case kVerticalRamp:
      DrawVerticalRamp(pattern);
      break;
    case kWideTiles:
      DrawRampTiles(pattern, kWideTileCopies);
      break;
    case kMidGreyFill:
      pattern.Fill(kMidGrey);
      break;
    case kNarrowTiles:
      DrawRampTiles(pattern, kNarrowTileCopies);
      break;
    case kBars:
      DrawBarsOnRamp(pattern, factor, BarWave::kStraight);
      break;
    case kRampWithRisingLines:
      DrawVerticalRamp(pattern);
      Overlay(pattern, kOverlayAngle);
      break;
    case kRampWithFallingLines:
      DrawVerticalRamp(pattern);
      Overlay(pattern, -kOverlayAngle);
      break;
    case kTilesWithLines:
      DrawRampTiles(pattern, kWideTileCopies);
      Overlay(pattern, kOverlayAngle);
      break;
    case kBarsMinusWave:
      DrawBarsOnRamp(pattern, factor, BarWave::kMinusSine);
      break;
    case kBarsPlusWave:
      DrawBarsOnRamp(pattern, factor, BarWave::kPlusSine);
      break;
    case kProfile:
      DrawCompensationProfile(pattern);
      break;
    case kCallerImage:
    default:
      break;  // the caller's image stays as it is
  }
  return 1;
}
