#include "ink_screen.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "screening_context.h"

namespace {

DotRaster ScreenInk(const GreyImage& ink, const InkSettings& settings,
                    const ScreenSettings& screen) {
  const Context context = ContextFor(settings);
  DotRaster raster = DotRaster::Allocate(ink.width, ink.height, screen.bits);
  // A test pattern has no pixels; its stride is still that of a row of the
  // page.
  const size_t sourceStride =
      ink.stride ? ink.stride : (static_cast<size_t>(ink.width) + 3) & ~size_t{3};
  const korvel_image_options options{screen.type, screen.cell.width, screen.cell.height,
                                     screen.dotMode, screen.templateDiffusion ? 1 : 0};
  const korvel_screen_options own = OwnScreenOptions(screen);
  const korvel_status status =
      screen.ownScreen != 0
          ? korvel_context_screen(context.get(), &own, ink.Data(), sourceStride, raster.bytes.get(),
                                  raster.stride, ink.width, ink.height)
      : screen.bits == 4 ? korvel_context_screen_image_4bit(context.get(), ink.Data(), sourceStride,
                                                            raster.bytes.get(), raster.stride,
                                                            ink.width, ink.height)
                         : korvel_context_screen_image(context.get(), screen.bits, &options,
                                                       ink.Data(), sourceStride, raster.bytes.get(),
                                                       raster.stride, ink.width, ink.height);
  Require(status, "the library refused to screen a " + std::to_string(ink.width) + "x" +
                      std::to_string(ink.height) + " image");
  return raster;
}

}  // namespace

korvel_screen_options OwnScreenOptions(const ScreenSettings& screen) {
  korvel_screen_options options;
  korvel_screen_options_init(&options, static_cast<korvel_screen>(screen.ownScreen), screen.bits);
  if (!screen.dropInksGiven) return options;
  options.small_drop_ink = screen.smallDropInk;
  options.medium_drop_ink = screen.mediumDropInk;
  return options;
}

bool OwnScreenAccepts(const ScreenSettings& screen) {
  const korvel_screen_options options = OwnScreenOptions(screen);
  const Context context = ContextFor(InkSettings{});
  korvel_stream* stream = nullptr;
  const korvel_status status =
      korvel_context_begin_screen_stream(context.get(), &options, 1, 1, &stream);
  korvel_stream_destroy(stream);
  return status == KORVEL_OK;
}

std::vector<DotRaster> ScreenInks(const std::vector<GreyImage>& inks,
                                  const std::vector<InkSettings>& settings,
                                  const ScreenSettings& screen, int threads) {
  std::vector<DotRaster> rasters(inks.size());
  std::vector<std::exception_ptr> failures(inks.size());
  std::atomic<size_t> next{0};
  // This thread screens too: `threads` counts every thread that screens.
  const size_t workers = std::min(inks.size(), static_cast<size_t>(std::max(threads, 1)));
  const auto screenInksLeft = [&] {
    for (size_t ink = next++; ink < inks.size(); ink = next++) {
      try {
        rasters[ink] = ScreenInk(inks[ink], settings[ink], screen);
      } catch (...) {
        failures[ink] = std::current_exception();
      }
    }
  };
  std::vector<std::thread> helpers;
  for (size_t helper = 1; helper < workers; ++helper) helpers.emplace_back(screenInksLeft);
  screenInksLeft();
  for (std::thread& helper : helpers) helper.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  return rasters;
}
