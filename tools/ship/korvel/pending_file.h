// An output file that appears under its name only once it is complete.
#ifndef KORVEL_TOOL_PENDING_FILE_H
#define KORVEL_TOOL_PENDING_FILE_H

#include <cstdio>
#include <string>

// Writes go to a hidden temporary file in the target's own folder (so that the final rename
// stays on one file system and is atomic); Commit renames it over the target. Destroying an
// uncommitted file removes the temporary, leaving any earlier file of that name as it was, and so
// does SIGINT or SIGTERM. The output keeps the permission bits of the file it replaces; anything
// at the target's name that is not a regular file (a FIFO, a device, a folder) is refused. The
// path "-" is standard output, written straight through (a failure may leave part of it written).
class PendingFile {
 public:
  // Throws ToolError "<path>: cannot write: <reason>" when the folder does not take files or
  // the target is not a regular file.
  explicit PendingFile(const std::string& path);
  ~PendingFile();
  PendingFile(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  PendingFile& operator=(PendingFile&&) = delete;

  const std::string& Path() const { return path_; }
  const std::string& TemporaryPath() const { return temporary_; }

  // A stream on the temporary file; the PendingFile closes it.
  FILE* Stream();
  // Writes bytes to the stream; throws ToolError when they do not all get through.
  void Write(const void* bytes, size_t length);
  // The descriptor, for a writer that closes it itself (libtiff does).
  int ReleaseDescriptor();
  // Flushes and closes the stream; throws ToolError when anything failed to reach the disk.
  void Close();
  // Closes and renames the temporary file to the target's name.
  void Commit();

 private:
  std::string path_;
  std::string temporary_;
  int descriptor_ = -1;
  FILE* stream_ = nullptr;
  bool committed_ = false;
};

#endif
