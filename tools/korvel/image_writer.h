// Writing screened rasters to image files, the format chosen by the file name's extension.
#ifndef KORVEL_TOOL_IMAGE_WRITER_H
#define KORVEL_TOOL_IMAGE_WRITER_H

#include <string>
#include <vector>

#include "pending_file.h"
#include "progress.h"
#include "raster.h"

enum class ImageFormat { kPng, kPbm, kPgm, kTiff };

// The format for path (.png, .pbm, .pgm, .tif, .tiff, any case) at the given depth. Throws
// UsageError for an unknown extension, a PBM of more than 1 bit, or TIFF in a build without
// libtiff, so that a command can refuse before doing any work.
ImageFormat OutputFormat(const std::string& path, int bits);

// Whether path names one of the formats above.
bool HasImageExtension(const std::string& path);

struct OutputImage {
  std::string path;
  const DotRaster* raster;
};

// Writes every image to a temporary file first and renames them all only when every one is
// complete, so a failure leaves none of them (and no earlier file of the same name) changed.
// PNG: greyscale of the raster's true depth; PBM: 1 = dot; PGM: maximum value 2^bits - 1;
// TIFF: bilevel CCITT group 4 at 1 bit, uncompressed greyscale otherwise. Paper is white,
// a full dot black and smaller drops grey in every format.
void WriteImages(const std::vector<OutputImage>& images, Progress& progress);

// The format writers, given a file to fill.
void WritePng(PendingFile& file, const DotRaster& raster, Progress& progress);
void WritePbm(PendingFile& file, const DotRaster& raster, Progress& progress);
void WritePgm(PendingFile& file, const DotRaster& raster, Progress& progress);
void WriteTiff(PendingFile& file, const DotRaster& raster, Progress& progress);
bool TiffSupported();

#endif
