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
#include <vector>

#include "template/restart_tables.h"

class TemplateDiffusion {
 public:
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
    if ((y & 1) == 0) {
      DiffuseRowInDirection<+1>(amountOf, dots, observe);
    } else {
      DiffuseRowInDirection<-1>(amountOf, dots, observe);
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

  template <int kDir, class AmountOf, class Observer>
  void DiffuseRowInDirection(AmountOf amountOf, uint8_t* dots, Observer observe) {
    int32_t* err = ErrorRow(current_);
    int32_t* nextErr = ErrorRow(current_ ^ 1);
    int32_t* bias = BiasRow(current_);
    int32_t* nextBias = BiasRow(current_ ^ 1);
    uint8_t* mark = MarkRow(current_);
    uint8_t* nextMark = MarkRow(current_ ^ 1);
    const int first = kDir > 0 ? 0 : width_ - 1;
    const int last = kDir > 0 ? width_ - 1 : 0;
    int lightCount = 0;
    bool lightArmed = false;

    for (int x = first, i = 0; i < width_; x += kDir, ++i) {
      const int32_t a = amountOf(x);
      const bool isLast = (x == last);

      // 1. Restart a column whose amount jumped: the tables hold the state a long run at this
      //    amount would have, replacing whatever reached this pixel.
      const int32_t g = columnAmount_[x];
      if ((std::abs(a - g) > kRestartJump || (g == 0 && a != 0)) && a >= 3 && a <= 2549) {
        const int cell = AmountBucket(a) * kRestartColumns + restartCounter_;
        err[x] = tables_.restartError[cell];
        mark[x] = a >= 1280 ? tables_.restartFlag[restartCounter_] : 0;
        bias[x] = a > 500 ? tables_.restartBias[cell] : 0;
        if (++restartCounter_ == kRestartCycle) restartCounter_ = 0;
      }
      observe(x, err[x], bias[x]);

      // 2.-3. Decision: a damping mark weakens the amount's pull, the bias never enters the
      //       error.
      const int32_t pull = (mark[x] && a > 300) ? (3 * a) / 5 : a;
      mark[x] = 0;
      const bool dot = bias[x] + err[x] + pull > 0;
      int32_t e = err[x] + a - (dot ? 2550 : 0);
      const int w = dot ? kDotAheadWeight : kEmptyAheadWeight;
      dots[x] = dot;
      if (dot) {
        parity_ = !parity_;
        if (a <= 22) {
          lightCount = 0;
          lightArmed = true;
        }
      }

      // 4. Lightest amounts: a fixed distance after a dot, pull the error towards a table value.
      if (a <= 22 && lightArmed && a >= 3) {
        if (std::abs(a - previousAmount_) > 50) {
          lightCount = 0;
          lightArmed = false;
        } else if (++lightCount >= tables_.lightDotSpacing[a]) {
          const int32_t r = tables_.lightResetError[a];
          e = e < r ? (r * 90) / 100 : (r * 110) / 100;
          lightCount = 0;
          lightArmed = false;
        }
      }

      // 5. Two-neighbour diffusion; the last column of a scan sends everything down.
      const int32_t share = (w * e) / 100;
      if (!isLast) {
        err[x + kDir] += share;
        nextErr[x] = e - share;
      } else {
        nextErr[x] = e;
      }

      // 6. Bias beside and below a dot; marks diagonally below every second dot.
      nextBias[x] = 0;
      if (dot) {
        if (!isLast) {
          bias[x + kDir] += kBiasAhead;
          if (parity_) {
            nextMark[x + kDir] = 1;
            if (x != first) nextMark[x - kDir] = 1;
          }
        }
        nextBias[x] = isLast ? kBiasBelowAtEnd : kBiasBelow;
      }

      // 7. Book-keeping.
      columnAmount_[x] = a;
      previousAmount_ = a;
    }
    restartCounter_ = 0;
  }

  int width_;
  const TemplateTables& tables_;
  std::vector<int32_t> error_;
  std::vector<int32_t> bias_;
  std::vector<uint8_t> marks_;
  std::vector<int32_t> columnAmount_;
  int current_ = 0;
  int restartCounter_ = 0;
  bool parity_ = false;
  int32_t previousAmount_ = 0;
};

#endif
