// Asking a context whether the parameter file its image calls read is usable.
#include <korvel/korvel_context.h>

#include <cstring>

#include "config/curve_file_check.h"
#include "config/tone_curve.h"
#include "interface/context.h"
#include "interface/parameter_file_status.h"

namespace {

korvel_status StatusOfFile(bool readsFileCurve, const PassParamFile& file) {
  if (!readsFileCurve || HoldsUsableCurve(file)) return KORVEL_OK;
  return KORVEL_ERROR_PARAMETER_FILE;
}

}  // namespace

korvel_status ParameterFileStatus(int qualityLevel, const std::string& folder, bool ownCurve) {
  if (!ReadsFileCurve(qualityLevel, ownCurve)) return KORVEL_OK;
  return StatusOfFile(true, PassParamFile(qualityLevel, folder));
}

korvel_status korvel_context_check_parameters(const korvel_context* context, char* path,
                                              size_t path_size) {
  if (context == nullptr) return KORVEL_ERROR_NULL_CONTEXT;
  if (path == nullptr && path_size != 0) return KORVEL_ERROR_NULL_BUFFER;
  return Guarded([&] {
    const ScreeningState& state = context->state;
    const PassParamFile file(state.qualityLevel, state.parameterFolder);
    const size_t length = std::strlen(file.path());
    if (path != nullptr && length >= path_size) return KORVEL_ERROR_ARGUMENT;
    if (path != nullptr) std::memcpy(path, file.path(), length + 1);
    return StatusOfFile(ReadsFileCurve(state), file);
  });
}
