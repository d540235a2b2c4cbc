// Stored (encoded) masks for the mask tests, and mask objects owned through the factories.
#ifndef KORVEL_TESTS_MASK_STORED_MASK_H
#define KORVEL_TESTS_MASK_STORED_MASK_H

#include <korvel/korvel.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace test {

// Little-endian words (tag, P, H, W, M, thresholds...) encoded through a buffer processor.
inline std::vector<uint8_t> StoredMask(const std::vector<int32_t>& words) {
  std::vector<uint8_t> bytes;
  for (int32_t word : words)
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(word) >> shift));
  IBufferProc* proc = BufferProc_Create();
  proc->Encode(bytes.data(), static_cast<unsigned int>(bytes.size()));
  BufferProc_Delete(proc);
  return bytes;
}

// A mask of P planes of H x W raw thresholds (plane by plane, row by row) with maximum M.
inline std::vector<uint8_t> StoredMask(int planes, int height, int width, int32_t maxThreshold,
                                       const std::vector<int32_t>& thresholds) {
  std::vector<int32_t> words = {1, planes, height, width, maxThreshold};
  words.insert(words.end(), thresholds.begin(), thresholds.end());
  return StoredMask(words);
}

using MaskGeneratorPtr = std::unique_ptr<IDitherMaskGenerator, void (*)(IDitherMaskGenerator*)>;

inline MaskGeneratorPtr NewMaskGenerator() {
  return MaskGeneratorPtr(DitherMaskGenerator_Create(), DitherMaskGenerator_Delete);
}

}  // namespace test

#endif
