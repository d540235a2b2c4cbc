#include "sheet_screens.h"

#include <korvel/korvel_context.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "floyd_steinberg.h"

namespace quality {

namespace {

struct ContextDeleter {
  void operator()(korvel_context* context) const { korvel_context_destroy(context); }
};

int PackedStride(int width, int bits) {
  return ((width * bits + 31) >> 5) * 4;
}

// Packed 1- or 2-bit codes as greys, 255 - code x (255 / (2^bits - 1)).
GreyImage GreyOfCodes(const std::vector<unsigned char>& packed, int width, int height, int bits) {
  GreyImage out(width, height);
  const int stride = PackedStride(width, bits), top = (1 << bits) - 1, perByte = 8 / bits;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bits * (x % perByte + 1);
      const int code = packed[static_cast<size_t>(stride) * y + x / perByte] >> shift & top;
      out.At(x, y) = static_cast<uint8_t>(255 - code * 255 / top);
    }
  return out;
}

void Require(korvel_status status, const std::string& what) {
  if (status != KORVEL_OK) throw std::runtime_error(what + ": " + korvel_strerror(status));
}

// A screen of the library on a fresh context at quality level 0: screenCall(context, source,
// output) fills the packed output of the image at `bits`.
using ContextCall = std::function<korvel_status(korvel_context*, const unsigned char*, int,
                                                unsigned char*, int, int, int)>;
std::function<GreyImage(const GreyImage&)> OnContext(int bits, ContextCall call, std::string what) {
  return [bits, call, what](const GreyImage& image) {
    korvel_context* created = nullptr;
    Require(korvel_context_create(&created), what);
    const std::unique_ptr<korvel_context, ContextDeleter> context(created);
    std::vector<unsigned char> packed(static_cast<size_t>(PackedStride(image.width, bits)) *
                                      image.height);
    Require(call(context.get(), image.pixels.data(), image.width, packed.data(),
                 PackedStride(image.width, bits), image.width, image.height),
            what);
    return GreyOfCodes(packed, image.width, image.height, bits);
  };
}

std::function<GreyImage(const GreyImage&)> TemplateType(int bits, int type,
                                                        bool templateDiffusion) {
  const korvel_image_options options{type, 1, 1, 0, templateDiffusion ? 1 : 0};
  return OnContext(
      bits,
      [bits, options](korvel_context* context, const unsigned char* source, int sourceStride,
                      unsigned char* out, int outStride, int width, int height) {
        return korvel_context_screen_image(context, bits, &options, source, sourceStride, out,
                                           outStride, width, height);
      },
      "template type " + std::to_string(type));
}

std::function<GreyImage(const GreyImage&)> OwnScreen(int bits, korvel_screen screen) {
  return OnContext(
      bits,
      [bits, screen](korvel_context* context, const unsigned char* source, int sourceStride,
                     unsigned char* out, int outStride, int width, int height) {
        korvel_screen_options options;
        korvel_screen_options_init(&options, screen, bits);
        return korvel_context_screen(context, &options, source, sourceStride, out, outStride, width,
                                     height);
      },
      screen == KORVEL_SCREEN_FINE ? "fine" : "best");
}

}  // namespace

std::vector<SheetScreen> OneBitScreens() {
  return {
      {"ERROR DIFFUSION (34)", TemplateType(1, 34, false)},
      {"TEMPLATE DIFFUSION", TemplateType(1, 34, true)},
      {"MATRIX 257 (42)", TemplateType(1, 42, false)},
      {"FLOYD-STEINBERG", [](const GreyImage& image) { return FloydSteinbergSerpentine(image); }},
      {"FINE", OwnScreen(1, KORVEL_SCREEN_FINE)},
      {"BEST", OwnScreen(1, KORVEL_SCREEN_BEST)}};
}

std::vector<SheetScreen> TwoBitScreens() {
  return {{"FS 4 LEVELS", FloydSteinbergFourLevels},
          {"DROPS S/M/L (41)", TemplateType(2, 41, false)},
          {"FINE 2 BITS", OwnScreen(2, KORVEL_SCREEN_FINE)},
          {"BEST 2 BITS", OwnScreen(2, KORVEL_SCREEN_BEST)}};
}

GreyImage FloydSteinbergFourLevels(const GreyImage& image) {
  GreyImage out(image.width, image.height);
  std::vector<double> current(static_cast<size_t>(image.width) + 2, 0.0), next(current.size());
  for (int y = 0; y < image.height; ++y) {
    const int dir = (y & 1) == 0 ? 1 : -1;
    for (int i = 0; i < image.width; ++i) {
      const int x = dir > 0 ? i : image.width - 1 - i;
      const double value = image.At(x, y) + current[x + 1];
      const int level = std::min(3, std::max(0, static_cast<int>(std::lround(value / 85.0))));
      out.At(x, y) = static_cast<uint8_t>(85 * level);
      const double error = value - 85.0 * level;
      current[x + 1 + dir] += error * 7 / 16;
      next[x + 1 - dir] += error * 3 / 16;
      next[x + 1] += error * 5 / 16;
      next[x + 1 + dir] += error / 16;
    }
    current.swap(next);
    std::fill(next.begin(), next.end(), 0.0);
  }
  return out;
}

}  // namespace quality
