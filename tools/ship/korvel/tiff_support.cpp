#include "tiff_support.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>

#include "pending_file.h"
#include "tool_error.h"

namespace {

std::string g_lastTiffError;

void OnTiffError(const char* module, const char* format, va_list arguments) {
  char message[256];
  std::vsnprintf(message, sizeof message, format, arguments);
  g_lastTiffError = std::string(module ? module : "libtiff") + ": " + message;
}

void OnTiffWarning(const char*, const char*, va_list) {}

}  // namespace

void CatchTiffMessages() {
  TIFFSetErrorHandler(OnTiffError);
  TIFFSetWarningHandler(OnTiffWarning);
  g_lastTiffError.clear();
}

const std::string& LastTiffError() {
  return g_lastTiffError;
}

TiffHandle OpenTiffForWriting(PendingFile& file) {
  CatchTiffMessages();
  const int descriptor = file.ReleaseDescriptor();
  TiffHandle tiff(TIFFFdOpen(descriptor, file.TemporaryPath().c_str(), "w"));
  if (!tiff) {
    close(descriptor);
    throw ToolError(file.Path() + ": cannot write TIFF (" + LastTiffError() + ")");
  }
  return tiff;
}
