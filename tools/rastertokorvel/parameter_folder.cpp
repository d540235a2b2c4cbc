#include "parameter_folder.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "executable_folder.h"
#include "screening_context.h"
#include "tool_error.h"

namespace {

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string FilterParameterFolder() {
  const char* chosen = std::getenv("KORVEL_DATA_DIR");
  if (chosen && *chosen) return chosen;
  const std::string beside = ExecutableFolder() + "/Data";
  if (IsFolder(beside)) return beside;
#ifdef KORVEL_FILTER_DATA_FROM_FILTER
  return ExecutableFolder() + "/" + KORVEL_FILTER_DATA_FROM_FILTER;
#else
  return "";
#endif
}

void RequireParameterFile(const std::string& folder, int quality) {
  InkSettings settings;
  settings.quality = quality;
  int level = 0;
  Require(korvel_get_quality(ContextFor(settings).get(), &level), "the quality level");
  if (level == 0 || level == -1) return;
  const std::string path = folder + "/QntPassParam_" + std::to_string(level) + ".ini";
  if (access(path.c_str(), R_OK) != 0)
    throw ToolError("the parameter file of quality level " + std::to_string(quality) + ", " + path +
                    ", cannot be read (set KORVEL_DATA_DIR to the folder that holds it)");
}
