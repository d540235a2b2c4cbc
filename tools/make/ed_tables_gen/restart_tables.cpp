#include "restart_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "image/error_diffusion_kernel.h"
#include "steady_state.h"
#include "table_fit/falling_fit.h"

namespace {

constexpr int kSampleRows = 512;   // candidate windows per bucket
constexpr size_t kShortlist = 24;  // windows closest to the bucket's figures, judged on rows
constexpr int kJudgeWidth = 1024;  // the flat area the rows after a restart are judged on
constexpr int kJudgeRows = 4;
constexpr double kShapedBelow = 0.95;
constexpr double kShareSlack = 0.03;  // bias-free share a judged window may stray from its curve //
                                      // a keep or apart share below this shapes a bucket
// The tables' fixed properties (kept whatever the shaping): the error range, the bias-free
// lightest rows, the rows that always carry a bias, the bias range, the range of the last
// row's bias, and the pinned beginnings of some rows below. They belong to the screen's
// definition, not to the search.
constexpr int32_t kErrorLow = -1880;
constexpr int32_t kErrorHigh = 2025;
constexpr int kLastBiasFreeBucket = 4;       // buckets 0..4 restart without bias
constexpr int kFirstAlwaysBiasBucket = 240;  // from here on every restart carries a bias
constexpr int32_t kBiasLow = 474;            // a non-zero bias lies within 474..1287
constexpr int32_t kBiasHigh = 1287;
constexpr int32_t kFullBucketBiasLow = 1052;
constexpr int32_t kFullBucketBiasHigh = 1282;

// Fixed beginnings of some rows (part of the screen's definition).
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

int PinnedCount(int bucket) {
  for (const PinnedHead& pin : kPinned)
    if (pin.bucket == bucket) return 4;
  return 0;
}

int WarmRows(int target) {
  return std::max(300, 8 * 2550 / std::max(target, 1));
}

// Make a pixel at target t decide `dot` with error e and bias b. A pixel keeps a bias of 0 or a
// non-zero one as it had (so the rows keep their share of bias-free restarts); a non-zero bias
// moves first, as little as it can within the bias range; where that does not do, the error
// moves just far enough.
void KeepDecision(bool biasFree, int t, bool dot, int32_t& e, int32_t& b) {
  const int32_t threshold = ImageErrorDiffusion::kDotThreshold;
  if ((e + t + b > threshold) == dot) return;
  if (biasFree || b == 0) {
    e = dot ? threshold + 1 - t - b : threshold - t - b;
  } else if (dot) {
    b = std::min(std::max(threshold + 1 - t - e, kBiasLow), kBiasHigh);
    e = std::max(e, threshold + 1 - t - b);
  } else {
    b = std::max(std::min(threshold - t - e, b), kBiasLow);
    e = std::min(e, threshold - t - b);
  }
}

// Pull the window's errors towards the mean error of the pixels that decided alike (dots and
// empty pixels apart), those two means towards the window's mean, and that mean towards 0, by
// the shaping; every pixel keeps its decision.
void Shape(int bucket, const RestartShaping& shaping, StateWindow& w) {
  const int t = RepresentativeTarget(bucket);
  const double keep = shaping.KeepAt(t), apart = shaping.ApartAt(t), drop = shaping.DropAt(t);
  if (keep >= 1 && apart >= 1 && drop <= 0) return;
  bool dot[kImgRestartCycle];
  double sum[2] = {0, 0}, count[2] = {0, 0};
  for (int k = 0; k < kImgRestartCycle; ++k) {
    dot[k] = w.error[k] + t + w.bias[k] > ImageErrorDiffusion::kDotThreshold;
    sum[dot[k]] += w.error[k];
    count[dot[k]] += 1;
  }
  const double mean = (sum[0] + sum[1]) / kImgRestartCycle;
  for (int k = 0; k < kImgRestartCycle; ++k) {
    const double classMean = sum[dot[k]] / count[dot[k]];
    const double pulled =
        (1 - drop) * mean + apart * (classMean - mean) + keep * (w.error[k] - classMean);
    int32_t e = static_cast<int32_t>(std::lround(pulled));
    KeepDecision(bucket <= kLastBiasFreeBucket, t, dot[k], e, w.bias[k]);
    w.error[k] = std::min(std::max(e, kErrorLow), kErrorHigh);
  }
}

// Make the window's mean error no higher than `mean` and its bias-free share no higher than
// `share`, keeping every decision: errors of pixels with room below their decision are lowered
// evenly, and bias-free pixels take the smallest bias (lowering their error if that would make
// them dot). Pinned heads are left alone.
void MeetFallingRules(int bucket, double mean, double share, StateWindow& w) {
  const int t = RepresentativeTarget(bucket);
  const int32_t threshold = ImageErrorDiffusion::kDotThreshold;
  const int first = PinnedCount(bucket);
  for (int k = first; k < kImgRestartCycle; ++k) {
    double zeros = 0;
    for (int i = 0; i < kImgRestartCycle; ++i) zeros += w.bias[i] == 0;
    if (zeros <= share * kImgRestartCycle || bucket <= kLastBiasFreeBucket) break;
    if (w.bias[k] != 0) continue;
    const bool dot = w.error[k] + t > threshold;
    w.bias[k] = kBiasLow;
    if (!dot) w.error[k] = std::min(w.error[k], threshold - t - kBiasLow);
  }
  for (int pass = 0; pass < 16; ++pass) {
    double sum = 0;
    for (int k = 0; k < kImgRestartCycle; ++k) sum += w.error[k];
    const double excess = sum - std::floor(mean * kImgRestartCycle);
    if (excess <= 0) return;
    const int32_t step = static_cast<int32_t>(std::ceil(excess / (kImgRestartCycle - first)));
    for (int k = first; k < kImgRestartCycle; ++k) {
      const bool dot = w.error[k] + t + w.bias[k] > threshold;
      const int32_t floor = dot ? threshold + 1 - t - w.bias[k] : kErrorLow;
      w.error[k] = std::max(std::max(w.error[k] - step, floor), kErrorLow);
    }
  }
}

// A window shaped, with the stated ranges and pinned heads imposed.
StateWindow Constrained(int bucket, StateWindow w, const RestartShaping& shaping) {
  if (bucket > 0 && bucket < kImgBucketCount - 1) Shape(bucket, shaping, w);
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

}  // namespace

namespace {

double AlongTheTargets(int target, const double (&anchor)[RestartShaping::kAnchors]) {
  const double span = double(kImgTargetCount) / (RestartShaping::kAnchors - 1);
  const int i = std::min(static_cast<int>(target / span), RestartShaping::kAnchors - 2);
  return anchor[i] + (anchor[i + 1] - anchor[i]) * (target - i * span) / span;
}

// The worst distance, in points, of rows 0..3 of a flat area of the bucket's target that starts
// from the window (row 0 restarts at every pixel) from the steady coverage.
double RestartedRowsOff(TableSet& tables, int bucket, const StateWindow& w, double steady) {
  static const std::vector<int32_t> identity = [] {
    std::vector<int32_t> curve(kImgTargetCount);
    for (int i = 0; i < kImgTargetCount; ++i) curve[i] = i;
    return curve;
  }();
  std::copy(w.error, w.error + kImgRestartCycle, tables.restartError[bucket].begin());
  std::copy(w.bias, w.bias + kImgRestartCycle, tables.restartBias[bucket].begin());
  const int t = RepresentativeTarget(bucket);
  const std::vector<uint16_t> amounts(kJudgeWidth, static_cast<uint16_t>(kImgTargetCount - 1 - t));
  std::vector<uint8_t> dots(kJudgeWidth);
  ImageErrorDiffusion diffusion(kJudgeWidth, identity.data(), tables.View());
  double worst = 0;
  for (int y = 0; y < kJudgeRows; ++y) {
    diffusion.DiffuseRow(y, amounts.data(), dots.data());
    const double coverage = std::count(dots.begin(), dots.end(), 0) / double(kJudgeWidth);
    worst = std::max(worst, 100 * std::fabs(coverage - steady));
  }
  return worst;
}

}  // namespace

double RestartShaping::KeepAt(int target) const {
  return AlongTheTargets(target, keep);
}

double RestartShaping::ApartAt(int target) const {
  return AlongTheTargets(target, apart);
}

double RestartShaping::DropAt(int target) const {
  return AlongTheTargets(target, drop);
}

int RepresentativeTarget(int bucket) {
  return bucket < 10 ? bucket : 10 * (bucket - 9);
}

// Runs for buckets 1..264, and targets for buckets 1..263 (the last bucket, at full ink, holds
// no error and is left out of the falling curves).
FlatRuns RunFlatRuns(const TableSet& tables) {
  FlatRuns flat;
  flat.runs.resize(kImgBucketCount);
  flat.dots.assign(kImgBucketCount, 0);
  flat.meanError.assign(kImgBucketCount, 0);
  flat.zeroBiasShare.assign(kImgBucketCount, 0);
  std::vector<double> means, shares;
  for (int b = 1; b < kImgBucketCount; ++b) {
    const int t = RepresentativeTarget(b);
    flat.runs[b] = SampleSteadyState(t, tables.View(), WarmRows(t), kSampleRows);
    const SteadyState& run = flat.runs[b];
    flat.dots[b] = run.dotDensity * kImgRestartCycle;
    if (b < kImgBucketCount - 1) {
      means.push_back(run.meanError);
      shares.push_back(b <= kLastBiasFreeBucket ? 1.0 : run.zeroBiasShare);
    }
  }
  const std::vector<double> meanFit = FallingFit(means), shareFit = FallingFit(shares);
  for (int b = 1; b < kImgBucketCount - 1; ++b) {
    flat.meanError[b] = meanFit[b - 1];
    flat.zeroBiasShare[b] = shareFit[b - 1];
  }
  return flat;
}

void BuildRestartTables(TableSet& tables, const FlatRuns& flat, const RestartShaping& shaping,
                        bool judgeRows) {
  // Bucket 0 (a target of 0) never dots and restarts from nothing.
  tables.restartError[0].fill(0);
  tables.restartBias[0].fill(0);
  double previousMean = std::numeric_limits<double>::infinity();
  double previousShare = 1.0;
  for (int b = 1; b < kImgBucketCount; ++b) {
    const SteadyState& run = flat.runs[b];
    const double drop = shaping.DropAt(RepresentativeTarget(b));
    const WindowTarget target = {flat.dots[b], (1 - drop) * flat.meanError[b],
                                 flat.zeroBiasShare[b]};
    const bool falling = b < kImgBucketCount - 1;
    // The windows that meet the rules, closest first; when none does, every window made to
    // meet them.
    std::vector<std::pair<double, StateWindow>> shortlist;
    for (int repair = 0; repair < 2 && shortlist.empty(); ++repair) {
      for (const StateWindow& raw : run.windows) {
        StateWindow w = Constrained(b, raw, shaping);
        if (repair && falling) MeetFallingRules(b, previousMean, previousShare, w);
        const WindowFigures f = Measure(b, w);
        if (!f.inRange) continue;
        if (falling && (f.meanError > previousMean || f.zeroBiasShare > previousShare)) continue;
        shortlist.push_back({Distance(f, target), w});
      }
    }
    if (shortlist.empty()) {
      std::fprintf(stderr, "bucket %d: no window meets the ranges\n", b);
      std::exit(1);
    }
    std::stable_sort(shortlist.begin(), shortlist.end(),
                     [](const auto& p, const auto& q) { return p.first < q.first; });
    // Rows are judged where the shaping pulls the errors together; elsewhere the closest
    // window is kept as it is.
    const int t = RepresentativeTarget(b);
    const bool shaped = shaping.KeepAt(t) < kShapedBelow || shaping.ApartAt(t) < kShapedBelow ||
                        shaping.DropAt(t) > 1 - kShapedBelow;
    size_t keep = judgeRows && shaped ? kShortlist : 1;
    if (keep > 1) {
      // Only windows whose bias-free share stays on the bucket's curve are judged.
      auto off = std::stable_partition(shortlist.begin(), shortlist.end(), [&](const auto& p) {
        return std::fabs(Measure(b, p.second).zeroBiasShare - target.zeroBiasShare) <= kShareSlack;
      });
      keep = std::max<size_t>(1, std::min<size_t>(keep, off - shortlist.begin()));
    }
    if (shortlist.size() > keep) shortlist.resize(keep);
    // Of those, the window whose restarted rows keep the steady coverage best.
    double bestDistance = std::numeric_limits<double>::infinity();
    StateWindow best{};
    for (const auto& [distance, w] : shortlist) {
      const double rows = RestartedRowsOff(tables, b, w, flat.dots[b] / kImgRestartCycle);
      const double d = distance + shaping.rowWeight * std::max(0.0, rows - shaping.rowsFree);
      if (d < bestDistance) bestDistance = d, best = w;
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

void PrintSteadyStateStatistics(const FlatRuns& flat) {
  std::printf("bucket target density meanError zeroBias minError maxError\n");
  for (int b = 1; b < kImgBucketCount; ++b) {
    const SteadyState& s = flat.runs[b];
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
