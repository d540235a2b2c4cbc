#include "image/search_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kR = EyeCorrelation::kRadius;
constexpr int kSide = EyeCorrelation::kSide;

int PairIndex(int from, int to) {
  return from * 4 + to;
}

}  // namespace

SearchWindow::SearchWindow(int width, const DropSet& drops, const EyeCorrelation& eye,
                           int maxActive, int maxSweeps, const MidToneEye& midTone,
                           const EndToneEye& endTone)
    : width_(width),
      stride_(width + 2 * kReach),
      levels_(drops.levels),
      maxSweeps_(maxSweeps),
      bufferRows_(maxActive + 2 * kReach),
      tileColumns_((width + kTile - 1) / kTile),
      tileRows_(maxActive / kTile),
      eye_(eye),
      correlation_(static_cast<size_t>(bufferRows_) * stride_, 0),
      level_(correlation_.size(), 0),
      allowed_(correlation_.size(), 1),
      midTone_(midTone, correlation_.size(), stride_, kSwapReach,
               [&](int amount) { return MidToneWeight(midTone, amount, drops); }),
      endTone_(endTone, correlation_.size(), stride_, kSwapReach,
               [&](int amount) { return EndToneWeight(endTone, amount, drops); }),
      weighted_(correlation_.size(), 0),
      dirty_(static_cast<size_t>(tileRows_) * tileColumns_, 0),
      rowError_(static_cast<size_t>(stride_), 0),
      rowFiltered_(static_cast<size_t>(kReach + 1) * width, 0) {
  std::copy(drops.ink, drops.ink + 4, ink_);
  correlationSum_ = 0;
  for (const auto& row : eye.at)
    for (int32_t c : row) correlationSum_ += c;
  BuildChangeTables(drops, eye);
  for (int dy = 0; dy <= kR; ++dy) {
    tapReach_[dy] = 0;
    for (int dx = 1; dx <= kR; ++dx)
      if (eye.Offset(dx, dy) != 0) tapReach_[dy] = dx;
  }
}

void SearchWindow::BuildChangeTables(const DropSet& drops, const EyeCorrelation& eye) {
  changeTables_.assign(16 * kSide * kSide, 0);
  std::fill(levelGain_, levelGain_ + 16, 0);
  std::fill(squaredDelta_, squaredDelta_ + 16, 0);
  std::fill(twiceDelta_, twiceDelta_ + 16, 0);
  for (auto& gains : swapGain_) std::fill(gains, gains + 16, 0);
  const int64_t peak = eye.Offset(0, 0);
  for (int from = 0; from < drops.levels; ++from) {
    for (int to = 0; to < drops.levels; ++to) {
      const int k = PairIndex(from, to);
      const int64_t d = drops.ink[to] - drops.ink[from];
      levelGain_[k] = d * d * peak;
      squaredDelta_[k] = d * d;
      twiceDelta_[k] = 2 * d;
      for (int i = 0; i < kSide * kSide; ++i)
        changeTables_[static_cast<size_t>(k) * kSide * kSide + i] =
            static_cast<int32_t>(d * eye.at[i / kSide][i % kSide]);
      for (int dy = -kSwapReach; dy <= kSwapReach; ++dy)
        for (int dx = -kSwapReach; dx <= kSwapReach; ++dx)
          swapGain_[(dy + kSwapReach) * kSwapSide + dx + kSwapReach][k] =
              2 * d * d * (peak - eye.Offset(dx, dy));
    }
  }
  for (int dy = -kSwapReach; dy <= kSwapReach; ++dy)
    for (int dx = -kSwapReach; dx <= kSwapReach; ++dx)
      neighbour_[(dy + kSwapReach) * kSwapSide + dx + kSwapReach] = dy * stride_ + dx;
  BuildMirrorTerms(eye);
}

