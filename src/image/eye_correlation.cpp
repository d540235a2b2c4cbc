#include "image/eye_correlation.h"

#include <cmath>

namespace {

constexpr int kSpreadRadius = EyeCorrelation::kRadius / 2;
constexpr int kSpreadSide = 2 * kSpreadRadius + 1;

// A Gaussian of unit weight before the blend, at squared distance r2.
double Gaussian(double sigma, double r2) {
  return std::exp(-0.5 * r2 / (sigma * sigma)) / (sigma * sigma);
}

// The spread sampled on the pixels within kSpreadRadius (a disc).
void SampleSpread(const EyeModel& model, double spread[kSpreadSide][kSpreadSide]) {
  const double narrowWeight = 1 - model.wideWeight - model.sharpWeight;
  for (int dy = -kSpreadRadius; dy <= kSpreadRadius; ++dy)
    for (int dx = -kSpreadRadius; dx <= kSpreadRadius; ++dx) {
      const double r2 = dx * dx + dy * dy;
      const bool inside = r2 <= (kSpreadRadius + 0.5) * (kSpreadRadius + 0.5);
      spread[dy + kSpreadRadius][dx + kSpreadRadius] =
          inside ? narrowWeight * Gaussian(model.narrowSigma, r2) +
                       model.wideWeight * Gaussian(model.wideSigma, r2) +
                       model.sharpWeight * Gaussian(model.sharpSigma, r2)
                 : 0.0;
    }
}

}  // namespace

// c_pp is the spread's autocorrelation computed on the sampled spread itself, so that the error
// it measures is a true squared norm (never negative for any error pattern) and the search
// cannot gain by a texture the truncation would hide.
EyeCorrelation MakeEyeCorrelation(const EyeModel& model) {
  double spread[kSpreadSide][kSpreadSide];
  SampleSpread(model, spread);
  double correlation[EyeCorrelation::kSide][EyeCorrelation::kSide] = {};
  for (int y = 0; y < kSpreadSide; ++y)
    for (int x = 0; x < kSpreadSide; ++x)
      for (int v = 0; v < kSpreadSide; ++v)
        for (int u = 0; u < kSpreadSide; ++u)
          correlation[v - y + EyeCorrelation::kRadius][u - x + EyeCorrelation::kRadius] +=
              spread[y][x] * spread[v][u];
  EyeCorrelation table{};
  const double scale =
      EyeCorrelation::kPeak / correlation[EyeCorrelation::kRadius][EyeCorrelation::kRadius];
  for (int i = 0; i < EyeCorrelation::kSide; ++i)
    for (int j = 0; j < EyeCorrelation::kSide; ++j)
      table.at[i][j] = static_cast<int32_t>(std::lround(scale * correlation[i][j]));
  return table;
}

EyeModel BestEyeModel() {
  return EyeModel{1.2, 2.5, 0.5, 0.5, 0.03};
}

const EyeCorrelation& BestEyeCorrelation() {
  static const EyeCorrelation table = MakeEyeCorrelation(BestEyeModel());
  return table;
}

EyeModel SettlingEyeModel() {
  return EyeModel{1.2, 2.5, 0.5, 0.5, 0.15};
}

const EyeCorrelation& SettlingEyeCorrelation() {
  static const EyeCorrelation table = MakeEyeCorrelation(SettlingEyeModel());
  return table;
}
