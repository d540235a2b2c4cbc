// Generates the restart tables of the template diffusion.
//
// A restarted column should start in the state that a long-running diffusion at its amount
// would hold, so that a template shows no start-up band at its top edge and an image shows no
// tone shift where a column's amount jumps. For every amount bucket this program runs the
// library's own diffusion step on a wide uniform area for many rows, records the error and
// bias that each pixel holds at the moment it is processed (a restart replaces exactly that
// state), and keeps one steady-state row of 255 such snapshots as the bucket's table row.
//
// The recorded rows are then fitted to the tables' fixed properties: the pinned entries of the
// telling rows and their ranges, negative errors apart from six small positive ones, the
// smallest error, row means falling with the bucket, the bias value set and its zero rows,
// and the fixed last bucket. Deterministic: the same program always writes the same file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <numeric>
#include <vector>

#include "template/diffusion_step.h"
#include "template/restart_tables.h"

namespace {

constexpr int kUsed = kRestartCycle;  // entries 0..254 of a row are read
constexpr int kSimWidth = 1024;
constexpr int kSimRows = 640;
constexpr int kFirstSampleRow = 320;
constexpr int kSmallestError = -4223;
constexpr int kLastBucket = 261;
constexpr int kLastBucketError = -2700;
constexpr int kLastBucketBias = 1683;
constexpr int kFirstBiasRow = 57;  // amounts above 500 read the bias table
constexpr int kFullBiasRow = 221;  // from here on every bias entry is non-zero
constexpr int kBiasFill = 969;     // the bias of a dot in the row above

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
// The six positive errors, placed in the lightest buckets where the state runs closest to 0.
const int kPositiveErrors[] = {25, 88, 90, 98, 114, 131};
const int kPositiveRows[] = {1, 2, 3, 4, 5, 6};

int RepresentativeAmount(int bucket) {
  return bucket <= 7 ? bucket + 3 : 10 * (bucket - 8) + 15;
}

// Snapshots of one bucket: every sampled even row's 255 (error, bias) pairs as processed.
struct Snapshots {
  std::vector<Row> error, bias;
  double meanError = 0;
};

Snapshots Simulate(int amount, const TemplateTables& startTables) {
  TemplateDiffusion diffusion(kSimWidth, startTables);
  std::vector<uint8_t> dots(kSimWidth);
  Snapshots shots;
  Row err(kUsed), bias(kUsed);
  double sum = 0;
  long count = 0;
  for (int y = 0; y < kSimRows; ++y) {
    const bool sample = y >= kFirstSampleRow && (y % 2) == 0;
    diffusion.DiffuseRow(
        y, TemplateDiffusion::UniformAmount{amount}, dots.data(),
        [&](int x, int32_t e, int32_t b) {
          if (sample && x < kUsed) {
            err[x] = e;
            bias[x] = b;
          }
        });
    if (sample) {
      shots.error.push_back(err);
      shots.bias.push_back(bias);
      for (int v : err) sum += v;
      count += kUsed;
    }
  }
  shots.meanError = sum / count;
  return shots;
}

// Decreasing isotonic fit (pool adjacent violators), then a strict fall of at least `step`.
std::vector<double> FallingFit(const std::vector<double>& values, double step) {
  std::vector<double> level;
  std::vector<int> width;
  for (double v : values) {
    level.push_back(v);
    width.push_back(1);
    while (level.size() > 1 && level[level.size() - 2] < level.back()) {
      const double merged =
          (level[level.size() - 2] * width[width.size() - 2] + level.back() * width.back()) /
          (width[width.size() - 2] + width.back());
      width[width.size() - 2] += width.back();
      level[level.size() - 2] = merged;
      level.pop_back();
      width.pop_back();
    }
  }
  std::vector<double> fit;
  for (size_t i = 0; i < level.size(); ++i) fit.insert(fit.end(), width[i], level[i]);
  for (size_t i = 1; i < fit.size(); ++i) fit[i] = std::min(fit[i], fit[i - 1] - step);
  return fit;
}

long RowSum(const Row& row) {
  return std::accumulate(row.begin(), row.begin() + kUsed, 0L);
}

// Shift the adjustable entries of a row so that it sums to `target`, keeping every entry
// within [lo, hi]; entries listed in `fixed` keep their values.
void ShiftRowTo(Row& row, long target, const std::vector<bool>& fixed, int lo, int hi) {
  for (int pass = 0; pass < 8; ++pass) {
    long delta = target - RowSum(row);
    if (delta == 0) return;
    std::vector<int> free;
    for (int i = 0; i < kUsed; ++i)
      if (!fixed[i] && ((delta > 0 && row[i] < hi) || (delta < 0 && row[i] > lo)))
        free.push_back(i);
    if (free.empty()) return;
    const long n = static_cast<long>(free.size());
    const long each = delta / n, extra = delta % n;
    for (long k = 0; k < n; ++k) {
      const int i = free[k];
      const long v = row[i] + each + (k < std::abs(extra) ? (extra > 0 ? 1 : -1) : 0);
      row[i] = static_cast<int32_t>(std::clamp<long>(v, lo, hi));
    }
  }
}

// Fit one error row: pinned entries and the `special` ones stay, the rest is clamped into the
// row's range (both ends of a stated range made to occur) and shifted to the target sum.
void FitErrorRow(int bucket, Row& row, long targetSum, const std::vector<int>& special) {
  std::vector<bool> fixed(kUsed, false);
  for (int i : special) fixed[i] = true;
  auto pin = kPinnedError.find(bucket);
  if (pin != kPinnedError.end())
    for (size_t i = 0; i < pin->second.size(); ++i) fixed[i] = true;
  int lo = kSmallestError, hi = -1;
  auto range = kErrorRange.find(bucket);
  if (range != kErrorRange.end()) std::tie(lo, hi) = range->second;
  for (int i = 0; i < kUsed; ++i)
    if (!fixed[i]) row[i] = std::clamp(row[i], lo, hi);
  if (range != kErrorRange.end()) {
    // Both ends of the stated range occur in the row.
    for (int end : {lo, hi}) {
      const auto found = std::find(row.begin(), row.begin() + kUsed, end);
      if (found != row.begin() + kUsed) {
        fixed[found - row.begin()] = true;
        continue;
      }
      int best = -1;
      for (int i = 0; i < kUsed; ++i)
        if (!fixed[i] && (best < 0 || std::abs(row[i] - end) < std::abs(row[best] - end))) best = i;
      row[best] = end;
      fixed[best] = true;
    }
  }
  ShiftRowTo(row, targetSum, fixed, lo, hi);
}

void FitBiasRow(int bucket, Row& row) {
  if (bucket < kFirstBiasRow) {
    std::fill(row.begin(), row.end(), 0);
    return;
  }
  if (bucket >= kFullBiasRow)
    for (int i = 0; i < kUsed; ++i)
      if (row[i] == 0) row[i] = kBiasFill;
  auto pin = kPinnedBias.find(bucket);
  if (pin != kPinnedBias.end()) std::copy(pin->second.begin(), pin->second.end(), row.begin());
}

Table Generate() {
  Table table;
  // Start the simulations from a restart state of zero: the first rows are a transient that
  // the sampling skips.
  static const int32_t zeros[kRestartRows * kRestartColumns] = {};
  const TemplateTables start = {zeros, zeros, g_restartFlag, g_lightResetError, g_lightDotSpacing};

  std::vector<Snapshots> shots;
  std::vector<double> means;
  for (int b = 0; b < kLastBucket; ++b) {
    shots.push_back(Simulate(RepresentativeAmount(b), start));
    means.push_back(shots.back().meanError);
  }
  const std::vector<double> target = FallingFit(means, 1.0);
  for (int b : {0, 1, 8, 32, 57, 100, 133, 200, 210, 221, 250, 260})
    std::fprintf(stderr, "bucket %d: natural mean %.1f fitted %.1f\n", b, means[b], target[b]);

  for (int b = 0; b < kLastBucket; ++b) {
    // The steady-state row whose mean lies closest to the bucket's fitted mean.
    const Snapshots& s = shots[b];
    size_t best = 0;
    double bestGap = 1e18;
    for (size_t r = 0; r < s.error.size(); ++r) {
      const double gap = std::abs(RowSum(s.error[r]) / double(kUsed) - target[b]);
      if (gap < bestGap) bestGap = gap, best = r;
    }
    std::copy(s.error[best].begin(), s.error[best].end(), table.error[b].begin());
    std::copy(s.bias[best].begin(), s.bias[best].end(), table.bias[b].begin());
    auto pin = kPinnedError.find(b);
    if (pin != kPinnedError.end())
      std::copy(pin->second.begin(), pin->second.end(), table.error[b].begin());
    FitBiasRow(b, table.bias[b]);
  }

  // The six small positive errors sit where the lightest buckets run closest to 0, and the
  // single smallest error where the darkest buckets run lowest; both stay through the fit.
  std::map<int, std::vector<int>> special;
  for (int k = 0; k < 6; ++k) {
    Row& row = table.error[kPositiveRows[k]];
    const auto top = std::max_element(row.begin() + 16, row.begin() + kUsed);
    *top = kPositiveErrors[k];
    special[kPositiveRows[k]].push_back(static_cast<int>(top - row.begin()));
  }
  {
    int bestRow = kFullBiasRow, bestCol = 16;
    for (int b = kFullBiasRow; b < kLastBucket; ++b)
      for (int i = 16; i < kUsed; ++i)
        if (table.error[b][i] < table.error[bestRow][bestCol]) bestRow = b, bestCol = i;
    table.error[bestRow][bestCol] = kSmallestError;
    special[bestRow].push_back(bestCol);
  }

  // Means fall strictly with the bucket (as integer row sums).
  long previous = 0;
  for (int b = 0; b < kLastBucket; ++b) {
    long sum = static_cast<long>(target[b] * kUsed);
    if (b > 0) sum = std::min(sum, previous - 1);
    FitErrorRow(b, table.error[b], sum, special[b]);
    previous = RowSum(table.error[b]);
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
  std::printf("// Generated by tools/restart_tables_gen; do not edit.\n");
  std::printf("#include \"template/restart_tables.h\"\n\n");
  std::printf("// clang-format off\n");
  Emit("g_restartError", table.error);
  std::printf("\n");
  Emit("g_restartBias", table.bias);
  std::printf("// clang-format on\n");
  return 0;
}
