#include "data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "screening_context.h"

namespace {

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

const char* UserDataFolder() {
  const char* value = std::getenv("KORVEL_DATA_DIR");
  return value && *value ? value : nullptr;
}

std::string InstalledDataFolder() {
#ifdef KORVEL_INSTALLED_DATA_FROM_BIN
  return ExecutableFolder() + "/" + KORVEL_INSTALLED_DATA_FROM_BIN;
#else
  return "";
#endif
}

}  // namespace

void UseInstalledDataFolderIfNeeded() {
  if (UserDataFolder() || IsFolder(UsualParameterFolder())) return;
  const std::string installed = InstalledDataFolder();
  if (installed.empty() || !IsFolder(installed)) return;
  char* resolved = realpath(installed.c_str(), nullptr);
  setenv("KORVEL_DATA_DIR", resolved ? resolved : installed.c_str(), 1);
  std::free(resolved);
}

DataFolder ActiveDataFolder(const std::string& libraryPath) {
  const std::string libraryFolder = libraryPath.substr(0, libraryPath.rfind('/'));
  if (const char* folder = UserDataFolder()) {
    const std::string path = libraryPath.empty() ? folder : libraryFolder;
    char* resolved = realpath(InstalledDataFolder().c_str(), nullptr);
    const bool installed = resolved && path == resolved;
    std::free(resolved);
    return {path,
            installed ? "the installed data folder, through KORVEL_DATA_DIR" : "KORVEL_DATA_DIR"};
  }
  return {libraryFolder, "the Data folder beside the executable"};
}
