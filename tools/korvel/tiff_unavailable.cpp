// Stand-in for the TIFF writer in a build without libtiff: TIFF output names are refused before
// any work starts (see OutputFormat), so WriteTiff is never reached.
#include "image_writer.h"
#include "tool_error.h"

bool TiffSupported() {
  return false;
}

void WriteTiff(PendingFile& file, const DotRaster&, Progress&) {
  throw ToolError(file.Path() + ": TIFF output is not available in this build of korvel");
}
