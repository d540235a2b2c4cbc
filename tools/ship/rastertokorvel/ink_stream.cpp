#include "ink_stream.h"

#include <string>

#include "tool_error.h"

InkStream::InkStream(const FilterSettings& settings, char ink, int width, int height)
    : context_(ContextFor(InkSettingsFor(settings, ink))) {
  if (!settings.parameterFolder.empty())
    Require(korvel_context_set_parameter_folder(context_.get(), settings.parameterFolder.c_str()),
            "the parameter folder " + settings.parameterFolder);
  korvel_stream* begun = nullptr;
  Require(BeginStream(settings, width, height, &begun),
          "the " + ScreenName(settings.screen) + " screen at " + std::to_string(settings.bits) +
              (settings.bits == 1 ? " bit" : " bits") + " on a " + std::to_string(width) + "x" +
              std::to_string(height) + " page");
  stream_.reset(begun);
  Require(korvel_stream_get_delay(stream_.get(), &delay_), "the stream's delay");
}

korvel_status InkStream::BeginStream(const FilterSettings& settings, int width, int height,
                                     korvel_stream** begun) {
  if (settings.screen.byPrintQuality)
    throw ToolError("the " + ScreenName(settings.screen) +
                    " screen stands for another: settings must pass through ScreenFor");
  if (settings.screen.ownScreen != kNoOwnScreen) {
    korvel_screen_options options;
    korvel_screen_options_init(&options, static_cast<korvel_screen>(settings.screen.ownScreen),
                               settings.bits);
    return korvel_context_begin_screen_stream(context_.get(), &options, width, height, begun);
  }
  const korvel_image_options options{TemplateType(settings), 1, 1, 0,
                                     UsesTemplateDiffusion(settings) ? 1 : 0};
  return korvel_context_begin_stream(context_.get(), settings.bits, &options, width, height, begun);
}

int InkStream::Screen(const uint8_t* grey, size_t greyStride, uint8_t* dots, size_t dotStride,
                      int rows) {
  int written = 0;
  Require(korvel_stream_feed(stream_.get(), grey, greyStride, rows, dots, dotStride, &written),
          "the library refused a band of rows");
  return written;
}
