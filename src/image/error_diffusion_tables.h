// Constant tables of the image error-diffusion screen.
//
// The restart tables hold, per target bucket, 256 states (error and bias) that a pixel holds
// on a long flat run of that target, in scan order, so that a restart drops the diffusion into
// its steady state instead of an empty one. They, the dot-bias cycle and the weight cycles are
// produced by tools/make/ed_tables_gen; the light tables are closed forms.
#ifndef KORVEL_IMAGE_ERROR_DIFFUSION_TABLES_H
#define KORVEL_IMAGE_ERROR_DIFFUSION_TABLES_H

#include <cstdint>

constexpr int kImgTargetCount = 2551;    // targets 0..2550
constexpr int kImgBucketCount = 265;     // target buckets 0..264
constexpr int kImgRestartCycle = 256;    // restart states per bucket
constexpr int kImgDotBiasCycle = 100;    // entries of the dot-bias cycle
constexpr int kImgWeightCycle = 256;     // entries of the weight cycles
constexpr int kImgLightTableSize = 256;  // light spacing / reset tables, entries 3..22 used
constexpr int kImgSplitWeightSum = 816;  // ahead + below per mille for targets above 150

extern const int32_t g_imgRestartError[kImgBucketCount][kImgRestartCycle];
extern const int32_t g_imgRestartBias[kImgBucketCount][kImgRestartCycle];
extern const int32_t g_imgDotBias[kImgDotBiasCycle];
extern const int32_t g_imgAheadWeightCycle[kImgWeightCycle];
extern const int32_t g_imgBelowWeightCycle[kImgWeightCycle];
extern const int32_t g_imgLightWeightA[kImgTargetCount];
extern const int32_t g_imgLightWeightB[kImgTargetCount];
extern const int32_t g_imgLightDotSpacing[kImgLightTableSize];
extern const int32_t g_imgLightResetError[kImgLightTableSize];

// Closed forms of the light tables (the generator writes the tables from these).
// Light weights: constant up to target 30, falling linearly (rounded up) to target 150 and
// constant from there on.
constexpr int32_t ImgLightWeight(int target, int32_t atStart, int32_t drop) {
  return target <= 30    ? atStart
         : target >= 150 ? atStart - drop
                         : atStart - (drop * (target - 30) + 119) / 120;
}
constexpr int32_t ImgLightWeightA(int target) {
  return ImgLightWeight(target, 440, 69);
}
constexpr int32_t ImgLightWeightB(int target) {
  return ImgLightWeight(target, 560, 115);
}

// After a dot at a light target (3..22), the pixel this many steps on gets its error reset.
constexpr int32_t ImgLightDotSpacing(int target) {
  constexpr int32_t kSpacing[20] = {15, 13, 11, 10, 10, 9, 8, 8, 8, 7,
                                    7,  7,  7,  6,  6,  6, 6, 6, 6, 5};
  return target >= 3 && target <= 22 ? kSpacing[target - 3] : 0;
}
constexpr int32_t ImgLightResetError(int target) {
  return target < 3 || target > 22 ? 0 : target <= 11 ? 1600 : target <= 21 ? 1500 : 1400;
}

// Bucket of a target 0..2550: the target itself below 10, otherwise target / 10 + 9.
struct ImgBucketTable {
  uint16_t bucket[kImgTargetCount];
  constexpr ImgBucketTable() : bucket() {
    for (int t = 0; t < kImgTargetCount; ++t) bucket[t] = t < 10 ? t : t / 10 + 9;
  }
};
inline constexpr ImgBucketTable kImgBucketOfTarget{};
inline int ImgTargetBucket(int target) {
  return kImgBucketOfTarget.bucket[target];
}

// The tables one screen run reads. The library uses the built-in set; the table generator
// runs the same screen with trial sets.
struct ErrorDiffusionTables {
  const int32_t (*restartError)[kImgRestartCycle];
  const int32_t (*restartBias)[kImgRestartCycle];
  const int32_t* dotBias;
  const int32_t* aheadWeightCycle;
  const int32_t* belowWeightCycle;
  const int32_t* lightWeightA;
  const int32_t* lightWeightB;
  const int32_t* lightDotSpacing;
  const int32_t* lightResetError;
};

const ErrorDiffusionTables& BuiltInErrorDiffusionTables();

#endif
