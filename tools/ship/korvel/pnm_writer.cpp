// PBM (1 bit, a set bit is a dot) and PGM (one byte per pixel, white at the maximum value).
#include <cstdio>
#include <vector>

#include "dot_rows.h"
#include "image_writer.h"

void WritePnmHeader(PendingFile& file, ImageFormat format, int width, int height, int bits) {
  const bool pbm = format == ImageFormat::kPbm;
  const std::string header = std::string(pbm ? "P4" : "P5") + "\n" + std::to_string(width) + " " +
                             std::to_string(height) + "\n" +
                             (pbm ? "" : std::to_string((1 << bits) - 1) + "\n");
  file.Write(header.data(), header.size());
}

void WritePnmRows(PendingFile& file, ImageFormat format, const DotRaster& band, int rows) {
  const int maxCode = band.MaxCode();
  const int perByte = 8 / band.bits;
  std::vector<uint8_t> packed(PackedRowBytes(band.width, band.bits));
  std::vector<uint8_t> row(band.width);
  for (int y = 0; y < rows; ++y) {
    if (format == ImageFormat::kPbm) {
      InkRow(band, y, packed.data());
      file.Write(packed.data(), packed.size());
      continue;
    }
    GreyRow(band, y, packed.data());
    for (int x = 0; x < band.width; ++x) {
      const int shift = 8 - band.bits * (x % perByte + 1);
      row[x] = static_cast<uint8_t>((packed[x / perByte] >> shift) & maxCode);
    }
    file.Write(row.data(), row.size());
  }
}

void WritePbm(PendingFile& file, const DotRaster& raster, Progress& progress) {
  WritePnmHeader(file, ImageFormat::kPbm, raster.width, raster.height, 1);
  WritePnmRows(file, ImageFormat::kPbm, raster, raster.height);
  progress.Advance(raster.height, raster.height);
}

void WritePgm(PendingFile& file, const DotRaster& raster, Progress& progress) {
  WritePnmHeader(file, ImageFormat::kPgm, raster.width, raster.height, raster.bits);
  WritePnmRows(file, ImageFormat::kPgm, raster, raster.height);
  progress.Advance(raster.height, raster.height);
}
