#include "tiff_support.h"

#include <cstdarg>
#include <cstdio>

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
