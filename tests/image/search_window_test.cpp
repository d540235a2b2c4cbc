// The best screen's search window against a reference that recomputes the whole eye-filtered
// error, the mid-tone and end-tone terms included, from scratch: c_ep, both c_wp and the trial
// changes after random changes, entering rows and retiring rows, and a naive search with the same
// visiting order giving the same halftone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "image/eye_correlation.h"
#include "image/search_window.h"

namespace {

constexpr int kR = EyeCorrelation::kRadius;
constexpr int kTile = SearchWindow::kTile;

// A page the reference knows whole: amounts, the current levels, and how many rows exist
// yet; beyond its sides and below its last row entered the error is zero, above its top each
// row's error is the mirror image of the rows below the top.
struct Page {
  int width, height;
  DropSet drops;
  const EyeCorrelation& eye;
  const MidToneEye& midTone;
  const EndToneEye& endTone;
  std::vector<int> amount, level;
  std::vector<int> midWeight, endWeight;  // MidToneWeight and EndToneWeight of the amount
  int entered = 0;
  struct Tap {
    int dx, dy, c;
  };
  std::vector<Tap> taps;  // the eye's non-zero offsets

  // A weighted error: zero outside the page on every side, no mirror.
  int64_t WeightedError(const std::vector<int>& weight, int x, int y) const {
    if (x < 0 || x >= width || y < 0 || y >= entered) return 0;
    return weight[At(x, y)] * Error(x, y);
  }
  // c_wp of a weighted eye at (x, y).
  template <class Eye>
  int64_t WeightedCorrelation(const Eye& eye, const std::vector<int>& weight, int x, int y) const {
    int64_t sum = 0;
    for (int dy = -Eye::kRadius; dy <= Eye::kRadius; ++dy)
      for (int dx = -Eye::kRadius; dx <= Eye::kRadius; ++dx)
        sum += WeightedError(weight, x + dx, y + dy) * eye.Offset(dx, dy);
    return sum;
  }
  int64_t MidToneCorrelation(int x, int y) const {
    return WeightedCorrelation(midTone, midWeight, x, y);
  }
  int64_t EndToneCorrelation(int x, int y) const {
    return WeightedCorrelation(endTone, endWeight, x, y);
  }

