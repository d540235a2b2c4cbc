#include "restart_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "image/error_diffusion_kernel.h"
#include "steady_state.h"

namespace {

constexpr int kSampleRows = 512;  // candidate windows per bucket
constexpr int32_t kErrorLow = -1880;
constexpr int32_t kErrorHigh = 2025;
constexpr int kLastBiasFreeBucket = 4;       // buckets 0..4 restart without bias
constexpr int kFirstAlwaysBiasBucket = 240;  // from here on every restart carries a bias
constexpr int32_t kFullBucketBiasLow = 1052;
constexpr int32_t kFullBucketBiasHigh = 1282;

// Fixed beginnings of some rows.
struct PinnedHead {
  int bucket;
  bool isBias;
  int32_t values[4];
};
constexpr PinnedHead kPinned[] = {
    {1, false, {1862, 1862, 1862, 1862}},  {100, false, {1166, 673, 693, 724}},
    {200, false, {-1556, -784, 10, -613}}, {100, true, {0, 535, 494, 476}},
    {264, true, {1203, 1167, 1131, 1210}},
};

int WarmRows(int target) {
  return std::max(300, 8 * 2550 / std::max(target, 1));
}

// A window with the stated ranges and pinned heads imposed.
StateWindow Constrained(int bucket, StateWindow w) {
  for (int k = 0; k < kImgRestartCycle; ++k) {
    w.error[k] = std::min(std::max(w.error[k], kErrorLow), kErrorHigh);
    if (bucket == kImgBucketCount - 1) w.error[k] = 0;
    if (bucket <= kLastBiasFreeBucket) w.bias[k] = 0;
  }
  for (const PinnedHead& pin : kPinned) {
    if (pin.bucket != bucket) continue;
    std::copy(pin.values, pin.values + 4, pin.isBias ? w.bias : w.error);
  }
  return w;
}

struct WindowFigures {
  double meanError = 0;
  double zeroBiasShare = 0;
  int dots = 0;         // dots a row restarted from this window makes
  bool inRange = true;  // bias rules of the bucket hold
};

WindowFigures Measure(int bucket, const StateWindow& w) {
  const int t = RepresentativeTarget(bucket);
  WindowFigures f;
  for (int k = 0; k < kImgRestartCycle; ++k) {
    f.meanError += w.error[k];
    f.zeroBiasShare += w.bias[k] == 0;
    f.dots += w.error[k] + t + w.bias[k] > ImageErrorDiffusion::kDotThreshold;
    if (bucket >= kFirstAlwaysBiasBucket && w.bias[k] == 0) f.inRange = false;
    if (bucket == kImgBucketCount - 1 &&
        (w.bias[k] < kFullBucketBiasLow || w.bias[k] > kFullBucketBiasHigh)) {
      f.inRange = false;
    }
  }
  f.meanError /= kImgRestartCycle;
  f.zeroBiasShare /= kImgRestartCycle;
  return f;
}

// What a window should carry: the long run's dot density, and its mean error and share of
// bias-free pixels smoothed into curves that fall with the bucket.
struct WindowTarget {
  double dots = 0;
  double meanError = 0;
  double zeroBiasShare = 0;
};

// How far a window is from its target: dots count most, then the mean error (in steps of 10)
// and the bias-free share (in steps of 4 pixels).
double Distance(const WindowFigures& f, const WindowTarget& target) {
  return 4.0 * std::fabs(f.dots - target.dots) + std::fabs(f.meanError - target.meanError) / 10.0 +
         std::fabs(f.zeroBiasShare - target.zeroBiasShare) * kImgRestartCycle / 4.0;
}

// Closest non-increasing sequence to the values, in the least-squares sense (pool adjacent
// violators).
std::vector<double> FallingFit(const std::vector<double>& values) {
  std::vector<double> level;
  std::vector<int> count;
  for (double v : values) {
    level.push_back(v);
    count.push_back(1);
    while (level.size() > 1 && level[level.size() - 2] < level.back()) {
      const size_t n = level.size();
      const double merged = (level[n - 2] * count[n - 2] + level[n - 1] * count[n - 1]) /
                            (count[n - 2] + count[n - 1]);
      count[n - 2] += count[n - 1];
      level[n - 2] = merged;
      level.pop_back();
      count.pop_back();
    }
  }
  std::vector<double> fit;
  for (size_t i = 0; i < level.size(); ++i) fit.insert(fit.end(), count[i], level[i]);
  return fit;
}

SteadyState FlatRun(int bucket, const TableSet& tables) {
  const int t = RepresentativeTarget(bucket);
  return SampleSteadyState(t, tables.View(), WarmRows(t), kSampleRows);
}

}  // namespace

