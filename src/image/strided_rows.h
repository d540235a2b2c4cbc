// Rows of a host's rasters, at the host's own strides, through an image row stream. A source
// stride below the packed 8-bit row is read through one row whose rest is white (255); an output
// stride below the bytes a packed row receives gets the first stride bytes of that row. Wider
// strides are read and written in place, and the bytes of a row past what the screen writes are
// left as they were. Nothing of the page is copied: at most one row each way.
#ifndef KORVEL_IMAGE_STRIDED_ROWS_H
#define KORVEL_IMAGE_STRIDED_ROWS_H

#include <cstddef>
#include <vector>

#include "image/image_row_stream.h"

class StridedRows {
 public:
  StridedRows(int width, int bitsPerPixel);

  // Screen `count` rows from `source` (rows sourceStride apart, each holding the width) into
  // `output` (rows outputStride apart, each holding the width at the depth). Needs
  // stream.RowsLeft() >= count.
  void ScreenBand(ImageRowStream& stream, const unsigned char* source, size_t sourceStride,
                  unsigned char* output, size_t outputStride, int count);

  // One packed output row, for a row that is produced whole and handed on cut to a narrower
  // output stride.
  unsigned char* PackedRow() { return packedRow_.data(); }

 private:
  void ScreenRow(ImageRowStream& stream, const unsigned char* source, size_t sourceStride,
                 unsigned char* output, size_t outputStride);

  std::vector<unsigned char> sourceRow_;
  std::vector<unsigned char> packedRow_;
};

#endif
