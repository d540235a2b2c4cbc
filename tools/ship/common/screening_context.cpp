#include "screening_context.h"

#include "tool_error.h"

namespace {

constexpr size_t kParameterPathCapacity = 256;  // the library says 256 bytes always suffice

}  // namespace

void Require(korvel_status status, const std::string& what) {
  if (status != KORVEL_OK) throw ToolError(what + ": " + korvel_strerror(status));
}

// The own curve is set before the level, so that the level's report on its parameter file is
// the one that counts. That report is a warning, the level being set: whether it matters
// depends on the screen, and the hosts act on it with the screen's facts before they screen
// (RequireParameterFile).
Context ContextFor(const InkSettings& settings) {
  korvel_context* context = nullptr;
  Require(korvel_context_create(&context), "cannot create a screening context");
  Context owned(context);
  if (!settings.curve.empty())
    Require(korvel_context_set_tone_curve(context, settings.curve.data(),
                                          static_cast<int>(settings.curve.size())),
            "the library refused the tone curve");
  const korvel_status level = korvel_context_set_quality(context, settings.quality);
  if (level != KORVEL_ERROR_PARAMETER_FILE) Require(level, "the library refused the quality level");
  return owned;
}

ParameterFileCheck CheckParameterFile(korvel_context* context) {
  char path[kParameterPathCapacity] = "";
  const korvel_status verdict = korvel_context_check_parameters(context, path, sizeof path);
  return {path, verdict};
}

korvel_folder_facts UsualParameterFolder() {
  const Context context = ContextFor(InkSettings{});
  korvel_folder_facts facts{};
  facts.size = sizeof facts;
  Require(korvel_context_describe_folder(context.get(), &facts), "the usual parameter folder");
  return facts;
}

korvel_quality_facts QualityFacts(int level) {
  korvel_quality_facts facts{};
  facts.size = sizeof facts;
  Require(korvel_quality_describe(level, &facts), "the quality level");
  return facts;
}
