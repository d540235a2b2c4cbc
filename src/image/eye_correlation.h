// The eye model the best screen minimises its error under, as the autocorrelation c_pp of the
// eye's point spread p: the filtered error of a halftone h of an image g is
// |p * (h - g)|^2 = sum over pixel pairs (m, n) of e[m] e[n] c_pp[m - n], e = h - g, so a search
// needs c_pp alone. The spread is a blend of three Gaussians, a narrow one for the detail the eye
// resolves at print distance, a wide one that keeps tone over larger areas and a sharp one, about
// a pixel across, that sees the single misplaced drops the other two blur away; it is sampled on
// the pixels within kRadius / 2; c_pp is its autocorrelation, within kRadius, scaled to integers
// so that the search's sums are exact.
//
// The models (BestEyeModel, SettlingEyeModel) were chosen on training photographs
// (tools/make/quality/training_photos.py makes them; none of the photographs the screen is judged
// on) and flat greys, as the ones that did well under three different eyes at once: Gaussians of
// sigma 1.5 and 3 pixels and a heavier-tailed, contrast-sensitivity-like spread at two scales.
// A narrower blend wins under the last and loses under the Gaussians, a wider one the other way
// round. The settling model weighs the sharp Gaussian five times as much: searched under it
// first, a mid grey's checkerboard settles into large clean patches, where under the final model
// alone it keeps scattered pairs and triples of drops that no toggle or swap removes.
#ifndef KORVEL_IMAGE_EYE_CORRELATION_H
#define KORVEL_IMAGE_EYE_CORRELATION_H

#include <cstdint>

struct EyeModel {
  double narrowSigma;  // pixels
  double wideSigma;    // pixels
  double wideWeight;   // share of the wide Gaussian in the spread, 0..1
  double sharpSigma;   // pixels
  double sharpWeight;  // share of the sharp Gaussian, 0..1 - wideWeight; the narrow one the rest
};

struct EyeCorrelation {
  static constexpr int kRadius = 11;
  static constexpr int kSide = 2 * kRadius + 1;
  static constexpr int32_t kPeak = 2048;  // at[kRadius][kRadius], offset (0, 0)

  int32_t at[kSide][kSide];  // c_pp at offset (dx, dy) in at[dy + kRadius][dx + kRadius]

  int32_t Offset(int dx, int dy) const { return at[dy + kRadius][dx + kRadius]; }
};

// c_pp of the model's spread, symmetric in both axes, peak kPeak.
EyeCorrelation MakeEyeCorrelation(const EyeModel& model);

// The model of the best screen and its table, built once.
EyeModel BestEyeModel();
const EyeCorrelation& BestEyeCorrelation();
// The model of the best screen's first, short search, and its table, built once.
EyeModel SettlingEyeModel();
const EyeCorrelation& SettlingEyeCorrelation();

#endif
