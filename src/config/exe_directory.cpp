#include "config/exe_directory.h"

#include <unistd.h>

#include <climits>
#include <cstring>

bool DirectoryOfFile(const char* fileName, char* directory, size_t capacity) {
  if (capacity == 0) return false;
  const char* lastSlash = std::strrchr(fileName, '/');
  const size_t length =
      lastSlash ? static_cast<size_t>(lastSlash - fileName) : std::strlen(fileName);
  if (length >= capacity) {
    directory[0] = '\0';
    return false;
  }
  std::memcpy(directory, fileName, length);
  directory[length] = '\0';
  return true;
}

bool GetExeDirectory(char* directory) {
  char path[PATH_MAX + 1];
  const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
  if (length <= 0) {
    directory[0] = '\0';
    return false;
  }
  path[length] = '\0';
  return DirectoryOfFile(path, directory, kExeDirectoryCapacity);
}