  int At(int x, int y) const { return y * width + x; }
  int64_t Error(int x, int y) const {
    if (y < 0) y = -1 - y;
    if (x < 0 || x >= width || y < 0 || y >= entered) return 0;
    return drops.ink[level[At(x, y)]] - amount[At(x, y)];
  }
  // c_ep at (x, y): the error around it weighted by c_pp.
  int64_t Correlation(int x, int y) const {
    int64_t sum = 0;
    for (const Tap& tap : taps) sum += Error(x + tap.dx, y + tap.dy) * tap.c;
    return sum;
  }
  // The whole filtered error, sum over pixel pairs of e[m] e[n] c_pp[m - n] plus the weighted
  // terms, each a sum of w[m] e[m] w[n] e[n] c_ww[m - n].
  int64_t FilteredError() const {
    int64_t sum = 0;
    for (int y = 0; y < entered; ++y)
      for (int x = 0; x < width; ++x) {
        const int64_t e = Error(x, y);
        if (e != 0) sum += e * Correlation(x, y);
      }
    return sum + WeightedFilteredError(midTone, midWeight) +
           WeightedFilteredError(endTone, endWeight);
  }
  // A weighted term pair by pair over the pixels whose weighted error is not zero (few in the
  // slow search's pages), which keeps the wide end-tone eye quick.
  template <class Eye>
  int64_t WeightedFilteredError(const Eye& eye, const std::vector<int>& weight) const {
    struct Pixel {
      int x, y;
      int64_t we;
    };
    std::vector<Pixel> pixels;
    for (int y = 0; y < entered; ++y)
      for (int x = 0; x < width; ++x)
        if (const int64_t we = WeightedError(weight, x, y); we != 0) pixels.push_back({x, y, we});
    int64_t sum = 0;
    for (const Pixel& m : pixels)
      for (const Pixel& n : pixels)
        if (std::abs(n.x - m.x) <= Eye::kRadius && std::abs(n.y - m.y) <= Eye::kRadius)
          sum += m.we * n.we * eye.Offset(n.x - m.x, n.y - m.y);
    return sum;
  }
  // A level may change where the amount lies at least c_pp[0] / sum(c_pp) of the gap away
  // from both inks it falls between (elsewhere only swaps).
  bool MayChangeLevel(int x, int y) const {
    const double a = amount[At(x, y)];
    double sum = 0;
    for (const auto& row : eye.at)
      for (int32_t c : row) sum += c;
    const double share = eye.Offset(0, 0) / sum;
    for (int l = 0; l + 1 < drops.levels; ++l) {
      const double gap = drops.ink[l + 1] - drops.ink[l];
      if (a >= drops.ink[l] && a <= drops.ink[l + 1] &&
          (l + 2 == drops.levels || a < drops.ink[l + 1]))
        return a - drops.ink[l] >= share * gap && drops.ink[l + 1] - a >= share * gap;
    }
    return false;
  }
  int Lowest(int x, int y) const { return amount[At(x, y)] >= kFullAmount ? drops.levels - 1 : 0; }
  int Highest(int x, int y) const { return amount[At(x, y)] <= 0 ? 0 : drops.levels - 1; }
};

DropSet RandomDrops(std::mt19937& random) {
  if (random() % 3 == 0) return DropSet::OneBit();
  const int small = 1 + static_cast<int>(random() % (kFullAmount - 2));
  const int medium = small + 1 + static_cast<int>(random() % (kFullAmount - 1 - small));
  return DropSet::ThreeDrops(small, medium);
}

Page RandomPage(std::mt19937& random, int width, int height, const DropSet& drops,
                const EyeCorrelation& eye, const MidToneEye& midTone, const EndToneEye& endTone) {
  Page page{width, height, drops, eye, midTone, endTone, {}, {}, {}, {}, 0, {}};
  for (int dy = -kR; dy <= kR; ++dy)
    for (int dx = -kR; dx <= kR; ++dx)
      if (eye.Offset(dx, dy) != 0) page.taps.push_back({dx, dy, eye.Offset(dx, dy)});
  for (int i = 0; i < width * height; ++i) {
    const int kind = static_cast<int>(random() % 8);
    page.amount.push_back(kind == 0   ? 0
                          : kind == 1 ? kFullAmount
                                      : static_cast<int>(random() % (kFullAmount + 1)));
    page.level.push_back(static_cast<int>(random() % drops.levels));
    page.midWeight.push_back(MidToneWeight(midTone, page.amount.back(), drops));
    page.endWeight.push_back(EndToneWeight(endTone, page.amount.back(), drops));
  }
  return page;
}

// Enter the page's next row into the window and the reference (levels clamped as the window
// clamps them).
void EnterRow(Page& page, SearchWindow& window) {
  const int y = page.entered;
  std::vector<uint16_t> amounts(page.width);
  std::vector<uint8_t> levels(page.width);
  for (int x = 0; x < page.width; ++x) {
    amounts[x] = static_cast<uint16_t>(page.amount[page.At(x, y)]);
    levels[x] = static_cast<uint8_t>(page.level[page.At(x, y)]);
    page.level[page.At(x, y)] =
        std::min(std::max(page.level[page.At(x, y)], page.Lowest(x, y)), page.Highest(x, y));
  }
  window.EnterRow(amounts.data(), levels.data());
  ++page.entered;
}

// The levels the window's search chose, into the reference.
void AdoptWindowLevels(Page& page, const SearchWindow& window, int firstActive) {
  for (int i = 0; i < window.ActiveRows(); ++i)
    for (int x = 0; x < page.width; ++x)
      page.level[page.At(x, firstActive + i)] = window.ActiveLevels(i)[x];
}

// The page through the window as the screen walks it: rows enter until the window holds two
// tiles, `atActive(firstActive)` works on them, then a tile (at the end all) retires.
template <typename AtActive>
void WalkWindow(Page& page, SearchWindow& window, AtActive atActive) {
  for (int firstActive = 0; firstActive < page.height;) {
    while (page.entered < page.height && page.entered - firstActive < 2 * kTile)
      EnterRow(page, window);
    atActive(firstActive);
    const int retire = page.entered == page.height ? window.ActiveRows() : kTile;
    window.Retire(retire);
    firstActive += retire;
  }
}

void ExpectWindowMatches(const Page& page, const SearchWindow& window, int firstActive) {
  for (int i = 0; i < window.ActiveRows(); ++i)
    for (int x = 0; x < page.width; ++x) {
      const int y = firstActive + i;
      ASSERT_EQ(window.ActiveLevels(i)[x], page.level[page.At(x, y)]) << x << "," << y;
      ASSERT_EQ(window.ErrorCorrelation(i, x), page.Correlation(x, y)) << x << "," << y;
      ASSERT_EQ(window.MidToneCorrelation(i, x), page.MidToneCorrelation(x, y)) << x << "," << y;
      ASSERT_EQ(window.EndToneCorrelation(i, x), page.EndToneCorrelation(x, y)) << x << "," << y;
    }
}

TEST(SearchWindow, CorrelationAndTrialsEqualTheWholeErrorRecomputed) {
  std::mt19937 random(20261206);
  for (int trial = 0; trial < 6; ++trial) {
    const DropSet drops = RandomDrops(random);
    const int width = 9 + static_cast<int>(random() % 12), height = 56;
    // A mid-tone eye wider than the screen's gives most pixels a weight.
    // Weighted eyes wider than the screen's give most pixels a weight, some both.
    static const MidToneEye midTone = MakeMidToneEye(0.7, 300, 0.5);
    static const EndToneEye endTone = MakeEndToneEye(3.0, 200, 0.4);
    Page page = RandomPage(random, width, height, drops, BestEyeCorrelation(), midTone, endTone);
    SearchWindow window(width, drops, page.eye, 2 * kTile, 4, midTone, endTone);
    WalkWindow(page, window, [&](int firstActive) {
      ExpectWindowMatches(page, window, firstActive);
      for (int change = 0; change < 40; ++change) {
        const int i = static_cast<int>(random() % window.ActiveRows());
        const int x = static_cast<int>(random() % width), y = firstActive + i;
        const int to = page.Lowest(x, y) +
                       static_cast<int>(random() % (page.Highest(x, y) - page.Lowest(x, y) + 1));
        const int64_t before = page.FilteredError();
        const int from = page.level[page.At(x, y)];
        page.level[page.At(x, y)] = to;
        ASSERT_EQ(window.TrialLevel(i, x, to), page.FilteredError() - before);
        page.level[page.At(x, y)] = from;
        const int dx = static_cast<int>(random() % 3) - 1, dy = static_cast<int>(random() % 3) - 1;
        if (x + dx >= 0 && x + dx < width && y + dy >= firstActive && y + dy < page.entered) {
          std::swap(page.level[page.At(x, y)], page.level[page.At(x + dx, y + dy)]);
          ASSERT_EQ(window.TrialSwap(i, x, dx, dy), page.FilteredError() - before);
          std::swap(page.level[page.At(x, y)], page.level[page.At(x + dx, y + dy)]);
        }
        window.SetLevel(i, x, to);
        page.level[page.At(x, y)] = to;
      }
      ExpectWindowMatches(page, window, firstActive);
      window.Search();
      AdoptWindowLevels(page, window, firstActive);
      ExpectWindowMatches(page, window, firstActive);
    });
  }
}

// The search's rule done the slow way: every pixel of every tile in every sweep, each trial's
// gain the whole filtered error after it minus before it.
class NaiveSearch {
 public:
  NaiveSearch(Page& page, int maxSweeps) : page_(page), maxSweeps_(maxSweeps) {}

