// Directory of the running program, where the parameter files are expected (in its Data folder).
#ifndef KORVEL_CONFIG_EXE_DIRECTORY_H
#define KORVEL_CONFIG_EXE_DIRECTORY_H

#include <cstddef>

constexpr size_t kExeDirectoryCapacity = 260;  // bytes of the buffer GetExeDirectory fills

// Writes the directory of the process's executable (not of this library), NUL-terminated, into
// `directory` (at least kExeDirectoryCapacity bytes). It is the executable's path cut before its
// last '/' (empty for a program in the root folder). Returns false, with an empty result, when
// the path cannot be read or its directory does not fit: the directory is then unknown.
bool GetExeDirectory(char* directory);

// The part of `fileName` before its last '/', or the whole name when it holds none, written
// NUL-terminated into `directory` of `capacity` bytes. Returns false, with `directory` empty
// (when capacity allows), when it does not fit.
bool DirectoryOfFile(const char* fileName, char* directory, size_t capacity);

#endif
