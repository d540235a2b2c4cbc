#include "banded_screen.h"

#include <algorithm>

#include "image_reader.h"
#include "screening_context.h"
#include "tool_error.h"

namespace {

// The template types that screen the caller's image: the error diffusion (or the template
// diffusion), the three dot screens and the 257 x 257 matrix.
bool ScreensTheImage(int type) {
  return type == 34 || (type >= 39 && type <= 42);
}

struct StreamDeleter {
  void operator()(korvel_stream* stream) const { korvel_stream_destroy(stream); }
};

// The stream of the page's screen: one of korvel's own, or a template type's.
korvel_stream* BeginStream(korvel_context* context, const ScreenSettings& screen, int width,
                           int height) {
  korvel_stream* begun = nullptr;
  const korvel_screen_options own = OwnScreenOptions(screen);
  const korvel_image_options options{screen.type, screen.cell.width, screen.cell.height,
                                     screen.dotMode, screen.templateDiffusion ? 1 : 0};
  Require(screen.ownScreen != 0
              ? korvel_context_begin_screen_stream(context, &own, width, height, &begun)
              : korvel_context_begin_stream(context, screen.bits, &options, width, height, &begun),
          "the library cannot screen a " + std::to_string(width) + "x" + std::to_string(height) +
              " page in bands");
  return begun;
}

}  // namespace

bool ScreensInBands(const ScreenSettings& screen, ImageFormat output) {
  return (screen.bits == 1 || screen.bits == 2) &&
         (screen.ownScreen != 0 || ScreensTheImage(screen.type)) &&
         (output == ImageFormat::kPbm || output == ImageFormat::kPgm);
}

bool ScreenInBands(const std::string& input, const std::string& output, ImageFormat format,
                   const InkSettings& ink, const ScreenSettings& screen, Progress& progress) {
  const std::unique_ptr<PgmBandReader> reader = PgmBandReader::Open(input);
  if (!reader) return false;
  const int width = reader->Width(), height = reader->Height();
  const Context context = ContextFor(ink);
  const std::unique_ptr<korvel_stream, StreamDeleter> stream(
      BeginStream(context.get(), screen, width, height));
  int delay = 0;
  Require(korvel_stream_get_delay(stream.get(), &delay), "the library has no delay of the stream");

  // A band finishes at most its own rows and the rows the stream held back.
  GreyImage band = GreyImage::Allocate(width, std::min(kBandRows, height));
  DotRaster screened = DotRaster::Allocate(width, band.height + delay, screen.bits);
  PendingFile file(output);
  WritePnmHeader(file, format, width, height, screen.bits);
  progress.Stage("screening", 0.0, 1.0);
  int written = 0;
  for (int y = 0; y < height; y += band.height) {
    const int rows = std::min(band.height, height - y);
    reader->Read(rows, band.Data(), band.stride);
    int finished = 0;
    Require(korvel_stream_feed(stream.get(), band.Data(), band.stride, rows, screened.bytes.get(),
                               screened.stride, &finished),
            "the library refused a band of rows");
    WritePnmRows(file, format, screened, finished);
    written += finished;
    progress.Advance(y + rows, height);
  }
  if (written != height)
    throw ToolError("the library finished " + std::to_string(written) + " of the page's " +
                    std::to_string(height) + " rows");
  file.Close();
  file.Commit();
  return true;
}
