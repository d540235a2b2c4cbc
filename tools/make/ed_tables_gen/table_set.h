// A complete, owned set of screen tables that the generator fills and runs the screen with.
#ifndef KORVEL_TOOLS_ED_TABLES_GEN_TABLE_SET_H
#define KORVEL_TOOLS_ED_TABLES_GEN_TABLE_SET_H

#include <array>
#include <cstdint>
#include <vector>

#include "image/error_diffusion_tables.h"

using RestartRow = std::array<int32_t, kImgRestartCycle>;
static_assert(sizeof(RestartRow) == sizeof(int32_t[kImgRestartCycle]), "rows are packed");

struct TableSet {
  std::vector<RestartRow> restartError = std::vector<RestartRow>(kImgBucketCount, RestartRow{});
  std::vector<RestartRow> restartBias = std::vector<RestartRow>(kImgBucketCount, RestartRow{});
  std::vector<int32_t> dotBias;
  std::vector<int32_t> aheadWeightCycle;
  std::vector<int32_t> belowWeightCycle;
  std::vector<int32_t> lightWeightA = std::vector<int32_t>(kImgTargetCount);
  std::vector<int32_t> lightWeightB = std::vector<int32_t>(kImgTargetCount);
  std::vector<int32_t> lightDotSpacing = std::vector<int32_t>(kImgLightTableSize);
  std::vector<int32_t> lightResetError = std::vector<int32_t>(kImgLightTableSize);

  // The screen's view of this set; valid while the set lives and is not resized.
  ErrorDiffusionTables View() const {
    return {reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(restartError.data()),
            reinterpret_cast<const int32_t(*)[kImgRestartCycle]>(restartBias.data()),
            dotBias.data(),
            aheadWeightCycle.data(),
            belowWeightCycle.data(),
            lightWeightA.data(),
            lightWeightB.data(),
            lightDotSpacing.data(),
            lightResetError.data()};
  }
};

#endif
