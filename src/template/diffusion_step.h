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

#include <algorithm>
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
    bool LeavesFullScale() const { return amount < 0 || amount > kFullScale; }
  };

  // The amount source of an image row: a level table indexed by each pixel's byte, or by 255
  // minus it for grey images (flip 255). leavesFullScale tells that some table entry lies
  // outside 0..2550 (a tone curve can put it there).
  struct ImageRowAmount {
    const uint8_t* row;
    const int32_t* table;
    int flip;
    bool leavesFullScale;
    int32_t operator()(int x) const { return table[row[x] ^ flip]; }
    bool LeavesFullScale() const { return leavesFullScale; }
  };

  static constexpr int32_t kFullScale = 2550;
  // Amounts outside 0..2550 make the error grow row after row; in that case amounts and errors
  // are held within these limits, far beyond anything a real table produces, so that no
  // arithmetic can overflow however tall the raster.
  static constexpr int32_t kAmountLimit = 1 << 20;
  static constexpr int32_t kErrorLimit = 1 << 24;

  // Weights (percent) of the error sent along the row after a dot and without one.
  static constexpr int kDotAheadWeight = 44;
  static constexpr int kEmptyAheadWeight = 56;
  // Bias raised beside a dot, below it, and below it at the end of a row.
  static constexpr int kBiasAhead = 714;
  static constexpr int kBiasBelow = 969;
  static constexpr int kBiasBelowAtEnd = 1683;
  // A column restarts when its amount moves further than this from the row above.
  static constexpr int kRestartJump = 400;

  explicit TemplateDiffusion(int width, const TemplateTables& tables = BuiltInTemplateTables())
      : width_(width), tables_(tables), columns_(static_cast<size_t>(width)) {}

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
    const int rules =
        amountOf.LeavesFullScale() ? kAllRules : (mayRestart ? 1 : 0) | (mayBeLight ? 2 : 0);
    if ((y & 1) == 0) {
      DiffuseRowWithRules<+1>(rules, amountOf, dots, observe);
    } else {
      DiffuseRowWithRules<-1>(rules, amountOf, dots, observe);
    }
    current_ ^= 1;
  }

  template <class AmountOf>
  void DiffuseRow(int y, AmountOf amountOf, uint8_t* dots) {
    DiffuseRow(y, amountOf, dots, [](int, int32_t, int32_t) {});
  }

 private:
  // Everything the diffusion keeps per column, the current and the next row side by side, so
  // that one pointer reaches all of it.
  struct Column {
    int32_t error[2];  // error carried into the pixel of this row / of the row below
    int32_t bias[2];   // threshold bias, likewise
    int32_t amount;    // the amount this column had in the previous row
    uint8_t mark[2];   // damping marks, likewise: 0xFF for a mark
  };

  // Where a pixel lies in its scan: the first column has no previous neighbour, the last no
  // next one (a one-pixel row is both).
  enum Position { kFirst = 1, kMiddle = 0, kLast = 2, kOnly = 3 };

  // Per-row state handed from pixel to pixel, held locally so it can live in registers.
  struct RowState {
    int lightCount;
    bool lightArmed;
    int64_t carriedError;  // what the previous pixel sent along the row (widened once, here)
    int32_t carriedBias;
    int32_t parity;  // flips at every dot of the call: 0 or all ones
    int32_t previousAmount;
    // Marks this row hands to the row below, from the previous pixel and the one before it: the
    // mark below a pixel is the OR of its two scan neighbours', so each is written once, whole.
    int32_t markFromPrevious;
    int32_t markFromBeforePrevious;
  };

  static int AmountBucket(int a) { return a <= 10 ? a - 3 : (a - 1) / 10 + 7; }

  static constexpr int kAllRules = 4;

 public:
  // trunc(w * e / 100) for a constant weight, as one 64-bit multiply: the weight is folded into
  // the reciprocal of 100 (exact while |w * e| stays below 2^31).
  static constexpr int64_t PercentMultiplier(int32_t w) {
    constexpr int64_t kReciprocalOf100 = 1374389535;  // ceil(2^37 / 100)
    return kReciprocalOf100 * w;
  }
  static int32_t PercentWith(int32_t e, int64_t multiplier) {
    return static_cast<int32_t>((static_cast<int64_t>(e) * multiplier) >> 37) - (e >> 31);
  }
  template <int32_t W>
  static int32_t PercentOf(int32_t e) {
    return PercentWith(e, PercentMultiplier(W));
  }
  // The same for an int32 value held in 64 bits, with no narrowing on the way.
  static int64_t PercentWithWide(int64_t e, int64_t multiplier) {
    return ((e * multiplier) >> 37) - (e >> 63);
  }

 private:
  // Select b when the flag is set, a otherwise, without a branch: at mid-tones the decision is a
  // coin toss that a branch predictor cannot learn.
  template <class T>
  static T Select(int32_t flag, T b, T a) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __asm__("test %[flag], %[flag]\n\tcmovnz %[b], %[a]"
            : [a] "+r"(a)
            : [flag] "r"(flag), [b] "r"(b)
            : "cc");
    return a;
