// The template diffusion of an 8-bit image whose bytes select level indices of a state's level
// table: the amounts of its rows, and the diffusion one row at a time for the row streams of
// the image screens.
#ifndef KORVEL_TEMPLATE_LEVEL_IMAGE_DIFFUSION_H
#define KORVEL_TEMPLATE_LEVEL_IMAGE_DIFFUSION_H

#include <cstdint>

#include "core/screening_state.h"
#include "template/diffusion_step.h"

// A copy of the state's level table, read once: later changes to the state do not reach it.
// Each byte of a row selects a level index, the byte itself or 255 minus it when invertGrey is
// set (grey images, where 255 is paper white).
class LevelTable {
 public:
  LevelTable(const ScreeningState& state, bool invertGrey);

  TemplateDiffusion::ImageRowAmount AmountsOf(const unsigned char* row) const {
    return TemplateDiffusion::ImageRowAmount{row, amount_, flip_, leavesFullScale_};
  }

 private:
  int32_t amount_[kLevelCount];
  bool leavesFullScale_ = false;  // some entry lies outside 0..2550 (a tone curve can put it there)
  int flip_;
};

// The rows of DiffuseLevelImage one at a time, before packing.
class LevelImageDiffusion {
 public:
  LevelImageDiffusion(const ScreeningState& state, int width, bool invertGrey)
      : table_(state, invertGrey), diffusion_(width) {}

  // Decide the dots of the next row (rows top to bottom): dots[x] = 1 for a dot, else 0, for
  // x < width.
  void NextRow(const unsigned char* row, uint8_t* dots) {
    diffusion_.DiffuseRow(nextRow_++, table_.AmountsOf(row), dots);
  }

 private:
  LevelTable table_;
  TemplateDiffusion diffusion_;
  int nextRow_ = 0;
};

#endif
