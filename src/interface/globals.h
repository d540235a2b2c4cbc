// Process-wide state of the library: the bucketed quality level and the level-to-amount table
// that every template generator reads. Zero at load; written by KORVEL_Init, the mask load and
// the tone-curve set-up, without synchronisation (one writer at a time, by contract).
#ifndef KORVEL_INTERFACE_GLOBALS_H
#define KORVEL_INTERFACE_GLOBALS_H

#include <cstdint>

constexpr int kLevelCount = 256;   // level indices 0..255
constexpr int kFullAmount = 2550;  // ink amount of a dot at every pixel

extern int32_t g_qualityLevel;
extern int32_t g_levelAmount[kLevelCount];
extern const int32_t g_defaultLevelAmount[kLevelCount];

// Bucket of a quality level as KORVEL_Init stores it.
int32_t BucketQualityLevel(int level);

// Copy the linear default into g_levelAmount (KORVEL_Init and the mask load).
void ResetLevelAmount();

#endif
