// The image error-diffusion screen, one row at a time.
//
// A serpentine diffusion on the ink-amount scale: each pixel's error goes ahead along the row,
// below, and diagonally below behind, with per-mille weights from tables; a dot raises a bias
// ahead and below that pulls its neighbours into dots too (a clustered texture); a pixel whose
// target jumps from the one above restarts from a table state; white pixels reset the error;
// isolated dots at the lightest targets get their spacing regularised.
//
// All state lives in this object and is carried from row to row; rows must be fed in order
// 0, 1, 2, ... (even rows run left to right, odd rows right to left). There is exactly one
// implementation of the diffusion: the screen and the table generator both run this class.
#ifndef KORVEL_IMAGE_ERROR_DIFFUSION_KERNEL_H
#define KORVEL_IMAGE_ERROR_DIFFUSION_KERNEL_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/error_diffusion_tables.h"
#include "image/tone_target.h"

// value * w / 1000 truncated toward zero (w a per-mille weight, value * w an int32 product),
// by one multiply and shift: with M = ceil(2^38 / 1000), floor(n * M / 2^38) is floor(n / 1000)
// for every int32 n, and one more for negative n turns the floor into truncation. The weight
// is handed in already multiplied by M.
constexpr int64_t kPerMilleMagic = 274877907;  // ceil(2^38 / 1000)
constexpr int64_t PerMilleMultiplier(int32_t weight) {
  return weight * kPerMilleMagic;
}
inline int32_t PerMilleQuotient(int64_t product) {
  return static_cast<int32_t>((product >> 38) - (product >> 63));
}
inline int32_t ScalePerMille(int32_t value, int64_t multiplier) {
  return PerMilleQuotient(static_cast<int64_t>(value) * multiplier);
}

class ImageErrorDiffusion {
 public:
  static constexpr int32_t kWhiteAmount = 2550;
  static constexpr int32_t kFullInk = 2550;
  static constexpr int32_t kDotThreshold = 1925;     // dot when value + bias exceeds this
  static constexpr int32_t kWhiteResetError = -150;  // error a white pixel leaves ahead/below
  static constexpr int32_t kRestartJump = 200;       // larger target jumps restart the state
  static constexpr int32_t kDotBiasTotal = 1167;     // bias ahead + bias below of a dot
  static constexpr int32_t kLightWeightLimit = 150;  // targets up to this use light weights
  static constexpr int32_t kLightRuleLow = 3;        // the spacing rule covers targets 3..22
  static constexpr int32_t kLightRuleHigh = 22;
  static constexpr int32_t kLightRuleJump = 50;  // a larger target step disarms the rule

  // Whether a column whose target jumps restarts from the tables (the screen) or carries its
  // state on as if the target had not jumped, the first row alone starting from the tables (a
  // reference the table generator and the quality figures judge the restart tables against).
  enum class Restarts { kFromTables, kFirstRowOnly };

