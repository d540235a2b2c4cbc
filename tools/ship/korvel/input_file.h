// The image a command reads, read from its source once. A regular file is read where it lies; a
// pipe, a FIFO, a device or standard input ("-") is copied once into an unnamed temporary file,
// which the readers then open as often as they need (to tell the format, to read it whole or
// band by band). A stream that does not begin like an image the tool knows is refused from its
// first bytes, before it is copied.
#ifndef KORVEL_TOOL_INPUT_FILE_H
#define KORVEL_TOOL_INPUT_FILE_H

#include <cstdint>
#include <cstdio>
#include <string>

// The most a stream is copied: the largest image the tool takes as plain PGM text, and more.
constexpr uint64_t kMostStreamedInputBytes = uint64_t{5} << 30;

class InputFile {
 public:
  // Throws ToolError "<name>: ..." when the source cannot be opened or read, is a folder, or is
  // a stream that is not an image or is larger than kMostStreamedInputBytes.
  explicit InputFile(const std::string& name);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The path the readers open.
  const std::string& Path() const { return path_; }
  // The message with the path of the copy replaced by the name the user gave.
  std::string InUserTerms(const std::string& message) const;

 private:
  void CopyStream(int fd);

  std::string name_;
  std::string path_;
  FILE* copy_ = nullptr;
};

#endif
