// The filter's raster source against libcups reading the file descriptor itself: a 600 dpi A4
// CMYK page (4960 x 7016, 8 bits, chunked), compressed and uncompressed, read row by row from a
// file, best of RUNS (default 5). The source hands libcups' buffer fills of a compressed raster
// one byte at a time; this measures what that costs.
//   korvel_raster_source_bench [RUNS]
#include <cups/raster.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "raster_source.h"

namespace {

constexpr int kWidth = 4960, kHeight = 7016, kInks = 4;

uint8_t Sample(int ink, int x, int y) {
  return static_cast<uint8_t>((x / 7 + y / 11 + ink * 50 + ((x * 31 + y * 17) & 15)) & 0xFF);
}

std::string WritePage(bool compressed) {
  char path[] = "/tmp/korvel-raster-bench-XXXXXX";
  const int fd = mkstemp(path);
  cups_raster_t* raster =
      cupsRasterOpen(fd, compressed ? CUPS_RASTER_WRITE_COMPRESSED : CUPS_RASTER_WRITE);
  cups_page_header2_t header{};
  header.HWResolution[0] = header.HWResolution[1] = 600;
  header.cupsWidth = kWidth;
  header.cupsHeight = kHeight;
  header.cupsBitsPerColor = 8;
  header.cupsBitsPerPixel = 32;
  header.cupsBytesPerLine = kWidth * kInks;
  header.cupsColorOrder = CUPS_ORDER_CHUNKED;
  header.cupsColorSpace = CUPS_CSPACE_CMYK;
  header.cupsNumColors = kInks;
  cupsRasterWriteHeader2(raster, &header);
  std::vector<uint8_t> line(header.cupsBytesPerLine);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x)
      for (int ink = 0; ink < kInks; ++ink) line[size_t(x) * kInks + ink] = Sample(ink, x, y);
    cupsRasterWritePixels(raster, line.data(), header.cupsBytesPerLine);
  }
  cupsRasterClose(raster);
  close(fd);
  return path;
}

void ReadRows(cups_raster_t* raster) {
  cups_page_header2_t header;
  if (!cupsRasterReadHeader2(raster, &header)) std::abort();
  std::vector<uint8_t> line(header.cupsBytesPerLine);
  for (unsigned y = 0; y < header.cupsHeight; ++y)
    if (cupsRasterReadPixels(raster, line.data(), header.cupsBytesPerLine) !=
        header.cupsBytesPerLine)
      std::abort();
}

double Best(int runs, const std::string& path, bool throughSource) {
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    const int fd = open(path.c_str(), O_RDONLY);
    const auto start = std::chrono::steady_clock::now();
    if (throughSource) {
      RasterSource source(fd, [] { return false; });
      ReadRows(source.raster());
    } else {
      cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_READ);
      ReadRows(raster);
      cupsRasterClose(raster);
    }
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    close(fd);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  for (bool compressed : {false, true}) {
    const std::string path = WritePage(compressed);
    const double direct = Best(runs, path, false), source = Best(runs, path, true);
    std::printf("%-12s libcups on the fd %.3f s, the filter's source %.3f s, ratio %.2f\n",
                compressed ? "compressed" : "uncompressed", direct, source, source / direct);
    unlink(path.c_str());
  }
  return 0;
}
