#include "parameter_file_check.h"

#include <unistd.h>

#include "data_folder.h"
#include "tool_error.h"

// At a level above 0 the library builds the tone curve from the level's parameter file, and the
// compensation ramp comes from that file at every level. Without the file the library still
// screens, with a curve or ramp of zeros, so the image comes out blank or nearly so: the tool
// refuses to write such an output.
void RequireParameterFile(int quality, const ScreenRule& screen) {
  const bool curveFromFile = screen.readsToneCurve && BucketedQualityLevel(quality) > 0;
  if (!curveFromFile && !screen.readsRampFromFile) return;
  const std::string path = ParameterFilePath(quality);
  if (access(path.c_str(), R_OK) == 0) return;
  if (screen.readsRampFromFile)
    throw ToolError(path + " not found: the compensation ramp comes from it (set KORVEL_DATA_DIR)");
  throw ToolError(
      path + " not found: the tone curve of quality " + std::to_string(quality) +
      " comes from it (set KORVEL_DATA_DIR, or use --quality 0 for the identity curve)");
}
