#include "config/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) close(fd_);
}

int OpenRegularFile(const char* path, off_t* size) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  if (size != nullptr) *size = info.st_size;
  return fd;
}
