// Constant tables of the template diffusion: the state a restarted column starts from (error,
// bias, damping mark) per amount bucket and restart counter, and the two tables of the
// lightest amounts. The restart tables are made by tools/make/restart_tables_gen.
#ifndef KORVEL_TEMPLATE_RESTART_TABLES_H
#define KORVEL_TEMPLATE_RESTART_TABLES_H

#include <cstdint>

constexpr int kRestartRows = 266;     // stored rows; buckets 0..261 are read
constexpr int kRestartBuckets = 262;  // amounts 3..2549
constexpr int kRestartColumns = 256;  // stored entries per row
constexpr int kRestartCycle = 255;    // the restart counter runs 0..254

extern const int32_t g_restartError[kRestartRows * kRestartColumns];
extern const int32_t g_restartBias[kRestartRows * kRestartColumns];
extern const uint8_t g_restartFlag[kRestartColumns];
extern const int32_t g_lightResetError[256];
extern const int32_t g_lightDotSpacing[256];

// The tables one diffusion reads; the library passes its own, the table generator trial ones.
struct TemplateTables {
  const int32_t* restartError;
  const int32_t* restartBias;
  const uint8_t* restartFlag;
  const int32_t* lightResetError;
  const int32_t* lightDotSpacing;
};

const TemplateTables& BuiltInTemplateTables();

#endif
