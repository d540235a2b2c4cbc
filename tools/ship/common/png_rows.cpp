// libpng reports errors by longjmp; the libpng calls run in a function that holds only plain
// data (the row filler is called between libpng calls, never left by a longjmp), and the error
// is turned into a result after it has returned.
#include "png_rows.h"

#include <png.h>

#include <csetjmp>
#include <memory>
#include <new>

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

bool WriteRows(PngWriteState& state, std::FILE* stream, const PngLayout& layout,
               const std::function<void(int, uint8_t*)>& fillRow, uint8_t* row) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, stream);
  png_set_IHDR(state.png, state.info, layout.width, layout.height, layout.bitDepth,
               layout.colour ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(state.png, state.info);
  for (int y = 0; y < layout.height; ++y) {
    fillRow(y, row);
    png_write_row(state.png, row);
  }
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

size_t PngRowBytes(const PngLayout& layout) {
  const size_t bits = static_cast<size_t>(layout.width) * layout.bitDepth * (layout.colour ? 3 : 1);
  return (bits + 7) / 8;
}

bool WritePngRows(std::FILE* stream, const PngLayout& layout,
                  const std::function<void(int y, uint8_t* row)>& fillRow, std::string* error) {
  PngWriteState state;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
  if (state.png) state.info = png_create_info_struct(state.png);
  if (!state.png || !state.info) {
    png_destroy_write_struct(&state.png, &state.info);
    throw std::bad_alloc();
  }
  const std::unique_ptr<uint8_t[]> row(new uint8_t[PngRowBytes(layout)]());
  const bool written = WriteRows(state, stream, layout, fillRow, row.get());
  png_destroy_write_struct(&state.png, &state.info);
  if (!written) *error = state.message;
  return written;
}