  void Search(int firstActive) {
    for (int sweep = 0; sweep < maxSweeps_; ++sweep) {
      bool changed = false;
      for (int ty = firstActive; ty < page_.entered; ty += SearchWindow::kTile)
        for (int tx = 0; tx < page_.width; tx += SearchWindow::kTile)
          for (int y = ty; y < std::min(ty + SearchWindow::kTile, page_.entered); ++y)
            for (int x = tx; x < std::min(tx + SearchWindow::kTile, page_.width); ++x)
              changed = Visit(x, y, firstActive) || changed;
      if (!changed) return;
    }
  }

 private:
  bool Allowed(int x, int y, int level, int firstActive) const {
    return x >= 0 && x < page_.width && y >= firstActive && y < page_.entered &&
           level >= page_.Lowest(x, y) && level <= page_.Highest(x, y);
  }

  bool Visit(int x, int y, int firstActive) {
    int& mine = page_.level[page_.At(x, y)];
    const int64_t before = page_.FilteredError();
    int64_t bestGain = 0;
    int bestLevel = mine, bestX = x, bestY = y;
    for (int to : {mine + 1, mine - 1}) {
      if (!page_.MayChangeLevel(x, y) || !Allowed(x, y, to, firstActive)) continue;
      const int from = mine;
      mine = to;
      const int64_t gain = page_.FilteredError() - before;
      mine = from;
      if (gain < bestGain) bestGain = gain, bestLevel = to, bestX = x, bestY = y;
    }
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int u = x + dx, v = y + dy;
        if ((dx == 0 && dy == 0) || !Allowed(u, v, mine, firstActive)) continue;
        int& theirs = page_.level[page_.At(u, v)];
        if (theirs == mine || !Allowed(x, y, theirs, firstActive)) continue;
        std::swap(mine, theirs);
        const int64_t gain = page_.FilteredError() - before;
        std::swap(mine, theirs);
        if (gain < bestGain) bestGain = gain, bestLevel = theirs, bestX = u, bestY = v;
      }
    if (bestGain >= 0) return false;
    if (bestX != x || bestY != y) page_.level[page_.At(bestX, bestY)] = mine;
    mine = bestLevel;
    return true;
  }

