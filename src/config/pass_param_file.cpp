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

ParameterFolder ChooseParameterFolderFrom(const std::string& own, const char* dataDir,
                                          const char* exeDirectory) {
  // A folder of the state's own is used like the override of the environment.
  if (!own.empty()) return {ParameterFolderOrigin::kOwn, own};
  if (dataDir != nullptr && dataDir[0] != '\0')
    return {ParameterFolderOrigin::kDataDirVariable, dataDir};
  // An unknown directory must not become "" and so send the lookup to /Data at the root.
  if (exeDirectory == nullptr) return {ParameterFolderOrigin::kBesideProgram, ""};
  return {ParameterFolderOrigin::kBesideProgram, std::string(exeDirectory) + "/Data"};
}

ParameterFolder ChooseParameterFolder(const std::string& own) {
  if (!own.empty()) return ChooseParameterFolderFrom(own, nullptr, nullptr);
  char exeDir[kExeDirectoryCapacity];
  const bool exeDirKnown = GetExeDirectory(exeDir);
  return ChooseParameterFolderFrom(own, std::getenv(kDataDirVariable),
                                   exeDirKnown ? exeDir : nullptr);
}

std::string PassParamFileName(int level) {
  return "QntPassParam_" + std::to_string(level) + ".ini";
}

namespace {

bool ComposePassParamPathIn(const ParameterFolder& folder, int level, char* path) {
  int written = -1;  // no path: a missing file
  if (!folder.path.empty())
    written = std::snprintf(path, kPassParamPathCapacity, "%s/%s", folder.path.c_str(),
                            PassParamFileName(level).c_str());
  if (Fitted(written, kPassParamPathCapacity)) return true;
  path[0] = '\0';
  return false;
}

}  // namespace

bool ComposePassParamPathFrom(const char* dataDir, const char* exeDirectory, int level,
                              char* path) {
  return ComposePassParamPathIn(ChooseParameterFolderFrom("", dataDir, exeDirectory), level, path);
}

bool ComposePassParamPath(int level, const std::string& folder, char* path) {
  return ComposePassParamPathIn(ChooseParameterFolder(folder), level, path);
}

std::string ParamKey(int index) {
  return "Param" + std::to_string(index);
}

PassParamFile::PassParamFile(int level, const std::string& folder)
    : loaded_(ComposePassParamPath(level, folder, path_) && LoadParameterText(path_, text_)) {}
