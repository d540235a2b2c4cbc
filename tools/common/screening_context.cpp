#include "screening_context.h"

#include "tool_error.h"

void Require(korvel_status status, const std::string& what) {
  if (status != KORVEL_OK) throw ToolError(what + ": " + korvel_strerror(status));
}

Context ContextFor(const InkSettings& settings) {
  korvel_context* context = nullptr;
  Require(korvel_context_create(&context), "cannot create a screening context");
  Context owned(context);
  Require(korvel_set_quality(context, settings.quality), "the library refused the quality level");
  if (!settings.curve.empty())
    Require(korvel_set_tone_curve(context, settings.curve.data(),
                                  static_cast<int>(settings.curve.size())),
            "the library refused the tone curve");
  return owned;
}
