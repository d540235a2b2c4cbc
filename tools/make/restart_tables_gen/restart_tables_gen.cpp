// Generates the restart tables of the template diffusion.
//
// Objective: a restarted row decides like a row of a long-running diffusion at its amount, so
// that a template has the coverage of its steady rows from its first row on and an image has
// none of the old tone's band where a column's amount jumps. Each table row is judged by that:
// the coverage of rows 0..3 of a 4096-wide template of the bucket's amount against the
// amount's share of full ink.
//
// How a row is made. For every amount bucket the library's own diffusion step runs on a wide
// uniform area for many rows; every sampled row gives a candidate: the error, bias and decision
// that each of 255 consecutive pixels (in scan order) has at the moment it is processed. A
// restart puts back exactly that error and bias, but not the pixel's damping mark: below
// amount 1280 it clears the mark, from 1280 on it takes the alternating restart flag. A marked
// pixel pulls with 3a/5 instead of a, so the restarted decision sum differs by 2a/5 wherever
// the steady mark and the restart's mark differ, and the first row would decide differently.
// The candidate therefore keeps each pixel's error (what it passes on to the rows below) and
// chooses its bias, among the bias values a pixel can hold, so that the decision is the steady
// one; only where no bias value reaches that decision is the error moved, by the least amount.
// The candidate whose template rows 0..3 stay closest to the amount's coverage becomes the row.
//
// Pinned data and where it comes from: the first entries of the telling rows (buckets 0, 8,
// 32, 57, 133, 200, 210), the stated error range of five of them, the six small positive
// errors, the smallest error -4223, the last bucket (261: -2700 and 1683 throughout), the bias
// value set {0, 714, 969, 1683} (the step's bias increments), bias rows 0..56 all zero (amounts
// up to 500 never read them) and rows 221..261 without zeros are the tables' fixed properties;
// row means that fall with the bucket from about -190 to about -2970 are kept by choosing, in
// bucket order, only candidates whose mean lies below the previous row's. Deterministic: the
// same program always writes the same file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <vector>

#include "table_fit/falling_fit.h"
#include "template/diffusion_step.h"
#include "template/restart_tables.h"

