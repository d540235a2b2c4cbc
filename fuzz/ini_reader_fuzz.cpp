// Fuzzes the INI integer reader. The same text must give the same answer whether it is scanned
// in one piece, in small pieces, or read from a file by the profile query.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/ini_scanner.h"
#include "config/profile_int.h"

namespace {

constexpr int kAbsent = -12345;

struct Query {
  const char* section;
  const char* key;
};

constexpr Query kQueries[] = {
    {"QNT_CURVE", "EffectiveParams"},
    {"QNT_CURVE", "Param1"},
    {"QNT_COMPENSATION", "Param6"},
    {"S", "K"},
    {"", ""},
};

int Scan(const uint8_t* data, size_t size, const Query& query, size_t piece) {
  IniIntScanner scanner(query.section, query.key);
  for (size_t at = 0; at < size && !scanner.done(); at += piece) {
    const size_t n = size - at < piece ? size - at : piece;
    scanner.Feed(reinterpret_cast<const char*>(data) + at, n);
  }
  scanner.Finish();
  return scanner.found() ? scanner.value() : kAbsent;
}

// A file of our own in /tmp for the text, removed when the fuzzer exits.
class ScratchFile {
 public:
  ScratchFile() {
    char pattern[] = "/tmp/korvel-ini-fuzz-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    close(fd);
    path_ = pattern;
  }
  ~ScratchFile() { unlink(path_.c_str()); }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

int ReadThroughFile(const uint8_t* data, size_t size, const Query& query) {
  static const ScratchFile scratch;
  FILE* file = std::fopen(scratch.path(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return GetPrivateProfileIntA(query.section, query.key, kAbsent, scratch.path());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the query, the size of the pieces and whether the text also goes
  // through a file (slow, so only for one input in eight); the rest is the text.
  const uint8_t selector = data[0];
  const Query& query = kQueries[selector % (sizeof kQueries / sizeof kQueries[0])];
  const size_t piece = 1 + selector / 8;
  ++data;
  --size;

  const int whole = Scan(data, size, query, size + 1);
  if (Scan(data, size, query, piece) != whole) std::abort();
  if (selector % 8 == 0 && ReadThroughFile(data, size, query) != whole) std::abort();
  return 0;
}
