#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "image_reader.h"
#include "tool_error.h"

namespace {

constexpr size_t kChunkBytes = 1 << 16;

// Reads until `buffer` is full or the stream ends; the bytes read.
size_t ReadFully(int fd, unsigned char* buffer, size_t size, const std::string& name) {
  size_t filled = 0;
  while (filled < size) {
    const ssize_t got = read(fd, buffer + filled, size - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ToolError(name + ": cannot read: " + std::strerror(errno));
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  return filled;
}

}  // namespace

InputFile::InputFile(const std::string& name) : name_(name) {
  const bool standardInput = name == "-";
  const int fd = standardInput ? 0 : open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ToolError(name + ": cannot open: " + std::strerror(errno));
  struct stat status;
  const bool statted = fstat(fd, &status) == 0;
  if (statted && S_ISREG(status.st_mode) && !standardInput) {
    close(fd);
    path_ = name;  // read where it lies
    return;
  }
  try {
    if (statted && S_ISDIR(status.st_mode)) throw ToolError(name + ": is a folder, not an image");
    CopyStream(fd);
  } catch (...) {
    if (!standardInput) close(fd);
    throw;
  }
  if (!standardInput) close(fd);
}

InputFile::~InputFile() {
  if (copy_) std::fclose(copy_);
}

void InputFile::CopyStream(int fd) {
  std::vector<unsigned char> chunk(kChunkBytes);
  size_t got = ReadFully(fd, chunk.data(), chunk.size(), name_);
  if (got == 0) throw ToolError(name_ + ": file is empty");
  if (!IsKnownImageStart(chunk.data(), got))
    throw ToolError(name_ + ": unknown image format (expected PNG, PGM, PBM or a CMYK TIFF)");
  copy_ = std::tmpfile();
  if (!copy_) throw ToolError(name_ + ": cannot make a temporary copy: " + std::strerror(errno));
  uint64_t total = 0;
  while (got > 0) {
    total += got;
    if (total > kMostStreamedInputBytes)
      throw ToolError(name_ + ": more than " + std::to_string(kMostStreamedInputBytes >> 30) +
                      " GB, larger than any image the tool takes");
    if (std::fwrite(chunk.data(), 1, got, copy_) != got || std::fflush(copy_) != 0)
      throw ToolError(name_ + ": cannot make a temporary copy: " + std::strerror(errno));
    got = ReadFully(fd, chunk.data(), chunk.size(), name_);
  }
  path_ = "/proc/self/fd/" + std::to_string(fileno(copy_));
}

std::string InputFile::InUserTerms(const std::string& message) const {
  if (path_ == name_ || message.compare(0, path_.size(), path_) != 0) return message;
  return name_ + message.substr(path_.size());
}
