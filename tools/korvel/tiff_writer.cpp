// TIFF output through libtiff: bilevel CCITT group 4 (min-is-white, a set bit is a dot) at
// 1 bit, uncompressed min-is-black greyscale at 2 and 4 bits.
#include <tiffio.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

#include "dot_rows.h"
#include "image_writer.h"
#include "tool_error.h"

namespace {

// libtiff reports through process-wide handlers; the tool is single-threaded, so the last
// message is kept here and put into the exception.
std::string g_lastTiffError;

void OnTiffError(const char* module, const char* format, va_list arguments) {
  char message[256];
  std::vsnprintf(message, sizeof message, format, arguments);
  g_lastTiffError = std::string(module ? module : "libtiff") + ": " + message;
}

void OnTiffWarning(const char*, const char*, va_list) {}

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

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
  TIFFSetErrorHandler(OnTiffError);
  TIFFSetWarningHandler(OnTiffWarning);
  g_lastTiffError.clear();
  const int descriptor = file.ReleaseDescriptor();
  std::unique_ptr<TIFF, TiffCloser> tiff(TIFFFdOpen(descriptor, file.TemporaryPath().c_str(), "w"));
  if (!tiff) {
    close(descriptor);
    throw ToolError(file.Path() + ": cannot write TIFF (" + g_lastTiffError + ")");
  }
  SetTags(tiff.get(), raster);
  std::unique_ptr<uint8_t[]> row(new uint8_t[PackedRowBytes(raster.width, raster.bits)]);
  for (int y = 0; y < raster.height; ++y) {
    if (raster.bits == 1)
      InkRow(raster, y, row.get());
    else
      GreyRow(raster, y, row.get());
    if (TIFFWriteScanline(tiff.get(), row.get(), static_cast<uint32_t>(y), 0) < 0)
      throw ToolError(file.Path() + ": cannot write TIFF (" + g_lastTiffError + ")");
    progress.Advance(y + 1, raster.height);
  }
  // Closing flushes the last strip and the directory; its failure is a failed write.
  if (!TIFFFlush(tiff.get()))
    throw ToolError(file.Path() + ": cannot write TIFF (" + g_lastTiffError + ")");
}
