// Row-band streaming of a context's image screens of the caller's image.
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "core/raster_geometry.h"
#include "image/image_entry_points.h"
#include "interface/context.h"
#include "interface/strided_raster.h"

struct korvel_stream {
  korvel_stream(int width, int bits)
      : width(width),
        bits(bits),
        sourceRow(static_cast<size_t>(RowStride(width, 8))),
        packedRow(static_cast<size_t>(RowStride(width, bits))) {}

  std::unique_ptr<ImageRowStream> rows;
  int width;
  int bits;
  // One packed source row, for source strides below the packed stride: the rest is white, as
  // the whole-page call takes it.
  std::vector<unsigned char> sourceRow;
  // One packed output row, for output strides below the bytes a row receives.
  std::vector<unsigned char> packedRow;
};

namespace {

// Screen one row of the band from the host's strides.
void StreamRow(korvel_stream& stream, const unsigned char* source, size_t sourceStride,
               unsigned char* output, size_t outputStride) {
  if (sourceStride < stream.sourceRow.size()) {
    std::memcpy(stream.sourceRow.data(), source, sourceStride);
    std::memset(stream.sourceRow.data() + sourceStride, 255,
                stream.sourceRow.size() - sourceStride);
    source = stream.sourceRow.data();
  }
  const size_t written = stream.rows->OutputRowBytes();
  if (outputStride >= written) {
    stream.rows->NextRow(source, output);
    return;
  }
  stream.rows->NextRow(source, stream.packedRow.data());
  std::memcpy(output, stream.packedRow.data(), outputStride);
}

}  // namespace

korvel_status korvel_stream_begin(korvel_context* context, int bits,
                                  const korvel_image_options* options, int width, int height,
                                  korvel_stream** out) {
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

korvel_status korvel_stream_rows(korvel_stream* stream, const unsigned char* source,
                                 size_t source_stride, unsigned char* output, size_t output_stride,
                                 int rows) {
  if (stream == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (rows < 0) return KORVEL_ERROR_SIZE;
  if (rows > stream->rows->RowsLeft()) return KORVEL_ERROR_STREAM_END;
  if (rows == 0) return KORVEL_OK;
  if (source == nullptr || output == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(source_stride, stream->width, 8) ||
      !StrideHoldsRow(output_stride, stream->width, stream->bits))
    return KORVEL_ERROR_STRIDE;
  stream->rows->BeginBand();
  for (int r = 0; r < rows; ++r)
    StreamRow(*stream, source + source_stride * r, source_stride, output + output_stride * r,
              output_stride);
  return KORVEL_OK;
}

korvel_status korvel_stream_rows_left(const korvel_stream* stream, int* rows) {
  if (stream == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (rows == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *rows = stream->rows->RowsLeft();
  return KORVEL_OK;
}

void korvel_stream_destroy(korvel_stream* stream) {
  delete stream;
}
