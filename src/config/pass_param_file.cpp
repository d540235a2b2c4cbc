#include "config/pass_param_file.h"

#include <cstdio>
#include <cstdlib>

#include "config/exe_directory.h"

namespace {

// True when snprintf's result says the text fitted into a buffer of `capacity` bytes.
bool Fitted(int written, size_t capacity) {
  return written >= 0 && static_cast<size_t>(written) < capacity;
}

}  // namespace

bool ComposePassParamPathFrom(const char* dataDir, const char* exeDirectory, int level,
                              char* path) {
  int written = -1;  // no path: a missing file
  if (dataDir != nullptr && dataDir[0] != '\0') {
    written = std::snprintf(path, kPassParamPathCapacity, "%s/QntPassParam_%d.ini", dataDir, level);
  } else if (exeDirectory != nullptr) {
    // An unknown directory must not become "" and so send the lookup to /Data at the root.
    written = std::snprintf(path, kPassParamPathCapacity, "%s/Data/QntPassParam_%d.ini",
                            exeDirectory, level);
  }
  if (Fitted(written, kPassParamPathCapacity)) return true;
  path[0] = '\0';
  return false;
}

bool ComposePassParamPath(int level, const std::string& folder, char* path) {
  // A folder of the state's own is used like the override of the environment.
  if (!folder.empty()) return ComposePassParamPathFrom(folder.c_str(), nullptr, level, path);
  const char* dataDir = std::getenv(kDataDirVariable);
  char exeDir[kExeDirectoryCapacity];
  const bool exeDirKnown = GetExeDirectory(exeDir);
  return ComposePassParamPathFrom(dataDir, exeDirKnown ? exeDir : nullptr, level, path);
}

std::string ParamKey(int index) {
  return "Param" + std::to_string(index);
}

PassParamFile::PassParamFile(int level, const std::string& folder)
    : loaded_(ComposePassParamPath(level, folder, path_) && LoadParameterText(path_, text_)) {}