#else
    return a ^ ((a ^ b) & -flag);
#endif
  }

  // Select b when v is negative, a otherwise, straight from v's sign (no mask to form first).
  static int64_t SelectIfNegative(int64_t v, int64_t b, int64_t a) {
#if defined(__GNUC__) && defined(__x86_64__)
    __asm__("test %[v], %[v]\n\tcmovs %[b], %[a]" : [a] "+r"(a) : [v] "r"(v), [b] "r"(b) : "cc");
    return a;
#else
    return a ^ ((a ^ b) & (v >> 63));
#endif
  }

  // Pick the row loop compiled for the rules that can act in this row.
  template <int kDir, class AmountOf, class Observer>
  void DiffuseRowWithRules(int rules, AmountOf& amountOf, uint8_t* dots, Observer& observe) {
    if (current_ == 0) {
      DiffuseRowWithRulesFrom<kDir, 0>(rules, amountOf, dots, observe);
    } else {
      DiffuseRowWithRulesFrom<kDir, 1>(rules, amountOf, dots, observe);
    }
  }

  template <int kDir, int kCur, class AmountOf, class Observer>
  void DiffuseRowWithRulesFrom(int rules, AmountOf& amountOf, uint8_t* dots, Observer& observe) {
    switch (rules) {
      case 0:
        DiffuseRowInDirection<kDir, kCur, false, false, false>(amountOf, dots, observe);
        break;
      case 1:
        DiffuseRowInDirection<kDir, kCur, true, false, false>(amountOf, dots, observe);
        break;
      case 2:
        DiffuseRowInDirection<kDir, kCur, false, true, false>(amountOf, dots, observe);
        break;
      case 3:
        DiffuseRowInDirection<kDir, kCur, true, true, false>(amountOf, dots, observe);
        break;
      default:
        DiffuseRowInDirection<kDir, kCur, true, true, true>(amountOf, dots, observe);
        break;
    }
  }

  template <int kDir, int kCur, bool kMayRestart, bool kMayBeLight, bool kBounded, class AmountOf,
            class Observer>
  void DiffuseRowInDirection(AmountOf& amountOf, uint8_t* dots, Observer& observe) {
    RowState row = {0, false, 0, 0, parity_, previousAmount_, 0, 0};
    Column* const columns = columns_.data();
    const int first = kDir > 0 ? 0 : width_ - 1;
    const int last = kDir > 0 ? width_ - 1 : 0;
    if (width_ == 1) {
      Step<kDir, kCur, kOnly, kMayRestart, kMayBeLight, kBounded>(row, columns, first,
                                                                  amountOf(first), dots, observe);
    } else if (width_ > 1) {
      Step<kDir, kCur, kFirst, kMayRestart, kMayBeLight, kBounded>(row, columns, first,
                                                                   amountOf(first), dots, observe);
      for (int x = first + kDir; x != last; x += kDir)
        Step<kDir, kCur, kMiddle, kMayRestart, kMayBeLight, kBounded>(row, columns, x, amountOf(x),
                                                                      dots, observe);
      Step<kDir, kCur, kLast, kMayRestart, kMayBeLight, kBounded>(row, columns, last,
                                                                  amountOf(last), dots, observe);
    }
    parity_ = row.parity;
    previousAmount_ = row.previousAmount;
    restartCounter_ = 0;
  }

  // The per-pixel step at column x with amount a.
  template <int kDir, int kCur, int kPos, bool kMayRestart, bool kMayBeLight, bool kBounded,
            class Observer>
  inline void Step(RowState& row, Column* columns, int x, int32_t a, uint8_t* dots,
                   Observer& observe) {
    if constexpr (kBounded) a = std::clamp(a, -kAmountLimit, kAmountLimit);
    constexpr int kNext = 1 - kCur;
    constexpr bool kIsFirst = (kPos & kFirst) != 0;
    constexpr bool kIsLast = (kPos & kLast) != 0;
    Column& here = columns[x];

    // The state this pixel holds: what came from above plus what the previous pixel sent. The
    // carried error and bias are what each pixel waits for, so they are added last, to sums
    // formed beforehand.
    int32_t errAbove = here.error[kCur];
    int64_t carried = row.carriedError;
    int32_t biasAbove = here.bias[kCur];
    int32_t carriedBias = row.carriedBias;
    int32_t mark = static_cast<int8_t>(here.mark[kCur]);  // 0, or all ones for a mark

    // 1. Restart a column whose amount jumped: the tables hold the state a long run at this
    //    amount would have, replacing whatever reached this pixel.
    if constexpr (kMayRestart) {
      const int32_t g = here.amount;
      if ((std::abs(a - g) > kRestartJump || (g == 0 && a != 0)) && a >= 3 && a <= 2549) {
        const int cell = AmountBucket(a) * kRestartColumns + restartCounter_;
        errAbove = tables_.restartError[cell];
        carried = 0;
        carriedBias = 0;
        mark = a >= 1280 ? -(tables_.restartFlag[restartCounter_] & 1) : 0;
        biasAbove = a > 500 ? tables_.restartBias[cell] : 0;
        if (++restartCounter_ == kRestartCycle) restartCounter_ = 0;
      }
      here.amount = a;
    }
    observe(x, static_cast<int32_t>(errAbove + carried), biasAbove + carriedBias);

    // 2.-3. Decision: a damping mark weakens the amount's pull; the bias never enters the error.
    //       Both possible shares are formed while the decision is made, so the row's carried
    //       error does not wait for it. (The current marks need no clearing: the row below
    //       rewrites every one.)
    const int32_t pullCut = a > 300 ? a - (3 * a) / 5 : 0;
    const int32_t pull = a - (mark & pullCut);
    // A dot when carried + carriedBias + rest > 0, that is when -rest - carriedBias - carried
    // is negative: its sign is the dot mask (all ones for a dot).
    const int64_t negativeRest = -static_cast<int64_t>(biasAbove + errAbove + pull);
    const int64_t decision = (negativeRest - carriedBias) - carried;
    const int32_t dotMask = static_cast<int32_t>(decision >> 63);
    const int32_t dot = dotMask & 1;
    const int64_t emptyError = carried + (errAbove + a);
    const int64_t dotError = carried + (errAbove + a - 2550);
    const int64_t wideE = SelectIfNegative(decision, dotError, emptyError);
    int32_t e = static_cast<int32_t>(wideE);
    int64_t share =
        PercentWithWide(wideE, SelectIfNegative(decision, PercentMultiplier(kDotAheadWeight),
                                                PercentMultiplier(kEmptyAheadWeight)));
    dots[x] = static_cast<uint8_t>(dot);
    row.parity ^= dotMask;

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

    if constexpr (kBounded) {
      e = std::clamp(e, -kErrorLimit, kErrorLimit);
      share = Select(dot, PercentOf<kDotAheadWeight>(e), PercentOf<kEmptyAheadWeight>(e));
    }

    // 5.-6. Two-neighbour diffusion, bias beside and below a dot, marks diagonally below every
    //       second dot. The last column of a scan sends everything down.
    if constexpr (kIsLast) {
      here.error[kNext] = e;
      here.bias[kNext] = kBiasBelowAtEnd & dotMask;
      // The last pixel sets no mark; the columns behind it are now complete.
      if constexpr (!kIsFirst)
        columns[x - kDir].mark[kNext] = static_cast<uint8_t>(row.markFromBeforePrevious);
      here.mark[kNext] = static_cast<uint8_t>(row.markFromPrevious);
    } else {
      const int32_t markBelow = dotMask & row.parity;
      row.carriedError = share;
      here.error[kNext] = e - static_cast<int32_t>(share);
      row.carriedBias = kBiasAhead & dotMask;
      here.bias[kNext] = kBiasBelow & dotMask;
      if constexpr (!kIsFirst)
        columns[x - kDir].mark[kNext] =
            static_cast<uint8_t>(row.markFromBeforePrevious | markBelow);
      row.markFromBeforePrevious = row.markFromPrevious;
      row.markFromPrevious = markBelow;
    }

    // 7. Book-keeping (the column amount was recorded with the restart test).
    row.previousAmount = a;
  }

  int width_;
  const TemplateTables& tables_;
  std::vector<Column> columns_;
  int current_ = 0;
  bool settled_ = false;  // the last row was uniform at settledAmount_
  int32_t settledAmount_ = 0;
  int restartCounter_ = 0;
  int32_t parity_ = 0;
  int32_t previousAmount_ = 0;
};

#endif
