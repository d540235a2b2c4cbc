// The process-wide screening state behind the exported functions: zero at load; written by
// KORVEL_Init, the mask load and the image calls' tone-curve set-up, without synchronisation
// (one writer at a time, as the exported calls require of their host). The g_ names are the
// fields of that one instance.
#ifndef KORVEL_INTERFACE_GLOBALS_H
#define KORVEL_INTERFACE_GLOBALS_H

#include <cstdint>

#include "core/screening_state.h"

extern ScreeningState g_defaultState;

extern int32_t& g_qualityLevel;
extern int32_t (&g_levelAmount)[kLevelCount];
extern int32_t (&g_toneCurve)[kToneCurveSize];
extern bool& g_useTemplateDiffusion;

// Bucket of a quality level as KORVEL_Init stores it.
int32_t BucketQualityLevel(int level);

#endif
