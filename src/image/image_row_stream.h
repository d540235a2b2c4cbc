// The caller's image screened into packed 1-bit or 2-bit rows one row at a time: the image
// arrives row by row from the top and each row's packed output leaves at once. Only the rows in
// flight are held (two rows of cells and one widened row), never the image.
//
// Two walks: through the halftone engine's cell grid (one sampled pixel per cell, widened by
// kMargin replicated pixels each side, screened, enlarged back), or, for the 2-bit dot screens
// of the 2-bit call, the dot screen straight on the image rows.
#ifndef KORVEL_IMAGE_IMAGE_ROW_STREAM_H
#define KORVEL_IMAGE_IMAGE_ROW_STREAM_H

#include <cstdint>
#include <memory>
#include <vector>

#include "core/screening_state.h"
#include "image/cell_grid.h"
#include "image/row_screens.h"

class ImageRowStream {
 public:
  // A width x height image on the engine's cells of (factor * cellWidth) x (factor *
  // cellHeight) pixels, screened by the screen the engine runs for the template type in this
  // state (read now: later changes to the state do not reach the stream), packed to
  // bitsPerPixel (1 or 2). Needs the sizes RunHalftoneEngine needs.
  ImageRowStream(const ScreeningState& state, int templateType, int bitsPerPixel, int width,
                 int height, int factor, int cellWidth, int cellHeight);

  // The 2-bit dot screen of the template type (kSmallDotType, kSmallMediumDotType,
  // kSmallMediumLargeDotType) straight on the image, packed to 2 bits.
  static std::unique_ptr<ImageRowStream> DotScreenOnImage(int templateType, int width, int height);

  // Take the next image row (a whole 8-bit row of (width + 3) & ~3 bytes, its padding
  // included) and write the first OutputRowBytes() bytes of its packed output row: at 1 bit
  // the whole row ((width + 31) >> 3) & ~3 bytes, bits past the width 0; at 2 bits through the
  // engine the whole row ((2 * width + 31) >> 3) & ~3 bytes, positions past the width from the
  // image row's padding and the bytes after the last pixel 0; at 2 bits from the dot screen
  // the bytes up to the last pixel only, positions past the width no dot. The rows together
  // equal the packed screen of the whole image. Needs RowsLeft() > 0.
  void NextRow(const unsigned char* imageRow, unsigned char* outputRow);

  // Ready the calling thread for a band of rows: the dot screens leave the host's OpenMP
  // thread count at 2 on the thread they screen on.
  void BeginBand() const;

  size_t OutputRowBytes() const { return outputRowBytes_; }
  int RowsLeft() const { return height_ - nextRow_; }

 private:
  ImageRowStream(std::unique_ptr<RowScreen> screen, int bitsPerPixel, int width, int height,
                 const CellGrid& grid, int margin);

  // Screen the next cell row from the image row it samples into the levels of its pixels.
  const unsigned char* ScreenCellRow(const unsigned char* imageRow);
  // The levels of a screened cell row enlarged to the width.
  const unsigned char* Enlarged(const unsigned char* levels);
  // Write the output of an image row from the kept row of its cell row.
  void WriteRow(const unsigned char* imageRow, std::vector<unsigned char>& kept,
                unsigned char* outputRow) const;

  std::unique_ptr<RowScreen> screen_;
  int bits_;
  int width_;
  int height_;
  CellGrid grid_;
  CellSampling sampling_;
  int margin_;  // replicated pixels each side of a screened row (0 on the image)
  size_t outputRowBytes_;
  std::vector<unsigned char> padded_;    // one widened row of reduced pixels
  std::vector<unsigned char> screened_;  // its screened levels
  std::vector<unsigned char> enlarged_;  // the levels expanded to width, for cells wider than 1
  // The last two cell rows screened (packed at 1 bit, levels at 2 bits), by cell row parity: a
  // cell row is screened when the image row it samples arrives, which may be before the rows of
  // the one above are all written, but never before those of the one above that.
  std::vector<unsigned char> keptCells_[2];
  int nextRow_ = 0;
  int nextCellRow_ = 0;
};

#endif