  // toneCurve: 2551 targets indexed by 2550 - amount; values outside 0..2550 are clamped.
  ImageErrorDiffusion(int width, const int32_t* toneCurve,
                      const ErrorDiffusionTables& tables = BuiltInErrorDiffusionTables(),
                      Restarts restarts = Restarts::kFromTables)
      : width_(width),
        tables_(tables),
        below_(static_cast<size_t>(width) + 2),
        restartCounter_(kImgBucketCount, 0) {
    // The cycles are repeated for one run past their end (see DiffuseRowInDirection).
    for (int i = 0; i < kImgDotBiasCycle + kRunLength; ++i) {
      dotBias_[i] = tables_.dotBias[i % kImgDotBiasCycle];
      // Threshold less the bias a dot leaves below, as its difference (xor) from kDotThreshold.
      dotThresholdFlip_[i] = kDotThreshold ^ (kDotThreshold - (kDotBiasTotal - dotBias_[i]));
    }
    for (int a = 0; a < kImgTargetCount; ++a) {
      targetOfAmount_[a] = ToneTarget(toneCurve, a);
    }
    for (int g = 0; g < 256; ++g) {
      targetOfGrey_[g] = targetOfAmount_[10 * g];
      windowTestTargetOfGrey_[g] =
          IsWhite(static_cast<uint8_t>(g)) ? kOutsideEveryWindow : targetOfGrey_[g];
    }
    for (int t = 0; t < kImgTargetCount; ++t) {
      // The targets a column last at t continues with (others restart): t itself at either
      // end of the scale, otherwise everything within kRestartJump.
      const bool end = t == 0 || t == kFullInk;
      continueWindow_[t] = {end ? t : t - kRestartJump, end ? 0u : 2u * kRestartJump};
      if (restarts == Restarts::kFirstRowOnly) continueWindow_[t] = {0, UINT32_MAX};
    }
    // The row loop sends white pixels off the common path by a target outside every window;
    // a window never needs to reach past the scale, so none is wider than it.
    for (ContinueWindow& window : continueWindow_) {
      window.span = std::min(window.span, static_cast<uint32_t>(kFullInk));
    }
    // Every column starts as if its last target had been 0, which only target 0 continues, so
    // the first row restarts in either mode.
    for (Below& column : below_) column.window = ContinueWindow{};
    for (int i = 0; i < kImgWeightCycle + kRunLength; ++i) {
      WeightStep& step = weightCycle_[i];
      step.ahead = PerMilleMultiplier(tables_.aheadWeightCycle[i % kImgWeightCycle]);
      step.aheadFullInk = kFullInk * step.ahead;
      step.below = PerMilleMultiplier(tables_.belowWeightCycle[i % kImgWeightCycle]);
    }
    for (int t = 0; t <= kLightWeightLimit; ++t) {
      lightA_[t] = PerMilleMultiplier(tables_.lightWeightA[t]);
      lightB_[t] = PerMilleMultiplier(tables_.lightWeightB[t]);
    }
    for (int t = 0; t < kImgLightTableSize; ++t) {
      const int32_t c = tables_.lightResetError[t];
      lightResetLow_[t] = (9 * c) / 10;
      lightResetHigh_[t] = (11 * c) / 10;
    }
  }

  // Screen row y of amounts (uint16_t, 0..2550; larger values read as 2550) or of grey levels
  // (uint8_t, amount = 10 x grey), x < width; writes 0 (dot) or 255 into destination[x].
  // observe(x, value, bias) sees the error and bias the pixel holds once restart or
  // continuation has been decided, before its target is added.
  template <class Pixel, class Observer>
  void DiffuseRow(int y, const Pixel* row, uint8_t* destination, Observer&& observe) {
    if ((y & 1) == 0) {
      DiffuseRowInDirection<+1>(row, destination, observe);
    } else {
      DiffuseRowInDirection<-1>(row, destination, observe);
    }
  }

  template <class Pixel>
  void DiffuseRow(int y, const Pixel* row, uint8_t* destination) {
    DiffuseRow(y, row, destination, [](int, int32_t, int32_t) {});
  }

 private:
  // Whether a pixel is white (amount 2550) and its target, for either kind of row.
  bool IsWhite(uint8_t grey) const { return grey == 255; }
  bool IsWhite(uint16_t amount) const { return amount >= kWhiteAmount; }
  int64_t TargetOf(uint8_t grey) const { return targetOfGrey_[grey]; }
  // The target for the window test: white pixels read kOutsideEveryWindow instead.
  static constexpr int64_t kOutsideEveryWindow = int64_t{1} << 30;
  int64_t WindowTestTargetOf(uint8_t grey) const { return windowTestTargetOfGrey_[grey]; }
  int64_t WindowTestTargetOf(uint16_t amount) const {
    return IsWhite(amount) ? kOutsideEveryWindow : TargetOf(amount);
  }
  int64_t TargetOf(uint16_t amount) const {
    return targetOfAmount_[std::min<int32_t>(amount, kWhiteAmount)];
  }

