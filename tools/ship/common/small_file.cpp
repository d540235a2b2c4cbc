#include "small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tool_error.h"

namespace {

constexpr size_t kFragmentBytes = 16;

class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string TooLarge(const std::string& path) {
  return path + ": larger than " + std::to_string(kMostSmallFileBytes / 1024) + " KB";
}

}  // namespace

std::string ReadSmallFile(const std::string& path) {
  // O_NONBLOCK: opening a FIFO does not wait for a writer.
  const OpenFile file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) throw ToolError(path + ": cannot open: " + std::strerror(errno));
  struct stat info;
  if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
    throw ToolError(path + ": not a regular file");
  if (static_cast<size_t>(info.st_size) > kMostSmallFileBytes) throw ToolError(TooLarge(path));
  std::string text(kMostSmallFileBytes + 1, '\0');  // one byte more tells a file that grew
  size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t got = read(file.get(), &text[filled], text.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ToolError(path + ": cannot read: " + std::strerror(errno));
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  if (filled > kMostSmallFileBytes) throw ToolError(TooLarge(path));
  text.resize(filled);
  return text;
}

std::string EscapedFragment(const std::string& text) {
  std::string fragment;
  for (size_t i = 0; i < text.size() && i < kFragmentBytes; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      fragment += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      fragment += escaped;
    }
  }
  if (text.size() > kFragmentBytes) fragment += "...";
  return fragment;
}
