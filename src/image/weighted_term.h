// One weighted eye's term in the best screen's search (search_window.h): the weighted error
// w e filtered by the eye's c_ww, kept up to date in c_wp = (w e) * c_ww over the search's
// window, and the gains of a level change or a swap under it. A level change d at m adds
// w[m]^2 d^2 c_ww[0] + 2 w[m] d c_wp[m], a swap (d at m, -d at n)
// d^2 (w[m]^2 c_ww[0] + w[n]^2 c_ww[0] - 2 w[m] w[n] c_ww[m - n]) + 2 d (w[m] c_wp[m] -
// w[n] c_wp[n]). The term sees zero error outside the page on every side.
#ifndef KORVEL_IMAGE_WEIGHTED_TERM_H
#define KORVEL_IMAGE_WEIGHTED_TERM_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/screening_state.h"

template <class Eye>
class WeightedTerm {
 public:
  // A window of `size` pixels, rows `stride` apart, each pixel at least Eye::kRadius from the
  // buffer's edges where it may change; swap partners up to swapReach away.
  template <class WeightOf>
  WeightedTerm(const Eye& eye, size_t size, int stride, int swapReach, WeightOf weightOf)
      : eye_(eye),
        stride_(stride),
        weightOfAmount_(kFullAmount + 1),
        weight_(size, 0),
        correlation_(size, 0),
        peak_(eye.Offset(0, 0)) {
    for (int amount = 0; amount <= kFullAmount; ++amount)
      weightOfAmount_[amount] = static_cast<uint8_t>(weightOf(amount));
    const int side = 2 * swapReach + 1;
    swap_.resize(static_cast<size_t>(side) * side);
    for (int dy = -swapReach; dy <= swapReach; ++dy)
      for (int dx = -swapReach; dx <= swapReach; ++dx)
        swap_[(dy + swapReach) * side + dx + swapReach] = eye.Offset(dx, dy);
  }

  bool Weighted(size_t index) const { return weight_[index] != 0; }
  int32_t Correlation(size_t index) const { return correlation_[index]; }

  // A pixel of this amount enters with this error.
  void Enter(size_t index, int amount, int32_t error) {
    weight_[index] = weightOfAmount_[std::min(std::max(amount, 0), kFullAmount)];
    if (weight_[index] != 0 && error != 0) Add(index, weight_[index] * error);
  }

  // The pixel's error changes by `change`.
  void Change(size_t index, int32_t change) {
    if (weight_[index] != 0) Add(index, weight_[index] * change);
  }

  int64_t LevelGain(size_t index, int64_t squaredDelta, int64_t twiceDelta) const {
    const int64_t w = weight_[index];
    return w * (squaredDelta * w * peak_ + twiceDelta * correlation_[index]);
  }

  // partner: the swap partner's index among the (2 swapReach + 1)^2 offsets.
  int64_t SwapGain(size_t index, size_t other, int partner, int64_t squaredDelta,
                   int64_t twiceDelta) const {
    const int64_t w = weight_[index], v = weight_[other];
    return squaredDelta * ((w * w + v * v) * peak_ - 2 * w * v * swap_[partner]) +
           twiceDelta * (w * correlation_[index] - v * correlation_[other]);
  }

  // The window moves down by `shift` pixels.
  void Shift(size_t shift) {
    const size_t kept = correlation_.size() - shift;
    std::memmove(correlation_.data(), correlation_.data() + shift, kept * sizeof(int32_t));
    std::fill(correlation_.begin() + static_cast<ptrdiff_t>(kept), correlation_.end(), 0);
    std::memmove(weight_.data(), weight_.data() + shift, kept);
    std::fill(weight_.begin() + static_cast<ptrdiff_t>(kept), weight_.end(), 0);
  }

 private:
  void Add(size_t index, int32_t weightedChange) {
    constexpr int kR = Eye::kRadius;
    int32_t* corner = &correlation_[index - static_cast<size_t>(kR) * stride_ - kR];
    for (int dy = 0; dy < Eye::kSide; ++dy) {
      int32_t* row = corner + static_cast<size_t>(dy) * stride_;
      const int32_t* taps = eye_.at[dy];
      for (int dx = 0; dx < Eye::kSide; ++dx) row[dx] += weightedChange * taps[dx];
    }
  }

  const Eye& eye_;
  int stride_;
  std::vector<uint8_t> weightOfAmount_;
  std::vector<uint8_t> weight_;
  std::vector<int32_t> correlation_;
  int64_t peak_;
  std::vector<int32_t> swap_;  // c_ww per swap partner
};

#endif