void SearchWindow::BuildMirrorTerms(const EyeCorrelation& eye) {
  const auto c = [&eye](int dx, int dy) -> int64_t {
    return std::abs(dx) <= kR && std::abs(dy) <= kR ? eye.Offset(dx, dy) : 0;
  };
  for (int y = 0; y < kR; ++y) {
    mirror_[y].level = c(0, 2 * y + 1);
    for (int dy = -kSwapReach; dy <= kSwapReach; ++dy)
      for (int dx = -kSwapReach; dx <= kSwapReach; ++dx) {
        const int v = y + dy;
        mirror_[y].swap[(dy + kSwapReach) * kSwapSide + dx + kSwapReach] =
            c(0, 2 * y + 1) + c(0, 2 * v + 1) - 2 * c(dx, y + v + 1);
      }
  }
}

void SearchWindow::EnterRow(const uint16_t* amounts, const uint8_t* levels) {
  const int bufferRow = kReach + entered_ - firstActive_;
  const size_t row = Index(bufferRow, 0);
  for (int x = 0; x < width_; ++x) {
    const int amount = amounts[x];
    const int lowest = amount >= kFullAmount ? levels_ - 1 : 0;
    const int highest = amount <= 0 ? 0 : levels_ - 1;
    const int level = std::min(std::max(static_cast<int>(levels[x]), lowest), highest);
    level_[row + x] = static_cast<uint8_t>(level);
    const int levelsAllowed = (2 << highest) - (1 << lowest);
    allowed_[row + x] =
        static_cast<uint8_t>(levelsAllowed | (MayChangeLevel(amount) ? kMayChange : 0));
    rowError_[static_cast<size_t>(x + kReach)] = ink_[level] - amount;
    midTone_.Enter(row + x, amount, ink_[level] - amount);
    endTone_.Enter(row + x, amount, ink_[level] - amount);
    weighted_[row + x] = static_cast<uint8_t>((midTone_.Weighted(row + x) ? kMidTone : 0) |
                                              (endTone_.Weighted(row + x) ? kEndTone : 0));
  }
  ScatterRowError(bufferRow, rowError_.data());
  ++entered_;
  MarkRowsAbove(bufferRow);
}

// c_ep of the rows within reach gains the entering row's error filtered by c_pp: each of the
// eye's rows filters the error horizontally once (its taps mirror about the middle, so each pair
// of errors they weigh alike is added first, and only as far out as the row has taps), and the
// filterings are added above and below.
void SearchWindow::ScatterRowError(int bufferRow, const int32_t* error) {
  for (int dy = 0; dy <= kR; ++dy) {
    const int32_t* taps = eye_.at[dy + kR];
    const int first = kR - tapReach_[dy];
    int32_t* out = rowFiltered_.data() + static_cast<size_t>(dy) * width_;
    for (int x = 0; x < width_; ++x) {
      int32_t sum = taps[kR] * error[x + kR];
      for (int i = first; i < kR; ++i) sum += taps[i] * (error[x + i] + error[x + kSide - 1 - i]);
      out[x] = sum;
    }
  }
  for (int dy = -kR; dy <= kR; ++dy) {
    const int32_t* filtered = rowFiltered_.data() + static_cast<size_t>(dy < 0 ? -dy : dy) * width_;
    int32_t* out = &correlation_[Index(bufferRow + dy, 0)];
    for (int x = 0; x < width_; ++x) out[x] += filtered[x];
  }
  // The row's mirror image above the top, row -1 - y, reaches the page rows 0 .. kR - 1 - y.
  const int y = firstActive_ + bufferRow - kReach;
  for (int r = 0; r < kR - y; ++r) {
    const int32_t* filtered = rowFiltered_.data() + static_cast<size_t>(r + 1 + y) * width_;
    int32_t* out = &correlation_[Index(kReach + r, 0)];
    for (int x = 0; x < width_; ++x) out[x] += filtered[x];
  }
}

