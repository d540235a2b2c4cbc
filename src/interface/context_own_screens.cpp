// korvel's own screens of a context: their options, the whole page and the beginning of a
// stream. The whole page runs through the stream, so that both give the same bytes.
#include <korvel/korvel_context.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

#include "core/raster_geometry.h"
#include "image/own_screen.h"
#include "image/own_screen_stream.h"
#include "interface/context.h"
#include "interface/screen_facts.h"
#include "interface/stream.h"
#include "interface/strided_raster.h"

namespace {

constexpr double kDefaultSmallDropInk = 1.0 / 3.0;
constexpr double kDefaultMediumDropInk = 2.0 / 3.0;

// A field of the options is filled by the init call when it lies within the caller's size.
template <class Field>
void FillWithin(korvel_screen_options* options, size_t size, Field korvel_screen_options::*field,
                Field value) {
  const size_t end = reinterpret_cast<const char*>(&(options->*field)) -
                     reinterpret_cast<const char*>(options) + sizeof(Field);
  if (end <= size) options->*field = value;
}

// An ink relative to the large drop in steps of 1/kFullAmount; 0 for one that is not finite.
int32_t InkAmount(double relative) {
  if (!std::isfinite(relative) || relative <= 0.0 || relative >= 1.0) return 0;
  return static_cast<int32_t>(std::lround(relative * kFullAmount));
}

// The drops the options ask for, or false for options the screens cannot honour.
bool DropsOfOptions(const korvel_screen_options& options, DropSet* drops) {
  if (options.bits != 1 && options.bits != 2) return false;
  const int32_t small = InkAmount(options.small_drop_ink);
  const int32_t medium = InkAmount(options.medium_drop_ink);
  if (small <= 0 || medium <= small || medium >= kFullAmount) return false;
  *drops = options.bits == 1 ? DropSet::OneBit() : DropSet::ThreeDrops(small, medium);
  return true;
}

bool KnownScreen(korvel_screen screen) {
  return screen == KORVEL_SCREEN_FINE || screen == KORVEL_SCREEN_BEST;
}

// The options the screens can honour, with the drops they ask for.
korvel_status CheckScreenOptions(const korvel_screen_options* options, DropSet* drops) {
  if (options == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (options->size != sizeof(korvel_screen_options)) return KORVEL_ERROR_ARGUMENT;
  if (!KnownScreen(options->screen) || !DropsOfOptions(*options, drops))
    return KORVEL_ERROR_ARGUMENT;
  return KORVEL_OK;
}

// The checks the page and the stream share: the options and the page's size.
korvel_status CheckScreenPage(const korvel_context* context, const korvel_screen_options* options,
                              int width, int height, DropSet* drops) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (const korvel_status status = CheckScreenOptions(options, drops)) return status;
  if (width < 1 || height < 1 || !RasterFits(width, height, 8)) return KORVEL_ERROR_SIZE;
  return KORVEL_OK;
}

std::unique_ptr<korvel_stream> NewOwnScreenStream(korvel_context& context,
                                                  const korvel_screen_options& options,
                                                  const DropSet& drops, int width, int height) {
  auto stream = std::make_unique<korvel_stream>(width, options.bits);
  const OwnScreenKind kind =
      options.screen == KORVEL_SCREEN_FINE ? OwnScreenKind::kFine : OwnScreenKind::kBest;
  stream->own = OwnScreenStream::Begin(context.state, kind, drops, width, height);
  return stream;
}

}  // namespace

void korvel_screen_options_init_sized(korvel_screen_options* options, size_t size,
                                      korvel_screen screen, int bits) {
  if (options == nullptr || size < sizeof options->size) return;
  options->size = size;
  FillWithin(options, size, &korvel_screen_options::screen, screen);
  FillWithin(options, size, &korvel_screen_options::bits, bits);
  FillWithin(options, size, &korvel_screen_options::small_drop_ink, kDefaultSmallDropInk);
  FillWithin(options, size, &korvel_screen_options::medium_drop_ink, kDefaultMediumDropInk);
}

korvel_status korvel_context_screen(korvel_context* context, const korvel_screen_options* options,
                                    const unsigned char* source, size_t source_stride,
                                    unsigned char* output, size_t output_stride, int width,
                                    int height) {
  DropSet drops;
  const korvel_status checked = CheckScreenPage(context, options, width, height, &drops);
  if (checked != KORVEL_OK) return checked;
  if (source == nullptr || output == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!StrideHoldsRow(source_stride, width, 8) ||
      !StrideHoldsRow(output_stride, width, options->bits))
    return KORVEL_ERROR_STRIDE;
  return Guarded([&] {
    const std::unique_ptr<korvel_stream> stream =
        NewOwnScreenStream(*context, *options, drops, width, height);
    FeedStream(*stream, source, source_stride, height, output, output_stride, height);
    return KORVEL_OK;
  });
}

korvel_status korvel_context_begin_screen_stream(korvel_context* context,
                                                 const korvel_screen_options* options, int width,
                                                 int height, korvel_stream** out) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (out == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *out = nullptr;
  DropSet drops;
  const korvel_status checked = CheckScreenPage(context, options, width, height, &drops);
  if (checked != KORVEL_OK) return checked;
  return Guarded([&] {
    *out = NewOwnScreenStream(*context, *options, drops, width, height).release();
    return KORVEL_OK;
  });
}

korvel_status korvel_screen_options_describe(const korvel_screen_options* options,
                                             korvel_screen_facts* facts) {
  DropSet drops = DropSet::OneBit();
  if (facts == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (const korvel_status status = CheckScreenOptions(options, &drops)) return status;
  return DescribeOwnScreen(facts);
}
