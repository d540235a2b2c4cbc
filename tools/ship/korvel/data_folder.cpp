#include "data_folder.h"

#include <korvel/korvel_context.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "screening_context.h"

namespace {

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string InstalledDataFolder() {
#ifdef KORVEL_INSTALLED_DATA_FROM_BIN
  return ExecutableFolder() + "/" + KORVEL_INSTALLED_DATA_FROM_BIN;
#else
  return "";
#endif
}

bool IsInstalledDataFolder(const std::string& path) {
  char* resolved = realpath(InstalledDataFolder().c_str(), nullptr);
  const bool installed = resolved && path == resolved;
  std::free(resolved);
  return installed;
}

std::string OriginOf(const korvel_folder_facts& folder) {
  switch (folder.origin) {
    case KORVEL_FOLDER_OWN:
      return "the program's own";
    case KORVEL_FOLDER_DATA_DIR:
      return IsInstalledDataFolder(folder.folder)
                 ? "the installed data folder, through " KORVEL_DATA_DIR_VARIABLE
                 : KORVEL_DATA_DIR_VARIABLE;
    case KORVEL_FOLDER_BESIDE_PROGRAM:
      break;
  }
  return "the Data folder beside the executable";
}

}  // namespace

void UseInstalledDataFolderIfNeeded() {
  const korvel_folder_facts usual = UsualParameterFolder();
  if (usual.origin == KORVEL_FOLDER_DATA_DIR || IsFolder(usual.folder)) return;
  const std::string installed = InstalledDataFolder();
  if (installed.empty() || !IsFolder(installed)) return;
  char* resolved = realpath(installed.c_str(), nullptr);
  setenv(KORVEL_DATA_DIR_VARIABLE, resolved ? resolved : installed.c_str(), 1);
  std::free(resolved);
}

DataFolder ActiveDataFolder() {
  const korvel_folder_facts usual = UsualParameterFolder();
  const std::string path =
      usual.folder[0] != '\0' ? usual.folder : "(a path the library cannot use)";
  return {path, OriginOf(usual)};
}
