// The screening operations of a context: uniform templates, splits and the image calls, each
// on the context's own state and through the host's strides.
#include <korvel/korvel_context.h>

#include <array>
#include <optional>

#include "core/raster_geometry.h"
#include "image/image_entry_points.h"
#include "interface/context.h"
#include "interface/strided_raster.h"
#include "template/image_template_4bit.h"
#include "template/splits.h"
#include "template/template_generators.h"

namespace {

bool IsTemplateDepth(int bits) {
  return bits == 1 || bits == 2 || bits == 4;
}

// Width and height of a raster the template and 4-bit paths accept: at least 1, and the
// packed raster of the depth within INT_MAX bytes.
bool TemplateSizeAccepted(int width, int height, int bitsPerPixel) {
  return width >= 1 && height >= 1 && RasterFits(width, height, bitsPerPixel);
}

}  // namespace

korvel_status korvel_context_template(korvel_context* context, int bits, int level,
                                      unsigned char* out, size_t out_stride, int width,
                                      int height) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (!IsTemplateDepth(bits)) return KORVEL_ERROR_ARGUMENT;
  if (level < 0 || level > 100) return KORVEL_ERROR_LEVEL;
  if (!TemplateSizeAccepted(width, height, bits)) return KORVEL_ERROR_SIZE;
  if (out == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(out_stride, width, bits)) return KORVEL_ERROR_STRIDE;
  return Guarded([&] {
    GenerateTemplateAtStride(context->state, out, out_stride, width, height, level, bits);
    return KORVEL_OK;
  });
}

korvel_status korvel_context_split(korvel_context* context, int plane_count,
                                   unsigned char* const* planes, size_t stride, int width,
                                   int height) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (plane_count < 2 || plane_count > 4) return KORVEL_ERROR_ARGUMENT;
  if (!TemplateSizeAccepted(width, height, 2)) return KORVEL_ERROR_SIZE;
  if (planes == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  for (int p = 0; p < plane_count; ++p)
    if (planes[p] == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(stride, width, 2)) return KORVEL_ERROR_STRIDE;
  return Guarded([&] {
    std::array<std::optional<PackedOutput>, 4> packed;
    std::array<unsigned char*, 4> data = {};
    for (int p = 0; p < plane_count; ++p) {
      packed[p].emplace(planes[p], stride, width, height, 2);
      data[p] = packed[p]->data();
    }
    const ScreeningState& state = context->state;
    if (plane_count == 2) SplitIntoTwoPlanes(state, data[0], data[1], width, height);
    if (plane_count == 3) SplitIntoThreePlanes(state, data[0], data[1], data[2], width, height);
    if (plane_count == 4)
      SplitIntoFourPlanes(state, data[0], data[1], data[2], data[3], width, height);
    for (int p = 0; p < plane_count; ++p) packed[p]->Commit();
    return KORVEL_OK;
  });
}

korvel_status korvel_context_screen_image(korvel_context* context, int bits,
                                          const korvel_image_options* options,
                                          const unsigned char* source, size_t source_stride,
                                          unsigned char* output, size_t output_stride, int width,
                                          int height) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (options == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (bits != 1 && bits != 2) return KORVEL_ERROR_ARGUMENT;
  if (!ImageSizeAccepted(width, height, options->cell_width, options->cell_height))
    return KORVEL_ERROR_SIZE;
  const bool readsSource = ImageTypeReadsSource(options->template_type);
  if (output == nullptr || (source == nullptr && readsSource)) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(output_stride, width, bits)) return KORVEL_ERROR_STRIDE;
  if (source != nullptr && !StrideHoldsRow(source_stride, width, 8)) return KORVEL_ERROR_STRIDE;
  return Guarded([&] {
    ScreenImage(context->state, bits, source, source_stride, output, output_stride, width, height,
                options->template_type, options->cell_width, options->cell_height,
                options->dot_mode, options->use_template_diffusion != 0);
    return KORVEL_OK;
  });
}

korvel_status korvel_context_screen_image_4bit(korvel_context* context, const unsigned char* source,
                                               size_t source_stride, unsigned char* output,
                                               size_t output_stride, int width, int height) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (!TemplateSizeAccepted(width, height, 8)) return KORVEL_ERROR_SIZE;
  if (source == nullptr || output == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(source_stride, width, 8) || !StrideHoldsRow(output_stride, width, 4))
    return KORVEL_ERROR_STRIDE;
  return Guarded([&] {
    HalftoneImageTo4BitAtStrides(context->state, source, source_stride, output, output_stride,
                                 width, height);
    return KORVEL_OK;
  });
}
