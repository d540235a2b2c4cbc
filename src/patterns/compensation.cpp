#include "patterns/compensation.h"

#include "core/raster_geometry.h"
#include "patterns/line_overlay.h"
#include "patterns/test_patterns.h"

namespace {

constexpr unsigned char kMidGrey = 127;
constexpr int kOverlayAngle = 5;
constexpr int kWideTileCopies = 10;
constexpr int kNarrowTileCopies = 50;

void Overlay(const PatternRaster& raster, int angle) {
  ApplyLineOverlay(raster.pixels, raster.cols, raster.rows, angle);
}

}  // namespace

void SetupCompensation(const ScreeningState& state, unsigned char* raster, int cols, int rows,
                       int pattern, int factor) {
  if (raster == nullptr || rows <= 0 || cols <= 0 || !RasterFits(cols, rows, 8)) return;
  const PatternRaster canvas{raster, rows, cols, RowStride(cols, 8)};
  switch (pattern) {
    case kVerticalRamp:
      DrawVerticalRamp(canvas);
      break;
    case kWideRampTiles:
      DrawRampTiles(canvas, kWideTileCopies);
      break;
    case kMidGreyFill:
      canvas.Fill(kMidGrey);
      break;
    case kNarrowRampTiles:
      DrawRampTiles(canvas, kNarrowTileCopies);
      break;
    case kBarsOnRamp:
      DrawBarsOnRamp(canvas, factor, BarWave::kStraight);
      break;
    case kRampRisingLines:
      DrawVerticalRamp(canvas);
      Overlay(canvas, kOverlayAngle);
      break;
    case kRampFallingLines:
      DrawVerticalRamp(canvas);
      Overlay(canvas, -kOverlayAngle);
      break;
    case kTilesRisingLines:
      DrawRampTiles(canvas, kWideTileCopies);
      Overlay(canvas, kOverlayAngle);
      break;
    case kBarsMinusWave:
      DrawBarsOnRamp(canvas, factor, BarWave::kMinusSine);
      break;
    case kBarsPlusWave:
      DrawBarsOnRamp(canvas, factor, BarWave::kPlusSine);
      break;
    case kCompensationProfile:
      DrawCompensationProfile(canvas, state.qualityLevel);
      break;
    case kCallerImage:
    default:
      break;  // the caller's image stays as it is
  }
}
