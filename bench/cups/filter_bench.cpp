// The CUPS filter against the library: a 600 dpi A4 CMYK page (4960 x 7016, 8 bits, chunked)
// screened by the rastertokorvel process, file to /dev/null, and the same four planes screened
// in-process by korvel_context_screen_image on the same number of threads (one context per ink),
// and through the library's row stream in bands as the filter feeds it; then the peak memory of the
// filter on a 1200 dpi A4 CMYK page, fed through a pipe as it is made.
//   korvel_cups_bench FILTER [THREADS] [RUNS]     (best of RUNS, default 3; threads default 2)
// 1-bit error diffusion at quality level 0. A benchmark, not a test.
#include <cups/raster.h>
#include <fcntl.h>
#include <korvel/korvel_context.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kInks = 4;
constexpr int kBandRows = 64;  // as the filter streams

struct PageSize {
  int width, height;
};
constexpr PageSize kA4At600{4960, 7016};
constexpr PageSize kA4At1200{9920, 14032};

// Ink amounts of a smooth page with some texture, different for every ink.
uint8_t Sample(int ink, int x, int y) {
  return static_cast<uint8_t>((x / 7 + y / 11 + ink * 50 + ((x * 31 + y * 17) & 15)) & 0xFF);
}

void WritePage(int fd, PageSize size) {
  cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_WRITE);
  cups_page_header2_t header{};
  header.HWResolution[0] = header.HWResolution[1] = size.width == kA4At600.width ? 600 : 1200;
  header.PageSize[0] = 595;
  header.PageSize[1] = 842;
  header.cupsWidth = size.width;
  header.cupsHeight = size.height;
  header.cupsBitsPerColor = 8;
  header.cupsBitsPerPixel = 32;
  header.cupsBytesPerLine = size.width * kInks;
  header.cupsColorOrder = CUPS_ORDER_CHUNKED;
  header.cupsColorSpace = CUPS_CSPACE_CMYK;
  header.cupsNumColors = kInks;
  cupsRasterWriteHeader2(raster, &header);
  std::vector<uint8_t> line(header.cupsBytesPerLine);
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x)
      for (int ink = 0; ink < kInks; ++ink) line[size_t(x) * kInks + ink] = Sample(ink, x, y);
    cupsRasterWritePixels(raster, line.data(), header.cupsBytesPerLine);
  }
  cupsRasterClose(raster);
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs the filter on the raster from inFd; returns its wall time and peak memory in KiB.
std::pair<double, long> RunFilter(const std::string& filter, int inFd, int threads) {
  const std::string options = "korvel-quality=0 korvel-threads=" + std::to_string(threads);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int sink = open("/dev/null", O_WRONLY);
    dup2(inFd, 0);
    dup2(sink, 1);
    dup2(sink, 2);
    execl(filter.c_str(), filter.c_str(), "1", "bench", "page", "1", options.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(inFd);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the filter failed (status %d)\n", status);
    std::exit(1);
  }
  return {Seconds(start), usage.ru_maxrss};
}

// The four planes of the page as the filter hands them to the library: grey, 255 white.
std::vector<std::vector<uint8_t>> Planes(PageSize size) {
  std::vector<std::vector<uint8_t>> planes(kInks);
  for (int ink = 0; ink < kInks; ++ink) {
    planes[ink].resize(size_t(size.width) * size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        planes[ink][size_t(y) * size.width + x] = static_cast<uint8_t>(255 - Sample(ink, x, y));
  }
  return planes;
}

// Screens one plane whole (bandRows 0) or through the row stream in bands of bandRows.
void ScreenPlane(const std::vector<uint8_t>& plane, std::vector<uint8_t>& dots, PageSize size,
                 int bandRows) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  const korvel_image_options options{34, 1, 1, 0, 0};
  const size_t stride = (size.width + 7) / 8;
  if (bandRows == 0) {
    korvel_context_screen_image(context, 1, &options, plane.data(), size.width, dots.data(), stride,
                                size.width, size.height);
  } else {
    korvel_stream* stream = nullptr;
    korvel_context_begin_stream(context, 1, &options, size.width, size.height, &stream);
    for (int y = 0; y < size.height; y += bandRows)
      korvel_stream_screen_rows(stream, plane.data() + size_t(y) * size.width, size.width,
                                dots.data() + stride * y, stride,
                                std::min(bandRows, size.height - y));
    korvel_stream_destroy(stream);
  }
  korvel_context_destroy(context);
}

// The four planes screened in-process, ink i on thread i mod threads.
double InProcess(const std::vector<std::vector<uint8_t>>& planes, PageSize size, int threads,
                 int bandRows) {
  std::vector<std::vector<uint8_t>> dots(
      kInks, std::vector<uint8_t>(size_t((size.width + 7) / 8) * size.height));
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      for (int ink = t; ink < kInks; ink += threads)
        ScreenPlane(planes[ink], dots[ink], size, bandRows);
    });
  for (std::thread& worker : workers) worker.join();
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korvel_cups_bench FILTER [THREADS] [RUNS]\n");
    return 2;
  }
  const std::string filter = argv[1];
  const int threads = argc > 2 ? std::atoi(argv[2]) : 2;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;

  // First, while this process is small: the peak memory a child reports includes what it
  // held as a copy of this process before it started the filter.
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return 1;  // the filter must not hold the writing end
  std::thread writer([&] {
    WritePage(pipeFds[1], kA4At1200);
    close(pipeFds[1]);
  });
  const auto [seconds, peakKib] = RunFilter(filter, pipeFds[0], threads);
  writer.join();
  std::printf("1200 dpi A4 CMYK through a pipe: %.3f s, filter peak memory %.1f MB\n", seconds,
              peakKib / 1024.0);
  char path[] = "/tmp/korvel-cups-bench-XXXXXX";
  const int fd = mkstemp(path);
  WritePage(fd, kA4At600);
  fsync(fd);  // written back before the timing starts, not while the filter reads it
  close(fd);
  const auto planes = Planes(kA4At600);
  double filterBest = 1e30, libraryBest = 1e30, streamBest = 1e30;
  for (int run = 0; run < runs; ++run) {
    filterBest = std::min(filterBest, RunFilter(filter, open(path, O_RDONLY), threads).first);
    libraryBest = std::min(libraryBest, InProcess(planes, kA4At600, threads, 0));
    streamBest = std::min(streamBest, InProcess(planes, kA4At600, threads, kBandRows));
  }
  unlink(path);
  const double megapixels = double(kA4At600.width) * kA4At600.height * kInks / 1e6;
  std::printf("600 dpi A4 CMYK, %d thread(s), best of %d:\n", threads, runs);
  std::printf("  filter process   %.3f s  (%.0f Mpixel/s)\n", filterBest, megapixels / filterBest);
  std::printf("  library in-process %.3f s  (%.0f Mpixel/s)\n", libraryBest,
              megapixels / libraryBest);
  std::printf("  library streamed in bands of %d rows %.3f s\n", kBandRows, streamBest);
  std::printf("  filter / library %.3f\n", filterBest / libraryBest);

  return 0;
}
