// Opening the files the library reads (parameter files, INI files): regular files only, never
// waiting on a FIFO, closed when their holder goes.
#ifndef KORVEL_CONFIG_REGULAR_FILE_H
#define KORVEL_CONFIG_REGULAR_FILE_H

#include <sys/types.h>

// A file descriptor closed when it goes out of scope; -1 holds none.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens `path` for reading when it is a regular file and gives its size in *size; -1 for a
// missing file, a folder, a FIFO or a device (they may block or never end). O_NONBLOCK keeps
// the open itself from waiting on a FIFO.
int OpenRegularFile(const char* path, off_t* size = nullptr);

#endif
