// Void-and-cluster (Ulichney, 1993) on a torus:
//   1. a random pattern of one pixel in ten is relaxed into a prototype by moving its tightest
//      cluster into its largest void until the move would put the pixel back;
//   2. the prototype's pixels are ranked downwards by removing tightest clusters one by one;
//   3. from the prototype upwards, largest voids are filled until half the pixels are set;
//   4. beyond half, the clear pixels are the minority: their tightest clusters are filled.
// Step 4 runs on the inverted pattern so that the field is always built from the minority.
#include "bluenoise/void_and_cluster.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "bluenoise/energy_field.h"
#include "bluenoise/split_mix64.h"

namespace {

// Share of set pixels in the starting pattern.
constexpr int64_t kStartDivisor = 10;

// Sigma for a minority of m pixels out of n: the given sigma while the minority is at least one
// pixel in ten, then widened with the mean spacing sqrt(n / m) so that sparse dots still see
// each other through the kernel.
double SigmaForMinority(double sigma, int64_t n, int64_t m) {
  const double sparseness = static_cast<double>(n) / kStartDivisor / static_cast<double>(m);
  return sparseness > 1.0 ? sigma * std::sqrt(sparseness) : sigma;
}

// Widens the field's sigma each time the minority has halved since the last widening.
class SigmaSchedule {
 public:
  SigmaSchedule(double sigma, int64_t pixels) : sigma_(sigma), pixels_(pixels) {}
  void Update(EnergyField& field, int64_t minority) {
    if (minority == 0 || minority > nextAt_) return;
    nextAt_ = minority / 2;
    const double wanted = SigmaForMinority(sigma_, pixels_, minority);
    if (wanted > field.sigma()) field.SetSigma(wanted);
  }

 private:
  double sigma_;
  int64_t pixels_;
  int64_t nextAt_ = INT64_MAX;
};

std::vector<uint8_t> RandomPattern(int64_t pixels, int64_t setCount, uint32_t seed) {
  SplitMix64 random(0x6B6F7276656C0000ULL ^ seed);
  std::vector<int32_t> order(pixels);
  std::iota(order.begin(), order.end(), 0);
  std::vector<uint8_t> bits(pixels, 0);
  for (int64_t i = 0; i < setCount; ++i) {
    const int64_t j = i + random.Below(pixels - i);
    std::swap(order[i], order[j]);
    bits[order[i]] = 1;
  }
  return bits;
}

// Move tightest clusters into largest voids until the pattern is stable.
void RelaxToPrototype(EnergyField& field, int64_t pixels) {
  for (int64_t moves = 0; moves < 4 * pixels; ++moves) {
    const int cluster = field.TightestCluster();
    field.Toggle(cluster);
    const int hole = field.LargestVoid();
    field.Toggle(hole);
    if (hole == cluster) break;
  }
}

// Remove the tightest cluster until no set pixel is left, handing out ranks from the count
// downwards (rankOf(k) for the pixel removed when k set pixels remain).
template <typename RankOf>
void RankByRemovingClusters(EnergyField& field, double sigma, int64_t pixels, RankOf rankOf,
                            std::vector<int32_t>& ranks) {
  SigmaSchedule schedule(sigma, pixels);
  for (int64_t left = field.setCount(); left > 0; --left) {
    schedule.Update(field, left);
    const int cluster = field.TightestCluster();
    field.Toggle(cluster);
    ranks[cluster] = rankOf(left);
  }
}

}  // namespace

std::vector<int32_t> VoidAndClusterRanks(int width, int height, uint32_t seed, double sigma) {
  if (width < 1 || height < 1 || !(sigma > 0.0) || !std::isfinite(sigma)) return {};
  const int64_t pixels = static_cast<int64_t>(width) * height;
  if (pixels > kMaxBlueNoisePixels) return {};

  const int64_t startCount = std::max<int64_t>(1, pixels / kStartDivisor);
  EnergyField grower(width, height, RandomPattern(pixels, startCount, seed), sigma);
  RelaxToPrototype(grower, pixels);

  std::vector<int32_t> ranks(pixels, 0);
  EnergyField shrinker = grower;
  RankByRemovingClusters(
      shrinker, sigma, pixels, [](int64_t left) { return static_cast<int32_t>(left - 1); }, ranks);

  for (int64_t count = grower.setCount(); count < pixels / 2; ++count) {
    const int hole = grower.LargestVoid();
    grower.Toggle(hole);
    ranks[hole] = static_cast<int32_t>(count);
  }

  std::vector<uint8_t> inverted = grower.bits();
  for (uint8_t& bit : inverted) bit ^= 1;
  EnergyField clearPixels(width, height, std::move(inverted), sigma);
  RankByRemovingClusters(
      clearPixels, sigma, pixels,
      [pixels](int64_t left) { return static_cast<int32_t>(pixels - left); }, ranks);
  return ranks;
}
