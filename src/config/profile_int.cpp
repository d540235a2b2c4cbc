#include "config/profile_int.h"

#include <unistd.h>

#include <cerrno>

#include "config/ini_scanner.h"
#include "config/regular_file.h"

namespace {

constexpr size_t kReadChunk = 16 * 1024;

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
