#include "image/eye_correlation.h"

#include <algorithm>
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

template <class Eye>
Eye MakeWeightedEye(double sigma, int32_t peak, double band) {
  constexpr int kSpread = Eye::kRadius / 2;
  double spread[2 * kSpread + 1][2 * kSpread + 1];
  for (int dy = -kSpread; dy <= kSpread; ++dy)
    for (int dx = -kSpread; dx <= kSpread; ++dx)
      spread[dy + kSpread][dx + kSpread] = Gaussian(sigma, dx * dx + dy * dy);
  double correlation[Eye::kSide][Eye::kSide] = {};
  for (int y = 0; y <= 2 * kSpread; ++y)
    for (int x = 0; x <= 2 * kSpread; ++x)
      for (int v = 0; v <= 2 * kSpread; ++v)
        for (int u = 0; u <= 2 * kSpread; ++u)
          correlation[v - y + Eye::kRadius][u - x + Eye::kRadius] += spread[y][x] * spread[v][u];
  Eye eye{};
  const double scale = peak / correlation[Eye::kRadius][Eye::kRadius];
  for (int i = 0; i < Eye::kSide; ++i)
    for (int j = 0; j < Eye::kSide; ++j)
      eye.at[i][j] = static_cast<int32_t>(std::lround(scale * correlation[i][j]));
  eye.band = band;
  return eye;
}

MidToneEye MakeMidToneEye(double sigma, int32_t peak, double band) {
  return MakeWeightedEye<MidToneEye>(sigma, peak, band);
}

EndToneEye MakeEndToneEye(double sigma, int32_t peak, double band) {
  return MakeWeightedEye<EndToneEye>(sigma, peak, band);
}

int MidToneWeight(const MidToneEye& eye, int amount, const DropSet& drops) {
  int below = 0;
  while (below + 2 < drops.levels && drops.ink[below + 1] <= amount) ++below;
  const double gap = drops.ink[below + 1] - drops.ink[below];
  const double offMiddle = std::abs(amount - drops.ink[below] - 0.5 * gap) / gap;
  const double rise = std::max(0.0, 1.0 - offMiddle / eye.band);
  return static_cast<int>(std::lround(MidToneEye::kMaxWeight * std::min(rise, 1.0)));
}

int EndToneWeight(const EndToneEye& eye, int amount, const DropSet& drops) {
  int below = 0;
  while (below + 2 < drops.levels && drops.ink[below + 1] <= amount) ++below;
  const double gap = drops.ink[below + 1] - drops.ink[below];
  const double offPaper = below == 0 ? (amount - drops.ink[0]) / gap : 1.0;
  const double offFull = below + 2 == drops.levels ? (drops.ink[below + 1] - amount) / gap : 1.0;
  const double offInk = std::min(offPaper, offFull);
  const double rise = std::max(0.0, 1.0 - offInk / eye.band);
  return static_cast<int>(std::lround(EndToneEye::kMaxWeight * std::min(rise, 1.0)));
}

const EndToneEye& BestEndToneEye() {
  static const EndToneEye eye = MakeEndToneEye(4.0, 40, 0.03);
  return eye;
}

const MidToneEye& BestMidToneEye() {
  static const MidToneEye eye = MakeMidToneEye(0.5, 40, 0.1);
  return eye;
}
