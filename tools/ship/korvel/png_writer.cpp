// PNG output: greyscale at the raster's own depth (1, 2 or 4 bits), paper white.
#include <string>

#include "dot_rows.h"
#include "image_writer.h"
#include "png_rows.h"
#include "tool_error.h"

void WritePng(PendingFile& file, const DotRaster& raster, Progress& progress) {
  std::string error;
  const bool written = WritePngRows(
      file.Stream(), {raster.width, raster.height, raster.bits, false},
      [&](int y, uint8_t* row) {
        GreyRow(raster, y, row);
        progress.Advance(y + 1, raster.height);
      },
      &error);
  if (!written) throw ToolError(file.Path() + ": cannot write PNG (" + error + ")");
}
