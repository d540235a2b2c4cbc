// The screens of the image path, one row at a time: the error-diffusion screen, the template
// diffusion, the three 2-bit dot screens and the 257 matrix screen. Each carries from row to
// row exactly what its whole-raster form carries (the diffusion state, the matrix row), so rows
// fed top to bottom, in any number of calls, give the rows of one screen of the whole raster.
// The halftone engine and the row streams of the image calls both screen through these.
#ifndef KORVEL_IMAGE_ROW_SCREENS_H
#define KORVEL_IMAGE_ROW_SCREENS_H

#include <memory>

#include "core/screening_state.h"

class RowScreen {
 public:
  virtual ~RowScreen() = default;

  // Screen the next row of width grey levels (255 white) into dot levels (0 large or only dot,
  // 85 medium, 170 small, 255 none). Both rows are (width + 3) & ~3 bytes; the output's row
  // padding may be written.
  virtual void ScreenRow(const unsigned char* in, unsigned char* out) = 0;

  // Whether the screen is a 2-bit dot screen, which leaves the host's OpenMP thread count at 2
  // whenever it screens.
  virtual bool SetsHostThreads() const { return false; }
};

// The screen the halftone engine runs for a template type on rows of `width` pixels: the
// template diffusion when the state asks for it, otherwise the type's dot or matrix screen, or
// the error-diffusion screen. It reads the state's tone curve or level table now, and seeds the
// state's generator as the template diffusion always has.
std::unique_ptr<RowScreen> MakeRowScreen(const ScreeningState& state, int templateType, int width);

// The 2-bit dot screen of a template type on rows of `width` pixels, from matrix row 0; null
// for a type without one.
std::unique_ptr<RowScreen> MakeDotRowScreen(int templateType, int width);

#endif
