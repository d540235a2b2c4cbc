#include "banded_screen.h"

#include <algorithm>

#include "image_reader.h"
#include "screening_context.h"

namespace {

// The template types that screen the caller's image: the error diffusion (or the template
// diffusion), the three dot screens and the 257 x 257 matrix.
bool ScreensTheImage(int type) {
  return type == 34 || (type >= 39 && type <= 42);
}

struct StreamDeleter {
  void operator()(korvel_stream* stream) const { korvel_stream_destroy(stream); }
};

}  // namespace

bool ScreensInBands(const ScreenSettings& screen, ImageFormat output) {
  return (screen.bits == 1 || screen.bits == 2) && ScreensTheImage(screen.type) &&
         (output == ImageFormat::kPbm || output == ImageFormat::kPgm);
}

bool ScreenInBands(const std::string& input, const std::string& output, ImageFormat format,
                   const InkSettings& ink, const ScreenSettings& screen, Progress& progress) {
  const std::unique_ptr<PgmBandReader> reader = PgmBandReader::Open(input);
  if (!reader) return false;
  const int width = reader->Width(), height = reader->Height();
  const Context context = ContextFor(ink);
  const korvel_image_options options{screen.type, screen.cell.width, screen.cell.height,
                                     screen.dotMode, screen.templateDiffusion ? 1 : 0};
  korvel_stream* begun = nullptr;
  Require(korvel_stream_begin(context.get(), screen.bits, &options, width, height, &begun),
          "the library cannot screen a " + std::to_string(width) + "x" + std::to_string(height) +
              " page in bands");
  const std::unique_ptr<korvel_stream, StreamDeleter> stream(begun);

  GreyImage band = GreyImage::Allocate(width, std::min(kBandRows, height));
  DotRaster screened = DotRaster::Allocate(width, band.height, screen.bits);
  PendingFile file(output);
  WritePnmHeader(file, format, width, height, screen.bits);
  progress.Stage("screening", 0.0, 1.0);
  for (int y = 0; y < height; y += band.height) {
    const int rows = std::min(band.height, height - y);
    reader->Read(rows, band.Data(), band.stride);
    Require(korvel_stream_rows(stream.get(), band.Data(), band.stride, screened.bytes.get(),
                               screened.stride, rows),
            "the library refused a band of rows");
    WritePnmRows(file, format, screened, rows);
    progress.Advance(y + rows, height);
  }
  file.Close();
  file.Commit();
  return true;
}
