// The context interface with arbitrary settings (quality level, tone curve, parameter folder),
// sizes, strides, template types, cells, bands, masks and korvel's own screens with their
// options; a streamed page must equal the whole-page call. Buffers are exactly stride x height, so
// AddressSanitizer sees any access outside them, and a refused call must leave its output exactly
// as it was.
#include <korvel/korvel_context.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"

namespace {

// Mostly the bytes a row needs plus a little, sometimes fewer.
size_t Stride(FuzzInput& in, int width, int bits) {
  const int64_t row = width > 0 ? (int64_t{width} * bits + 7) / 8 : 0;
  const int delta = in.Small(12) - 2;
  return static_cast<size_t>(row + delta < 0 ? 0 : row + delta);
}

constexpr size_t kCap = 2 << 20;

// A buffer of stride x height bytes, empty when the size is refused or too large to fuzz.
bool Sized(std::vector<uint8_t>& buffer, size_t stride, int height, uint8_t fill) {
  if (height <= 0) return true;
  if (stride > kCap || stride * static_cast<size_t>(height) > kCap) return false;
  buffer.assign(stride * static_cast<size_t>(height), fill);
  return true;
}

void Configure(FuzzInput& in, korvel_context* context) {
  korvel_context_set_quality(context,
                             in.Next8() < 200 ? in.Small(101) : static_cast<int>(in.Next32()));
  if (in.Next8() < 64) {
    std::vector<int> curve(static_cast<size_t>(in.Small(8)));
    for (int& point : curve) point = in.Next8() < 250 ? in.Small(101) : int(in.Next32());
    korvel_context_set_tone_curve(context, curve.data(), static_cast<int>(curve.size()));
  }
  if (in.Next8() < 16)
    korvel_context_set_parameter_folder(context, std::string(in.Small(300), 'f').c_str());
}

korvel_status ScreenImage(FuzzInput& in, korvel_context* context, int width, int height,
                          std::vector<uint8_t>& out) {
  std::vector<uint8_t> source;
  if (TallPatternTooCostly(width, height)) return KORVEL_ERROR_SIZE;
  const int bits = in.Small(3);
  const korvel_image_options options = {in.Small(46) - 2, in.Small(6), in.Small(6), in.Small(6) - 1,
                                        in.Small(2)};
  const size_t sourceStride = Stride(in, width, 8), outStride = Stride(in, width, bits);
  if (!Sized(source, sourceStride, height, in.Next8()) || !Sized(out, outStride, height, 0xA5))
    return KORVEL_ERROR_SIZE;
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 7 + in.Next8());
  if (in.Next8() < 200)
    return korvel_context_screen_image(context, bits, &options, Data(source), sourceStride,
                                       Data(out), outStride, width, height);
  korvel_stream* stream = nullptr;
  korvel_status status =
      korvel_context_begin_stream(context, bits, &options, width, height, &stream);
  if (status != KORVEL_OK) return status;
  for (int y = 0; y < height && status == KORVEL_OK;) {
    int rows = 1 + in.Small(70);
    status = korvel_stream_screen_rows(stream, source.data() + sourceStride * y, sourceStride,
                                       out.data() + outStride * y, outStride, rows);
    if (status == KORVEL_ERROR_STREAM_END) {
      // A band past the page is refused whole; the rest of the page follows as one band.
      rows = height - y;
      status = korvel_stream_screen_rows(stream, source.data() + sourceStride * y, sourceStride,
                                         out.data() + outStride * y, outStride, rows);
    }
    y += rows;
  }
  korvel_stream_destroy(stream);
  if (status != KORVEL_OK) return status;
  // A whole page streamed gives the bytes of the whole-page call in the same state.
  std::vector<uint8_t> page(out.size(), 0xA5);
  if (korvel_context_screen_image(context, bits, &options, Data(source), sourceStride, Data(page),
                                  outStride, width, height) != KORVEL_OK ||
      page != out)
    std::abort();
  return status;
}

korvel_screen_options OwnScreenOptions(FuzzInput& in) {
  korvel_screen_options options;
  korvel_screen_options_init(&options, static_cast<korvel_screen>(in.Small(4)), in.Small(4));
  if (in.Next8() < 128) {
    options.small_drop_ink = in.Small(1100) / 1000.0 - 0.05;
    options.medium_drop_ink = in.Small(1100) / 1000.0 - 0.05;
  }
  if (in.Next8() < 8) options.size = in.Small(64);
  return options;
}

