// The command-line tool's image readers with arbitrary file contents: every input either reads
// as an image of the size it declares or is refused with the tool's own error, within a
// memory cap, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "image_reader.h"
#include "tool_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The readers work on a named file, as the tool does.
  const std::string path = WrittenToScratchFile("korvel-fuzz-image", data, size);
  try {
    Progress quiet;
    const GreyImage image = ReadGreyImage(path, quiet);
    if (image.width <= 0 || image.height <= 0) std::abort();
  } catch (const ToolError&) {
  }
  return 0;
}
