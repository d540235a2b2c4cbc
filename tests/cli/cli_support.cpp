#include "cli_support.h"

#include <gtest/gtest.h>
#include <png.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef KORVEL_TEST_TIFF
#include <tiffio.h>
#endif

namespace cli {

namespace fs = std::filesystem;

namespace {

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
  for (char& c : name)
    if (c == '/') c = '_';
  return name;
}

int g_runCounter = 0;

[[noreturn]] void ExecChild(const std::vector<std::string>& command, const Environment& environment,
                            const std::string& outPath, const std::string& errPath) {
  for (const auto& [name, value] : environment.set) setenv(name.c_str(), value.c_str(), 1);
  for (const std::string& name : environment.unset) unsetenv(name.c_str());
  if (!freopen(outPath.c_str(), "wb", stdout) || !freopen(errPath.c_str(), "wb", stderr))
    _exit(126);
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

int SamplesToCode(int sample, int maxValue, bool minIsWhite) {
  return minIsWhite ? sample : maxValue - sample;
}

// Unpacks a row of most-significant-first samples into one dot code per pixel.
void UnpackRow(const uint8_t* row, int width, int bits, bool minIsWhite, uint8_t* codes) {
  const int maxValue = (1 << bits) - 1;
  const int perByte = 8 / bits;
  for (int x = 0; x < width; ++x) {
    const int shift = 8 - bits * (x % perByte + 1);
    codes[x] = static_cast<uint8_t>(
        SamplesToCode((row[x / perByte] >> shift) & maxValue, maxValue, minIsWhite));
  }
}

struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
};

void OnPngError(png_structp png, png_const_charp message) {
  ADD_FAILURE() << "libpng: " << message;
  png_longjmp(png, 1);
}

bool ReadWholePng(PngState& state, FILE* file) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  png_read_png(state.png, state.info, PNG_TRANSFORM_IDENTITY, nullptr);
  return true;
}

bool WriteWholePng(PngState& state, FILE* file, int width, int height, int colourType, int bitDepth,
                   bool interlaced, png_bytep* rows, png_colorp palette) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_init_io(state.png, file);
  png_set_IHDR(state.png, state.info, width, height, bitDepth, colourType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (palette) png_set_PLTE(state.png, state.info, palette, 256);
  png_write_info(state.png, state.info);
  png_write_image(state.png, rows);
  png_write_end(state.png, nullptr);
  return true;
}

}  // namespace

