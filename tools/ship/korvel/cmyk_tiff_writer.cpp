// CMYK TIFF output through libtiff: separated photometric, ink set CMYK, one sample per ink at
// the screen's depth (a sample is the ink's dot code: 0 no dot, the largest code a full dot),
// planar (all C rows, then M, Y and K), LZW-compressed.

#include <memory>
#include <vector>

#include "dot_rows.h"
#include "image_writer.h"
#include "ink_values.h"
#include "tiff_support.h"
#include "tool_error.h"

namespace {

void SetCmykTags(TIFF* tiff, const DotRaster& raster) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(raster.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(raster.height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(raster.bits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(kCmykInks));
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
  TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
  TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  TIFFSetField(tiff, TIFFTAG_SOFTWARE, "korvel");
}

}  // namespace

void WriteCmykTiff(PendingFile& file, const std::vector<DotRaster>& inks, Progress& progress) {
  TiffHandle tiff = OpenTiffForWriting(file);
  SetCmykTags(tiff.get(), inks[0]);
  std::vector<uint8_t> row(PackedRowBytes(inks[0].width, inks[0].bits));
  const int height = inks[0].height;
  for (int ink = 0; ink < kCmykInks; ++ink)
    for (int y = 0; y < height; ++y) {
      InkRow(inks[ink], y, row.data());
      if (TIFFWriteScanline(tiff.get(), row.data(), static_cast<uint32_t>(y),
                            static_cast<uint16_t>(ink)) < 0)
        throw ToolError(file.Path() + ": cannot write TIFF (" + LastTiffError() + ")");
      progress.Advance(int64_t{ink} * height + y + 1, int64_t{kCmykInks} * height);
    }
  if (!TIFFFlush(tiff.get()))
    throw ToolError(file.Path() + ": cannot write TIFF (" + LastTiffError() + ")");
}
