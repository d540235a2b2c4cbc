#include "interface/strided_raster.h"

#include <algorithm>
#include <cstring>

#include "core/raster_geometry.h"

int64_t RowBytes(int width, int bitsPerPixel) {
  return (int64_t{width} * bitsPerPixel + 7) / 8;
}

bool StrideHoldsRow(size_t stride, int width, int bitsPerPixel) {
  return stride >= static_cast<uint64_t>(RowBytes(width, bitsPerPixel));
}

PackedOutput::PackedOutput(unsigned char* output, size_t stride, int width, int height,
                           int bitsPerPixel)
    : output_(output),
      stride_(stride),
      packedStride_(static_cast<size_t>(RowStride(width, bitsPerPixel))),
      rowBytes_(std::min(stride, packedStride_)),
      height_(height),
      data_(output) {
  if (stride_ == packedStride_) return;
  copy_.assign(packedStride_ * height, 0);
  for (int y = 0; y < height; ++y)
    std::memcpy(&copy_[packedStride_ * y], output + stride_ * y, rowBytes_);
  data_ = copy_.data();
}

void PackedOutput::Commit() {
  if (data_ == output_) return;
  for (int y = 0; y < height_; ++y)
    std::memcpy(output_ + stride_ * y, &copy_[packedStride_ * y], rowBytes_);
}
