// The per-pixel template diffusion shared by every template generator, the splits and the
// image-driven paths. A serpentine error diffusion on the ink-amount scale 0..2550 that sends a
// pixel's error to two neighbours (44/56 after a dot, 56/44 without), raises a threshold bias
// beside and below every dot, sets damping marks diagonally below every second dot, restarts a
// column from constant tables where its amount jumps, and regularises the lightest amounts.
//
// The step decides dots only; how a dot is stored (1, 2, 4 or 8 bits) is the caller's row
// packer, and where an amount comes from (one level, or a pixel of an image) is the caller's
// amount source. There is exactly one implementation of the step: this one.
#ifndef KORVEL_TEMPLATE_DIFFUSION_STEP_H
#define KORVEL_TEMPLATE_DIFFUSION_STEP_H

#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "template/restart_tables.h"

class TemplateDiffusion {
 public:
  // The amount source of a uniform template: one amount for every pixel.
  struct UniformAmount {
    int32_t amount;
    int32_t operator()(int) const { return amount; }
  };

  // Weights (percent) of the error sent along the row after a dot and without one.
  static constexpr int kDotAheadWeight = 44;
  static constexpr int kEmptyAheadWeight = 56;
  // Bias raised beside a dot, below it, and below it at the end of a row.
  static constexpr int kBiasAhead = 714;
  static constexpr int kBiasBelow = 969;
  static constexpr int kBiasBelowAtEnd = 1683;
  // A column restarts when its amount moves further than this from the row above.
  static constexpr int kRestartJump = 400;

  TemplateDiffusion(int width, const TemplateTables& tables = BuiltInTemplateTables())
      : width_(width),
        tables_(tables),
        error_(2 * static_cast<size_t>(width)),
        bias_(2 * static_cast<size_t>(width)),
        marks_(2 * static_cast<size_t>(width)),
        columnAmount_(width) {}

  // Decide the dots of row y (even rows left to right, odd rows right to left). amountOf(x)
  // gives the ink amount of column x in this row; dots[x] receives 1 for a dot and 0 otherwise
  // for every x < width. observe(x, error, bias) sees the state a pixel holds at the moment it
  // is processed (after any restart, before the decision); the table generator uses it.
  template <class AmountOf, class Observer>
  void DiffuseRow(int y, AmountOf amountOf, uint8_t* dots, Observer observe) {
    // A column restarts only where its amount differs from the row above; after a uniform row,
    // a uniform row of the same amount cannot restart anywhere and skips the test.
    bool mayRestart = true;
    bool mayBeLight = true;  // amounts 3..22 follow the light rule
    if constexpr (std::is_same_v<AmountOf, UniformAmount>) {
      mayRestart = !(settled_ && settledAmount_ == amountOf.amount);
      mayBeLight = amountOf.amount <= 22;
      settled_ = true;
      settledAmount_ = amountOf.amount;
    } else {
      settled_ = false;
    }
    if ((y & 1) == 0) {
      DiffuseRowWithRules<+1>(mayRestart, mayBeLight, amountOf, dots, observe);
    } else {
      DiffuseRowWithRules<-1>(mayRestart, mayBeLight, amountOf, dots, observe);
    }
    current_ ^= 1;
  }

  template <class AmountOf>
  void DiffuseRow(int y, AmountOf amountOf, uint8_t* dots) {
    DiffuseRow(y, amountOf, dots, [](int, int32_t, int32_t) {});
  }

 private:
  // Current and next rows of each pair lie one after the other; current_ says which is which.
  int32_t* ErrorRow(int which) { return error_.data() + static_cast<size_t>(which) * width_; }
  int32_t* BiasRow(int which) { return bias_.data() + static_cast<size_t>(which) * width_; }
  uint8_t* MarkRow(int which) { return marks_.data() + static_cast<size_t>(which) * width_; }

  static int AmountBucket(int a) { return a <= 10 ? a - 3 : (a - 1) / 10 + 7; }

  // Where a pixel lies in its scan: the first column has no previous neighbour, the last no
  // next one (a one-pixel row is both).
  enum Position { kFirst = 1, kMiddle = 0, kLast = 2, kOnly = 3 };

  // Per-row state handed from pixel to pixel.
  struct RowState {
    int32_t* err;
    int32_t* nextErr;
    int32_t* bias;
    int32_t* nextBias;
    uint8_t* mark;
    uint8_t* nextMark;
    int lightCount;
    bool lightArmed;
    // What the previous pixel of the scan sent along the row (error share and bias); kept in
    // registers and added to this pixel's column instead of going through memory.
    int32_t carriedError;
    int32_t carriedBias;
    // Call-wide state, held locally during the row so the compiler can keep it in registers.
    int32_t parity;
    int32_t previousAmount;
  };

  // Pick the row loop compiled for the rules that can act in this row.
  template <int kDir, class AmountOf, class Observer>
  void DiffuseRowWithRules(bool mayRestart, bool mayBeLight, AmountOf& amountOf, uint8_t* dots,
                           Observer& observe) {
    if (mayRestart) {
      if (mayBeLight)
        DiffuseRowInDirection<kDir, true, true>(amountOf, dots, observe);
      else
        DiffuseRowInDirection<kDir, true, false>(amountOf, dots, observe);
    } else {
      if (mayBeLight)
        DiffuseRowInDirection<kDir, false, true>(amountOf, dots, observe);
      else
        DiffuseRowInDirection<kDir, false, false>(amountOf, dots, observe);
    }
  }

