#include "size_limits.h"

#include "tool_error.h"

void CheckImageSize(int64_t width, int64_t height, const std::string& what) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width <= 0 || height <= 0) throw ToolError(what + ": image has no pixels (" + size + ")");
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
    throw ToolError(what + ": image size " + size + " is too large (at most " +
                    std::to_string(kMaxImageSide) + " pixels a side and " +
                    std::to_string(kMaxImagePixels) + " pixels in all)");
}
