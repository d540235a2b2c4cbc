// Writing screened rasters to image files, the format chosen by the file name's extension.
#ifndef KORVEL_TOOL_IMAGE_WRITER_H
#define KORVEL_TOOL_IMAGE_WRITER_H

#include <string>
#include <vector>

#include "pending_file.h"
#include "progress.h"
#include "raster.h"

enum class ImageFormat { kPng, kPbm, kPgm, kTiff };

// The output name that stands for standard output: a PBM at 1 bit, a PGM otherwise.
constexpr char kStandardOutput[] = "-";

// The format for path (.png, .pbm, .pgm, .tif, .tiff, any case, or "-") at the given depth. Throws
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

// Throws UsageError for the inks of a CMYK page (more than one) sent to standard output.
void RequireOneInkForStandardOutput(const std::string& path, int inks);

// The file of one ink of a CMYK page written as one file per ink: "out.png" gives "out-C.png",
// "out-M.png", "out-Y.png" and "out-K.png".
std::string InkFilePath(const std::string& path, int ink);

// The screened inks of a page: a grey page's one ink to path; a CMYK page's four inks to one
// CMYK TIFF when path is .tif/.tiff, otherwise to one file per ink (InkFilePath). As with
// WriteImages, either every file appears or none.
void WriteInkImages(const std::string& path, const std::vector<DotRaster>& inks,
                    Progress& progress);

// The format writers, given a file to fill.
void WritePng(PendingFile& file, const DotRaster& raster, Progress& progress);
void WritePbm(PendingFile& file, const DotRaster& raster, Progress& progress);
void WritePgm(PendingFile& file, const DotRaster& raster, Progress& progress);
// A PBM or PGM in parts, for a page written band by band: the header of a width x height page,
// then the first `rows` rows of each band in turn.
void WritePnmHeader(PendingFile& file, ImageFormat format, int width, int height, int bits);
void WritePnmRows(PendingFile& file, ImageFormat format, const DotRaster& band, int rows);
void WriteTiff(PendingFile& file, const DotRaster& raster, Progress& progress);
void WriteCmykTiff(PendingFile& file, const std::vector<DotRaster>& inks, Progress& progress);
bool TiffSupported();

#endif
