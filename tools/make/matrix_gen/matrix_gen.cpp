// Writes src/image/threshold_matrices_data.cpp: the 128 x 128 dot matrix of the 2-bit dot
// screens and the 257 x 257 matrix of the two-level matrix screen, both void-and-cluster blue
// noise with their value counts and first entries fixed. Deterministic; a summary of the pin
// placement and of the spectra goes to stderr.
//
//   matrix_gen [--spectra] > src/image/threshold_matrices_data.cpp
//
// --spectra also reports the low-frequency power of a few grey levels with and without the
// pinned entries (slower: the unpinned matrices are generated again).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bluenoise/void_and_cluster.h"
#include "pinned_thresholds.h"

namespace {

constexpr int kDotSide = 128;
constexpr int kMatrixSide = 257;
constexpr uint32_t kDotSeed = 128;
constexpr uint32_t kMatrixSeed = 257;

// 16384 = 255 x 64 + 64 pixels over the thresholds 0..254: value 0 and 63 more, spread evenly
// over the range, occur 65 times, the others 64 times.
std::vector<ValueCount> DotMatrixCounts() {
  std::vector<ValueCount> counts;
  for (int32_t v = 0; v <= 254; ++v) counts.push_back({v, 64});
  for (int k = 0; k < 64; ++k) counts[(k * 255 + 32) / 64].count = 65;
  return counts;
}

// 66049 = 255 x 259 + 4 pixels over 1..255: 1, 85, 170 and 255 occur 260 times.
std::vector<ValueCount> ThresholdMatrixCounts() {
  std::vector<ValueCount> counts;
  for (int32_t v = 1; v <= 255; ++v)
    counts.push_back({v, v == 1 || v == 85 || v == 170 || v == 255 ? 260 : 259});
  return counts;
}

std::vector<PinnedEntry> RowStarts(const std::vector<std::vector<int32_t>>& rows) {
  std::vector<PinnedEntry> pins;
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      pins.push_back({static_cast<int>(x), static_cast<int>(y), rows[y][x]});
  return pins;
}

bool HasCountsAndPins(const std::vector<int32_t>& m, int side,
                      const std::vector<ValueCount>& counts, const std::vector<PinnedEntry>& pins) {
  if (m.size() != static_cast<size_t>(side) * side) return false;
  std::map<int32_t, int64_t> seen;
  for (int32_t v : m) ++seen[v];
  for (const ValueCount& c : counts)
    if (seen[c.value] != c.count) return false;
  for (const PinnedEntry& p : pins)
    if (m[p.y * side + p.x] != p.threshold) return false;
  return true;
}

// Pin placement, and with `withSpectra` the low-frequency power of a few levels beside the
// same matrix without pins.
void Report(const char* name, const std::vector<int32_t>& m, int side, uint32_t seed,
            const std::vector<ValueCount>& counts, const PinReport& r,
            const std::vector<int32_t>& levels, bool withSpectra) {
  std::fprintf(stderr,
               "%s: symmetry %d, shift (%d, %d); %d pins exchanged, mean distance %.2f px, "
               "%d levels crossed\n",
               name, r.symmetry, r.shiftX, r.shiftY, r.exchanges, r.meanDistance, r.levelsCrossed);
  if (!withSpectra) return;
  const auto unpinned = RanksToThresholds(VoidAndClusterRanks(side, side, seed), counts);
  for (int32_t level : levels)
    std::fprintf(stderr, "  level %3d: low-frequency power %.4f of white (%.4f without pins)\n",
                 level, LowFrequencyShare(m, side, level, 0.5),
                 LowFrequencyShare(unpinned, side, level, 0.5));
}

void EmitMatrix(const char* name, const std::vector<int32_t>& m, int side) {
  std::printf("const int32_t %s[%d * %d] = {\n", name, side, side);
  for (int y = 0; y < side; ++y) {
    std::string line = "   ";
    for (int x = 0; x < side; ++x) {
      const std::string entry = " " + std::to_string(m[y * side + x]) + ",";
      if (line.size() + entry.size() > 100) {
        std::printf("%s\n", line.c_str());
        line = "   ";
      }
      line += entry;
    }
    std::printf("%s\n", line.c_str());
  }
  std::printf("};\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool withSpectra = argc > 1 && std::string(argv[1]) == "--spectra";
  const auto dotCounts = DotMatrixCounts();
  const auto dotPins = RowStarts({{168, 8, 51, 92, 130, 57, 114, 87}, {242, 114, 188, 219}});
  PinReport dotReport;
  const auto dot = PinnedBlueNoiseThresholds(kDotSide, kDotSeed, dotCounts, dotPins, &dotReport);

  const auto matrixCounts = ThresholdMatrixCounts();
  const auto matrixPins = RowStarts({{123, 81, 195, 251, 107, 1, 147, 205}});
  PinReport matrixReport;
  const auto matrix =
      PinnedBlueNoiseThresholds(kMatrixSide, kMatrixSeed, matrixCounts, matrixPins, &matrixReport);

  if (!HasCountsAndPins(dot, kDotSide, dotCounts, dotPins) ||
      !HasCountsAndPins(matrix, kMatrixSide, matrixCounts, matrixPins)) {
    std::fprintf(stderr, "matrix_gen: the matrices miss their counts or pinned entries\n");
    return 1;
  }
  Report("g_dotMatrix128", dot, kDotSide, kDotSeed, dotCounts, dotReport,
         {0, 3, 15, 63, 127, 191, 239, 251, 253}, withSpectra);
  Report("g_thresholdMatrix257", matrix, kMatrixSide, kMatrixSeed, matrixCounts, matrixReport,
         {1, 4, 16, 64, 128, 192, 240, 252, 254}, withSpectra);

  std::printf("// Generated by tools/make/matrix_gen; do not edit.\n");
  std::printf("#include \"image/threshold_matrices.h\"\n\n");
  EmitMatrix("g_dotMatrix128", dot, kDotSide);
  std::printf("\n");
  EmitMatrix("g_thresholdMatrix257", matrix, kMatrixSide);
  return 0;
}
