#include "image/strided_rows.h"

#include <cstring>

#include "core/raster_geometry.h"

StridedRows::StridedRows(int width, int bitsPerPixel)
    : sourceRow_(static_cast<size_t>(RowStride(width, 8))),
      packedRow_(static_cast<size_t>(RowStride(width, bitsPerPixel))) {}

void StridedRows::ScreenBand(ImageRowStream& stream, const unsigned char* source,
                             size_t sourceStride, unsigned char* output, size_t outputStride,
                             int count) {
  stream.BeginBand();
  for (int r = 0; r < count; ++r)
    ScreenRow(stream, source + sourceStride * r, sourceStride, output + outputStride * r,
              outputStride);
}

void StridedRows::ScreenRow(ImageRowStream& stream, const unsigned char* source,
                            size_t sourceStride, unsigned char* output, size_t outputStride) {
  if (sourceStride < sourceRow_.size()) {
    std::memcpy(sourceRow_.data(), source, sourceStride);
    std::memset(sourceRow_.data() + sourceStride, 255, sourceRow_.size() - sourceStride);
    source = sourceRow_.data();
  }
  if (outputStride >= stream.OutputRowBytes()) {
    stream.NextRow(source, output);
    return;
  }
  stream.NextRow(source, packedRow_.data());
  std::memcpy(output, packedRow_.data(), outputStride);
}
