#include "parameter_folder.h"

#include <sys/stat.h>

#include <cstdlib>

#include "executable_folder.h"

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
