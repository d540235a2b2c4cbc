// PNG output through libpng: greyscale at the raster's own depth (1, 2 or 4 bits), paper white.
// libpng reports errors by longjmp; the libpng calls run in a function that holds only plain
// data, and the error is turned into an exception after it has returned.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "dot_rows.h"
#include "image_writer.h"
#include "tool_error.h"

namespace {

struct PngWriteState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[200] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

bool WriteRows(PngWriteState& state, FILE* stream, const DotRaster& raster, uint8_t* row,
               Progress& progress) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, stream);
  png_set_IHDR(state.png, state.info, raster.width, raster.height, raster.bits, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(state.png, state.info);
  for (int y = 0; y < raster.height; ++y) {
    GreyRow(raster, y, row);
    png_write_row(state.png, row);
    progress.Advance(y + 1, raster.height);
  }
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

void WritePng(PendingFile& file, const DotRaster& raster, Progress& progress) {
  PngWriteState state;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
  if (state.png) state.info = png_create_info_struct(state.png);
  if (!state.png || !state.info) {
    png_destroy_write_struct(&state.png, &state.info);
    throw std::bad_alloc();
  }
  std::unique_ptr<uint8_t[]> row(new uint8_t[PackedRowBytes(raster.width, raster.bits)]);
  const bool written = WriteRows(state, file.Stream(), raster, row.get(), progress);
  png_destroy_write_struct(&state.png, &state.info);
  if (!written) throw ToolError(file.Path() + ": cannot write PNG (" + state.message + ")");
}