int64_t SearchWindow::WeightedLevelGain(size_t index, int pair, int terms) const {
  int64_t gain = 0;
  if (terms & kMidTone) gain += midTone_.LevelGain(index, squaredDelta_[pair], twiceDelta_[pair]);
  if (terms & kEndTone) gain += endTone_.LevelGain(index, squaredDelta_[pair], twiceDelta_[pair]);
  return gain;
}

int64_t SearchWindow::WeightedSwapGain(size_t index, size_t other, int partner, int pair,
                                       int terms) const {
  int64_t gain = 0;
  if (terms & kMidTone)
    gain += midTone_.SwapGain(index, other, partner, squaredDelta_[pair], twiceDelta_[pair]);
  if (terms & kEndTone)
    gain += endTone_.SwapGain(index, other, partner, squaredDelta_[pair], twiceDelta_[pair]);
  return gain;
}

void SearchWindow::AddCorrelation(size_t index, int from, int to) {
  const int32_t* table =
      changeTables_.data() + static_cast<size_t>(PairIndex(from, to)) * kSide * kSide;
  int32_t* corner = &correlation_[index - static_cast<size_t>(kR) * stride_ - kR];
  for (int dy = 0; dy < kSide; ++dy) {
    int32_t* row = corner + static_cast<size_t>(dy) * stride_;
    const int32_t* taps = table + dy * kSide;
    for (int dx = 0; dx < kSide; ++dx) row[dx] += taps[dx];
  }
}

// The same for the pixel's mirror image above the top (only while the top rows are active).
void SearchWindow::AddMirrorCorrelation(size_t index, int from, int to) {
  const int y = PageRow(index);
  const int32_t* table =
      changeTables_.data() + static_cast<size_t>(PairIndex(from, to)) * kSide * kSide;
  for (int r = 0; r < kR - y; ++r) {
    int32_t* row = &correlation_[index + static_cast<size_t>(r - y) * stride_ - kR];
    const int32_t* taps = table + (r + 1 + y + kR) * kSide;
    for (int dx = 0; dx < kSide; ++dx) row[dx] += taps[dx];
  }
}

const SearchWindow::MirrorTerms* SearchWindow::MirrorTermsAt(size_t index) const {
  const int y = PageRow(index);
  return y < kR ? &mirror_[y] : nullptr;
}

void SearchWindow::ApplyLevel(size_t index, int level) {
  if (PageRow(index) < kR) AddMirrorCorrelation(index, level_[index], level);
  AddCorrelation(index, level_[index], level);
  midTone_.Change(index, ink_[level] - ink_[level_[index]]);
  endTone_.Change(index, ink_[level] - ink_[level_[index]]);
  level_[index] = static_cast<uint8_t>(level);
}

void SearchWindow::ApplySwap(size_t index, int partner) {
  const size_t other = index + static_cast<size_t>(static_cast<ptrdiff_t>(partner));
  const int mine = level_[index], theirs = level_[other];
  ApplyLevel(index, theirs);
  ApplyLevel(other, mine);
}

