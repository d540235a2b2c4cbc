#include "ink_stream.h"

#include <string>

InkStream::InkStream(const FilterSettings& settings, char ink, int width, int height)
    : context_(ContextFor(InkSettingsFor(settings, ink))) {
  if (!settings.parameterFolder.empty())
    Require(korvel_set_parameter_folder(context_.get(), settings.parameterFolder.c_str()),
            "the parameter folder " + settings.parameterFolder);
  const korvel_image_options options{TemplateType(settings), 1, 1, 0,
                                     UsesTemplateDiffusion(settings) ? 1 : 0};
  korvel_stream* begun = nullptr;
  Require(korvel_stream_begin(context_.get(), settings.bits, &options, width, height, &begun),
          "the " + ScreenName(settings.screen) + " screen at " + std::to_string(settings.bits) +
              (settings.bits == 1 ? " bit" : " bits") + " on a " + std::to_string(width) + "x" +
              std::to_string(height) + " page");
  stream_.reset(begun);
}

void InkStream::Screen(const uint8_t* grey, size_t greyStride, uint8_t* dots, size_t dotStride,
                       int rows) {
  Require(korvel_stream_rows(stream_.get(), grey, greyStride, dots, dotStride, rows),
          "the library refused a band of rows");
}
