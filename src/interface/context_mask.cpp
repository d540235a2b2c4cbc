// The threshold mask of a context: loaded into it, screened through the host's strides.
#include <korvel/korvel_context.h>

#include <climits>
#include <vector>

#include "interface/context.h"
#include "interface/strided_raster.h"

korvel_status korvel_context_load_mask(korvel_context* context, const unsigned char* mask,
                                       size_t length) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (mask == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (length > INT_MAX) return KORVEL_ERROR_MASK;
  return Guarded([&] {
    return context->mask.LoadMask(mask, static_cast<int>(length)) ? KORVEL_OK : KORVEL_ERROR_MASK;
  });
}

korvel_status korvel_context_dither_mask(korvel_context* context, int bits,
                                         const unsigned char* source, size_t source_stride,
                                         unsigned char* output, size_t output_stride, int width,
                                         int height, int plane, int x_offset, int y_offset,
                                         int x_step, int y_step) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (bits != 1 && bits != 2) return KORVEL_ERROR_ARGUMENT;
  if (width < 1 || height < 1) return KORVEL_ERROR_SIZE;
  if (source == nullptr || output == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(source_stride, width, 8) || !StrideHoldsRow(output_stride, width, bits) ||
      output_stride > INT_MAX)
    return KORVEL_ERROR_STRIDE;
  const CDitherMaskGenerator& mask = context->mask;
  if (!mask.thresholds) return KORVEL_ERROR_NO_MASK;
  if (plane < 0 || plane >= mask.planeCount || x_step < 0 || y_step < 0)
    return KORVEL_ERROR_ARGUMENT;
  return Guarded([&] {
    // The mask screen reads rows packed without gaps.
    std::vector<unsigned char> packed;
    const unsigned char* rows = source;
    if (source_stride != static_cast<size_t>(width)) {
      packed.resize(static_cast<size_t>(width) * height);
      for (int y = 0; y < height; ++y)
        std::copy(source + source_stride * y, source + source_stride * y + width,
                  packed.begin() + static_cast<size_t>(width) * y);
      rows = packed.data();
    }
    context->mask.Dither(rows, output, static_cast<int>(output_stride), width, height, plane,
                         x_offset, y_offset, x_step, y_step, bits);
    return KORVEL_OK;
  });
}

korvel_status korvel_context_release_mask(korvel_context* context) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  context->mask.ReleaseMask();
  return KORVEL_OK;
}
