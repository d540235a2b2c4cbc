#include "pending_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "temporary_cleanup.h"
#include "tool_error.h"

namespace {

[[noreturn]] void CannotWrite(const std::string& path, int error) {
  throw ToolError(path + ": cannot write: " + std::strerror(error));
}

std::string TemporaryTemplate(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".korvel-XXXXXX";
}

// The permissions a newly created file would get, which mkstemp's 0600 does not honour.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The permission bits the output gets: those of the file it replaces, so that a private file
// stays private, or those of a new file. Only a regular file is replaced: renaming over a FIFO,
// a device or a folder would put a file where something else was.
mode_t ModeForTarget(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return NewFileMode();
  if (S_ISDIR(status.st_mode)) throw ToolError(path + ": cannot write: is a folder");
  if (!S_ISREG(status.st_mode))
    throw ToolError(path + ": cannot write: not a regular file (the tool replaces files only)");
  return status.st_mode & 0777;  // never a set-id bit on new contents
}

}  // namespace

PendingFile::PendingFile(const std::string& path) : path_(path) {
  if (path == "-") {
    // Standard output: written as it comes, nothing to rename.
    descriptor_ = dup(STDOUT_FILENO);
    if (descriptor_ < 0) CannotWrite("standard output", errno);
    return;
  }
  const mode_t mode = ModeForTarget(path);
  std::string name = TemporaryTemplate(path);
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  descriptor_ = mkstemp(buffer.data());
  if (descriptor_ < 0) CannotWrite(path, errno);
  temporary_ = buffer.data();
  try {
    RegisterTemporary(temporary_);
  } catch (...) {
    close(descriptor_);
    unlink(temporary_.c_str());
    throw;
  }
  if (fchmod(descriptor_, mode) != 0) CannotWrite(path, errno);
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_)),
      temporary_(std::move(other.temporary_)),
      descriptor_(std::exchange(other.descriptor_, -1)),
      stream_(std::exchange(other.stream_, nullptr)),
      committed_(std::exchange(other.committed_, true)) {}

PendingFile::~PendingFile() {
  if (stream_)
    std::fclose(stream_);
  else if (descriptor_ >= 0)
    close(descriptor_);
  if (!committed_ && !temporary_.empty()) {
    unlink(temporary_.c_str());
    ForgetTemporary(temporary_);
  }
}

FILE* PendingFile::Stream() {
  if (!stream_) {
    stream_ = fdopen(descriptor_, "wb");
    if (!stream_) CannotWrite(path_, errno);
  }
  return stream_;
}

void PendingFile::Write(const void* bytes, size_t length) {
  if (std::fwrite(bytes, 1, length, Stream()) == length) return;
  const int error = errno;
  std::fclose(stream_);
  stream_ = nullptr;
  descriptor_ = -1;
  CannotWrite(path_, error);
}

int PendingFile::ReleaseDescriptor() {
  return std::exchange(descriptor_, -1);
}

void PendingFile::Close() {
  if (stream_) {
    const bool failed = std::fflush(stream_) != 0 || std::ferror(stream_);
    const int error = errno;
    const bool closeFailed = std::fclose(stream_) != 0;
    stream_ = nullptr;
    descriptor_ = -1;
    if (failed || closeFailed) CannotWrite(path_, failed ? error : errno);
  } else if (descriptor_ >= 0) {
    if (close(std::exchange(descriptor_, -1)) != 0) CannotWrite(path_, errno);
  }
}

void PendingFile::Commit() {
  Close();
  if (temporary_.empty()) {  // standard output
    committed_ = true;
    return;
  }
  // A FIFO or device put in the output's place since the start is not replaced either.
  ModeForTarget(path_);
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) CannotWrite(path_, errno);
  ForgetTemporary(temporary_);
  committed_ = true;
}