  template <int kDir, class Pixel, class Observer>
  void DiffuseRowInDirection(const Pixel* row, uint8_t* destination, Observer& observe) {
    // below_ has a guard entry on either side: index x + 1 is column x, and the rest that the
    // first pixel of a row would send behind lands in a guard and is dropped.
    Below* const below = below_.data() + 1;

    // The carried value is kept in 64 bits: it goes straight into the next pixel's product.
    int64_t carryValue = carryValue_;
    int64_t carryBias = carryBias_;
    // Indices in the pointer width, so that indexing needs no widening. Within a run of at
    // most kRunLength pixels they only grow, into the repeated tails of the cycle tables;
    // they are brought back into their cycles between runs.
    size_t dotBiasIndex = static_cast<size_t>(dotBiasIndex_);
    const WeightStep* weight = weightCycle_ + weightIndex_;

    const int first = kDir > 0 ? 0 : width_ - 1;
    const int end = kDir > 0 ? width_ : -1;
    for (int x = first; x != end;) {
      const int runEnd = kDir > 0 ? std::min(x + kRunLength, end) : std::max(x - kRunLength, end);
#pragma GCC unroll 2
      for (; x != runEnd; x += kDir) {
        // A white pixel reads a target outside every window, so one test sends both it and
        // a restart off the common path.
        const Pixel pixel = row[x];
        int64_t t = WindowTestTargetOf(pixel);

        // value = error + target, and the threshold less the bias. The carries, which the
        // previous pixel has only just produced, are taken in last, by sums formed
        // beforehand; a restart drops them.
        int64_t carryIn = carryValue;
        int64_t carryBiasIn = carryBias;
        int64_t errAbove;
        int64_t threshold;
        const ContinueWindow window = below[x].window;
        if (__builtin_expect(static_cast<uint32_t>(t - window.low) > window.span, 0)) {
          bool restart = true;
          if (IsWhite(pixel)) {
            // White resets the carries and the column, whose window is then target 0's.
            t = TargetOf(pixel);
            restart = t != 0;
            carryIn = kWhiteResetError;
            carryBiasIn = 0;
            errAbove = kWhiteResetError;
            threshold = kDotThreshold;
          }
          if (restart) {
            int32_t restartError, restartBias;
            Restart(static_cast<int32_t>(t), restartError, restartBias);
            errAbove = restartError;
            threshold = kDotThreshold - restartBias;
            carryIn = 0;
            carryBiasIn = 0;
          }
        } else {
          errAbove = below[x].error;
          threshold = below[x].threshold;
        }
        observe(x, static_cast<int32_t>(carryIn + errAbove),
                static_cast<int32_t>(kDotThreshold - threshold + carryBiasIn));
        below[x].window = continueWindow_[t];
        const int64_t wideValue = carryIn + (errAbove + t);
        int32_t value = static_cast<int32_t>(wideValue);

        // Decision. A dot hands a bias ahead from the cycle and the rest of kDotBiasTotal
        // below. Dots fall unpredictably, so everything that depends on one is selected by a
        // mask (all ones for a dot: the sign of threshold - bias - value) rather than by a
        // branch.
        const int64_t wideDotMask = ((threshold - carryBiasIn) - wideValue) >> 63;
        const int32_t dotMask = static_cast<int32_t>(wideDotMask);
        carryBias = dotBias_[dotBiasIndex] & wideDotMask;
        below[x].threshold = kDotThreshold ^ (dotThresholdFlip_[dotBiasIndex] & dotMask);
        dotBiasIndex -= static_cast<size_t>(wideDotMask);
        destination[x] = static_cast<uint8_t>(~dotMask);

        // Split: ahead into the carry, below into this column, the rest behind. Above the
        // light targets the weights come from the cycles; the ahead share is what the next
        // pixel waits for, so the dot's 2550 is taken off the product (value - 2550) * w
        // rather than off the value before multiplying.
        int64_t ahead;
        int32_t down;
        if (__builtin_expect(t > kLightWeightLimit, 1)) {
          const int64_t aheadProduct =
              wideValue * weight->ahead - (weight->aheadFullInk & wideDotMask);
          const int64_t spent = wideValue - (kFullInk & wideDotMask);
          const int64_t belowProduct = spent * weight->below;
          value = static_cast<int32_t>(spent);
          ahead = (aheadProduct >> 38) - (aheadProduct >> 63);
          down = static_cast<int32_t>((belowProduct >> 38) - (belowProduct >> 63));
          ++weight;
        } else {
          // The light weights swap with the decision; dots are rare here.
          const bool dot = dotMask != 0;
          value -= dot ? kFullInk : 0;
          const int32_t target = static_cast<int32_t>(t);
          if (target <= kLightRuleHigh) {
            ApplyLightRule(dot, target, PreviousTarget<kDir>(row, x, first), value);
          }
          ahead = ScalePerMille(value, dot ? lightA_[target] : lightB_[target]);
          down = ScalePerMille(value, dot ? lightB_[target] : lightA_[target]);
        }
        below[x].error = down;
        below[x - kDir].error += value - down - static_cast<int32_t>(ahead);
        carryValue = ahead;
      }
      if (dotBiasIndex >= kImgDotBiasCycle) dotBiasIndex -= kImgDotBiasCycle;
      if (weight >= weightCycle_ + kImgWeightCycle) weight -= kImgWeightCycle;
    }
    below[-1].error = 0;
    below[width_].error = 0;

    carryValue_ = static_cast<int32_t>(carryValue);
    carryBias_ = static_cast<int32_t>(carryBias);
    if (width_ > 0) prevTarget_ = static_cast<int32_t>(TargetOf(row[end - kDir]));
    dotBiasIndex_ = static_cast<int32_t>(dotBiasIndex);
    weightIndex_ = static_cast<int32_t>(weight - weightCycle_);
  }