  Page& page_;
  int maxSweeps_;
};

TEST(SearchWindow, SearchEqualsTheNaiveSearchWithTheSameOrder) {
  std::mt19937 random(77);
  for (int trial = 0; trial < 3; ++trial) {
    const DropSet drops = RandomDrops(random);
    const int width = kTile + 3, height = 2 * kTile + 5, maxSweeps = 3 + trial;
    // A short-sighted eye keeps the slow search quick; the rule is the same for any eye.
    static const EyeCorrelation eye = MakeEyeCorrelation(EyeModel{0.6, 0.9, 0.4, 0.4, 0.1});
    static const MidToneEye midTone = MakeMidToneEye(0.5, 400, 0.4);
    static const EndToneEye endTone = MakeEndToneEye(1.5, 100, 0.1);
    Page page = RandomPage(random, width, height, drops, eye, midTone, endTone);
    SearchWindow window(width, drops, eye, 2 * kTile, maxSweeps, midTone, endTone);
    Page naivePage = page;
    NaiveSearch naive(naivePage, maxSweeps);
    WalkWindow(page, window, [&](int firstActive) {
      naivePage.level = page.level;  // rows that have not entered yet are the same
      naivePage.entered = page.entered;
      window.Search();
      naive.Search(firstActive);
      AdoptWindowLevels(page, window, firstActive);
      ASSERT_EQ(page.level, naivePage.level) << "trial " << trial << ", rows from " << firstActive;
    });
  }
}

}  // namespace
