// The CUPS filter's raster reading and band pipeline on arbitrary bytes: the first bytes choose
// the screen, bits, quality level and threads, the rest is read as CUPS raster from memory and
// the screened raster goes to a sink that keeps nothing. The corpus holds rasters of several
// pages, valid ones after damaged ones, so that the end of a job is fuzzed as well as its start.
// Every input either screens or is refused with the filter's own error, never a crash; a job stops
// after a few bands, so that a huge declared page costs no more than a small one.
//
// libcups itself gives a compressed raster a line buffer of the declared bytes per line (up to
// 4 GiB) while it reads a page header, before the filter can refuse the header; calloc leaves
// that memory untouched, so it costs address space, not memory. The target therefore allows
// single allocations of up to 4 GiB (the memory in use stays under the fuzzer's RSS limit).
#include <cups/raster.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "filter_log.h"
#include "filter_settings.h"
#include "fuzz_input.h"
#include "raster_job.h"
#include "raster_source.h"
#include "tool_error.h"

namespace {

constexpr int kSettingBytes = 4;
constexpr int kMostBands = 4;

// The raster bytes in a file of memory, read through the filter's own raster source.
int MemoryFile(const uint8_t* data, size_t size) {
  const int fd = memfd_create("raster", MFD_CLOEXEC);
  if (fd < 0) std::abort();
  for (size_t written = 0; written < size;) {
    const ssize_t count = write(fd, data + written, size - written);
    if (count <= 0) std::abort();
    written += static_cast<size_t>(count);
  }
  lseek(fd, 0, SEEK_SET);
  return fd;
}

ssize_t DiscardBytes(void*, unsigned char*, size_t length) {
  return static_cast<ssize_t>(length);
}

FilterSettings Settings(FuzzInput& in) {
  FilterSettings settings;
  settings.screen = Screens()[in.Next8() % Screens().size()];
  settings.bits = 1 + in.Next8() % 2;
  settings.quality = in.Next8() % 102 - 1;
  settings.threads = 1 + in.Next8() % 2;
  settings.screen = ScreenFor(settings.screen, settings.quality, settings.bits);
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> arguments(*argv, *argv + *argc);
  static char mallocLimit[] = "-malloc_limit_mb=4100";
  arguments.insert(arguments.begin() + 1, mallocLimit);  // a flag given later still wins
  arguments.push_back(nullptr);
  *argc = static_cast<int>(arguments.size()) - 1;
  *argv = arguments.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kSettingBytes) return 0;
  FuzzInput in(data, kSettingBytes);
  const FilterSettings settings = Settings(in);
  const int fd = MemoryFile(data + kSettingBytes, size - kSettingBytes);
  cups_raster_t* output = cupsRasterOpenIO(DiscardBytes, nullptr, CUPS_RASTER_WRITE_COMPRESSED);
  int bands = 0;
  try {
    RasterSource input(fd, [] { return false; });
    const FilterLog quiet(nullptr);
    ScreenRasterJob(input, output, settings, quiet, [&] { return ++bands > kMostBands; });
  } catch (const ToolError&) {
  }
  cupsRasterClose(output);
  close(fd);
  return 0;
}
