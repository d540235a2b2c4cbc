// TIFF output through libtiff: bilevel CCITT group 4 (min-is-white, a set bit is a dot) at
// 1 bit, uncompressed min-is-black greyscale at 2 and 4 bits.
#include <tiffio.h>

#include <memory>
#include <string>

#include "dot_rows.h"
#include "image_writer.h"
#include "tiff_support.h"
#include "tool_error.h"

namespace {

void SetTags(TIFF* tiff, const DotRaster& raster) {
  const bool bilevel = raster.bits == 1;
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(raster.width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(raster.height));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(raster.bits));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(1));
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
               bilevel ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE);
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  TIFFSetField(tiff, TIFFTAG_SOFTWARE, "korvel");
}

}  // namespace

bool TiffSupported() {
  return true;
}

void WriteTiff(PendingFile& file, const DotRaster& raster, Progress& progress) {
  TiffHandle tiff = OpenTiffForWriting(file);
  SetTags(tiff.get(), raster);
  std::unique_ptr<uint8_t[]> row(new uint8_t[PackedRowBytes(raster.width, raster.bits)]);
  for (int y = 0; y < raster.height; ++y) {
    if (raster.bits == 1)
      InkRow(raster, y, row.get());
    else
      GreyRow(raster, y, row.get());
    if (TIFFWriteScanline(tiff.get(), row.get(), static_cast<uint32_t>(y), 0) < 0)
      throw ToolError(file.Path() + ": cannot write TIFF (" + LastTiffError() + ")");
    progress.Advance(y + 1, raster.height);
  }
  // Closing flushes the last strip and the directory; its failure is a failed write.
  if (!TIFFFlush(tiff.get()))
    throw ToolError(file.Path() + ": cannot write TIFF (" + LastTiffError() + ")");
}
