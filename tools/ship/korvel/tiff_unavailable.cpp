// Stand-in for the TIFF reader and writers in a build without libtiff: TIFF output names are
// refused before any work starts (see OutputFormat), so the writers are never reached.
#include "image_reader.h"
#include "image_writer.h"
#include "tool_error.h"

bool TiffSupported() {
  return false;
}

void WriteTiff(PendingFile& file, const DotRaster&, Progress&) {
  throw ToolError(file.Path() + ": TIFF output is not available in this build of korvel");
}

void WriteCmykTiff(PendingFile& file, const std::vector<DotRaster>&, Progress&) {
  throw ToolError(file.Path() + ": TIFF output is not available in this build of korvel");
}

// Without libtiff every TIFF is refused by ReadGreyImage.
int InksOfInput(const std::string&) {
  return 1;
}

std::vector<GreyImage> ReadCmykTiff(const std::string& path, Progress&) {
  throw ToolError(path + ": TIFF input is not available in this build of korvel");
}
