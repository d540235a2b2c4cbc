#include "parameter_folder.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>

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

// A folder the user names is the library's to read, found or not, and never replaced by another.
std::string FilterParameterFolder() {
  const char* chosen = std::getenv("KORVEL_DATA_DIR");
  if (chosen && *chosen) return chosen;
  const std::string usual = UsualParameterFolder();
  if (IsFolder(usual)) return usual;
#ifdef KORVEL_FILTER_DATA_FROM_FILTER
  return ExecutableFolder() + "/" + KORVEL_FILTER_DATA_FROM_FILTER;
#else
  return "";
#endif
}

// The library judges the file when the level is set in the folder; the path it looked for
// comes from the check.
void RequireParameterFile(const std::string& folder, int quality) {
  const Context context = ContextFor(InkSettings{});
  Require(korvel_context_set_parameter_folder(context.get(), folder.c_str()),
          "the parameter folder");
  const korvel_status status = korvel_context_set_quality(context.get(), quality);
  if (status != KORVEL_ERROR_PARAMETER_FILE) return Require(status, "the quality level");
  const std::string path = CheckParameterFile(context.get()).path;
  throw ToolError(std::string(korvel_strerror(status)) + " (quality " + std::to_string(quality) +
                  ", " + (!path.empty() ? path : "no path in " + folder) +
                  "; set KORVEL_DATA_DIR to the folder that holds a usable one)");
}
