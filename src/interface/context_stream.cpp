// Row-band streaming of a context's 1-bit error-diffusion screen of the caller's image.
#include <korvel/korvel_context.h>

#include <memory>
#include <vector>

#include "core/raster_geometry.h"
#include "image/image_entry_points.h"
#include "interface/context.h"
#include "interface/strided_raster.h"

struct korvel_stream {
  explicit korvel_stream(std::unique_ptr<OneBitImageStream> rows, int width)
      : rows(std::move(rows)), width(width) {}

  std::unique_ptr<OneBitImageStream> rows;
  int width;
  // One packed output row, for output strides below the packed stride.
  std::vector<unsigned char> packedRow;
};

korvel_status korvel_stream_begin(korvel_context* context, int bits,
                                  const korvel_image_options* options, int width, int height,
                                  korvel_stream** out) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (options == nullptr || out == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *out = nullptr;
  if (!ImageCallStreams(bits, options->template_type, options->use_template_diffusion != 0))
    return KORVEL_ERROR_NOT_STREAMABLE;
  if (!ImageSizeAccepted(width, height, options->cell_width, options->cell_height))
    return KORVEL_ERROR_SIZE;
  return Guarded([&] {
    auto stream = std::make_unique<korvel_stream>(nullptr, width);
    stream->packedRow.resize(static_cast<size_t>(RowStride(width, 1)));
    stream->rows = BeginOneBitImageStream(context->state, width, height, options->cell_width,
                                          options->cell_height, options->dot_mode);
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
  const int width = stream->width;
  if (!StrideHoldsRow(source_stride, width, 8) || !StrideHoldsRow(output_stride, width, 1))
    return KORVEL_ERROR_STRIDE;
  const size_t packed = stream->packedRow.size();
  for (int r = 0; r < rows; ++r) {
    unsigned char* outRow = output + output_stride * r;
    if (output_stride >= packed) {
      stream->rows->NextRow(source + source_stride * r, outRow);
      continue;
    }
    stream->rows->NextRow(source + source_stride * r, stream->packedRow.data());
    std::copy(stream->packedRow.begin(), stream->packedRow.begin() + output_stride, outRow);
  }
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