int RepresentativeTarget(int bucket) {
  return bucket < 10 ? bucket : 10 * (bucket - 9);
}

// Targets for buckets 1..263 (the last bucket, at full ink, holds no error and is left out of
// the falling curves).
std::vector<WindowTarget> WindowTargets(const TableSet& tables) {
  std::vector<double> means, shares;
  std::vector<WindowTarget> targets(kImgBucketCount);
  for (int b = 1; b < kImgBucketCount; ++b) {
    const SteadyState run = FlatRun(b, tables);
    targets[b].dots = run.dotDensity * kImgRestartCycle;
    if (b < kImgBucketCount - 1) {
      means.push_back(run.meanError);
      shares.push_back(b <= kLastBiasFreeBucket ? 1.0 : run.zeroBiasShare);
    }
  }
  const std::vector<double> meanFit = FallingFit(means), shareFit = FallingFit(shares);
  for (int b = 1; b < kImgBucketCount - 1; ++b) {
    targets[b].meanError = meanFit[b - 1];
    targets[b].zeroBiasShare = shareFit[b - 1];
  }
  return targets;
}

void BuildRestartTables(TableSet& tables) {
  const std::vector<WindowTarget> targets = WindowTargets(tables);
  // Bucket 0 (a target of 0) never dots and restarts from nothing.
  tables.restartError[0].fill(0);
  tables.restartBias[0].fill(0);
  double previousMean = std::numeric_limits<double>::infinity();
  double previousShare = 1.0;
  for (int b = 1; b < kImgBucketCount; ++b) {
    const SteadyState run = FlatRun(b, tables);
    const bool falling = b < kImgBucketCount - 1;
    bool found = false;
    StateWindow best{};
    double bestDistance = std::numeric_limits<double>::infinity();
    // Both falling rules first; then the mean error alone; then neither.
    for (int relax = 0; relax < 3 && !found; ++relax) {
      for (const StateWindow& raw : run.windows) {
        const StateWindow w = Constrained(b, raw);
        const WindowFigures f = Measure(b, w);
        if (!f.inRange) continue;
        if (relax < 2 && falling && f.meanError > previousMean) continue;
        if (relax < 1 && falling && f.zeroBiasShare > previousShare) continue;
        const double d = Distance(f, targets[b]);
        if (d < bestDistance) {
          bestDistance = d;
          best = w;
          found = true;
        }
      }
      if (!found) std::fprintf(stderr, "bucket %d: relaxing the falling rows (%d)\n", b, relax);
    }
    if (!found) {
      std::fprintf(stderr, "bucket %d: no window meets the ranges\n", b);
      std::exit(1);
    }
    std::copy(best.error, best.error + kImgRestartCycle, tables.restartError[b].begin());
    std::copy(best.bias, best.bias + kImgRestartCycle, tables.restartBias[b].begin());
    if (falling) {
      const WindowFigures f = Measure(b, best);
      previousMean = f.meanError;
      previousShare = f.zeroBiasShare;
    }
  }
}

void PrintSteadyStateStatistics(const TableSet& tables) {
  std::printf("bucket target density meanError zeroBias minError maxError\n");
  for (int b = 1; b < kImgBucketCount; ++b) {
    const SteadyState s = FlatRun(b, tables);
    int32_t lo = std::numeric_limits<int32_t>::max(), hi = std::numeric_limits<int32_t>::min();
    for (const StateWindow& w : s.windows) {
      for (int k = 0; k < kImgRestartCycle; ++k) {
        lo = std::min(lo, w.error[k]);
        hi = std::max(hi, w.error[k]);
      }
    }
    std::printf("%3d %4d %.4f %8.1f %.3f %6d %6d\n", b, RepresentativeTarget(b), s.dotDensity,
                s.meanError, s.zeroBiasShare, lo, hi);
  }
}
