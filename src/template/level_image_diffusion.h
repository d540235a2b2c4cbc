// The template diffusion of an 8-bit image whose bytes select level indices of a state's level
// table, one row at a time: the rows of every image-driven template path (the 8-bit image
// variant, the 4-bit image path and the row streams of the image screens).
#ifndef KORVEL_TEMPLATE_LEVEL_IMAGE_DIFFUSION_H
#define KORVEL_TEMPLATE_LEVEL_IMAGE_DIFFUSION_H

#include <cstdint>

#include "core/screening_state.h"
#include "template/diffusion_step.h"

class LevelImageDiffusion {
 public:
  // Rows of `width` pixels; each byte selects a level index, the byte itself or 255 minus it
  // when invertGrey is set (grey images, where 255 is paper white). The level table is copied:
  // later changes to the state do not reach the rows.
  LevelImageDiffusion(const ScreeningState& state, int width, bool invertGrey);

  // Decide the dots of the next row (rows top to bottom): dots[x] = 1 for a dot, else 0, for
  // x < width.
  void NextRow(const unsigned char* row, uint8_t* dots) {
    diffusion_.DiffuseRow(
        nextRow_++, TemplateDiffusion::ImageRowAmount{row, table_, flip_, leavesFullScale_}, dots);
  }

 private:
  int32_t table_[kLevelCount];
  bool leavesFullScale_ = false;
  int flip_;
  int nextRow_ = 0;
  TemplateDiffusion diffusion_;
};

#endif
