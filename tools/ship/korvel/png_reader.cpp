// PNG input through libpng. libpng reports errors by longjmp, so every libpng call runs inside
// one of the small functions below that set the jump point and hold only plain data; C++
// objects with destructors stay outside them.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "image_reader.h"
#include "size_limits.h"
#include "tool_error.h"

namespace {

struct PngReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[200] = "";
};

struct PngLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int channels = 0;  // 1 grey, 2 grey + alpha, after the transforms
  int passes = 1;
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Reads the header up to the pixel data; nothing of image size is allocated yet.
bool ReadHeader(PngReadState& state, FILE* file, PngLayout& layout) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  // Any size the format allows gets through libpng, so that CheckImageSize gives the one
  // message for every format.
  png_set_user_limits(state.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(state.png, state.info);
  layout.width = png_get_image_width(state.png, state.info);
  layout.height = png_get_image_height(state.png, state.info);
  return true;
}

// Sets up the transforms that turn any PNG into 8-bit grey, with alpha kept where the file has
// transparency. libpng allocates its row buffers here, so the size must have been checked.
bool SetUpTransforms(PngReadState& state, PngLayout& layout) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  const int colourType = png_get_color_type(state.png, state.info);
  const int bitDepth = png_get_bit_depth(state.png, state.info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(state.png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(state.png);
  if (png_get_valid(state.png, state.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(state.png);
  if (bitDepth == 16) png_set_scale_16(state.png);
  if (colourType & PNG_COLOR_MASK_COLOR)
    png_set_rgb_to_gray_fixed(state.png, PNG_ERROR_ACTION_NONE, -1, -1);
  layout.passes = png_set_interlace_handling(state.png);
  png_read_update_info(state.png, state.info);
  layout.channels = png_get_channels(state.png, state.info);
  return true;
}

bool ReadRows(PngReadState& state, png_bytep* rows, const PngLayout& layout, Progress& progress) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  const int64_t total = static_cast<int64_t>(layout.passes) * layout.height;
  for (int pass = 0; pass < layout.passes; ++pass) {
    for (png_uint_32 y = 0; y < layout.height; ++y) {
      png_read_row(state.png, rows[y], nullptr);
      progress.Advance(static_cast<int64_t>(pass) * layout.height + y + 1, total);
    }
  }
  png_read_end(state.png, nullptr);
  return true;
}

// Lays grey-and-alpha pixels over white paper: full transparency is paper.
void CompositeOverPaper(const uint8_t* greyAlpha, int width, uint8_t* grey) {
  for (int x = 0; x < width; ++x) {
    const int value = greyAlpha[2 * x];
    const int alpha = greyAlpha[2 * x + 1];
    grey[x] = static_cast<uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
  }
}

class PngReader {
 public:
  PngReader() {
    state_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state_, OnPngError, OnPngWarning);
    if (state_.png) state_.info = png_create_info_struct(state_.png);
    if (!state_.png || !state_.info) throw std::bad_alloc();
  }
  ~PngReader() { png_destroy_read_struct(&state_.png, &state_.info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  GreyImage Read(FILE* file, const std::string& path, Progress& progress) {
    PngLayout layout;
    if (!ReadHeader(state_, file, layout)) Fail(file, path);
    CheckImageSize(layout.width, layout.height, path);
    if (!SetUpTransforms(state_, layout)) Fail(file, path);
    GreyImage image =
        GreyImage::Allocate(static_cast<int>(layout.width), static_cast<int>(layout.height));
    const bool withAlpha = layout.channels == 2;
    std::unique_ptr<uint8_t[]> greyAlpha;
    if (withAlpha)
      greyAlpha.reset(new uint8_t[static_cast<size_t>(layout.width) * 2 * layout.height]);
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 y = 0; y < layout.height; ++y)
      rows[y] = withAlpha ? greyAlpha.get() + static_cast<size_t>(layout.width) * 2 * y
                          : image.Row(static_cast<int>(y));
    if (!ReadRows(state_, rows.data(), layout, progress)) Fail(file, path);
    if (withAlpha)
      for (int y = 0; y < image.height; ++y) CompositeOverPaper(rows[y], image.width, image.Row(y));
    image.WhitenPadding();
    return image;
  }

 private:
  [[noreturn]] void Fail(FILE* file, const std::string& path) {
    if (std::feof(file)) throw ToolError(path + ": PNG file is truncated");
    throw ToolError(path + ": bad PNG file (" + state_.message + ")");
  }

  PngReadState state_;
};

}  // namespace

GreyImage ReadPngImage(FILE* file, const std::string& path, Progress& progress) {
  PngReader reader;
  return reader.Read(file, path, progress);
}
