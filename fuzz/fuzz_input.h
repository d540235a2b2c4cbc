// The fuzzer's bytes read as a stream of choices: past the end every byte reads 0, so any input
// is a complete run.
#ifndef KORVEL_FUZZ_FUZZ_INPUT_H
#define KORVEL_FUZZ_FUZZ_INPUT_H

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t Next32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Next8();
    return v;
  }
  uint8_t Next8() { return pos_ < size_ ? data_[pos_++] : 0; }
  int Small(int limit) { return static_cast<int>(Next32() % static_cast<uint32_t>(limit)); }
  // Mostly below `typical`, sometimes anything at all (negative and huge included).
  int Dimension(int typical) { return Next8() < 240 ? Small(typical) : static_cast<int>(Next32()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The input written to a file of this process's own in /tmp (named after `prefix`), for the
// readers that take a file name; the file is reused by every run and removed when the fuzzer
// exits.
inline const char* WrittenToScratchFile(const char* prefix, const uint8_t* data, size_t size) {
  struct Scratch {
    std::string path;
    explicit Scratch(const char* prefix) : path(std::string("/tmp/") + prefix + "-XXXXXX") {
      const int fd = mkstemp(path.data());
      if (fd < 0) std::abort();
      close(fd);
    }
    ~Scratch() { unlink(path.c_str()); }
  };
  static const Scratch scratch(prefix);
  FILE* file = std::fopen(scratch.path.c_str(), "wb");
  if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size)) std::abort();
  std::fclose(file);
  return scratch.path.c_str();
}

// The buffer's bytes, or null for an empty buffer (as a caller with nothing to pass would).
inline unsigned char* Data(std::vector<uint8_t>& buffer) {
  return buffer.empty() ? nullptr : buffer.data();
}

// The jittered lines of the generated test patterns draw one random number per row for every
// line, and a raster taller than wide has about rows / 10 lines: rows * rows / 10 draws, a
// quadratic cost by design, not a fault. Beyond this many rows such a raster is left unfuzzed,
// so that a run finds faults rather than waits out that cost.
constexpr int kTallPatternRows = 8192;
inline bool TallPatternTooCostly(int width, int height) {
  return height > width && height > kTallPatternRows;
}

#endif
