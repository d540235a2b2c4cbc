// PBM (1 bit, a set bit is a dot) and PGM (one byte per pixel, white at the maximum value).
#include <cstdio>
#include <vector>

#include "dot_rows.h"
#include "image_writer.h"

namespace {

void WriteHeader(PendingFile& file, const char* magic, const DotRaster& raster, int maxValue) {
  const std::string header = std::string(magic) + "\n" + std::to_string(raster.width) + " " +
                             std::to_string(raster.height) + "\n" +
                             (maxValue ? std::to_string(maxValue) + "\n" : "");
  file.Write(header.data(), header.size());
}

}  // namespace

void WritePbm(PendingFile& file, const DotRaster& raster, Progress& progress) {
  WriteHeader(file, "P4", raster, 0);
  std::vector<uint8_t> row(PackedRowBytes(raster.width, 1));
  for (int y = 0; y < raster.height; ++y) {
    InkRow(raster, y, row.data());
    file.Write(row.data(), row.size());
    progress.Advance(y + 1, raster.height);
  }
}

void WritePgm(PendingFile& file, const DotRaster& raster, Progress& progress) {
  const int maxCode = raster.MaxCode();
  WriteHeader(file, "P5", raster, maxCode);
  std::vector<uint8_t> packed(PackedRowBytes(raster.width, raster.bits));
  std::vector<uint8_t> row(raster.width);
  const int perByte = 8 / raster.bits;
  for (int y = 0; y < raster.height; ++y) {
    GreyRow(raster, y, packed.data());
    for (int x = 0; x < raster.width; ++x) {
      const int shift = 8 - raster.bits * (x % perByte + 1);
      row[x] = static_cast<uint8_t>((packed[x / perByte] >> shift) & maxCode);
    }
    file.Write(row.data(), row.size());
    progress.Advance(y + 1, raster.height);
  }
}
