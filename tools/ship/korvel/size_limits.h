// The largest images the tool accepts, checked against declared sizes before any allocation so
// that a corrupt or hostile header cannot make it reserve gigabytes.
#ifndef KORVEL_TOOL_SIZE_LIMITS_H
#define KORVEL_TOOL_SIZE_LIMITS_H

#include <cstdint>
#include <string>

// A side of 1,048,576 pixels covers a 20 m banner at 1200 dpi; 2^30 pixels keep the 8-bit
// image and the library's working raster of the same size well inside the library's 2 GiB limit.
constexpr int kMaxImageSide = 1 << 20;
constexpr int64_t kMaxImagePixels = int64_t{1} << 30;

// Throws ToolError "<what>: ..." for a zero, negative or too large size of an image read.
void CheckImageSize(int64_t width, int64_t height, const std::string& what);
// The same for a size given on the command line: throws UsageError.
void CheckRequestedSize(int64_t width, int64_t height, const std::string& option);

#endif
