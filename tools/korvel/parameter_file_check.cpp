#include "parameter_file_check.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>

#include "data_folder.h"
#include "screening_context.h"
#include "tool_error.h"

namespace {

constexpr size_t kPathCapacity = 256;  // the library's paths are at most 255 characters

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string Named(const std::string& path) {
  return path.empty() ? "the parameter file (its folder's path is too long for the library)" : path;
}

}  // namespace

ParameterFileState ParameterFileOf(int quality) {
  InkSettings settings;
  settings.quality = quality;
  const Context context = ContextFor(settings);
  char path[kPathCapacity] = "";
  const korvel_status status = korvel_context_check_parameters(context.get(), path, sizeof path);
  if (status != KORVEL_OK && status != KORVEL_ERROR_PARAMETER_FILE)
    Require(status, "cannot check the parameter file");
  return {path, status == KORVEL_OK};
}

// At a level above 0 the library builds the tone curve from the level's parameter file, and the
// compensation ramp comes from that file at every level. From a missing or broken file the
// library still screens, with a curve or ramp of zeros, so the image comes out blank or nearly
// so: the tool refuses to write such an output.
void RequireParameterFile(int quality, bool ownCurve, const ScreenRule& screen) {
  const bool curveFromFile =
      screen.readsToneCurve && !ownCurve && BucketedQualityLevel(quality) > 0;
  if (!curveFromFile && !screen.readsRampFromFile) return;
  const ParameterFileState file = ParameterFileOf(quality);
  if (curveFromFile && !file.curveUsable)
    throw ToolError(Named(file.path) + ": " + korvel_strerror(KORVEL_ERROR_PARAMETER_FILE) +
                    "; the tone curve of quality " + std::to_string(quality) +
                    " comes from it (set KORVEL_DATA_DIR, or use --quality 0 for the identity "
                    "curve)");
  if (screen.readsRampFromFile && !IsRegularFile(file.path))
    throw ToolError(Named(file.path) +
                    " not found: the compensation ramp comes from it (set KORVEL_DATA_DIR)");
}
