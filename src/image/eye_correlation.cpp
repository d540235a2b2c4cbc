#include "image/eye_correlation.h"

#include <cmath>

namespace {

// A normalised 2-D Gaussian of the given variance at squared distance r2.
double Gaussian(double variance, double r2) {
  return std::exp(-0.5 * r2 / variance) / (2 * M_PI * variance);
}

// The spread's autocorrelation: the convolution of two Gaussians of variances a and b is a
// Gaussian of variance a + b.
double Correlation(const EyeModel& model, double r2) {
  const double n = model.narrowSigma * model.narrowSigma, w = model.wideSigma * model.wideSigma;
  const double kn = 1 - model.wideWeight, kw = model.wideWeight;
  return kn * kn * Gaussian(2 * n, r2) + 2 * kn * kw * Gaussian(n + w, r2) +
         kw * kw * Gaussian(2 * w, r2);
}

}  // namespace

EyeCorrelation MakeEyeCorrelation(const EyeModel& model) {
  EyeCorrelation table{};
  const double scale = EyeCorrelation::kPeak / Correlation(model, 0);
  for (int dy = -EyeCorrelation::kRadius; dy <= EyeCorrelation::kRadius; ++dy)
    for (int dx = -EyeCorrelation::kRadius; dx <= EyeCorrelation::kRadius; ++dx)
      table.at[dy + EyeCorrelation::kRadius][dx + EyeCorrelation::kRadius] =
          static_cast<int32_t>(std::lround(scale * Correlation(model, dx * dx + dy * dy)));
  return table;
}

EyeModel BestEyeModel() {
  return EyeModel{1.3, 2.6, 0.3};
}

const EyeCorrelation& BestEyeCorrelation() {
  static const EyeCorrelation table = MakeEyeCorrelation(BestEyeModel());
  return table;
}
