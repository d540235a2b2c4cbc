// Creating and destroying contexts and changing their settings. The settings that choose the
// parameter file are made first and then report the file they chose (see the header).
#include <korvel/korvel_context.h>

#include <string>
#include <vector>

#include "config/pass_param_file.h"
#include "config/tone_curve.h"
#include "interface/context.h"
#include "interface/globals.h"
#include "interface/parameter_file_status.h"

namespace {

constexpr int kLongestLevel = 100;  // the level with the longest file name

bool CurveAccepted(const int* points, int count) {
  if (count < kFewestCurvePoints || count > kMostCurvePoints) return false;
  for (int k = 0; k < count; ++k)
    if (points[k] < 0 || points[k] > 100) return false;
  return true;
}

}  // namespace

korvel_status korvel_context_create(korvel_context** out) {
  if (out == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *out = new (std::nothrow) korvel_context();
  return *out != nullptr ? KORVEL_OK : KORVEL_ERROR_NO_MEMORY;
}

void korvel_context_destroy(korvel_context* context) {
  delete context;
}

korvel_status korvel_context_set_quality(korvel_context* context, int level) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  ScreeningState& state = context->state;
  const int bucketed = BucketQualityLevel(level);
  return Guarded([&] {
    const korvel_status file =
        ParameterFileStatus(bucketed, state.parameterFolder, !state.ownCurve.empty());
    state.qualityLevel = bucketed;
    state.ResetLevelAmount();
    return file;
  });
}

korvel_status korvel_context_get_quality(const korvel_context* context, int* level) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (level == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  *level = context->state.qualityLevel;
  return KORVEL_OK;
}

korvel_status korvel_context_set_parameter_folder(korvel_context* context, const char* folder) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  return Guarded([&] {
    std::string chosen = folder != nullptr ? folder : "";
    char path[kPassParamPathCapacity];
    if (!chosen.empty() && !ComposePassParamPath(kLongestLevel, chosen, path))
      return KORVEL_ERROR_FOLDER;
    ScreeningState& state = context->state;
    const korvel_status file =
        ParameterFileStatus(state.qualityLevel, chosen, !state.ownCurve.empty());
    state.parameterFolder.swap(chosen);
    return file;
  });
}

korvel_status korvel_context_set_tone_curve(korvel_context* context, const int* points, int count) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (points == nullptr && count == 0) {
    ScreeningState& state = context->state;
    return Guarded([&] {
      const korvel_status file =
          ParameterFileStatus(state.qualityLevel, state.parameterFolder, false);
      state.ownCurve.clear();
      return file;
    });
  }
  if (points == nullptr) return KORVEL_ERROR_NULL_BUFFER;
  if (!CurveAccepted(points, count)) return KORVEL_ERROR_TONE_CURVE;
  return Guarded([&] {
    context->state.ownCurve.assign(points, points + count);
    return KORVEL_OK;
  });
}
