// Row-band streaming of the screens of the caller's image: the image screens of a context and
// korvel's own screens.
#include <korvel/korvel_context.h>

#include <cstring>
#include <memory>

#include "image/image_entry_points.h"
#include "interface/context.h"
#include "interface/stream.h"
#include "interface/strided_raster.h"

korvel_stream::korvel_stream(int width, int bits)
    : width(width), bits(bits), strided(width, bits) {}

namespace {

// Write one finished row of an own screen, if there is one, from the host's stride.
bool GiveOwnRow(korvel_stream& stream, unsigned char* output, size_t outputStride) {
  OwnScreenStream& own = *stream.own;
  if (outputStride >= own.PackedRowBytes()) return own.GiveRow(output);
  unsigned char* packedRow = stream.strided.PackedRow();
  if (!own.GiveRow(packedRow)) return false;
  std::memcpy(output, packedRow, outputStride);
  return true;
}

// Each source row goes in, and the rows it finishes come out while there is room for them.
int FeedOwnScreen(korvel_stream& stream, const unsigned char* source, size_t sourceStride, int rows,
                  unsigned char* output, size_t outputStride, int capacity) {
  int written = 0;
  for (int r = 0; r < rows; ++r) {
    stream.own->TakeRow(source + sourceStride * r);
    while (written < capacity && GiveOwnRow(stream, output + outputStride * written, outputStride))
      ++written;
  }
  return written;
}

// Arguments every band of rows needs, checked before anything is fed.
korvel_status CheckBand(const korvel_stream* stream, const unsigned char* source,
                        size_t sourceStride, const unsigned char* output, size_t outputStride,
                        int rows) {
  if (stream == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (rows < 0) return KORVEL_ERROR_SIZE;
  if (rows > stream->RowsLeft()) return KORVEL_ERROR_STREAM_END;
  if (rows == 0) return KORVEL_OK;
  if (source == nullptr || output == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(sourceStride, stream->width, 8) ||
      !StrideHoldsRow(outputStride, stream->width, stream->bits))
    return KORVEL_ERROR_STRIDE;
  return KORVEL_OK;
}

}  // namespace

int FeedStream(korvel_stream& stream, const unsigned char* source, size_t sourceStride, int rows,
               unsigned char* output, size_t outputStride, int capacity) {
  if (stream.own)
    return FeedOwnScreen(stream, source, sourceStride, rows, output, outputStride, capacity);
  stream.strided.ScreenBand(*stream.rows, source, sourceStride, output, outputStride, rows);
  return rows;
}

korvel_status korvel_context_begin_stream(korvel_context* context, int bits,
                                          const korvel_image_options* options, int width,
                                          int height, korvel_stream** out) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (options == nullptr || out == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *out = nullptr;
  if (!ImageCallStreams(bits, options->template_type)) return KORVEL_ERROR_NOT_STREAMABLE;
  if (!ImageSizeAccepted(width, height, options->cell_width, options->cell_height))
    return KORVEL_ERROR_SIZE;
  return Guarded([&] {
    auto stream = std::make_unique<korvel_stream>(width, bits);
    stream->rows = BeginImageStream(context->state, bits, width, height, options->template_type,
                                    options->cell_width, options->cell_height, options->dot_mode,
                                    options->use_template_diffusion != 0);
    *out = stream.release();
    return KORVEL_OK;
  });
}

korvel_status korvel_stream_screen_rows(korvel_stream* stream, const unsigned char* source,
                                        size_t source_stride, unsigned char* output,
                                        size_t output_stride, int rows) {
  if (stream != nullptr && stream->Delay() > 0) return KORVEL_ERROR_STREAM_DELAY;
  const korvel_status checked =
      CheckBand(stream, source, source_stride, output, output_stride, rows);
  if (checked != KORVEL_OK || rows == 0) return checked;
  return Guarded([&] {
    FeedStream(*stream, source, source_stride, rows, output, output_stride, rows);
    return KORVEL_OK;
  });
}

korvel_status korvel_stream_feed(korvel_stream* stream, const unsigned char* source,
                                 size_t source_stride, int rows, unsigned char* output,
                                 size_t output_stride, int* rows_written) {
  const korvel_status checked =
      CheckBand(stream, source, source_stride, output, output_stride, rows);
  if (checked != KORVEL_OK) return checked;
  if (rows_written == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (rows == 0) {
    *rows_written = 0;
    return KORVEL_OK;
  }
  return Guarded([&] {
    *rows_written = FeedStream(*stream, source, source_stride, rows, output, output_stride,
                               rows + stream->Delay());
    return KORVEL_OK;
  });
}

korvel_status korvel_stream_get_delay(const korvel_stream* stream, int* rows) {
  if (stream == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (rows == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *rows = stream->Delay();
  return KORVEL_OK;
}

korvel_status korvel_stream_get_rows_left(const korvel_stream* stream, int* rows) {
  if (stream == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (rows == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *rows = stream->RowsLeft();
  return KORVEL_OK;
}

void korvel_stream_destroy(korvel_stream* stream) {
  delete stream;
}
