// The tone curve of an image call, built in up to four steps, each overwriting entries of the
// one before: the identity; for template type 11 a built-in bent diagonal; at a positive quality
// level the curve of the level's parameter file; at level -1 a built-in five-point curve. A state
// with a curve of its own uses it in place of the last two, at every level.
//
// The tone curve holds the computed values as they are, without clamping: a curve file with values
// outside 0..100 %, a spline that overshoots between its points, and the last entry of the bent
// diagonal all give entries outside 0..2550. Its one reader, the error-diffusion screen, clamps
// every target it looks up into 0..2550 before using it.
#include "config/tone_curve.h"

#include <cmath>
#include <vector>

#include "config/cubic_spline.h"
#include "config/pass_param_file.h"
#include "core/truncate.h"

namespace {

constexpr int kBentCurveTemplateType = 11;
constexpr int kLastAmount = kToneCurveSize - 1;  // 2550

// The level-to-amount entry that an amount writes when the table is filled in reverse: the ten
// amounts 10 (255 - j) .. 10 (255 - j) + 9 share entry j, and the last one written stays.
int ReversedLevel(int amount) {
  return kLevelCount - 1 - amount / 10;
}

double Evaluate(const CCubicSplineInterpolation& spline, double t) {
  double value = 0.0;
  spline.Interpolate(t, &value);
  return value;
}

void InstallIdentity(ScreeningState& state) {
  for (int i = 0; i <= kLastAmount; ++i) {
    state.toneCurve[i] = i;
    state.levelAmount[ReversedLevel(i)] = kFullAmount - i;
  }
}

// Type 11: an offset curve below the diagonal, sampled, rotated by 45 degrees onto the diagonal
// and interpolated again. The output falls below the input in the middle tones.
void InstallBentDiagonal(ScreeningState& state) {
  constexpr int kOffsetKnots = 7;
  const double offsetX[kOffsetKnots] = {0, 601, 1202, 1803, 2404, 3005, 3606};
  const double offsetY[kOffsetKnots] = {0, -425, -690, -840, -720, -480, 0};
  const CCubicSplineInterpolation offset(offsetX, offsetY, kOffsetKnots);
  if (!offset.valid) return;

  double bentX[kLevelCount];
  double bentY[kLevelCount];
  for (int k = 0; k < kLevelCount; ++k) {
    const double u = 1.414 * (10 * k);
    // Offset sample nearest to u, rounded to whole amounts.
    const double whole = std::floor(u);
    const int sample = static_cast<int>(whole) + (u - whole >= 0.5 ? 1 : 0);
    const int d = TruncateToInt32(Evaluate(offset, sample) + 0.5);
    bentX[k] = 0.707 * u - 0.707 * d;
    bentY[k] = 0.707 * u + 0.707 * d;
  }
  const CCubicSplineInterpolation bent(bentX, bentY, kLevelCount);
  if (!bent.valid) return;

  for (int i = 0; i <= kLastAmount; ++i) {
    const int v = TruncateToInt32(Evaluate(bent, i) + 0.5);
    state.toneCurve[i] = v;
    state.levelAmount[ReversedLevel(i)] = kFullAmount - v;
  }
}

// The curve points of the quality level's parameter file, in percent; none when the file holds
// no usable curve.
std::vector<int32_t> ReadFileCurve(const ScreeningState& state) {
  const IniSection curve =
      PassParamFile(state.qualityLevel, state.parameterFolder).Section(kCurveSection);
  const int count = curve.Value(kCurveCountKey);
  std::vector<int32_t> percents;
  // A count outside the curve's range is a broken file and reads as a missing curve.
  if (count < kFewestCurvePoints || count > kMostCurvePoints) return percents;
  percents.resize(count);
  for (int k = 0; k < count; ++k) percents[k] = curve.Value(ParamKey(k + 1));
  return percents;
}

// N points evenly spread over the amounts, their outputs in percent of full scale. Fewer than 3
// points is no curve, and every entry but the last becomes 0.
void InstallPointCurve(ScreeningState& state, const std::vector<int32_t>& percents) {
  const int count = static_cast<int>(percents.size());
  std::vector<double> xs;
  std::vector<double> ys;
  if (count >= kFewestCurvePoints && count <= kMostCurvePoints) {
    xs.resize(count);
    ys.resize(count);
    const double spacing = static_cast<double>(kFullAmount) / (count - 1);
    for (int k = 0; k < count; ++k) {
      xs[k] = k * spacing;
      ys[k] = percents[k] * 0.01 * kFullAmount;
    }
  }
  const CCubicSplineInterpolation curve(xs.data(), ys.data(), static_cast<int>(xs.size()));

  // Amount 2550 is not visited: the last entries keep the values of the earlier steps. This
  // step fills the level table in direct order, scaled by 254/255.
  for (int i = 0; i < kLastAmount; ++i) {
    const double s = curve.valid ? Evaluate(curve, i) : 0.0;
    state.toneCurve[i] = TruncateToInt32(s + 0.5);
    state.levelAmount[i / 10] = TruncateToInt32((s + 0.5) / 255 * 254);
  }
}

// Quality level -1: a fixed five-point curve on the unit square, without rounding.
void InstallNegativeLevelCurve(ScreeningState& state) {
  constexpr int kKnots = 5;
  const double xs[kKnots] = {0.0, 0.25, 0.5, 0.75, 1.0};
  const double ys[kKnots] = {0.0, 0.13, 0.3, 0.55, 1.0};
  const CCubicSplineInterpolation curve(xs, ys, kKnots);
  if (!curve.valid) return;

  for (int i = 0; i < kLastAmount; ++i) {
    const double w = Evaluate(curve, i / static_cast<double>(kFullAmount)) * kFullAmount;
    state.toneCurve[i] = TruncateToInt32(w);
    state.levelAmount[ReversedLevel(i)] = TruncateToInt32(kFullAmount - w / 255 * 254);
  }
}

}  // namespace

bool ReadsFileCurve(int qualityLevel, bool ownCurve) {
  return !ownCurve && qualityLevel > 0;
}

bool ReadsFileCurve(const ScreeningState& state) {
  return ReadsFileCurve(state.qualityLevel, !state.ownCurve.empty());
}

void SetupToneCurve(ScreeningState& state, int templateType) {
  InstallIdentity(state);
  if (templateType == kBentCurveTemplateType) InstallBentDiagonal(state);
  if (!state.ownCurve.empty()) {
    // A curve of the state's own replaces the level's curve, whatever the level.
    InstallPointCurve(state, state.ownCurve);
    return;
  }
  if (ReadsFileCurve(state)) InstallPointCurve(state, ReadFileCurve(state));
  if (state.qualityLevel < 0) InstallNegativeLevelCurve(state);
}
