// The eye model the best screen minimises its error under, as the autocorrelation c_pp of the
// eye's point spread p: the filtered error of a halftone h of an image g is
// |p * (h - g)|^2 = sum over pixel pairs (m, n) of e[m] e[n] c_pp[m - n], e = h - g, so a search
// needs c_pp alone. The spread is a blend of three Gaussians, a narrow one for the detail the eye
// resolves at print distance, a wide one that keeps tone over larger areas and a sharp one, about
// a pixel across, that sees the single misplaced drops the other two blur away; it is sampled on
// the pixels within kRadius / 2; c_pp is its autocorrelation, within kRadius, scaled to integers
// so that the search's sums are exact.
//
// The model (BestEyeModel) was chosen on training photographs
// (tools/make/quality/training_photos.py makes them; none of the photographs the screen is judged
// on) and flat greys, as the one that did well under three different eyes at once: Gaussians of
// sigma 1.5 and 3 pixels and a heavier-tailed, contrast-sensitivity-like spread at two scales. A
// narrower blend wins under the last and loses under the Gaussians, a wider one the other way
// round.
//
// That eye barely sees the texture between a mid grey's principal frequency and half of it, so
// alone it leaves the mid greys small clusters of drops where Floyd-Steinberg lays an almost clean
// checkerboard; the mid-tone eye (BestMidToneEye) adds a sharp term there alone. Its sigma, peak
// and band were chosen by a grid over sigma 0.5, peak 16..80 (at weight 4) and band 0.08..0.5,
// scored by `korvel-quality --photos DIR --best` on the training photographs and by the
// low-frequency power against serpentine Floyd-Steinberg at every flat grey 1..254
// (tools/make/quality/flat_greys_plot.py), at 1 and 2 bits. Peak 40, band 0.1, with the search's
// 4 sweeps (best_screen.cpp): greys whose low-frequency power exceeds Floyd-Steinberg's went from
// 48 to 12 at 1 bit (worst 1.34x to 1.04x) and from 48 to 9 at 2 bits (worst 1.33x to 1.01x), for
// -0.11 dB at 1 bit and -0.05 dB at 2 bits on the training photographs under the sigma-1.5 eye
// (+3.81 and +5.59 dB over Floyd-Steinberg). A wider band or a stronger peak costs more on the
// photographs and leaves no less texture (band 0.5, peak 16: -0.21 dB at 1 bit; peak 80: mid
// greys back up to 1.09x); the same sharp share in the whole eye instead costs 0.2 dB and still
// leaves 1.26x at grey 2. With the mid-tone term a first, short search under a sharper eye (once
// needed to settle the mid greys) no longer helps and cost a fifth of the speed; more than 4
// sweeps gained 0.02 dB at a fifth of the speed.
//
// At the ends of the scale (about 1 % ink or 1 % paper) the drops or holes lie about 11 pixels
// apart, where neither eye sees their spacing, and the 1-bit greys 2 and 253 kept 1.27x and 1.29x
// Floyd-Steinberg's low-frequency power on 640 x 640 patches. The end-tone eye (BestEndToneEye),
// a Gaussian of sigma 4 weighted within 3 % of the gap to paper or full ink, brings them to 0.94x
// and 0.98x and keeps greys 1..4 and 251..254 below 1x at 1 and 2 bits, for -0.002 dB at 1 bit and
// no change at 2 bits on the training photographs under the sigma-1.5 eye. It is the first setting
// tried (sigma 4, peak 40, band 0.03), not the result of a grid; weighting the inks between paper
// and full ink as well cost 0.017 dB at 2 bits and is left out.
#ifndef KORVEL_IMAGE_EYE_CORRELATION_H
#define KORVEL_IMAGE_EYE_CORRELATION_H

#include <cstdint>

#include "image/own_screen.h"

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

// An eye that sees only the error of some tones: its error is w[m] e[m], the error weighted per
// pixel by the pixel's amount, and its c_pp is that of a Gaussian spread, sampled on the pixels
// within kRadius / 2, scaled to integers. Added to the best screen's eye it changes the search's
// choice only where the weight is not zero.
template <int Radius>
struct WeightedEye {
  static constexpr int kRadius = Radius;
  static constexpr int kSide = 2 * kRadius + 1;
  static constexpr int kMaxWeight = 4;

  int32_t at[kSide][kSide];  // c_pp at offset (dx, dy) in at[dy + kRadius][dx + kRadius]
  double band;  // the share of the gap between two inks over which the weights fall to zero

  int32_t Offset(int dx, int dy) const { return at[dy + kRadius][dx + kRadius]; }
};

// The mid-tone eye, sharp, about a pixel across: it sees the error of amounts near the middle of
// the two inks they fall between (MidToneWeight). Added to the best screen's eye it makes a mid
// grey's drops keep apart from their own kind, as a checkerboard does, where the wider eye alone
// leaves small clusters it barely sees.
using MidToneEye = WeightedEye<2>;
// The end-tone eye, wide: it sees the error of amounts near paper or full ink (EndToneWeight),
// where the drops (or holes) lie further apart than the best screen's eye sees, so that they keep
// evenly apart.
using EndToneEye = WeightedEye<10>;

MidToneEye MakeMidToneEye(double sigma, int32_t peak, double band);
EndToneEye MakeEndToneEye(double sigma, int32_t peak, double band);
// The weight 0..kMaxWeight of a pixel of this amount: kMaxWeight halfway between the two inks
// around it, falling linearly to zero `band` of their gap away from the middle, zero beyond.
int MidToneWeight(const MidToneEye& eye, int amount, const DropSet& drops);
// The weight 0..kMaxWeight of a pixel of this amount: kMaxWeight at paper and at full ink,
// falling linearly to zero `band` of the gap to the next ink away from them, zero beyond (and
// around the inks between).
int EndToneWeight(const EndToneEye& eye, int amount, const DropSet& drops);
// The mid-tone and end-tone eyes of the best screen's search, built once.
const MidToneEye& BestMidToneEye();
const EndToneEye& BestEndToneEye();

#endif
