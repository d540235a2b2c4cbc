#include "config/profile_int.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/ini_scanner.h"

namespace {

constexpr size_t kReadChunk = 16 * 1024;

// Closes a file descriptor when the query returns.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens a regular file for reading. Pipes, devices and directories are refused: they may block
// or never end. O_NONBLOCK keeps the open itself from waiting on a FIFO.
int OpenRegularFile(const char* path) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Streams the file through the scanner until it has its answer or the file ends. A read error
// ends the text where it happened.
void ScanFile(int fd, IniIntScanner& scanner) {
  char chunk[kReadChunk];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (scanner.Feed(chunk, static_cast<size_t>(got))) return;
  }
  scanner.Finish();
}

}  // namespace

int GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                          const char* path) {
  if (section == nullptr || key == nullptr || path == nullptr) return defaultValue;
  IniIntScanner scanner(section, key);
  if (scanner.done()) return scanner.found() ? scanner.value() : defaultValue;

  FileDescriptor file(OpenRegularFile(path));
  if (file.get() < 0) return defaultValue;
  ScanFile(file.get(), scanner);
  return scanner.found() ? scanner.value() : defaultValue;
}