// One of korvel's own screens fed in random bands; the rows the feeds write, gathered, must
// equal the whole-page call.
korvel_status ScreenOwn(FuzzInput& in, korvel_context* context, int width, int height,
                        std::vector<uint8_t>& out) {
  std::vector<uint8_t> source;
  const korvel_screen_options options = OwnScreenOptions(in);
  const bool streamed = in.Next8() >= 128;  // chosen before the pixels use up the input
  const int bits = options.bits == 2 ? 2 : 1;
  const size_t sourceStride = Stride(in, width, 8), outStride = Stride(in, width, bits);
  if (!Sized(source, sourceStride, height, in.Next8()) || !Sized(out, outStride, height, 0xA5))
    return KORVEL_ERROR_SIZE;
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 13 + in.Next8());
  if (!streamed)
    return korvel_context_screen(context, &options, Data(source), sourceStride, Data(out),
                                 outStride, width, height);
  korvel_stream* stream = nullptr;
  korvel_status status =
      korvel_context_begin_screen_stream(context, &options, width, height, &stream);
  if (status != KORVEL_OK) return status;
  int delay = 0, written = 0;
  korvel_stream_get_delay(stream, &delay);
  for (int y = 0; y < height && status == KORVEL_OK;) {
    const int rows = std::min(1 + in.Small(70), height - y);
    int now = 0;
    status = korvel_stream_feed(stream, source.data() + sourceStride * y, sourceStride, rows,
                                out.data() + outStride * written, outStride, &now);
    if (now > rows + delay || written + now > y + rows) std::abort();
    written += now;
    y += rows;
  }
  korvel_stream_destroy(stream);
  if (status != KORVEL_OK) return status;
  std::vector<uint8_t> page(out.size(), 0xA5);
  if (written != height ||
      korvel_context_screen(context, &options, Data(source), sourceStride, Data(page), outStride,
                            width, height) != KORVEL_OK ||
      page != out)
    std::abort();
  return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  korvel_context* context = nullptr;
  if (korvel_context_create(&context) != KORVEL_OK) return 0;
  Configure(in, context);
  const int call = in.Small(6);
  const int width = in.Dimension(200), height = in.Dimension(200);
  std::vector<uint8_t> out, source, planes[4];
  korvel_status status = KORVEL_ERROR_SIZE;
  switch (call) {
    case 0: {
      const int bits = in.Small(5);
      const size_t stride = Stride(in, width, bits);
      if (!Sized(out, stride, height, 0xA5)) break;
      status = korvel_context_template(context, bits, in.Small(104) - 2, Data(out), stride, width,
                                       height);
      break;
    }
    case 1: {
      const int count = in.Small(6);
      const size_t stride = Stride(in, width, 2);
      unsigned char* pointers[4];
      for (int p = 0; p < 4; ++p) {
        if (!Sized(planes[p], stride, height, 0xA5)) return korvel_context_destroy(context), 0;
        pointers[p] = Data(planes[p]);
      }
      status = korvel_context_split(context, count, pointers, stride, width, height);
      break;
    }
    case 2:
      status = ScreenImage(in, context, width, height, out);
      break;
    case 3: {
      const size_t sourceStride = Stride(in, width, 8), stride = Stride(in, width, 4);
      if (!Sized(source, sourceStride, height, in.Next8()) || !Sized(out, stride, height, 0xA5))
        break;
      status = korvel_context_screen_image_4bit(context, Data(source), sourceStride, Data(out),
                                                stride, width, height);
      break;
    }
    case 5:
      status = ScreenOwn(in, context, width, height, out);
      break;
    case 4: {
      std::vector<uint8_t> mask(static_cast<size_t>(in.Small(400)));
      for (uint8_t& byte : mask) byte = in.Next8();
      korvel_context_load_mask(context, mask.data(), mask.size());
      const int bits = 1 + in.Small(2);
      const size_t sourceStride = Stride(in, width, 8), stride = Stride(in, width, bits);
      if (!Sized(source, sourceStride, height, 0x40) || !Sized(out, stride, height, 0xA5)) break;
      status = korvel_context_dither_mask(context, bits, Data(source), sourceStride, Data(out),
                                          stride, width, height, in.Small(3), int(in.Next32()),
                                          int(in.Next32()), in.Small(40) - 1, in.Small(40) - 1);
      break;
    }
  }
  // A refusal writes nothing.
  for (const std::vector<uint8_t>* b : {&out, &planes[0], &planes[1], &planes[2], &planes[3]})
    if (status != KORVEL_OK && *b != std::vector<uint8_t>(b->size(), 0xA5)) std::abort();
  korvel_context_destroy(context);
  return 0;
}