SearchWindow::Change SearchWindow::BestChangeAt(size_t index) const {
  Change best;
  const int level = level_[index];
  const int64_t c = correlation_[index];
  const int allowed = allowed_[index];
  const MirrorTerms* mirror = MirrorTermsAt(index);
  const int weighted = weighted_[index];
  if ((allowed & kMayChange) && (allowed >> (level + 1) & 1)) {
    const int k = PairIndex(level, level + 1);
    int64_t gain = levelGain_[k] + twiceDelta_[k] * c;
    if (mirror) gain += squaredDelta_[k] * mirror->level;
    if (weighted) gain += WeightedLevelGain(index, k, weighted);
    if (gain < best.gain) best = Change{gain, 0, level + 1};
  }
  if ((allowed & kMayChange) && level > 0 && (allowed >> (level - 1) & 1)) {
    const int k = PairIndex(level, level - 1);
    int64_t gain = levelGain_[k] + twiceDelta_[k] * c;
    if (mirror) gain += squaredDelta_[k] * mirror->level;
    if (weighted) gain += WeightedLevelGain(index, k, weighted);
    if (gain < best.gain) best = Change{gain, 0, level - 1};
  }
  constexpr int kSelf = kSwapSide * kSwapSide / 2;
  for (int j = 0; j < kSwapSide * kSwapSide; ++j) {
    if (j == kSelf) continue;
    const size_t n = index + static_cast<size_t>(static_cast<ptrdiff_t>(neighbour_[j]));
    const int theirs = level_[n];
    if (theirs == level || !(allowed >> theirs & 1) || !(allowed_[n] >> level & 1)) continue;
    const int k = PairIndex(level, theirs);
    int64_t gain = swapGain_[j][k] + twiceDelta_[k] * (c - correlation_[n]);
    if (mirror) gain += squaredDelta_[k] * mirror->swap[j];
    if (const int terms = weighted | weighted_[n]) gain += WeightedSwapGain(index, n, j, k, terms);
    if (gain < best.gain) best = Change{gain, neighbour_[j], theirs};
  }
  return best;
}

bool SearchWindow::VisitTile(int tileRow, int tileColumn) {
  const int rowEnd = std::min(kReach + (tileRow + 1) * kTile, kReach + ActiveRows());
  const int x0 = tileColumn * kTile, x1 = std::min(x0 + kTile, width_);
  bool changed = false;
  for (int r = kReach + tileRow * kTile; r < rowEnd; ++r) {
    for (int x = x0; x < x1; ++x) {
      const size_t index = Index(r, x);
      const Change change = BestChangeAt(index);
      if (change.gain >= 0) continue;
      if (change.partner == 0) {
        ApplyLevel(index, change.level);
      } else {
        ApplySwap(index, change.partner);
        MarkAround(index + static_cast<size_t>(static_cast<ptrdiff_t>(change.partner)));
      }
      MarkAround(index);
      changed = true;
    }
  }
  return changed;
}

void SearchWindow::MarkAround(size_t index) {
  const int bufferRow = static_cast<int>(index / stride_);
  const int x = static_cast<int>(index % stride_) - kReach;
  const int tileRow = (bufferRow - kReach) / kTile, tileColumn = x / kTile;
  const int r0 = std::max(tileRow - 1, 0), r1 = std::min(tileRow + 1, tileRows_ - 1);
  const int c0 = std::max(tileColumn - 1, 0), c1 = std::min(tileColumn + 1, tileColumns_ - 1);
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) dirty_[static_cast<size_t>(r) * tileColumns_ + c] = 1;
}

// An entering row changes c_ep up to the eye's reach above it, and a swap reaches one further.
void SearchWindow::MarkRowsAbove(int bufferRow) {
  const int top = std::max(bufferRow - kReach - kSwapReach, kReach);
  const int r0 = (top - kReach) / kTile, r1 = (bufferRow - kReach) / kTile;
  std::fill(dirty_.begin() + static_cast<ptrdiff_t>(r0) * tileColumns_,
            dirty_.begin() + static_cast<ptrdiff_t>(r1 + 1) * tileColumns_, 1);
}

void SearchWindow::Search() {
  const int activeTileRows = (ActiveRows() + kTile - 1) / kTile;
  for (int sweep = 0; sweep < maxSweeps_; ++sweep) {
    bool visited = false;
    for (int r = 0; r < activeTileRows; ++r) {
      for (int c = 0; c < tileColumns_; ++c) {
        uint8_t& dirty = dirty_[static_cast<size_t>(r) * tileColumns_ + c];
        if (!dirty) continue;
        dirty = 0;
        visited = true;
        VisitTile(r, c);
      }
    }
    if (!visited) break;
  }
}

const uint8_t* SearchWindow::ActiveLevels(int i) const {
  return &level_[Index(kReach + i, 0)];
}

