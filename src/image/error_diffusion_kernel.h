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

// n / 1000 truncated toward zero, by multiply and shift: exact for every int32 n.
inline int32_t DivideBy1000(int32_t n) {
  constexpr int64_t kMagic = 274877907;  // ceil(2^38 / 1000)
  const int32_t floorQuotient = static_cast<int32_t>((static_cast<int64_t>(n) * kMagic) >> 38);
  return floorQuotient - (n >> 31);  // floor to truncation for negative n
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

  // toneCurve: 2551 targets indexed by 2550 - amount; values outside 0..2550 are clamped.
  ImageErrorDiffusion(int width, const int32_t* toneCurve,
                      const ErrorDiffusionTables& tables = BuiltInErrorDiffusionTables())
      : width_(width),
        tables_(tables),
        errBelow_(static_cast<size_t>(width) + 2, 0),
        biasBelow_(static_cast<size_t>(width), 0),
        lastTarget_(static_cast<size_t>(width), 0),
        restartCounter_(kImgBucketCount, 0),
        targetOfAmount_(kImgTargetCount) {
    for (int a = 0; a < kImgTargetCount; ++a) {
      targetOfAmount_[a] = std::min(std::max(toneCurve[kWhiteAmount - a], 0), kFullInk);
    }
    for (int t = 0; t < kImgLightTableSize; ++t) {
      const int32_t c = tables_.lightResetError[t];
      lightResetLow_[t] = (9 * c) / 10;
      lightResetHigh_[t] = (11 * c) / 10;
    }
  }

  // Screen row y: amounts[x] (0..2550, larger values read as 2550) for x < width; writes 0
  // (dot) or 255 into destination[x]. observe(x, value, bias) sees the error and bias the
  // pixel holds once restart or continuation has been decided, before its target is added.
  template <class Observer>
  void DiffuseRow(int y, const uint16_t* amounts, uint8_t* destination, Observer&& observe) {
    if ((y & 1) == 0) {
      DiffuseRowInDirection<+1>(amounts, destination, observe);
    } else {
      DiffuseRowInDirection<-1>(amounts, destination, observe);
    }
  }

  void DiffuseRow(int y, const uint16_t* amounts, uint8_t* destination) {
    DiffuseRow(y, amounts, destination, [](int, int32_t, int32_t) {});
  }

 private:
  template <int kDir, class Observer>
  void DiffuseRowInDirection(const uint16_t* amounts, uint8_t* destination, Observer& observe) {
    // errBelow_ has a guard entry on either side: index x + 1 is column x, and the rest that
    // the first pixel of a row would send behind lands in a guard and is dropped.
    int32_t* const errBelow = errBelow_.data() + 1;
    int32_t* const biasBelow = biasBelow_.data();
    int32_t* const lastTarget = lastTarget_.data();
    const int32_t* const targetOf = targetOfAmount_.data();
    const int32_t(*const restartError)[kImgRestartCycle] = tables_.restartError;
    const int32_t(*const restartBias)[kImgRestartCycle] = tables_.restartBias;
    const int32_t* const dotBias = tables_.dotBias;
    const int32_t* const aheadCycle = tables_.aheadWeightCycle;
    const int32_t* const belowCycle = tables_.belowWeightCycle;
    const int32_t* const lightA = tables_.lightWeightA;
    const int32_t* const lightB = tables_.lightWeightB;

    int32_t carryValue = carryValue_, carryBias = carryBias_, prevTarget = prevTarget_;
    int32_t dotBiasIndex = dotBiasIndex_, weightIndex = weightIndex_, lightRun = lightRun_;
    bool lightArmed = lightArmed_;

    const int first = kDir > 0 ? 0 : width_ - 1;
    for (int i = 0, x = first; i < width_; ++i, x += kDir) {
      const int32_t a = std::min<int32_t>(amounts[x], kWhiteAmount);
      if (a == kWhiteAmount) {
        lastTarget[x] = 0;
        errBelow[x] = kWhiteResetError;
        carryValue = kWhiteResetError;
        carryBias = 0;
        biasBelow[x] = 0;
        prevTarget = 0;
      }
      const int32_t p = lastTarget[x];
      const int32_t t = targetOf[a];

      int32_t value, bias;
      if (NeedsRestart(p, t)) {
        const int b = ImgTargetBucket(t);
        const int32_t c = restartCounter_[b];
        value = restartError[b][c];
        bias = restartBias[b][c];
        restartCounter_[b] = (c + 1) & (kImgRestartCycle - 1);
      } else {
        value = carryValue + errBelow[x];
        bias = carryBias + biasBelow[x];
      }
      observe(x, value, bias);
      lastTarget[x] = t;
      value += t;

      // Decision. A dot hands a bias ahead from the cycle and the rest of kDotBiasTotal below.
      const bool dot = value + bias > kDotThreshold;
      const int32_t aheadBias = dotBias[dotBiasIndex];
      value -= dot ? kFullInk : 0;
      carryBias = dot ? aheadBias : 0;
      biasBelow[x] = dot ? kDotBiasTotal - aheadBias : 0;
      dotBiasIndex += dot;
      dotBiasIndex = dotBiasIndex == kImgDotBiasCycle ? 0 : dotBiasIndex;
      destination[x] = dot ? 0 : 255;

      // Weights: a cycle above the light targets, otherwise the light pair, swapped by the
      // decision.
      int32_t wAhead, wBelow;
      if (t > kLightWeightLimit) {
        wAhead = aheadCycle[weightIndex];
        wBelow = belowCycle[weightIndex];
        weightIndex = (weightIndex + 1) & (kImgWeightCycle - 1);
      } else {
        wAhead = dot ? lightA[t] : lightB[t];
        wBelow = dot ? lightB[t] : lightA[t];
        if (t <= kLightRuleHigh) {
          ApplyLightRule(dot, t, prevTarget, value, lightRun, lightArmed);
        }
      }

      // Split: ahead into the carry, below into this column, the rest behind.
      const int32_t ahead = DivideBy1000(value * wAhead);
      const int32_t below = DivideBy1000(value * wBelow);
      errBelow[x] = below;
      errBelow[x - kDir] += value - below - ahead;
      carryValue = ahead;
      prevTarget = t;
    }
    errBelow[-1] = 0;
    errBelow[width_] = 0;

    carryValue_ = carryValue;
    carryBias_ = carryBias;
    prevTarget_ = prevTarget;
    dotBiasIndex_ = dotBiasIndex;
    weightIndex_ = weightIndex;
    lightRun_ = lightRun;
    lightArmed_ = lightArmed;
  }

  static bool NeedsRestart(int32_t p, int32_t t) {
    const bool jump = static_cast<uint32_t>(t - p + kRestartJump) > 2u * kRestartJump;
    return jump || (p == 0 && t != 0) || (p == kFullInk && t != kFullInk);
  }

  // A dot at a target of at most 22 arms the rule; while armed, every pixel with a target of
  // 3..22 counts one, and at the table's spacing its error is replaced by 90 % or 110 % of the
  // reset error. A target step of more than 50 disarms it.
  void ApplyLightRule(bool dot, int32_t t, int32_t prevTarget, int32_t& value, int32_t& lightRun,
                      bool& lightArmed) const {
    if (dot) {
      lightArmed = true;
      lightRun = 0;
    }
    if (!lightArmed || t < kLightRuleLow) return;
    if (t - prevTarget > kLightRuleJump || prevTarget - t > kLightRuleJump) {
      lightRun = 0;
      lightArmed = false;
    } else if (++lightRun >= tables_.lightDotSpacing[t]) {
      const int32_t c = tables_.lightResetError[t];
      value = value < c ? lightResetLow_[t] : lightResetHigh_[t];
      lightRun = 0;
      lightArmed = false;
    }
  }

  int width_;
  const ErrorDiffusionTables& tables_;
  std::vector<int32_t> errBelow_;
  std::vector<int32_t> biasBelow_;
  std::vector<int32_t> lastTarget_;
  std::vector<int32_t> restartCounter_;
  std::vector<int32_t> targetOfAmount_;  // clamped target of each amount 0..2550
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
