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
#include <cstdint>
#include <vector>

#include "image/error_diffusion_tables.h"

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

// n / 1000 truncated toward zero, for every int32 n.
inline int32_t DivideBy1000(int32_t n) {
  return ScalePerMille(n, PerMilleMultiplier(1));
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
        columns_(static_cast<size_t>(width) + 2),
        restartCounter_(kImgBucketCount, 0) {
    std::copy(tables_.dotBias, tables_.dotBias + kImgDotBiasCycle, dotBias_);
    for (int a = 0; a < kImgTargetCount; ++a) {
      targetOfAmount_[a] = std::min(std::max(toneCurve[kWhiteAmount - a], 0), kFullInk);
    }
    for (int g = 0; g < 256; ++g) targetOfGrey_[g] = targetOfAmount_[10 * g];
    for (int t = 0; t < kImgTargetCount; ++t) {
      // The targets a column last at t continues with (others restart): t itself at either
      // end of the scale, otherwise everything within kRestartJump.
      const bool end = t == 0 || t == kFullInk;
      continueWindow_[t] = {end ? t : t - kRestartJump, end ? 0u : 2u * kRestartJump};
      if (restarts == Restarts::kFirstRowOnly) continueWindow_[t] = {0, UINT32_MAX};
    }
    for (int i = 0; i < kImgWeightCycle; ++i) {
      aheadCycle_[i] = PerMilleMultiplier(tables_.aheadWeightCycle[i]);
      aheadCycleFullInk_[i] = kFullInk * aheadCycle_[i];
      belowCycle_[i] = PerMilleMultiplier(tables_.belowWeightCycle[i]);
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
  int32_t TargetOf(uint8_t grey) const { return targetOfGrey_[grey]; }
  int32_t TargetOf(uint16_t amount) const {
    return targetOfAmount_[std::min<int32_t>(amount, kWhiteAmount)];
  }

  template <int kDir, class Pixel, class Observer>
  void DiffuseRowInDirection(const Pixel* row, uint8_t* destination, Observer& observe) {
    // columns_ has a guard entry on either side: index x + 1 is column x, and the rest that
    // the first pixel of a row would send behind lands in a guard and is dropped.
    Column* const column = columns_.data() + 1;

    int32_t carryValue = carryValue_, carryBias = carryBias_, prevTarget = prevTarget_;
    int32_t dotBiasIndex = dotBiasIndex_, weightIndex = weightIndex_;

    const int first = kDir > 0 ? 0 : width_ - 1;
    const int end = kDir > 0 ? width_ : -1;
    for (int x = first; x != end; x += kDir) {
      Column& here = column[x];
      const Pixel pixel = row[x];
      if (IsWhite(pixel)) {
        here.window = continueWindow_[0];
        here.errBelow = kWhiteResetError;
        carryValue = kWhiteResetError;
        carryBias = 0;
        here.biasBelow = 0;
        prevTarget = 0;
      }
      const int32_t t = TargetOf(pixel);

      // value = error + target; in a continuing column the carry, which the previous pixel
      // has only just produced, is added last.
      int32_t value, bias;
      if (static_cast<uint32_t>(t - here.window.low) > here.window.span) {
        Restart(t, value, bias);
        observe(x, value, bias);
        value += t;
      } else {
        bias = carryBias + here.biasBelow;
        observe(x, carryValue + here.errBelow, bias);
        value = carryValue + (here.errBelow + t);
      }
      here.window = continueWindow_[t];

      // Decision. A dot hands a bias ahead from the cycle and the rest of kDotBiasTotal below.
      // Dots fall unpredictably, so everything that depends on one is selected by a mask
      // (all ones for a dot) rather than by a branch.
      const int32_t dotMask = (kDotThreshold - value - bias) >> 31;
      const int32_t aheadBias = dotBias_[dotBiasIndex];
      carryBias = aheadBias & dotMask;
      here.biasBelow = (kDotBiasTotal - aheadBias) & dotMask;
      dotBiasIndex -= dotMask;
      dotBiasIndex = dotBiasIndex == kImgDotBiasCycle ? 0 : dotBiasIndex;
      destination[x] = static_cast<uint8_t>(~dotMask);

      // Split: ahead into the carry, below into this column, the rest behind. Above the light
      // targets the weights come from the cycles; the ahead share is what the next pixel waits
      // for, so the dot's 2550 is taken off the product (value - 2550) * w rather than off the
      // value before multiplying.
      int32_t ahead, below;
      if (t > kLightWeightLimit) {
        const int64_t aheadProduct = static_cast<int64_t>(value) * aheadCycle_[weightIndex] -
                                     (aheadCycleFullInk_[weightIndex] & int64_t{dotMask});
        value -= kFullInk & dotMask;
        ahead = PerMilleQuotient(aheadProduct);
        below = ScalePerMille(value, belowCycle_[weightIndex]);
        weightIndex = (weightIndex + 1) & (kImgWeightCycle - 1);
      } else {
        // The light weights swap with the decision; dots are rare here.
        const bool dot = dotMask != 0;
        value -= dot ? kFullInk : 0;
        if (t <= kLightRuleHigh) ApplyLightRule(dot, t, prevTarget, value);
        ahead = ScalePerMille(value, dot ? lightA_[t] : lightB_[t]);
        below = ScalePerMille(value, dot ? lightB_[t] : lightA_[t]);
      }
      here.errBelow = below;
      column[x - kDir].errBelow += value - below - ahead;
      carryValue = ahead;
      prevTarget = t;
    }
    column[-1].errBelow = 0;
    column[width_].errBelow = 0;

    carryValue_ = carryValue;
    carryBias_ = carryBias;
    prevTarget_ = prevTarget;
    dotBiasIndex_ = dotBiasIndex;
    weightIndex_ = weightIndex;
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

  // What a column hands to the next row: error, bias, and the window of its last target.
  struct Column {
    int32_t errBelow = 0;
    int32_t biasBelow = 0;
    ContinueWindow window;  // of target 0 at the start
  };

  int width_;
  const ErrorDiffusionTables& tables_;
  std::vector<Column> columns_;
  std::vector<int32_t> restartCounter_;
  int32_t dotBias_[kImgDotBiasCycle];
  int32_t targetOfAmount_[kImgTargetCount];  // clamped target of each amount 0..2550
  int32_t targetOfGrey_[256];                // the same for amount 10 x grey
  ContinueWindow continueWindow_[kImgTargetCount];
  int64_t aheadCycle_[kImgWeightCycle];  // weights as ScalePerMille multipliers
  int64_t belowCycle_[kImgWeightCycle];
  int64_t aheadCycleFullInk_[kImgWeightCycle];  // 2550 x the ahead multiplier
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