RunResult RunProgram(const std::vector<std::string>& command, const Environment& environment) {
  const std::string io = std::string(KORVEL_SCRATCH) + "/io";
  fs::create_directories(io);
  const std::string stem =
      io + "/" + std::to_string(getpid()) + "-" + std::to_string(++g_runCounter);
  const std::string outPath = stem + ".out", errPath = stem + ".err";
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) ExecChild(command, environment, outPath, errPath);
  RunResult result;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "cannot run " << command[0];
    return result;
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = ReadFileBytes(outPath);
  result.err = ReadFileBytes(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

RunResult RunTool(const std::vector<std::string>& arguments, const Environment& environment) {
  std::vector<std::string> command{KORVEL_TOOL};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunProgram(command, environment);
}

RunResult RunToolOnTerminal(const std::vector<std::string>& arguments) {
  std::vector<std::string> command{KORVEL_TOOL};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  RunResult result;
  if (child < 0) {
    ADD_FAILURE() << "cannot open a terminal";
    return result;
  }
  char buffer[4096];
  for (;;) {  // until the child closes the terminal (read then fails with EIO)
    const ssize_t got = read(terminal, buffer, sizeof buffer);
    if (got <= 0) break;
    result.out.append(buffer, static_cast<size_t>(got));
  }
  close(terminal);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

std::string ScratchFolder() {
  const std::string folder = std::string(KORVEL_SCRATCH) + "/" + TestName();
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string ChartPath() {
  return std::string(KORVEL_DATA_SOURCE) + "/chart.pgm";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

int64_t DotImage::CountCode(int code) const {
  int64_t count = 0;
  for (uint8_t value : codes) count += value == code;
  return count;
}

double DotImage::DotFraction() const {
  return codes.empty() ? 0.0 : 1.0 - static_cast<double>(CountCode(0)) / codes.size();
}

DotImage ReadPngDots(const std::string& path) {
  DotImage image;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    ADD_FAILURE() << "cannot open " << path;
    return image;
  }
  PngState state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, nullptr);
  state.info = png_create_info_struct(state.png);
  if (ReadWholePng(state, file)) {
    image.width = static_cast<int>(png_get_image_width(state.png, state.info));
    image.height = static_cast<int>(png_get_image_height(state.png, state.info));
    image.bits = png_get_bit_depth(state.png, state.info);
    const int colourType = png_get_color_type(state.png, state.info);
    image.encoding = colourType == PNG_COLOR_TYPE_GRAY ? "png gray" : "png other";
    if (image.bits <= 4 && colourType == PNG_COLOR_TYPE_GRAY) {
      png_bytepp rows = png_get_rows(state.png, state.info);
      image.codes.resize(static_cast<size_t>(image.width) * image.height);
      for (int y = 0; y < image.height; ++y)
        UnpackRow(rows[y], image.width, image.bits, false,
                  &image.codes[static_cast<size_t>(y) * image.width]);
    }
  }
  png_destroy_read_struct(&state.png, &state.info, nullptr);
  std::fclose(file);
  return image;
}

DotImage ReadPnmDots(const std::string& path) {
  DotImage image;
  std::ifstream stream(path, std::ios::binary);
  std::string magic;
  int maxValue = 1;
  stream >> magic >> image.width >> image.height;
  if (magic == "P5") stream >> maxValue;
  stream.get();  // the single whitespace before the pixels
  if (!stream || (magic != "P4" && magic != "P5") || image.width <= 0 || image.height <= 0) {
    ADD_FAILURE() << path << ": not a binary PBM or PGM";
    return image;
  }
  image.bits = maxValue == 1 ? 1 : maxValue == 3 ? 2 : maxValue == 15 ? 4 : 8;
  image.encoding = magic == "P4" ? "pbm" : "pgm maxval " + std::to_string(maxValue);
  image.codes.resize(static_cast<size_t>(image.width) * image.height);
  if (magic == "P4") {
    std::vector<uint8_t> row((image.width + 7) / 8);
    for (int y = 0; y < image.height; ++y) {
      stream.read(reinterpret_cast<char*>(row.data()), row.size());
      UnpackRow(row.data(), image.width, 1, true,
                &image.codes[static_cast<size_t>(y) * image.width]);
    }
  } else {
    std::vector<uint8_t> row(image.width);
    for (int y = 0; y < image.height; ++y) {
      stream.read(reinterpret_cast<char*>(row.data()), row.size());
      for (int x = 0; x < image.width; ++x)
        image.codes[static_cast<size_t>(y) * image.width + x] =
            static_cast<uint8_t>(maxValue - row[x]);
    }
  }
  if (!stream) ADD_FAILURE() << path << ": pixels are truncated";
  return image;
}

#ifdef KORVEL_TEST_TIFF
DotImage ReadTiffDots(const std::string& path) {
  DotImage image;
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (!tiff) {
    ADD_FAILURE() << "libtiff cannot open " << path;
    return image;
  }
  uint32_t width = 0, height = 0;
  uint16_t bits = 0, samples = 0, photometric = 0, compression = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.bits = bits;
  const bool minIsWhite = photometric == PHOTOMETRIC_MINISWHITE;
  image.encoding = std::string("tiff ") +
                   (compression == COMPRESSION_CCITTFAX4 ? "g4"
                    : compression == COMPRESSION_NONE    ? "plain"
                                                         : "other") +
                   (minIsWhite ? " min-is-white" : " min-is-black");
  if (samples == 1 && bits <= 4) {
    std::vector<uint8_t> row(TIFFScanlineSize(tiff));
    image.codes.resize(static_cast<size_t>(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
      if (TIFFReadScanline(tiff, row.data(), y, 0) < 0) {
        ADD_FAILURE() << path << ": unreadable row " << y;
        break;
      }
      UnpackRow(row.data(), image.width, bits, minIsWhite,
                &image.codes[static_cast<size_t>(y) * width]);
    }
  }
  TIFFClose(tiff);
  return image;
}
#else
DotImage ReadTiffDots(const std::string& path) {
  ADD_FAILURE() << path << ": this test build has no libtiff";
  return {};
}
#endif

DotImage ReadDots(const std::string& path) {
  const std::string extension = fs::path(path).extension().string();
  if (extension == ".png") return ReadPngDots(path);
  if (extension == ".tif" || extension == ".tiff") return ReadTiffDots(path);
  return ReadPnmDots(path);
}

void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& grey,
              int colourType, int bitDepth, bool interlaced, uint8_t alpha) {
  const int channels = colourType == PNG_COLOR_TYPE_GRAY         ? 1
                       : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                       : colourType == PNG_COLOR_TYPE_RGB        ? 3
                       : colourType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                                                                 : 1;  // palette index
  const int bytesPerSample = bitDepth == 16 ? 2 : 1;
  const bool packed = bitDepth < 8;
  const size_t rowBytes = packed ? (static_cast<size_t>(width) * bitDepth + 7) / 8
                                 : static_cast<size_t>(width) * channels * bytesPerSample;
  std::vector<uint8_t> pixels(rowBytes * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t value = grey[static_cast<size_t>(y) * width + x];
      uint8_t* row = &pixels[rowBytes * y];
      if (packed) {  // grey below 8 bits: the top bits of the value
        const int shift = 8 - bitDepth * (x % (8 / bitDepth) + 1);
        row[x * bitDepth / 8] |= static_cast<uint8_t>((value >> (8 - bitDepth)) << shift);
        continue;
      }
      for (int c = 0; c < channels; ++c) {
        const bool isAlpha = (channels == 2 && c == 1) || (channels == 4 && c == 3);
        const uint8_t sample = isAlpha ? alpha : value;
        uint8_t* at = row + (static_cast<size_t>(x) * channels + c) * bytesPerSample;
        at[0] = sample;
        if (bytesPerSample == 2) at[1] = sample;  // v * 257: the same grey at 16 bits
      }
    }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = &pixels[rowBytes * y];
  std::vector<png_color> palette(256);
  for (int i = 0; i < 256; ++i)
    palette[i] =
        png_color{static_cast<png_byte>(i), static_cast<png_byte>(i), static_cast<png_byte>(i)};
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  PngState state;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, nullptr);
  state.info = png_create_info_struct(state.png);
  EXPECT_TRUE(WriteWholePng(state, file, width, height, colourType, bitDepth, interlaced,
                            rows.data(),
                            colourType == PNG_COLOR_TYPE_PALETTE ? palette.data() : nullptr));
  png_destroy_write_struct(&state.png, &state.info);
  std::fclose(file);
}

}  // namespace cli
