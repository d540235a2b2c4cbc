#include "pinned_thresholds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

class Torus {
 public:
  explicit Torus(int side) : side_(side) {}
  int Wrap(int v) const {
    v %= side_;
    return v < 0 ? v + side_ : v;
  }
  int64_t Distance2(int a, int b) const {
    const int dx = Axis(a % side_ - b % side_), dy = Axis(a / side_ - b / side_);
    return int64_t{dx} * dx + int64_t{dy} * dy;
  }
  int Index(int x, int y) const { return y * side_ + x; }
  int side() const { return side_; }

 private:
  int Axis(int d) const {
    d = std::abs(d);
    return std::min(d, side_ - d);
  }
  int side_;
};

// An isometry of the torus: one of the square's eight turns and mirrors about the origin,
// then a shift. It maps a blue-noise pattern to another equally blue one.
struct Transform {
  int symmetry;  // bit 0: negate x, bit 1: negate y, bit 2: exchange x and y
  int shiftX, shiftY;
};

// The pixel of the untransformed matrix that lands at index `at`.
int SourceOf(const Transform& t, int at, const Torus& torus) {
  const int x = at % torus.side(), y = at / torus.side();
  const bool exchange = (t.symmetry & 4) != 0;
  const int u = exchange ? y : x, v = exchange ? x : y;
  const int sx = (t.symmetry & 1) ? -u : u, sy = (t.symmetry & 2) ? -v : v;
  return torus.Index(torus.Wrap(sx + t.shiftX), torus.Wrap(sy + t.shiftY));
}

std::vector<int32_t> ValueOfRank(const std::vector<ValueCount>& counts) {
  std::vector<int32_t> values;
  for (const ValueCount& c : counts) values.insert(values.end(), c.count, c.value);
  return values;
}

// For one threshold: squared distance from every pixel to the nearest pixel holding it.
std::vector<int64_t> DistanceToValue(const std::vector<int32_t>& thresholds, int32_t value,
                                     const Torus& torus) {
  std::vector<int> holders;
  for (size_t i = 0; i < thresholds.size(); ++i)
    if (thresholds[i] == value) holders.push_back(static_cast<int>(i));
  std::vector<int64_t> distance(thresholds.size(), std::numeric_limits<int64_t>::max());
  for (size_t i = 0; i < thresholds.size(); ++i)
    for (int h : holders)
      distance[i] = std::min(distance[i], torus.Distance2(static_cast<int>(i), h));
  return distance;
}

// The transform that disturbs the texture least when the pins are then fixed by exchanges:
// an exchange moves one dot by the distance d to the nearest holder of the wanted value at
// every level between the pixel's threshold and the wanted one, so each pin costs d^2 times
// that number of levels (0 when it already holds its value). The first best wins.
Transform BestTransform(const std::vector<int32_t>& thresholds,
                        const std::vector<PinnedEntry>& pins, const Torus& torus) {
  std::vector<std::vector<int64_t>> distance;
  for (const PinnedEntry& pin : pins)
    distance.push_back(DistanceToValue(thresholds, pin.threshold, torus));
  Transform best{0, 0, 0};
  int64_t bestCost = std::numeric_limits<int64_t>::max();
  for (int symmetry = 0; symmetry < 8; ++symmetry)
    for (int shiftY = 0; shiftY < torus.side(); ++shiftY)
      for (int shiftX = 0; shiftX < torus.side(); ++shiftX) {
        const Transform t{symmetry, shiftX, shiftY};
        int64_t cost = 0;
        for (size_t k = 0; k < pins.size() && cost < bestCost; ++k) {
          const int source = SourceOf(t, torus.Index(pins[k].x, pins[k].y), torus);
          cost += distance[k][source] * std::abs(thresholds[source] - pins[k].threshold);
        }
        if (cost < bestCost) {
          bestCost = cost;
          best = t;
        }
      }
  return best;
}

}  // namespace

std::vector<int32_t> PinnedBlueNoiseThresholds(int side, uint32_t seed,
                                               const std::vector<ValueCount>& counts,
                                               const std::vector<PinnedEntry>& pins,
                                               PinReport* report) {
  const Torus torus(side);
  const std::vector<int32_t> original = VoidAndClusterRanks(side, side, seed);
  const std::vector<int32_t> value = ValueOfRank(counts);
  if (original.empty() || value.size() != original.size()) return {};
  std::vector<int32_t> untransformed(original.size());
  for (size_t i = 0; i < original.size(); ++i) untransformed[i] = value[original[i]];

  const Transform t = BestTransform(untransformed, pins, torus);
  std::vector<int32_t> ranks(original.size());
  for (size_t i = 0; i < ranks.size(); ++i)
    ranks[i] = original[SourceOf(t, static_cast<int>(i), torus)];

  // Fix the remaining pins one by one, each by exchanging ranks with the nearest unpinned
  // pixel of the wanted threshold: at every level in between one dot moves by that distance.
  std::vector<bool> pinned(ranks.size(), false);
  for (const PinnedEntry& pin : pins) pinned[torus.Index(pin.x, pin.y)] = true;
  PinReport done{t.symmetry, t.shiftX, t.shiftY, 0, 0.0, 0};
  for (const PinnedEntry& pin : pins) {
    const int at = torus.Index(pin.x, pin.y);
    if (value[ranks[at]] == pin.threshold) continue;
    int partner = -1;
    for (int q = 0; q < static_cast<int>(ranks.size()); ++q) {
      if (pinned[q] || value[ranks[q]] != pin.threshold) continue;
      if (partner < 0 || torus.Distance2(at, q) < torus.Distance2(at, partner)) partner = q;
    }
    if (partner < 0) return {};
    done.levelsCrossed += std::abs(value[ranks[at]] - pin.threshold);
    std::swap(ranks[at], ranks[partner]);
    ++done.exchanges;
    done.meanDistance += std::sqrt(static_cast<double>(torus.Distance2(at, partner)));
  }
  if (done.exchanges) done.meanDistance /= done.exchanges;
  if (report) *report = done;
  return RanksToThresholds(ranks, counts);
}
