#include "parameter_folder.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>

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
  const korvel_folder_facts usual = UsualParameterFolder();
  if (usual.origin == KORVEL_FOLDER_DATA_DIR && usual.folder[0] == '\0')
    throw ToolError(std::string(KORVEL_DATA_DIR_VARIABLE) +
                    " names a folder whose path is too long for the library");
  if (usual.origin == KORVEL_FOLDER_DATA_DIR || IsFolder(usual.folder)) return usual.folder;
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
                  "; set " KORVEL_DATA_DIR_VARIABLE " to the folder that holds a usable one)");
}
