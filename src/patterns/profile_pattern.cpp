// The ramp drawn from the compensation profile of the pass-parameter file.
#include "config/cubic_spline.h"
#include "config/pass_param_file.h"
#include "core/truncate.h"
#include "patterns/test_patterns.h"

namespace {

constexpr int kProfilePoints = 7;  // Param0..Param6 at rows 0, rows/6, ..., rows

}  // namespace

void DrawCompensationProfile(const PatternRaster& raster, const ScreeningState& state) {
  const IniSection profile =
      PassParamFile(state.qualityLevel, state.parameterFolder).Section(kCompensationSection);
  double xs[kProfilePoints];
  double ys[kProfilePoints];
  for (int k = 0; k < kProfilePoints; ++k) {
    xs[k] = (raster.rows / 6.0) * k;
    ys[k] = profile.Value(ParamKey(k));
  }
  const CCubicSplineInterpolation ramp(xs, ys, kProfilePoints);

  for (int r = 0; r < raster.rows; ++r) {
    double coverage = 0.0;
    if (ramp.valid) ramp.Interpolate(r, &coverage);
    const int percent = TruncateToInt32(coverage + 0.5);
    // Ink percent to grey: 0 % is white (255), 100 % full ink (0); the low 8 bits are stored.
    const int grey = TruncateToInt32(255 - percent * 0.01 * 255);
    raster.FillRow(r, static_cast<unsigned char>(grey));
  }
}
