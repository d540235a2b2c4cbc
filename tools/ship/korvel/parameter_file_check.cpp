#include "parameter_file_check.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>

#include "screening_context.h"
#include "tool_error.h"

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string Named(const std::string& path) {
  return path.empty() ? "the parameter file (its folder's path is too long for the library)" : path;
}

}  // namespace

// The library judges the file when the level is set: KORVEL_ERROR_PARAMETER_FILE there is its
// report on the file, not a refusal of the level.
ParameterFileState ParameterFileOf(int quality) {
  korvel_context* raw = nullptr;
  if (korvel_context_create(&raw) != KORVEL_OK) throw ToolError("cannot create a context");
  const Context context(raw);
  const korvel_status verdict = korvel_context_set_quality(raw, quality);
  if (verdict != KORVEL_OK && verdict != KORVEL_ERROR_PARAMETER_FILE)
    throw ToolError(std::string("the library refused the quality level: ") +
                    korvel_strerror(verdict));
  const ParameterFileCheck check = CheckParameterFile(raw);
  if (check.verdict == KORVEL_ERROR_ARGUMENT)
    throw ToolError("cannot ask the library about the parameter file");
  return {check.path, verdict == KORVEL_OK};
}

// From a missing or broken file the library still screens, with a curve or ramp of zeros, so
// the image comes out blank or nearly so: the tool refuses to write such an output.
void RequireParameterFile(int quality, bool ownCurve, const ScreenRule& screen) {
  const korvel_screen_facts facts = FactsOf(screen);
  const bool curveFromFile = facts.reads_tone_curve && !ownCurve;
  if (!curveFromFile && !facts.reads_file_ramp) return;
  const ParameterFileState file = ParameterFileOf(quality);
  if (curveFromFile && !file.curveUsable)
    throw ToolError(Named(file.path) + ": " + korvel_strerror(KORVEL_ERROR_PARAMETER_FILE) +
                    "; the tone curve of quality " + std::to_string(quality) +
                    " comes from it (set " KORVEL_DATA_DIR_VARIABLE
                    ", or use --quality 0 for the "
                    "identity curve)");
  if (facts.reads_file_ramp && !IsRegularFile(file.path))
    throw ToolError(Named(file.path) +
                    " not found: the compensation ramp comes from it (set " KORVEL_DATA_DIR_VARIABLE
                    ")");
}
