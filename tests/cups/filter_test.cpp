// The filter run as the scheduler runs it, on rasters written here: every layout it reads must
// give, ink by ink, exactly what the library's whole-page call gives for that ink's plane, and
// every damaged raster or bad option must end with an ERROR line and a failure, never a crash.
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <tuple>

#include "raster_io.h"

namespace cupstest {
namespace {

constexpr int kWidth = 203;   // not a whole number of bytes at 1 or 2 bits
constexpr int kHeight = 150;  // more than two bands of rows

struct Layout {
  cups_cspace_t space;
  cups_order_t order;
  int version;
};

// Smooth ramps with noise, different for every ink and page.
std::vector<std::vector<uint8_t>> Samples(int inks, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::vector<uint8_t>> planes(inks);
  for (int ink = 0; ink < inks; ++ink)
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        planes[ink].push_back(
            static_cast<uint8_t>((x * 255u / kWidth + y * (ink + 1) + random() % 24) % 256));
  return planes;
}

std::vector<uint8_t> LibraryAmounts(const std::vector<uint8_t>& ink, bool additive, int bits,
                                    int type, bool templateDiffusion,
                                    const std::vector<int>& curve) {
  korvel_context* context = nullptr;
  EXPECT_EQ(korvel_context_create(&context), KORVEL_OK);
  korvel_context_set_quality(context, 50);
  korvel_context_set_parameter_folder(context, KORVEL_DATA_SOURCE "/Data");
  if (!curve.empty()) korvel_context_set_tone_curve(context, curve.data(), int(curve.size()));
  std::vector<uint8_t> grey(ink);
  if (!additive)
    for (uint8_t& sample : grey) sample = static_cast<uint8_t>(255 - sample);
  const size_t stride = (size_t(kWidth) * bits + 7) / 8;
  std::vector<uint8_t> dots(stride * kHeight);
  const korvel_image_options options{type, 1, 1, 0, templateDiffusion ? 1 : 0};
  EXPECT_EQ(korvel_context_screen_image(context, bits, &options, grey.data(), kWidth, dots.data(),
                                        stride, kWidth, kHeight),
            KORVEL_OK);
  korvel_context_destroy(context);
  std::vector<uint8_t> amounts;
  const unsigned highest = (1u << bits) - 1;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const size_t bit = size_t(x) * bits;
      const unsigned code = (dots[y * stride + bit / 8] >> (8 - bits - bit % 8)) & highest;
      amounts.push_back(static_cast<uint8_t>(code * 255 / highest));
    }
  return amounts;
}

ProgramRun RunFilter(const std::string& folder, const std::string& input,
                     const std::string& options, const std::string& output) {
  // Curves named in a job come from the curve folder: here the test's own folder.
  return RunProgram({KORVEL_FILTER, "7", "user", "title", "1", options, input},
                    folder + "/" + output, "", {"KORVEL_CURVE_DIR=" + folder});
}

// A screen at its bits, with the library's template type and template diffusion, and whether
// it takes tone curves.
struct ScreenCase {
  const char* name;
  int bits, type;
  bool templateDiffusion, curves;
};

// Screens two pages of the layout and compares every ink with the library (the second ink with
// a tone curve of its own when the screen takes one).
void ExpectLibraryOutput(const Layout& layout, const ScreenCase& screen) {
  const int bits = screen.bits;
  const bool additive = layout.space == CUPS_CSPACE_W || layout.space == CUPS_CSPACE_SW;
  const int inks = layout.space == CUPS_CSPACE_CMYK || layout.space == CUPS_CSPACE_KCMY ? 4 : 1;
  const std::string folder = ScratchFolder();
  std::ofstream(folder + "/curve") << "0 20 45 100";  // the second ink's own tone curve
  const char secondInk = layout.space == CUPS_CSPACE_KCMY ? 'C' : 'M';
  std::vector<Page> pages;
  for (unsigned seed = 1; seed <= 2; ++seed)
    pages.push_back(EightBitPage(layout.space, layout.order, Samples(inks, seed), kWidth, kHeight));
  WriteRaster(folder + "/in.ras", pages, layout.version);
  const std::string curveOption =
      screen.curves ? std::string(" korvel-curve-") + secondInk + "=curve" : "";
  const ProgramRun run = RunFilter(folder, folder + "/in.ras",
                                   "korvel-quality=50 korvel-bits=" + std::to_string(bits) +
                                       " korvel-screen=" + screen.name + curveOption,
                                   "out.ras");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<Page> screened = ReadRaster(folder + "/out.ras");
  ASSERT_EQ(screened.size(), 2u);
  for (unsigned page = 0; page < 2; ++page) {
    const cups_page_header2_t& h = screened[page].header;
    EXPECT_EQ(std::tuple(h.cupsBitsPerColor, h.cupsBitsPerPixel, h.cupsColorSpace, h.cupsColorOrder,
                         h.cupsWidth, h.cupsHeight),
              std::tuple(unsigned(bits),
                         unsigned(layout.order == CUPS_ORDER_CHUNKED ? bits * inks : bits),
                         layout.space, layout.order, unsigned(kWidth), unsigned(kHeight)))
        << "header of page " << page + 1;
    const auto samples = Samples(inks, page + 1);
    for (int ink = 0; ink < inks; ++ink) {
      const std::vector<int> curve =
          ink == 1 && screen.curves ? std::vector<int>{0, 20, 45, 100} : std::vector<int>{};
      EXPECT_EQ(InkAmounts(screened[page], ink),
                LibraryAmounts(samples[ink], additive, bits, screen.type, screen.templateDiffusion,
                               curve))
          << "page " << page + 1 << ", ink " << ink;
    }
  }
}

// Every layout at one bit and at two; every other screen on chunked CMYK.
TEST(FilterPages, EveryLayoutAndScreenMatchesTheLibrary) {
  const Layout layouts[] = {
      {CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, 3},    {CUPS_CSPACE_W, CUPS_ORDER_CHUNKED, 2},
      {CUPS_CSPACE_SW, CUPS_ORDER_CHUNKED, 1},   {CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, 3},
      {CUPS_CSPACE_CMYK, CUPS_ORDER_BANDED, 2},  {CUPS_CSPACE_CMYK, CUPS_ORDER_PLANAR, 1},
      {CUPS_CSPACE_KCMY, CUPS_ORDER_CHUNKED, 2}, {CUPS_CSPACE_KCMY, CUPS_ORDER_PLANAR, 3}};
  const ScreenCase errorDiffusion{"ErrorDiffusion", 1, 34, false, true},
      drops{"Drops", 2, 41, false, false};
  for (const Layout& layout : layouts)
    for (const ScreenCase& screen : {errorDiffusion, drops}) {
      SCOPED_TRACE(std::string(screen.name) + ", colour space " + std::to_string(layout.space) +
                   ", order " + std::to_string(layout.order) + ", version " +
                   std::to_string(layout.version));
      ExpectLibraryOutput(layout, screen);
    }
  for (const ScreenCase& screen : {ScreenCase{"TemplateDiffusion", 1, 34, true, true},
                                   ScreenCase{"SmallMediumDrops", 2, 40, false, false},
                                   ScreenCase{"Matrix", 1, 42, false, false}}) {
    SCOPED_TRACE(screen.name);
    ExpectLibraryOutput({CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, 3}, screen);
  }
}

// The inks of a band on the filter's thread pool while its main thread reads and writes give
// what one thread gives (ThreadSanitizer runs this with the other Concurrency suites).
TEST(ConcurrencyFilter, FourThreadsWriteWhatOneWrites) {
  const std::string folder = ScratchFolder();
  WriteRaster(folder + "/in.ras",
              {EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, Samples(4, 6), kWidth, kHeight)});
  std::vector<Page> screened[2];
  for (int threads : {1, 4}) {
    const std::string out = "out" + std::to_string(threads) + ".ras";
    const ProgramRun run =
        RunFilter(folder, folder + "/in.ras", "korvel-threads=" + std::to_string(threads), out);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    screened[threads / 4] = ReadRaster(folder + "/" + out);
  }
  ASSERT_EQ(screened[1].size(), 1u);
  EXPECT_EQ(screened[0][0].lines, screened[1][0].lines);
}

