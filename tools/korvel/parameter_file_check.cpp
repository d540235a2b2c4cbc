#include "parameter_file_check.h"

#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "data_folder.h"
#include "tone_curve_file.h"
#include "tool_error.h"

namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The "EffectiveParams" entry of the "QNT_CURVE" section, read as the library reads it: section
// and key names without regard to case, a missing entry as 0.
long CurvePointCount(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  bool inCurveSection = false;
  for (bool first = true; std::getline(file, line); first = false) {
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte-order mark
    line = Trimmed(line);
    if (!line.empty() && line.front() == '[') {
      inCurveSection = strcasecmp(line.c_str(), "[QNT_CURVE]") == 0;
      continue;
    }
    const size_t equals = line.find('=');
    if (!inCurveSection || equals == std::string::npos) continue;
    if (strcasecmp(Trimmed(line.substr(0, equals)).c_str(), "EffectiveParams") == 0)
      return std::strtol(Trimmed(line.substr(equals + 1)).c_str(), nullptr, 10);
  }
  return 0;
}

}  // namespace

// At a level above 0 the library builds the tone curve from the level's parameter file, and the
// compensation ramp comes from that file at every level. Without the file the library still
// screens, with a curve or ramp of zeros, so the image comes out blank or nearly so: the tool
// refuses to write such an output, and likewise when the file's curve has fewer points than the
// library uses (it then screens with no curve at all).
void RequireParameterFile(int quality, bool ownCurve, const ScreenRule& screen) {
  const bool curveFromFile =
      screen.readsToneCurve && !ownCurve && BucketedQualityLevel(quality) > 0;
  if (!curveFromFile && !screen.readsRampFromFile) return;
  const std::string path = ParameterFilePath(quality);
  if (access(path.c_str(), R_OK) == 0) {
    const long points = CurvePointCount(path);
    if (curveFromFile && points < kFewestCurvePoints)
      throw ToolError(path + ": EffectiveParams in [QNT_CURVE] is " + std::to_string(points) +
                      ", a tone curve needs at least " + std::to_string(kFewestCurvePoints) +
                      " points (the image would come out blank)");
    return;
  }
  if (screen.readsRampFromFile)
    throw ToolError(path + " not found: the compensation ramp comes from it (set KORVEL_DATA_DIR)");
  throw ToolError(
      path + " not found: the tone curve of quality " + std::to_string(quality) +
      " comes from it (set KORVEL_DATA_DIR, or use --quality 0 for the identity curve)");
}
