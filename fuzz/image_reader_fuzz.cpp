// The command-line tool's image readers with arbitrary file contents: every input either reads
// as an image of the size it declares or is refused with the tool's own error, within a
// memory cap, never a crash.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image_reader.h"
#include "tool_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The readers work on a named file, as the tool does.
  static std::string path = [] {
    char name[] = "/tmp/korvel-fuzz-image-XXXXXX";
    const int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name);
  }();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    Progress quiet;
    const GreyImage image = ReadGreyImage(path, quiet);
    if (image.width <= 0 || image.height <= 0) std::abort();
  } catch (const ToolError&) {
  }
  return 0;
}