namespace {

constexpr int kUsed = kRestartCycle;  // entries 0..254 of a row are read
constexpr int kSimWidth = 1024;
constexpr int kSimRows = 560;
constexpr int kFirstSampleRow = 240;
constexpr int kWindowStart = 256;  // candidates come from the middle of the row, in scan order
constexpr int kJudgeWidth = 4096;
constexpr int kJudgeRows = 4;
constexpr int kShortlist = 80;  // candidates closest in row 0 that are judged on rows 0..3
constexpr int kSmallestError = -4223;
constexpr int kLastBucket = 261;
constexpr int kLastBucketError = -2700;
constexpr int kLastBucketBias = 1683;
constexpr int kFirstBiasRow = 57;  // amounts above 500 read the bias table
constexpr int kFullBiasRow = 221;  // from here on every bias entry is non-zero
constexpr int kMarkedAmount = 1280;
constexpr double kFirstRowMean = -190;  // mean error of bucket 0
constexpr double kLastRowMean =
    -2970;  // mean error of bucket 260  // from here on a restart takes the alternating flag

using Row = std::vector<int32_t>;

struct Table {
  std::vector<Row> error = std::vector<Row>(kRestartRows, Row(kRestartColumns, 0));
  std::vector<Row> bias = std::vector<Row>(kRestartRows, Row(kRestartColumns, 0));
};

// Pinned rows: entries from 0 on, and for the telling rows the range over entries 0..254.
const std::map<int, Row> kPinnedError = {
    {0, {-1313, -1140, -909, -683, -491, -342, -233, -157}},
    {8, {-884, -805, -688, -560, -438, -336, -257, -201}},
    {32,
     {-471, -690, -372, -205, -1465, -2038, -1068, -581, -403, -171, -1228, -900, -1694, -858, -493,
      -540}},
    {57, {-2432, -1545, -1836, -794, -593, -156, -1208, -1636}},
    {133,
     {-2408, -2693, -2234, -1452, -1396, -1674, -1706, -3004, -2939, -1850, -1306, -1537, -2453,
      -2313, -1366, -1856}},
    {200, {-2281, -706, -3135, -2965, -2050, -1972, -2347, -3428}},
    {210,
     {-2210, -3462, -3263, -2826, -2848, -1711, -2213, -1587, -2961, -2538, -2465, -1485, -1934,
      -3350, -2882, -1373}},
};
const std::map<int, Row> kPinnedBias = {
    {57, {0, 0, 969, 0, 0, 0, 714, 714}},
    {133, {1683, 1683, 714, 0, 969, 714, 714, 1683, 969, 0, 0, 969, 1683, 714, 0, 969}},
    {200, {1683, 0, 1683, 1683, 969, 714, 969, 1683}},
    {210,
     {969, 1683, 1683, 1683, 1683, 714, 1683, 969, 1683, 1683, 1683, 714, 969, 1683, 1683, 714}},
};
const std::map<int, std::pair<int, int>> kErrorRange = {{0, {-1313, -1}},
                                                        {8, {-1132, -9}},
                                                        {57, {-2706, -153}},
                                                        {133, {-4129, -397}},
                                                        {200, {-3617, -561}}};
// The six positive errors go to dots of light buckets, where the state runs closest to 0 and a
// small positive error does not change the decision.
const int kPositiveErrors[] = {25, 88, 90, 98, 114, 131};
constexpr int kFirstPositiveRow = 9;
// The smallest error goes to an empty pixel of the darkest buckets.
constexpr int kSmallestErrorRow = 250;

// The amount a bucket stands for: its single amount below 11, otherwise its multiple of ten
// (the amounts of the level percentages and of 8-bit greys).
int RepresentativeAmount(int bucket) {
  return bucket <= 7 ? bucket + 3 : 10 * (bucket - 6);
}

int PinnedCount(int bucket) {
  const auto pin = kPinnedError.find(bucket);
  return pin == kPinnedError.end() ? 0 : static_cast<int>(pin->second.size());
}

// One candidate row: what each pixel held and decided.
struct Candidate {
  Row error = Row(kUsed), bias = Row(kUsed);
  std::vector<uint8_t> dot = std::vector<uint8_t>(kUsed);
};

std::vector<Candidate> Simulate(int amount) {
  static const int32_t zeros[kRestartRows * kRestartColumns] = {};
  const TemplateTables start = {zeros, zeros, g_restartFlag, g_lightResetError, g_lightDotSpacing};
  TemplateDiffusion diffusion(kSimWidth, start);
  std::vector<uint8_t> dots(kSimWidth);
  std::vector<Candidate> candidates;
  for (int y = 0; y < kSimRows; ++y) {
    const bool sample = y >= kFirstSampleRow && (y % 2) == 0;
    Candidate c;
    diffusion.DiffuseRow(y, TemplateDiffusion::UniformAmount{amount}, dots.data(),
                         [&](int x, int32_t e, int32_t b) {
                           const int k = x - kWindowStart;
                           if (sample && k >= 0 && k < kUsed) c.error[k] = e, c.bias[k] = b;
                         });
    if (!sample) continue;
    for (int k = 0; k < kUsed; ++k) c.dot[k] = dots[kWindowStart + k];
    candidates.push_back(c);
  }
  return candidates;
}

// What a restart at counter k and amount a pulls with.
int32_t RestartPull(int amount, int k) {
  const bool marked = amount >= kMarkedAmount && g_restartFlag[k] != 0;
  return marked && amount > 300 ? (3 * amount) / 5 : amount;
}

// The bias values entry k of a bucket may hold.
std::vector<int32_t> AllowedBias(int bucket) {
  if (bucket < kFirstBiasRow) return {0};
  if (bucket >= kFullBiasRow) return {714, 969, 1683};
  return {0, 714, 969, 1683};
}

// Make entry k decide `dot` on a restart: the steady bias if it does, otherwise the nearest
// bias value that does, otherwise the nearest bias value with the error moved as little as
// possible (within lo..hi).
void Reconcile(int bucket, int amount, int k, bool dot, int lo, int hi, int32_t& error,
               int32_t& bias) {
  const int32_t pull = RestartPull(amount, k);
  const bool readsBias = amount > 500;
  std::vector<int32_t> allowed = AllowedBias(bucket);
  const int32_t steady = bias;
  std::sort(allowed.begin(), allowed.end(), [steady](int32_t p, int32_t q) {
    return std::abs(p - steady) < std::abs(q - steady) ||
           (std::abs(p - steady) == std::abs(q - steady) && p < q);
  });
  for (int32_t b : allowed) {
    const int32_t used = readsBias ? b : 0;
    if ((used + error + pull > 0) == dot) {
      bias = b;
      return;
    }
  }
  bias = allowed.front();
  const int32_t used = readsBias ? bias : 0;
  error = dot ? -used - pull + 1 : -used - pull;
  error = std::clamp(error, lo, hi);
}

// Entries a restart reaches as pixel x of a row: counter x mod 255.
void ErrorRange(int bucket, int& lo, int& hi) {
  lo = kSmallestError;
  hi = -1;
  const auto range = kErrorRange.find(bucket);
  if (range != kErrorRange.end()) std::tie(lo, hi) = range->second;
}

// Turn a candidate into a table row meeting the bucket's fixed properties.
void Shape(int bucket, Candidate& c) {
  const int amount = RepresentativeAmount(bucket);
  int lo, hi;
  ErrorRange(bucket, lo, hi);
  const int pinned = PinnedCount(bucket);
  for (int k = pinned; k < kUsed; ++k) {
    c.error[k] = std::clamp(c.error[k], lo, hi);
    Reconcile(bucket, amount, k, c.dot[k] != 0, lo, hi, c.error[k], c.bias[k]);
  }
  const auto pinError = kPinnedError.find(bucket);
  if (pinError != kPinnedError.end())
    std::copy(pinError->second.begin(), pinError->second.end(), c.error.begin());
  const auto pinBias = kPinnedBias.find(bucket);
  if (pinBias != kPinnedBias.end())
    std::copy(pinBias->second.begin(), pinBias->second.end(), c.bias.begin());
  if (bucket < kFirstBiasRow) std::fill(c.bias.begin(), c.bias.end(), 0);
  // Both ends of a stated range occur: at the entry closest to each end whose decision the
  // change keeps.
  if (kErrorRange.count(bucket)) {
    for (int end : {lo, hi}) {
      if (std::find(c.error.begin(), c.error.end(), end) != c.error.end()) continue;
      int best = -1;
      for (int k = pinned; k < kUsed; ++k) {
        const int32_t used = amount > 500 ? c.bias[k] : 0;
        const bool keeps = (used + end + RestartPull(amount, k) > 0) == (c.dot[k] != 0);
        if (keeps && (best < 0 || std::abs(c.error[k] - end) < std::abs(c.error[best] - end)))
          best = k;
      }
      if (best < 0) best = pinned;
      c.error[best] = end;
    }
  }
  // The six small positive errors: at the dot with the largest error of a light bucket.
  const int positive = bucket - kFirstPositiveRow;
  if (positive >= 0 && positive < 6) {
    int at = -1;
    for (int k = pinned; k < kUsed; ++k)
      if (c.dot[k] && (at < 0 || c.error[k] > c.error[at])) at = k;
    if (at < 0)
      at = static_cast<int>(std::max_element(c.error.begin(), c.error.end()) - c.error.begin());
    c.error[at] = kPositiveErrors[positive];
  }
  // The smallest error: the lowest empty pixel of a dark bucket, lowered further.
  if (bucket == kSmallestErrorRow)
    *std::min_element(c.error.begin(), c.error.end()) = kSmallestError;
}

long RowSum(const Row& row) {
  return std::accumulate(row.begin(), row.begin() + kUsed, 0L);
}

double RowZeroShare(const Row& bias) {
  return std::count(bias.begin(), bias.begin() + kUsed, 0) / static_cast<double>(kUsed);
}

// Move the row's sum to `target` by shifting the errors of the entries that are free (not
// pinned, not a fixed end of a range) as evenly as their decisions and the row's range allow.
void MoveMeanTo(int bucket, Candidate& c, long target) {
  const int amount = RepresentativeAmount(bucket);
  int lo, hi;
  ErrorRange(bucket, lo, hi);
  for (int pass = 0; pass < 64; ++pass) {
    const long delta = target - RowSum(c.error);
    if (delta == 0) return;
    std::vector<int> free;
    for (int k = PinnedCount(bucket); k < kUsed; ++k) {
      if (c.error[k] == lo || c.error[k] == hi || c.error[k] > 0) continue;
      const int32_t used = amount > 500 ? c.bias[k] : 0;
      const int32_t s = used + c.error[k] + RestartPull(amount, k);
      // Room before the decision flips: a dot must stay above 0, an empty pixel at or below.
      const bool room = delta > 0 ? (c.dot[k] || s < 0) : (!c.dot[k] || s > 1);
      if (room) free.push_back(k);
    }
    if (free.empty()) break;
    const long step = std::clamp<long>(delta / static_cast<long>(free.size()), -16, 16);
    long left = delta;
    for (int k : free) {
      const long move = step != 0 ? step : (left > 0 ? 1 : -1);
      if (left == 0) break;
      const int32_t used = amount > 500 ? c.bias[k] : 0;
      const int32_t pull = RestartPull(amount, k);
      int32_t v = static_cast<int32_t>(std::clamp<long>(c.error[k] + move, lo + 1, hi - 1));
      if (c.dot[k])
        v = std::max(v, -used - pull + 1);
      else
        v = std::min(v, -used - pull);
      left -= v - c.error[k];
      c.error[k] = v;
    }
  }
  std::fprintf(stderr, "bucket %d: sum %ld short of %ld\n", bucket, RowSum(c.error), target);
}

// Worst distance (points) of rows 0..3 of a 4096-wide template restarted from the row.
double JudgeRows(int bucket, const Candidate& c) {
  static std::vector<int32_t> error(kRestartRows * kRestartColumns),
      bias(kRestartRows * kRestartColumns);
  std::copy(c.error.begin(), c.error.end(), error.begin() + bucket * kRestartColumns);
  std::copy(c.bias.begin(), c.bias.end(), bias.begin() + bucket * kRestartColumns);
  const TemplateTables trial = {error.data(), bias.data(), g_restartFlag, g_lightResetError,
                                g_lightDotSpacing};
  const int amount = RepresentativeAmount(bucket);
  TemplateDiffusion diffusion(kJudgeWidth, trial);
  std::vector<uint8_t> dots(kJudgeWidth);
  double worst = 0;
  for (int y = 0; y < kJudgeRows; ++y) {
    diffusion.DiffuseRow(y, TemplateDiffusion::UniformAmount{amount}, dots.data());
    const double coverage = std::count(dots.begin(), dots.end(), 1) / double(kJudgeWidth);
    worst = std::max(worst, 100 * std::abs(coverage - amount / 2550.0));
  }
  return worst;
}

double RowZeroShareOf(const Candidate& c) {
  return RowZeroShare(c.bias);
}

// The closest falling sequence (FallingFit), then made to fall by at least 1 per step.
std::vector<double> StrictlyFallingFit(const std::vector<double>& values) {
  std::vector<double> fit = FallingFit(values);
  for (size_t i = 1; i < fit.size(); ++i) fit[i] = std::min(fit[i], fit[i - 1] - 1);
  return fit;
}

Table Generate() {
  Table table;
  // The candidates of every bucket, and the falling curve of their mean errors that a row's
  // mean should follow.
  std::vector<std::vector<Candidate>> all(kLastBucket);
  std::vector<double> means(kLastBucket);
  for (int b = 0; b < kLastBucket; ++b) {
    all[b] = Simulate(RepresentativeAmount(b));
    double sum = 0;
    for (Candidate& c : all[b]) {
      Shape(b, c);
      sum += RowSum(c.error);
    }
    means[b] = sum / (all[b].size() * double(kUsed));
  }
  // The ends of the curve are fixed: about -190 at the lightest bucket, -2970 at the darkest.
  means.front() = kFirstRowMean;
  means.back() = kLastRowMean;
  const std::vector<double> meanTarget = StrictlyFallingFit(means);

  long previousSum = 0;
  double previousBiasShare = 1.0;
  for (int b = 0; b < kLastBucket; ++b) {
    const int amount = RepresentativeAmount(b);
    std::vector<Candidate>& candidates = all[b];
    // Shortlist by the coverage of row 0 alone, which the row decides by itself.
    std::vector<std::pair<double, size_t>> order;
    for (size_t i = 0; i < candidates.size(); ++i) {
      const Candidate& c = candidates[i];
      int dots = 0;
      for (int k = 0; k < kUsed; ++k) {
        const int32_t used = amount > 500 ? c.bias[k] : 0;
        dots += used + c.error[k] + RestartPull(amount, k) > 0;
      }
      order.push_back({std::abs(dots / double(kUsed) - amount / 2550.0), i});
    }
    std::sort(order.begin(), order.end());
    double bestScore = 1e18;
    size_t best = order.front().second;
    bool bestFalls = false;
    for (size_t n = 0; n < order.size() && n < static_cast<size_t>(kShortlist); ++n) {
      const Candidate& c = candidates[order[n].second];
      const long sum = RowSum(c.error);
      const bool falls = b == 0 || sum < previousSum;
      // Bias-free shares that do not rise keep the bias rows growing with the bucket.
      const double shareRise = std::max(0.0, RowZeroShareOf(c) - previousBiasShare);
      // A mean 100 away from the curve weighs as much as a point of coverage; a mean that has
      // to be lowered to fall below the previous row's costs twice that.
      const double meanGap = std::abs(sum / double(kUsed) - meanTarget[b]);
      const double lowering = falls ? 0 : (sum - previousSum + 1) / double(kUsed);
      const double score = JudgeRows(b, c) + 20 * shareRise + meanGap / 100 + lowering / 50;
      if (score < bestScore) bestScore = score, best = order[n].second, bestFalls = falls;
    }
    Candidate& chosen = candidates[best];
    if (b == 0) MoveMeanTo(b, chosen, kFirstRowMean * kUsed);
    if (!bestFalls) MoveMeanTo(b, chosen, previousSum - 1);
    std::fprintf(stderr, "bucket %3d amount %4d: rows 0..3 within %.2f points, mean %.0f\n", b,
                 amount, JudgeRows(b, chosen), RowSum(chosen.error) / double(kUsed));
    std::copy(chosen.error.begin(), chosen.error.end(), table.error[b].begin());
    std::copy(chosen.bias.begin(), chosen.bias.end(), table.bias[b].begin());
    previousSum = RowSum(chosen.error);
    if (b >= kFirstBiasRow) previousBiasShare = RowZeroShareOf(chosen);
  }

  std::fill(table.error[kLastBucket].begin(), table.error[kLastBucket].begin() + kUsed,
            kLastBucketError);
  std::fill(table.bias[kLastBucket].begin(), table.bias[kLastBucket].begin() + kUsed,
            kLastBucketBias);
  return table;
}

void Emit(const char* name, const std::vector<Row>& rows) {
  std::printf("const int32_t %s[kRestartRows * kRestartColumns] = {\n", name);
  for (size_t b = 0; b < rows.size(); ++b) {
    std::printf("    // bucket %zu\n", b);
    for (int i = 0; i < kRestartColumns; i += 12) {
      std::printf("   ");
      for (int j = i; j < std::min(i + 12, kRestartColumns); ++j) std::printf(" %d,", rows[b][j]);
      std::printf("\n");
    }
  }
  std::printf("};\n");
}

}  // namespace

int main() {
  const Table table = Generate();
  std::printf("// Generated by tools/make/restart_tables_gen; do not edit.\n");
  std::printf("#include \"template/restart_tables.h\"\n\n");
  std::printf("// clang-format off\n");
  Emit("g_restartError", table.error);
  std::printf("\n");
  Emit("g_restartBias", table.bias);
  std::printf("// clang-format on\n");
  return 0;
}
