#include "config/pass_param_file.h"

#include <cstdio>
#include <cstdlib>

#include "config/exe_directory.h"
#include "config/profile_int.h"

namespace {

constexpr size_t kKeyCapacity = 256;

// True when snprintf's result says the text fitted into a buffer of `capacity` bytes.
bool Fitted(int written, size_t capacity) {
  return written >= 0 && static_cast<size_t>(written) < capacity;
}

}  // namespace

bool ComposePassParamPath(int level, const std::string& folder, char* path) {
  const char* dataDir = std::getenv(kDataDirVariable);
  int written;
  if (!folder.empty()) {
    written = std::snprintf(path, kPassParamPathCapacity, "%s/QntPassParam_%d.ini", folder.c_str(),
                            level);
  } else if (dataDir != nullptr && dataDir[0] != '\0') {
    written = std::snprintf(path, kPassParamPathCapacity, "%s/QntPassParam_%d.ini", dataDir, level);
  } else {
    char exeDir[kExeDirectoryCapacity];
    GetExeDirectory(exeDir);
    written =
        std::snprintf(path, kPassParamPathCapacity, "%s/Data/QntPassParam_%d.ini", exeDir, level);
  }
  if (Fitted(written, kPassParamPathCapacity)) return true;
  path[0] = '\0';
  return false;
}

PassParamFile::PassParamFile(int level, const std::string& folder)
    : available_(ComposePassParamPath(level, folder, path_)) {}

int PassParamFile::Read(const char* section, const char* key) const {
  if (!available_) return 0;
  return GetPrivateProfileIntA(section, key, 0, path_);
}

int PassParamFile::ReadParam(const char* section, int index) const {
  char key[kKeyCapacity];
  std::snprintf(key, sizeof key, "Param%d", index);
  return Read(section, key);
}
