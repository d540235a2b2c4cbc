#include "maskmaker/mask_maker.h"

#include <korvel/korvel.h>

#include <cmath>
#include <cstdio>

#include "bluenoise/void_and_cluster.h"

namespace {

constexpr int32_t kTopLevel = 254;  // normalised thresholds run 0..254

// The library's normalisation of a raw threshold, in the same double-precision steps.
int64_t LoadedLevel(int64_t raw, int32_t maxThreshold) {
  return static_cast<int64_t>(std::trunc(static_cast<double>(raw) / maxThreshold * kTopLevel));
}

// Smallest raw value 0..M that loads at level or above (M itself when none does).
int32_t RawForLevel(int32_t level, int32_t maxThreshold) {
  int64_t raw = (static_cast<int64_t>(level) * maxThreshold + kTopLevel - 1) / kTopLevel;
  while (raw < maxThreshold && LoadedLevel(raw, maxThreshold) < level) ++raw;
  while (raw > 0 && LoadedLevel(raw - 1, maxThreshold) >= level) --raw;
  return static_cast<int32_t>(raw);
}

bool Acceptable(const MaskMakerOptions& o) {
  if (o.planes < 1 || o.width < 1 || o.height < 1 || o.maxThreshold < 1) return false;
  if (!(o.sigma > 0.0) || !std::isfinite(o.sigma)) return false;
  const int64_t planePixels = static_cast<int64_t>(o.width) * o.height;
  if (planePixels > kMaxMaskMakerPlanePixels) return false;
  return 4 * planePixels * o.planes <= kMaxMaskMakerThresholdBytes;
}

void AppendLittleEndian(std::vector<uint8_t>& bytes, int32_t value) {
  const uint32_t word = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(word >> shift));
}

}  // namespace

std::vector<int32_t> BlueNoiseRawThresholds(int width, int height, int32_t maxThreshold,
                                            uint32_t seed, double sigma) {
  MaskMakerOptions options;
  options.width = width;
  options.height = height;
  options.maxThreshold = maxThreshold;
  options.sigma = sigma;
  if (!Acceptable(options)) return {};
  const std::vector<int32_t> ranks = VoidAndClusterRanks(width, height, seed, sigma);
  std::vector<int32_t> thresholds =
      RanksToThresholds(ranks, EvenValueCounts(0, kTopLevel, static_cast<int64_t>(ranks.size())));
  int32_t rawOfLevel[kTopLevel + 1];
  for (int32_t level = 0; level <= kTopLevel; ++level) {
    rawOfLevel[level] = RawForLevel(level, maxThreshold);
  }
  for (int32_t& t : thresholds) t = rawOfLevel[t];
  return thresholds;
}

std::vector<uint8_t> MakeStoredMask(const MaskMakerOptions& options) {
  if (!Acceptable(options)) return {};
  std::vector<uint8_t> stored;
  stored.reserve(20 + 4 * static_cast<size_t>(options.planes) * options.width * options.height);
  for (int32_t word :
       {options.tag, options.planes, options.height, options.width, options.maxThreshold}) {
    AppendLittleEndian(stored, word);
  }
  for (int p = 0; p < options.planes; ++p) {
    const uint32_t seed = options.seed + static_cast<uint32_t>(p);
    for (int32_t t : BlueNoiseRawThresholds(options.width, options.height, options.maxThreshold,
                                            seed, options.sigma)) {
      AppendLittleEndian(stored, t);
    }
  }
  IBufferProc* proc = BufferProc_Create();
  if (proc == nullptr) return {};
  proc->Encode(stored.data(), static_cast<unsigned int>(stored.size()));
  BufferProc_Delete(proc);
  return stored;
}

bool WriteStoredMask(const MaskMakerOptions& options, const std::string& path) {
  const std::vector<uint8_t> stored = MakeStoredMask(options);
  if (stored.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(stored.data(), 1, stored.size(), file) == stored.size();
  return std::fclose(file) == 0 && written;
}
