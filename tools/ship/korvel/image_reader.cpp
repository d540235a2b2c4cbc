#include "image_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "tool_error.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

enum class InputKind { kPng, kPnm, kTiff, kJpeg, kColourPnm, kUnknown };

InputKind KindOfSignature(const unsigned char* head, size_t length) {
  static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (length >= 8 && std::memcmp(head, kPng, 8) == 0) return InputKind::kPng;
  if (length >= 2 && head[0] == 'P') {
    if (head[1] == '1' || head[1] == '2' || head[1] == '4' || head[1] == '5')
      return InputKind::kPnm;
    if (head[1] == '3' || head[1] == '6' || head[1] == '7') return InputKind::kColourPnm;
  }
  if (length >= 4 && (std::memcmp(head, "II*\0", 4) == 0 || std::memcmp(head, "MM\0*", 4) == 0))
    return InputKind::kTiff;
  if (length >= 2 && head[0] == 0xFF && head[1] == 0xD8) return InputKind::kJpeg;
  return InputKind::kUnknown;
}

}  // namespace

bool IsKnownImageStart(const unsigned char* head, size_t length) {
  const InputKind kind = KindOfSignature(head, length);
  return kind == InputKind::kPng || kind == InputKind::kPnm || kind == InputKind::kTiff;
}

GreyImage ReadGreyImage(const std::string& path, Progress& progress) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw ToolError(path + ": cannot open: " + std::strerror(errno));
  struct stat status;
  if (fstat(fileno(file.get()), &status) == 0) {
    if (S_ISDIR(status.st_mode)) throw ToolError(path + ": is a folder, not an image");
    if (S_ISREG(status.st_mode) && status.st_size == 0) throw ToolError(path + ": file is empty");
  }
  unsigned char head[8] = {};
  const size_t length = std::fread(head, 1, sizeof head, file.get());
  if (length == 0) throw ToolError(path + ": file is empty");
  std::rewind(file.get());
  switch (KindOfSignature(head, length)) {
    case InputKind::kPng:
      return ReadPngImage(file.get(), path, progress);
    case InputKind::kPnm:
      return ReadPnmImage(file.get(), path, progress);
    case InputKind::kTiff:
      throw ToolError(path + ": TIFF input must be 8-bit CMYK (give grey as PNG or PGM)");
    case InputKind::kJpeg:
      throw ToolError(path + ": JPEG input is not supported (give a PNG or a PGM)");
    case InputKind::kColourPnm:
      throw ToolError(path + ": colour PPM/PAM input is not supported (give a PNG or a PGM)");
    case InputKind::kUnknown:
      break;
  }
  throw ToolError(path + ": unknown image format (expected PNG, PGM or PBM)");
}
