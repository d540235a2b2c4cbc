#include <algorithm>

#include "bluenoise/void_and_cluster.h"

std::vector<int32_t> RanksToThresholds(const std::vector<int32_t>& ranks,
                                       const std::vector<ValueCount>& valuesWithCounts) {
  const int64_t pixels = static_cast<int64_t>(ranks.size());
  std::vector<int32_t> valueOfRank;
  valueOfRank.reserve(pixels);
  for (const ValueCount& entry : valuesWithCounts) {
    if (entry.count < 0 || entry.count > pixels - static_cast<int64_t>(valueOfRank.size())) {
      return {};
    }
    valueOfRank.insert(valueOfRank.end(), static_cast<size_t>(entry.count), entry.value);
  }
  if (static_cast<int64_t>(valueOfRank.size()) != pixels) return {};

  std::vector<uint8_t> seen(pixels, 0);
  std::vector<int32_t> thresholds(pixels);
  for (int64_t i = 0; i < pixels; ++i) {
    const int32_t rank = ranks[i];
    if (rank < 0 || rank >= pixels || seen[rank]) return {};
    seen[rank] = 1;
    thresholds[i] = valueOfRank[rank];
  }
  return thresholds;
}

std::vector<ValueCount> EvenValueCounts(int32_t first, int32_t last, int64_t total) {
  if (last < first || total < 0) return {};
  const int64_t k = static_cast<int64_t>(last) - first + 1;
  std::vector<ValueCount> counts;
  counts.reserve(k);
  for (int64_t j = 0; j < k; ++j) {
    // total * (j + 1) fits: total is a pixel count and k at most 2^32.
    const int64_t upTo = static_cast<int64_t>((static_cast<__int128>(total) * (j + 1)) / k);
    const int64_t below = static_cast<int64_t>((static_cast<__int128>(total) * j) / k);
    counts.push_back({static_cast<int32_t>(first + j), upTo - below});
  }
  return counts;
}

std::vector<double> DotsOfRankBelow(const std::vector<int32_t>& ranks, int64_t count) {
  std::vector<double> dots(ranks.size());
  for (size_t i = 0; i < ranks.size(); ++i) dots[i] = ranks[i] < count ? 1.0 : 0.0;
  return dots;
}
