// Reading the 8-bit grey image that the halftone command screens.
#ifndef KORVEL_TOOL_IMAGE_READER_H
#define KORVEL_TOOL_IMAGE_READER_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "progress.h"
#include "raster.h"

// Reads a PNG (any colour type and depth: colour is converted to grey, 16 bits reduced to 8,
// transparency laid over white paper) or a PGM/PBM (binary or plain). The format is told by the
// file's first bytes, not by its name. Throws ToolError "<path>: <reason>" for a missing,
// empty, truncated, corrupt, unsupported or oversized file.
GreyImage ReadGreyImage(const std::string& path, Progress& progress);

// True when the first bytes of a file are those of a PNG, a PGM/PBM or a TIFF.
bool IsKnownImageStart(const unsigned char* head, size_t length);

// 4 for a TIFF of separated inks (read by ReadCmykTiff), 1 for anything else, including a file
// that cannot be read (ReadGreyImage then says why).
int InksOfInput(const std::string& path);

// The inks of an 8-bit CMYK TIFF (separated, ink set CMYK, four 8-bit samples, in strips,
// contiguous or planar), C, M, Y, K, each as the library's grey: 255 - the ink sample, so no
// ink is paper white. Throws ToolError "<path>: ..." for any other TIFF or a damaged one.
std::vector<GreyImage> ReadCmykTiff(const std::string& path, Progress& progress);

// A binary PGM of at most 8 bits read a band of rows at a time, for screening a page without
// holding it.
class PgmBandReader {
 public:
  // Null when path is not a binary PGM of at most 8 bits (or cannot be opened). Throws
  // ToolError for a damaged, truncated or oversized PGM.
  static std::unique_ptr<PgmBandReader> Open(const std::string& path);
  ~PgmBandReader();
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The next `rows` rows into `grey` (rows `stride` bytes apart, the padding set to white).
  void Read(int rows, uint8_t* grey, size_t stride);

 private:
  PgmBandReader(FILE* file, std::string path, int width, int height, int maxValue);
  FILE* file_;
  std::string path_;
  int width_, height_;
  std::vector<uint8_t> scale_, samples_;
};

// The format readers, given the file open at its first byte.
GreyImage ReadPngImage(FILE* file, const std::string& path, Progress& progress);
GreyImage ReadPnmImage(FILE* file, const std::string& path, Progress& progress);

#endif
