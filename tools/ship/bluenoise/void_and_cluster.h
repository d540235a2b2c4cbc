// Blue-noise threshold patterns by Ulichney's void-and-cluster method on a torus, the mapping of
// a rank order to threshold values, and a radially averaged power spectrum to check them.
//
// Usage:
//   #include "bluenoise/void_and_cluster.h"     (target korvel_bluenoise)
//   std::vector<int32_t> ranks = VoidAndClusterRanks(64, 64, seed);
//   std::vector<int32_t> t = RanksToThresholds(ranks, EvenValueCounts(0, 254, ranks.size()));
#ifndef KORVEL_TOOLS_BLUENOISE_VOID_AND_CLUSTER_H
#define KORVEL_TOOLS_BLUENOISE_VOID_AND_CLUSTER_H

#include <cstdint>
#include <vector>

// Largest pattern VoidAndClusterRanks accepts (pixels).
constexpr int64_t kMaxBlueNoisePixels = int64_t{1} << 24;

// Rank of every pixel of a width x height pattern, row by row: a permutation of 0..W*H-1 such
// that, for every n, the pixels of rank below n form a blue-noise dot pattern of n dots on the
// torus (the pattern tiles seamlessly). Equal arguments give equal ranks on every platform.
// sigma is the Gaussian filter of the energy field in pixels (1.5 is the classic choice); it is
// widened automatically where the minority pixels are sparser than one in ten so that the
// lightest and darkest dots stay evenly spread. Returns an empty vector when width or height is
// below 1, the pattern exceeds kMaxBlueNoisePixels, or sigma is not positive and finite.
std::vector<int32_t> VoidAndClusterRanks(int width, int height, uint32_t seed, double sigma = 1.5);

// One threshold value and the number of pixels that take it.
struct ValueCount {
  int32_t value;
  int64_t count;
};

// Threshold of every pixel: the values are handed out in list order to ascending ranks (the
// first count pixels of lowest rank take the first value, and so on). With ascending values a
// lower rank gets a lower threshold. Returns an empty vector when the counts do not add up to
// ranks.size(), a count is negative, or ranks is not a permutation of 0..size-1.
std::vector<int32_t> RanksToThresholds(const std::vector<int32_t>& ranks,
                                       const std::vector<ValueCount>& valuesWithCounts);

// The values first..last (ascending, first <= last) sharing total pixels as evenly as possible:
// value j of the k values gets floor((j + 1) * total / k) - floor(j * total / k) pixels. Empty
// when last < first or total < 0.
std::vector<ValueCount> EvenValueCounts(int32_t first, int32_t last, int64_t total);

// 1 where rank < count, 0 elsewhere: the dot pattern of count dots.
std::vector<double> DotsOfRankBelow(const std::vector<int32_t>& ranks, int64_t count);

// |F(u, v)|^2 / (W * H) of a width x height field, mean removed, at u + v * W (u, v the DFT
// indices); empty as RadialPowerSpectrum is.
std::vector<double> Periodogram(const std::vector<double>& field, int width, int height);

// The radial bin of DFT index (u, v) of a width x height field (see RadialPowerSpectrum).
int RadialBin(int u, int v, int width, int height);

// Radially averaged power spectrum of a width x height field (row by row, periodic), mean
// removed, normalised by the pixel count so that white noise of variance s has power s at every
// frequency. Entry k averages |F(u, v)|^2 / (W * H) over the frequencies whose radius
// sqrt(fu^2 + fv^2), with fu = u / W and fv = v / H in cycles per pixel folded to -1/2..1/2,
// rounds to k / max(W, H). Entry 0 holds the (zero) DC term. Returns an empty vector for an
// empty field or a size that does not match. A separable DFT, by FFT along a side that is a
// power of two: meant for patterns up to a few hundred pixels a side.
std::vector<double> RadialPowerSpectrum(const std::vector<double>& field, int width, int height);

// Mean of the radial bins 1 .. max(1, trunc(fraction x sqrt(min(g, 1 - g)) x side)) of a
// spectrum of bins k / side cycles per pixel: the power below `fraction` of the principal
// frequency of a two-level pattern of coverage g.
double LowFrequencyMean(const std::vector<double>& radial, int side, double coverage,
                        double fraction);

// Low-frequency power of the dot pattern {threshold <= level} of a square threshold array,
// against white noise of the same density: the mean of the radial bins from 1 up to
// `fraction` of the principal frequency, divided by g(1 - g). Blue noise scores well below 1.
double LowFrequencyShare(const std::vector<int32_t>& thresholds, int side, int32_t level,
                         double fraction);

#endif
