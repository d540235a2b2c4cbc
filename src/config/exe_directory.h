// Directory of the running program, where the parameter files are expected (in its Data folder).
#ifndef KORVEL_CONFIG_EXE_DIRECTORY_H
#define KORVEL_CONFIG_EXE_DIRECTORY_H

#include <cstddef>

constexpr size_t kExeDirectoryCapacity = 260;  // bytes of the buffer GetExeDirectory fills

// Writes the directory of the process's executable (not of this library), NUL-terminated, into
// `directory` (at least kExeDirectoryCapacity bytes). It is the executable's path cut before its
// last '/'. When the path cannot be read, or its directory does not fit, the result is empty.
void GetExeDirectory(char* directory);

// The part of `fileName` before its last '/', or the whole name when it holds none, written
// NUL-terminated into `directory` of `capacity` bytes; empty when it does not fit.
void DirectoryOfFile(const char* fileName, char* directory, size_t capacity);

#endif
