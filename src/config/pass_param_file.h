// The pass-parameter files: one small INI file per quality level holding the points of the
// tone curve (section "QNT_CURVE") and the profile of the compensation ramp
// (section "QNT_COMPENSATION").
//
// Location: "<exe dir>/Data/QntPassParam_<level>.ini", or
// "$KORVEL_DATA_DIR/QntPassParam_<level>.ini" when that environment variable is set and not empty.
// A path longer than 255 characters, and any path under the executable's directory when that
// directory cannot be determined, is treated as a missing file, and so is a file that is not a
// regular file or is larger than 1 MB. Each set-up reads the file afresh, once, so an edited
// file takes effect at the next set-up; the library never writes it.
#ifndef KORVEL_CONFIG_PASS_PARAM_FILE_H
#define KORVEL_CONFIG_PASS_PARAM_FILE_H

#include <korvel/korvel_context.h>

#include <cstddef>
#include <string>

#include "config/ini_section.h"

constexpr char kCurveSection[] = "QNT_CURVE";
constexpr char kCurveCountKey[] = "EffectiveParams";
constexpr char kCompensationSection[] = "QNT_COMPENSATION";
constexpr char kDataDirVariable[] = KORVEL_DATA_DIR_VARIABLE;
constexpr size_t kPassParamPathCapacity = 256;  // the longest path is 255 characters

// The folder the files of a state are looked for in, and why that one.
enum class ParameterFolderOrigin { kOwn, kDataDirVariable, kBesideProgram };
struct ParameterFolder {
  ParameterFolderOrigin origin;
  std::string path;  // without a trailing '/'; "" beside a program whose folder is unknown
};

// The folder from given parts: the state's own folder (empty: none), the override `dataDir`
// (null or empty: none) and the executable's directory `exeDirectory` (null: unknown).
ParameterFolder ChooseParameterFolderFrom(const std::string& own, const char* dataDir,
                                          const char* exeDirectory);
// The same with the override of the environment and the running program's directory.
ParameterFolder ChooseParameterFolder(const std::string& own);

// The name of the file of a quality level, "QntPassParam_<level>.ini".
std::string PassParamFileName(int level);

// Writes the path of the pass-parameter file of a quality level, in `folder` or (when it is
// empty) in the usual place, into `path` (at least kPassParamPathCapacity bytes). Returns false,
// with `path` empty, when it would be too long or the executable's directory it would lie in is
// unknown.
bool ComposePassParamPath(int level, const std::string& folder, char* path);

// The same from given parts: `dataDir` is the override (null or empty: none) and `exeDirectory`
// the executable's directory (null: unknown).
bool ComposePassParamPathFrom(const char* dataDir, const char* exeDirectory, int level, char* path);

// The key "Param<index>" of a curve or compensation section.
std::string ParamKey(int index);

// The file of one quality level, its path composed and its text read once, when it is made.
class PassParamFile {
 public:
  explicit PassParamFile(int level, const std::string& folder = std::string());

  // The entries of a section; none when the file or the section is missing.
  IniSection Section(const char* name) const { return IniSection(text_, name); }
  // False when the path could not be composed or the file could not be read.
  bool loaded() const { return loaded_; }
  // The composed path, "" when it could not be composed.
  const char* path() const { return path_; }

 private:
  char path_[kPassParamPathCapacity];
  std::string text_;
  bool loaded_;
};

#endif