// A raster file with header field `field` (at byte offset `offset` of the header) set to value.
void PatchHeader(const std::string& path, size_t offset, unsigned value) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(4 + offset));
  file.write(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST(FilterRefuses, DamagedRasters) {
  const std::string folder = ScratchFolder();
  const std::string good = folder + "/good.ras";
  WriteRaster(good,
              {EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, Samples(4, 3), kWidth, kHeight)});
  const std::string bytes = test::ReadFile(good);
  struct Damage {
    const char* what;
    size_t keep;  // bytes of the good file kept
    std::vector<std::pair<size_t, unsigned>> fields;
  };
  using H = cups_page_header2_t;
  const size_t all = bytes.size(), bitsPerColor = offsetof(H, cupsBitsPerColor),
               bitsPerPixel = offsetof(H, cupsBitsPerPixel),
               bytesPerLine = offsetof(H, cupsBytesPerLine), width = offsetof(H, cupsWidth),
               height = offsetof(H, cupsHeight);
  const unsigned line = kWidth * 4;
  const Damage damages[] = {
      {"empty", 0, {}},
      {"cut in the header", 900, {}},
      {"cut in the rows", all / 2, {}},
      {"16 bits", all, {{bitsPerColor, 16}, {bitsPerPixel, 64}, {bytesPerLine, 2 * line}}},
      {"1 bit", all, {{bitsPerColor, 1}, {bitsPerPixel, 4}, {bytesPerLine, (line + 7) / 8}}},
      {"huge width", all, {{width, 1u << 24}, {bytesPerLine, 1u << 26}}},
      {"huge height", all, {{height, 0x7fffffffu}}},
      {"zero height", all, {{height, 0}}},
      {"zero width", all, {{width, 0}, {bytesPerLine, 0}}},
      {"RGB", all, {{offsetof(H, cupsColorSpace), CUPS_CSPACE_RGB}}},
      {"bytes per line", all, {{bytesPerLine, line + 4}}},
  };
  for (const Damage& damage : damages) {
    const std::string path = folder + "/damaged.ras";
    std::ofstream(path, std::ios::binary) << bytes.substr(0, damage.keep);
    for (const auto& [offset, value] : damage.fields) PatchHeader(path, offset, value);
    ExpectFilterError(RunFilter(folder, path, "", "out.ras"), damage.what);
  }
  std::ofstream(folder + "/garbage.ras") << "not a raster at all";
  ExpectFilterError(RunFilter(folder, folder + "/garbage.ras", "", "out.ras"), "garbage");
  // The raster on standard input, as most queues hand it over, cut short.
  ExpectFilterError(RunProgram({KORVEL_FILTER, "7", "user", "title", "1", ""}, folder + "/out.ras",
                               folder + "/damaged.ras"),
                    "standard input");
}