  template <int kDir, bool kMayRestart, bool kMayBeLight, class AmountOf, class Observer>
  void DiffuseRowInDirection(AmountOf amountOf, uint8_t* dots, Observer observe) {
    RowState row = {ErrorRow(current_),
                    ErrorRow(current_ ^ 1),
                    BiasRow(current_),
                    BiasRow(current_ ^ 1),
                    MarkRow(current_),
                    MarkRow(current_ ^ 1),
                    0,
                    false,
                    0,
                    0,
                    parity_,
                    previousAmount_};
    const int first = kDir > 0 ? 0 : width_ - 1;
    const int last = kDir > 0 ? width_ - 1 : 0;
    if (width_ == 1) {
      Step<kDir, kOnly, kMayRestart, kMayBeLight>(row, first, amountOf(first), dots, observe);
    } else if (width_ > 1) {
      Step<kDir, kFirst, kMayRestart, kMayBeLight>(row, first, amountOf(first), dots, observe);
      for (int x = first + kDir; x != last; x += kDir)
        Step<kDir, kMiddle, kMayRestart, kMayBeLight>(row, x, amountOf(x), dots, observe);
      Step<kDir, kLast, kMayRestart, kMayBeLight>(row, last, amountOf(last), dots, observe);
    }
    parity_ = row.parity;
    previousAmount_ = row.previousAmount;
    restartCounter_ = 0;
  }

  // The per-pixel step at column x with amount a. Dot-dependent updates are written without
  // branches: at mid-tones the decision is a coin toss that a branch predictor cannot learn.
  template <int kDir, int kPos, bool kMayRestart, bool kMayBeLight, class Observer>
  inline void Step(RowState& row, int x, int32_t a, uint8_t* dots, Observer& observe) {
    constexpr bool kIsFirst = (kPos & kFirst) != 0;
    constexpr bool kIsLast = (kPos & kLast) != 0;
    // The state this pixel holds: what came from above plus what the previous pixel sent.
    int32_t err = row.err[x] + row.carriedError;
    int32_t bias = row.bias[x] + row.carriedBias;

    // 1. Restart a column whose amount jumped: the tables hold the state a long run at this
    //    amount would have, replacing whatever reached this pixel.
    if constexpr (kMayRestart) {
      const int32_t g = columnAmount_[x];
      if ((std::abs(a - g) > kRestartJump || (g == 0 && a != 0)) && a >= 3 && a <= 2549) {
        const int cell = AmountBucket(a) * kRestartColumns + restartCounter_;
        err = tables_.restartError[cell];
        row.mark[x] = a >= 1280 ? tables_.restartFlag[restartCounter_] : 0;
        bias = a > 500 ? tables_.restartBias[cell] : 0;
        if (++restartCounter_ == kRestartCycle) restartCounter_ = 0;
      }
      columnAmount_[x] = a;
    }
    observe(x, err, bias);

    // 2.-3. Decision: a damping mark weakens the amount's pull; the bias never enters the error.
    //       Both possible shares are formed while the decision is made, so the row's carried
    //       error does not wait for it.
    const int32_t damped = row.mark[x] & static_cast<int32_t>(a > 300);
    const int32_t pull = a - damped * (a - (3 * a) / 5);
    row.mark[x] = 0;
    const int32_t dot = bias + err + pull > 0;
    const int32_t dotMask = -dot;  // all ones for a dot
    const int32_t emptyError = err + a;
    const int32_t dotError = emptyError - 2550;
    const int32_t emptyShare = (kEmptyAheadWeight * emptyError) / 100;
    const int32_t dotShare = (kDotAheadWeight * dotError) / 100;
    int32_t e = emptyError - (2550 & dotMask);
    int32_t share = emptyShare ^ ((emptyShare ^ dotShare) & dotMask);
    dots[x] = static_cast<uint8_t>(dot);
    row.parity ^= dot;

    // 4. Lightest amounts: a fixed distance after a dot, pull the error towards a table value.
    if (kMayBeLight && a <= 22) {
      if (dot) {
        row.lightCount = 0;
        row.lightArmed = true;
      }
      if (row.lightArmed && a >= 3) {
        if (std::abs(a - row.previousAmount) > 50) {
          row.lightCount = 0;
          row.lightArmed = false;
        } else if (++row.lightCount >= tables_.lightDotSpacing[a]) {
          const int32_t r = tables_.lightResetError[a];
          e = e < r ? (r * 90) / 100 : (r * 110) / 100;
          share = ((dot ? kDotAheadWeight : kEmptyAheadWeight) * e) / 100;
          row.lightCount = 0;
          row.lightArmed = false;
        }
      }
    }

    // 5.-6. Two-neighbour diffusion, bias beside and below a dot, marks diagonally below every
    //       second dot. The last column of a scan sends everything down.
    const uint8_t markBelow = static_cast<uint8_t>(dot & row.parity);
    if constexpr (kIsLast) {
      row.nextErr[x] = e;
      row.nextBias[x] = kBiasBelowAtEnd & dotMask;
    } else {
      row.carriedError = share;
      row.nextErr[x] = e - share;
      row.carriedBias = kBiasAhead & dotMask;
      row.nextBias[x] = kBiasBelow & dotMask;
      row.nextMark[x + kDir] |= markBelow;
      if constexpr (!kIsFirst) row.nextMark[x - kDir] |= markBelow;
    }

    // 7. Book-keeping (the column amount was recorded with the restart test).
    row.previousAmount = a;
  }

  int width_;
  const TemplateTables& tables_;
  std::vector<int32_t> error_;
  std::vector<int32_t> bias_;
  std::vector<uint8_t> marks_;
  std::vector<int32_t> columnAmount_;
  int current_ = 0;
  bool settled_ = false;  // the last row was uniform at settledAmount_
  int32_t settledAmount_ = 0;
  int restartCounter_ = 0;
  int32_t parity_ = 0;  // flips at every dot of the call
  int32_t previousAmount_ = 0;
};

#endif
