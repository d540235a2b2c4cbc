#include "size_limits.h"

#include "tool_error.h"

namespace {

// What is wrong with the size, "" when nothing is.
std::string SizeProblem(int64_t width, int64_t height) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width <= 0 || height <= 0) return "image has no pixels (" + size + ")";
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
    return "image size " + size + " is too large (at most " + std::to_string(kMaxImageSide) +
           " pixels a side and " + std::to_string(kMaxImagePixels) + " pixels in all)";
  return "";
}

}  // namespace

void CheckImageSize(int64_t width, int64_t height, const std::string& what) {
  const std::string problem = SizeProblem(width, height);
  if (!problem.empty()) throw ToolError(what + ": " + problem);
}

void CheckRequestedSize(int64_t width, int64_t height, const std::string& option) {
  const std::string problem = SizeProblem(width, height);
  if (!problem.empty()) throw UsageError(option + ": " + problem);
}