// (Options the filter refuses are among the choices of choices_test.cpp.)
TEST(FilterRefuses, BadArgumentsFilesAndFolders) {
  const std::string folder = ScratchFolder();
  WriteRaster(folder + "/in.ras",
              {EightBitPage(CUPS_CSPACE_K, CUPS_ORDER_CHUNKED, Samples(1, 1), kWidth, 8)});
  ExpectFilterError(RunProgram({KORVEL_FILTER, "7", "user"}, folder + "/out.ras"),
                    "too few arguments");
  setenv("KORVEL_DATA_DIR", "/nonexistent", 1);
  ExpectFilterError(RunFilter(folder, folder + "/in.ras", "korvel-quality=50", "out.ras"),
                    "no parameter file");
  unsetenv("KORVEL_DATA_DIR");
  ExpectFilterError(RunFilter(folder, folder + "/missing.ras", "", "out.ras"), "missing file");
  for (const std::string& special : test::SpecialFiles(folder))
    if (special.find("sparse") == std::string::npos)
      ExpectFilterError(RunFilter(folder, special, "", "out.ras"), special, "regular file");
}

// The filter as the scheduler starts it, its raster coming from a pipe the test writes: the
// page's header is written, its lines as the test writes them.
struct PipedFilter {
  pid_t child;
  int fd;
  cups_raster_t* raster;
  void Write(const Page& page, int from, int to) {
    for (int y = from; y < to; ++y) {
      std::vector<uint8_t> line = page.lines[y];
      cupsRasterWritePixels(raster, line.data(), unsigned(line.size()));
    }
  }
  // Until the filter has read all that was written (it is running and takes its stop
  // requests), at most 10 seconds.
  void WaitUntilRead() {
    int unread = 1;
    for (int waited = 0; waited < 5000 && ioctl(fd, FIONREAD, &unread) == 0 && unread > 0; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  void Close() {
    cupsRasterClose(raster);
    close(fd);
  }
  // Its exit status, -1 when it did not exit normally or still ran after 10 seconds (then it is
  // killed).
  int WaitForStatus() {
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 5000 && (ended = waitpid(child, &status, WNOHANG)) == 0; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (ended == 0) kill(child, SIGKILL), waitpid(child, &status, 0);
    return ended == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

PipedFilter StartOnPipe(const std::string& out, const std::string& err, const Page& page) {
  std::signal(SIGPIPE, SIG_IGN);
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(fds[1]);
    dup2(fds[0], 0);
    if (freopen(out.c_str(), "wb", stdout) && freopen(err.c_str(), "wb", stderr))
      execl(KORVEL_FILTER, KORVEL_FILTER, "7", "user", "title", "1", "", nullptr);
    _exit(127);
  }
  close(fds[0]);
  PipedFilter filter{child, fds[1], cupsRasterOpen(fds[1], CUPS_RASTER_WRITE)};
  cups_page_header2_t header = page.header;
  cupsRasterWriteHeader2(filter.raster, &header);
  return filter;
}

// A cancelled job: SIGTERM while the filter waits for rows in the middle of a page, the writer
// still holding the pipe open, stops it within seconds (instead of waiting for the writer) with
// status 1 and an INFO line that says how many lines of the page it wrote, and it wrote that many.
TEST(FilterStops, OnSigtermWhileWaitingForInput) {
  const std::string folder = ScratchFolder();
  // Tall enough that bands are written before the stop, three quarters down the page.
  constexpr int height = 400;
  const std::vector<std::vector<uint8_t>> grey(4, std::vector<uint8_t>(kWidth * height, 100));
  const Page page = EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, grey, kWidth, height);
  const std::string out = folder + "/out.ras", err = folder + "/err.txt";
  PipedFilter filter = StartOnPipe(out, err, page);
  filter.Write(page, 0, height * 3 / 4);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(filter.child, SIGTERM);
  // -1: the filter still waits for its input.
  EXPECT_EQ(filter.WaitForStatus(), 1);
  filter.Close();
  const std::string text = test::ReadFile(err);
  EXPECT_NE(text.find("INFO: Stopped on request"), std::string::npos) << text;
  EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
  const size_t ofThe = text.find(" of the ");
  ASSERT_NE(ofThe, std::string::npos) << text;
  const size_t said = std::stoul(text.substr(text.rfind(' ', ofThe - 1) + 1));
  EXPECT_EQ(std::stoul(text.substr(ofThe + 8)), size_t(height));
  const size_t lineBytes = (kWidth * 4 + 7) / 8;  // CMYK, 1 bit
  const size_t rows =
      (std::filesystem::file_size(out) - 4 - sizeof(cups_page_header2_t)) / lineBytes;
  EXPECT_EQ(said, rows);
  EXPECT_GT(rows, 0u);
  EXPECT_LT(rows, size_t(height));
}

// A cancelled job whose earlier filter ends first: the input is cut mid-page and the stop comes
// just after. The filter takes the cut for the stop (no ERROR); without the signal it is one.
TEST(FilterStops, WhenTheInputIsCutJustBeforeTheSignal) {
  const std::string folder = ScratchFolder(), err = folder + "/err.txt";
  const Page page =
      EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, Samples(4, 7), kWidth, kHeight);
  for (const bool signalled : {true, false}) {
    PipedFilter filter = StartOnPipe("/dev/null", err, page);
    filter.Write(page, 0, kHeight / 2);
    filter.WaitUntilRead();
    filter.Close();
    if (signalled) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      kill(filter.child, SIGTERM);
    }
    EXPECT_EQ(filter.WaitForStatus(), 1);
    const std::string said = test::ReadFile(err);
    EXPECT_EQ(said.find("INFO: Stopped on request; the input was cut first") != std::string::npos,
              signalled)
        << said;
    EXPECT_EQ(said.find("ERROR: ") == std::string::npos, signalled) << said;
  }
}

}  // namespace
}  // namespace cupstest
