// The pass-parameter files: one small INI file per quality level holding the points of the
// tone curve (section "QNT_CURVE") and the profile of the compensation ramp
// (section "QNT_COMPENSATION").
//
// Location: "<exe dir>/Data/QntPassParam_<level>.ini", or
// "$KORVEL_DATA_DIR/QntPassParam_<level>.ini" when that environment variable is set and not empty.
// A path longer than 255 characters, and any path under the executable's directory when that
// directory cannot be determined, is treated as a missing file. Every read opens the file again,
// so an edited file takes effect at the next read; the library never writes it.
#ifndef KORVEL_CONFIG_PASS_PARAM_FILE_H
#define KORVEL_CONFIG_PASS_PARAM_FILE_H

#include <cstddef>

constexpr char kCurveSection[] = "QNT_CURVE";
constexpr char kCurveCountKey[] = "EffectiveParams";
constexpr char kCompensationSection[] = "QNT_COMPENSATION";
constexpr char kDataDirVariable[] = "KORVEL_DATA_DIR";
constexpr size_t kPassParamPathCapacity = 256;  // the longest path is 255 characters

// Writes the path of the pass-parameter file of a quality level into `path` (at least
// kPassParamPathCapacity bytes). Returns false, with `path` empty, when it would be too long or
// the executable's directory it would lie in is unknown.
bool ComposePassParamPath(int level, char* path);

// The same from given parts: `dataDir` is the override (null or empty: none) and `exeDirectory`
// the executable's directory (null: unknown).
bool ComposePassParamPathFrom(const char* dataDir, const char* exeDirectory, int level, char* path);

// The file of one quality level, its path composed once; every read is one profile query.
class PassParamFile {
 public:
  explicit PassParamFile(int level);

  // Integer value of a key, 0 when the file, section or key is missing.
  int Read(const char* section, const char* key) const;
  // Value of the key "Param<index>".
  int ReadParam(const char* section, int index) const;

 private:
  char path_[kPassParamPathCapacity];
  bool available_;
};

#endif