void SearchWindow::Retire(int rows) {
  for (int r = kReach; r < kReach + rows; ++r) {
    const size_t row = Index(r, 0);
    for (int x = 0; x < width_; ++x) allowed_[row + x] = static_cast<uint8_t>(1 << level_[row + x]);
  }
  const size_t shift = static_cast<size_t>(rows) * stride_;
  const size_t kept = correlation_.size() - shift;
  std::memmove(correlation_.data(), correlation_.data() + shift, kept * sizeof(int32_t));
  std::fill(correlation_.begin() + static_cast<ptrdiff_t>(kept), correlation_.end(), 0);
  std::memmove(level_.data(), level_.data() + shift, kept);
  std::fill(level_.begin() + static_cast<ptrdiff_t>(kept), level_.end(), 0);
  std::memmove(allowed_.data(), allowed_.data() + shift, kept);
  std::fill(allowed_.begin() + static_cast<ptrdiff_t>(kept), allowed_.end(), 1);
  midTone_.Shift(shift);
  endTone_.Shift(shift);
  std::memmove(weighted_.data(), weighted_.data() + shift, kept);
  std::fill(weighted_.begin() + static_cast<ptrdiff_t>(kept), weighted_.end(), 0);
  const size_t tileShift =
      std::min(static_cast<size_t>(rows / kTile) * tileColumns_, dirty_.size());
  std::memmove(dirty_.data(), dirty_.data() + tileShift, dirty_.size() - tileShift);
  std::fill(dirty_.end() - static_cast<ptrdiff_t>(tileShift), dirty_.end(), 0);
  firstActive_ += rows;
}

int32_t SearchWindow::ErrorCorrelation(int i, int x) const {
  return correlation_[Index(kReach + i, x)];
}

int32_t SearchWindow::MidToneCorrelation(int i, int x) const {
  return midTone_.Correlation(Index(kReach + i, x));
}

int32_t SearchWindow::EndToneCorrelation(int i, int x) const {
  return endTone_.Correlation(Index(kReach + i, x));
}

int64_t SearchWindow::TrialLevel(int i, int x, int level) const {
  const size_t index = Index(kReach + i, x);
  const int k = PairIndex(level_[index], level);
  const MirrorTerms* mirror = MirrorTermsAt(index);
  return levelGain_[k] + twiceDelta_[k] * correlation_[index] +
         (mirror ? squaredDelta_[k] * mirror->level : 0) +
         WeightedLevelGain(index, k, weighted_[index]);
}

void SearchWindow::SetLevel(int i, int x, int level) {
  const size_t index = Index(kReach + i, x);
  ApplyLevel(index, level);
  MarkAround(index);
}

int64_t SearchWindow::TrialSwap(int i, int x, int dx, int dy) const {
  const size_t index = Index(kReach + i, x);
  const int j = (dy + kSwapReach) * kSwapSide + dx + kSwapReach;
  const size_t n = index + static_cast<size_t>(static_cast<ptrdiff_t>(neighbour_[j]));
  const int k = PairIndex(level_[index], level_[n]);
  const MirrorTerms* mirror = MirrorTermsAt(index);
  return swapGain_[j][k] + twiceDelta_[k] * (correlation_[index] - correlation_[n]) +
         (mirror ? squaredDelta_[k] * mirror->swap[j] : 0) +
         WeightedSwapGain(index, n, j, k, weighted_[index] | weighted_[n]);
}

bool SearchWindow::MayChangeLevel(int amount) const {
  int below = 0;
  while (below + 2 < levels_ && ink_[below + 1] <= amount) ++below;
  const int64_t gap = ink_[below + 1] - ink_[below], peak = eye_.Offset(0, 0);
  return (amount - ink_[below]) * correlationSum_ >= gap * peak &&
         (ink_[below + 1] - amount) * correlationSum_ >= gap * peak;
}