  // The target processed before pixel x of this row: 0 when x is white (its reset), the last
  // target of the previous row at the row's first pixel, the neighbour's otherwise. Read
  // afresh from the row, out of line: the light rule is rare, and the loop keeps no copy.
  template <int kDir, class Pixel>
  __attribute__((noinline)) int32_t PreviousTarget(const Pixel* row, int x, int first) const {
    if (IsWhite(row[x])) return 0;
    if (x == first) return prevTarget_;
    return static_cast<int32_t>(TargetOf(row[x - kDir]));
  }

  // Replace the state by the next table state of the target's bucket.
  void Restart(int32_t t, int32_t& value, int32_t& bias) {
    const int b = ImgTargetBucket(t);
    const int32_t c = restartCounter_[b];
    value = tables_.restartError[b][c];
    bias = tables_.restartBias[b][c];
    restartCounter_[b] = (c + 1) & (kImgRestartCycle - 1);
  }

  // A dot at a target of at most 22 arms the rule; while armed, every pixel with a target of
  // 3..22 counts one, and at the table's spacing its error is replaced by 90 % or 110 % of the
  // reset error. A target step of more than 50 disarms it.
  void ApplyLightRule(bool dot, int32_t t, int32_t prevTarget, int32_t& value) {
    if (dot) {
      lightArmed_ = true;
      lightRun_ = 0;
    }
    if (!lightArmed_ || t < kLightRuleLow) return;
    if (t - prevTarget > kLightRuleJump || prevTarget - t > kLightRuleJump) {
      lightRun_ = 0;
      lightArmed_ = false;
    } else if (++lightRun_ >= tables_.lightDotSpacing[t]) {
      const int32_t c = tables_.lightResetError[t];
      value = value < c ? lightResetLow_[t] : lightResetHigh_[t];
      lightRun_ = 0;
      lightArmed_ = false;
    }
  }

  // The targets that continue a column's state: low .. low + span. A column restarts when
  // its target leaves the window of the target last processed there.
  struct ContinueWindow {
    int32_t low = 0;
    uint32_t span = 0;
  };

  // Pixels between two returns of the cycle indices into their cycles; at most the shorter
  // cycle, so that one run never passes the repeated tail.
  static constexpr int kRunLength = 100;
  static_assert(kRunLength <= kImgDotBiasCycle && kRunLength <= kImgWeightCycle);

  int width_;
  const ErrorDiffusionTables& tables_;
  // What each column hands to the next row: the error, the decision threshold less the bias,
  // and the window of the column's last target (of target 0 at the start).
  struct Below {
    int32_t error = 0;
    int32_t threshold = kDotThreshold;
    ContinueWindow window;
  };
  std::vector<Below> below_;
  std::vector<int32_t> restartCounter_;
  int32_t dotBias_[kImgDotBiasCycle + kRunLength];
  int32_t dotThresholdFlip_[kImgDotBiasCycle + kRunLength];
  int32_t targetOfAmount_[kImgTargetCount];  // clamped target of each amount 0..2550
  int64_t targetOfGrey_[256];                // the same for amount 10 x grey
  int64_t windowTestTargetOfGrey_[256];      // the same, white reading kOutsideEveryWindow
  ContinueWindow continueWindow_[kImgTargetCount];
  // Weights as ScalePerMille multipliers, the cycles repeated for one run past their end.
  struct WeightStep {
    int64_t ahead;
    int64_t aheadFullInk;  // 2550 x the ahead multiplier
    int64_t below;
  };
  WeightStep weightCycle_[kImgWeightCycle + kRunLength];
  int64_t lightA_[kLightWeightLimit + 1];
  int64_t lightB_[kLightWeightLimit + 1];
  int32_t lightResetLow_[kImgLightTableSize];
  int32_t lightResetHigh_[kImgLightTableSize];
  int32_t carryValue_ = 0;
  int32_t carryBias_ = 0;
  int32_t prevTarget_ = 0;
  int32_t dotBiasIndex_ = 0;
  int32_t weightIndex_ = 0;
  int32_t lightRun_ = 0;
  bool lightArmed_ = false;
};

#endif
