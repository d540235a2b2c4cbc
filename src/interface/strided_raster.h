// The strides a host chooses: what a stride must hold, and, for the splits (which combine whole
// planes), a packed copy of an output whose stride is not the packed one.
#ifndef KORVEL_INTERFACE_STRIDED_RASTER_H
#define KORVEL_INTERFACE_STRIDED_RASTER_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes that width pixels of a row take at a depth, without padding.
int64_t RowBytes(int width, int bitsPerPixel);

// True when a stride holds a row of width pixels at the depth.
bool StrideHoldsRow(size_t stride, int width, int bitsPerPixel);

// An output at the packed stride of its depth. A copy starts with the caller's bytes, so that
// whatever a screen leaves unwritten stays as it was, and Commit() writes min(stride, packed)
// bytes of each row back.
class PackedOutput {
 public:
  PackedOutput(unsigned char* output, size_t stride, int width, int height, int bitsPerPixel);
  unsigned char* data() { return data_; }
  void Commit();

 private:
  unsigned char* output_;
  size_t stride_;
  size_t packedStride_;
  size_t rowBytes_;
  int height_;
  std::vector<unsigned char> copy_;
  unsigned char* data_;
};

#endif
