// The caller's image screened by the error-diffusion screen into 1 bit per pixel one row at a
// time: the image arrives row by row from the top and each row's packed output leaves at once.
// Only the rows in flight are held (two packed rows of cells and one widened row), never the
// image.
#ifndef KORVEL_IMAGE_IMAGE_ROW_STREAM_H
#define KORVEL_IMAGE_IMAGE_ROW_STREAM_H

#include <cstdint>
#include <vector>

#include "image/cell_grid.h"
#include "image/error_diffusion_kernel.h"

class OneBitImageStream {
 public:
  // A width x height image on cells of (factor * cellWidth) x (factor * cellHeight) pixels,
  // screened at the targets of toneCurve (copied). Needs the sizes RunHalftoneEngine needs.
  OneBitImageStream(const int32_t* toneCurve, int width, int height, int factor, int cellWidth,
                    int cellHeight);

  // Take the next image row (width grey pixels) and write its packed output row
  // (((width + 31) >> 3) & ~3 bytes, bits past the width 0). The rows together equal the
  // engine's screen of the whole image, packed. Needs RowsLeft() > 0.
  void NextRow(const unsigned char* imageRow, unsigned char* outputRow);

  int RowsLeft() const { return height_ - nextRow_; }

 private:
  // Screen the next cell row from the image row it samples and pack it into `packed`.
  void ScreenCellRow(const unsigned char* imageRow, unsigned char* packed);

  int width_;
  int height_;
  CellGrid grid_;
  CellSampling sampling_;
  ImageErrorDiffusion diffusion_;
  size_t outputStride_;
  std::vector<unsigned char> padded_;    // one widened row of reduced pixels
  std::vector<unsigned char> screened_;  // its screened levels
  std::vector<unsigned char> enlarged_;  // the levels expanded to width, for cells wider than 1
  // Packed output of the last two cell rows screened, by cell row parity: a cell row is screened
  // when the image row it samples arrives, which may be before the rows of the one above are
  // all written, but never before those of the one above that.
  std::vector<unsigned char> packedCells_[2];
  int nextRow_ = 0;
  int nextCellRow_ = 0;
};

#endif
