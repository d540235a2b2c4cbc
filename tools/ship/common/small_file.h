// Files the tools read whole, which a user or a print job names: only regular files, and only up
// to a size limit, so that a FIFO, a device or a huge (or sparse) file is refused at once instead
// of being waited on or read into memory. Messages about such a file quote its contents only as
// a short fragment with its unprintable bytes escaped.
#ifndef KORVEL_TOOL_SMALL_FILE_H
#define KORVEL_TOOL_SMALL_FILE_H

#include <cstddef>
#include <string>

constexpr size_t kMostSmallFileBytes = 1024 * 1024;

// The whole text of the file. Throws ToolError "<path>: ..." when it cannot be opened, is not a
// regular file or holds more than kMostSmallFileBytes bytes.
std::string ReadSmallFile(const std::string& path);

// At most the first 16 bytes of `text`, printable ASCII as it is and other bytes as \xNN,
// followed by "..." when text is longer.
std::string EscapedFragment(const std::string& text);

#endif
