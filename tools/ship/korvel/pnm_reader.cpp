// PGM and PBM input, binary (P5, P4) and plain text (P2, P1). Binary files are checked against
// their declared size before the pixels are allocated.
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "image_reader.h"
#include "size_limits.h"
#include "tool_error.h"

namespace {

struct PnmHeader {
  char kind = 0;  // '1', '2', '4' or '5'
  int64_t width = 0;
  int64_t height = 0;
  int64_t maxValue = 1;
};

class PnmParser {
 public:
  PnmParser(FILE* file, const std::string& path) : file_(file), path_(path) {}

  PnmHeader ReadHeader() {
    PnmHeader header;
    if (std::getc(file_) != 'P') Corrupt("bad magic number");
    header.kind = static_cast<char>(std::getc(file_));
    header.width = ReadNumber("width");
    header.height = ReadNumber("height");
    const bool bitmap = header.kind == '1' || header.kind == '4';
    if (!bitmap) header.maxValue = ReadNumber("maximum value");
    if (header.maxValue < 1 || header.maxValue > 65535)
      Corrupt("maximum value " + std::to_string(header.maxValue) + " is outside 1..65535");
    if (header.kind != '1') {
      // Exactly one whitespace character separates the header from binary pixels; the plain
      // formats tolerate any amount, which ReadNumber skips.
      const int separator = std::getc(file_);
      if (separator == EOF) Truncated();
      if (!IsSpace(separator)) Corrupt("no whitespace after the header");
    }
    return header;
  }

  // A decimal sample of a plain file; for P1 a single digit, which may stand unseparated.
  int ReadPlainSample(bool bitmap) {
    if (bitmap) {
      int c = SkipSpaceAndComments();
      if (c == EOF) Truncated();
      if (c != '0' && c != '1') Corrupt("bitmap sample is not 0 or 1");
      return c - '0';
    }
    // Anything above the 16-bit range is reported as 65536, which the caller refuses.
    const int64_t sample = ReadNumber("sample");
    return sample > 65535 ? 65536 : static_cast<int>(sample);
  }

  [[noreturn]] void Truncated() { throw ToolError(path_ + ": PGM/PBM file is truncated"); }
  [[noreturn]] void Corrupt(const std::string& why) {
    throw ToolError(path_ + ": bad PGM/PBM file (" + why + ")");
  }

 private:
  static bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  }

  int SkipSpaceAndComments() {
    int c = std::getc(file_);
    while (c != EOF) {
      if (c == '#') {
        while (c != EOF && c != '\n' && c != '\r') c = std::getc(file_);
      } else if (!IsSpace(c)) {
        break;
      }
      c = std::getc(file_);
    }
    return c;
  }

  int64_t ReadNumber(const char* what) {
    int c = SkipSpaceAndComments();
    if (c == EOF) Truncated();
    if (c < '0' || c > '9') Corrupt(std::string(what) + " is not a number");
    int64_t value = 0;
    while (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (value > (int64_t{1} << 40)) Corrupt(std::string(what) + " is absurdly large");
      c = std::getc(file_);
    }
    if (c != EOF) std::ungetc(c, file_);
    return value;
  }

  FILE* file_;
  const std::string path_;
};

// Grey for every sample value 0..maxValue, scaled to 0..255 with rounding; samples above the
// maximum are clamped to white.
std::vector<uint8_t> ScaleTable(int64_t maxValue, size_t entries) {
  std::vector<uint8_t> table(entries, 255);
  for (int64_t v = 0; v <= maxValue && v < static_cast<int64_t>(entries); ++v)
    table[v] = static_cast<uint8_t>((v * 255 + maxValue / 2) / maxValue);
  return table;
}

int64_t BytesLeft(FILE* file) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return static_cast<int64_t>(status.st_size) - std::ftell(file);
}

void ReadBitmapRows(FILE* file, GreyImage& image, PnmParser& parser, Progress& progress) {
  std::vector<uint8_t> packed((image.width + 7) / 8);
  for (int y = 0; y < image.height; ++y) {
    if (std::fread(packed.data(), 1, packed.size(), file) != packed.size()) parser.Truncated();
    uint8_t* row = image.Row(y);
    for (int x = 0; x < image.width; ++x)
      row[x] = (packed[x >> 3] >> (7 - (x & 7))) & 1 ? 0 : 255;  // a set bit is black
    progress.Advance(y + 1, image.height);
  }
}

void ReadGreyRows(FILE* file, GreyImage& image, int64_t maxValue, PnmParser& parser,
                  Progress& progress) {
  const bool wide = maxValue > 255;
  const std::vector<uint8_t> table = ScaleTable(maxValue, wide ? 65536 : 256);
  std::vector<uint8_t> samples(static_cast<size_t>(image.width) * (wide ? 2 : 1));
  for (int y = 0; y < image.height; ++y) {
    if (std::fread(samples.data(), 1, samples.size(), file) != samples.size()) parser.Truncated();
    uint8_t* row = image.Row(y);
    if (wide) {
      for (int x = 0; x < image.width; ++x)
        row[x] = table[samples[2 * x] << 8 | samples[2 * x + 1]];
    } else {
      for (int x = 0; x < image.width; ++x) row[x] = table[samples[x]];
    }
    progress.Advance(y + 1, image.height);
  }
}

void ReadPlainRows(GreyImage& image, const PnmHeader& header, PnmParser& parser,
                   Progress& progress) {
  const bool bitmap = header.kind == '1';
  const std::vector<uint8_t> table = ScaleTable(header.maxValue, 65536);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < image.width; ++x) {
      const int sample = parser.ReadPlainSample(bitmap);
      if (bitmap) {
        row[x] = sample ? 0 : 255;
      } else {
        if (sample > 65535) parser.Corrupt("sample above 65535");
        row[x] = table[sample];
      }
    }
    progress.Advance(y + 1, image.height);
  }
}

// The least number of bytes the pixels of a well-formed file take.
int64_t LeastPixelBytes(const PnmHeader& header) {
  const int64_t pixels = header.width * header.height;
  switch (header.kind) {
    case '4':
      return (header.width + 7) / 8 * header.height;
    case '5':
      return pixels * (header.maxValue > 255 ? 2 : 1);
    case '1':
      return pixels;  // digits may stand unseparated
    default:
      return 2 * pixels - 1;  // a digit and a separator per sample
  }
}

// An 8-bit binary PGM whose rows are a multiple of 4 bytes wide is already in the library's
// layout: map the file instead of copying it (the copy and its page faults are a good part of
// a large job's time). Private and writable, so that nothing could ever reach the file.
bool MapPixels(FILE* file, const PnmHeader& header, GreyImage& image) {
  if (header.kind != '5' || header.maxValue != 255 || header.width % 4 != 0) return false;
  const long offset = std::ftell(file);
  const size_t bytes = static_cast<size_t>(header.width * header.height);
  const size_t length = static_cast<size_t>(offset) + bytes;
  void* mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE, fileno(file), 0);
  if (mapping == MAP_FAILED) return false;
  madvise(mapping, length, MADV_WILLNEED);
  std::shared_ptr<uint8_t> pixels(static_cast<uint8_t*>(mapping) + offset,
                                  [mapping, length](uint8_t*) { munmap(mapping, length); });
  image = GreyImage::Adopt(static_cast<int>(header.width), static_cast<int>(header.height),
                           std::move(pixels));
  return true;
}

}  // namespace

GreyImage ReadPnmImage(FILE* file, const std::string& path, Progress& progress) {
  PnmParser parser(file, path);
  const PnmHeader header = parser.ReadHeader();
  CheckImageSize(header.width, header.height, path);
  const int64_t left = BytesLeft(file);
  if (left >= 0 && left < LeastPixelBytes(header)) parser.Truncated();
  GreyImage mapped;
  if (left >= 0 && MapPixels(file, header, mapped)) return mapped;
  GreyImage image =
      GreyImage::Allocate(static_cast<int>(header.width), static_cast<int>(header.height));
  switch (header.kind) {
    case '4':
      ReadBitmapRows(file, image, parser, progress);
      break;
    case '5':
      ReadGreyRows(file, image, header.maxValue, parser, progress);
      break;
    default:
      ReadPlainRows(image, header, parser, progress);
      break;
  }
  image.WhitenPadding();
  return image;
}

std::unique_ptr<PgmBandReader> PgmBandReader::Open(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  const int first = std::getc(file), second = std::getc(file);
  std::rewind(file);
  if (first != 'P' || second != '5') {
    std::fclose(file);
    return nullptr;
  }
  PnmParser parser(file, path);
  PnmHeader header;
  try {
    header = parser.ReadHeader();
    CheckImageSize(header.width, header.height, path);
    const int64_t left = BytesLeft(file);
    if (left >= 0 && left < LeastPixelBytes(header)) parser.Truncated();
  } catch (...) {
    std::fclose(file);
    throw;
  }
  if (header.maxValue > 255) {
    std::fclose(file);
    return nullptr;
  }
  return std::unique_ptr<PgmBandReader>(
      new PgmBandReader(file, path, static_cast<int>(header.width), static_cast<int>(header.height),
                        static_cast<int>(header.maxValue)));
}

PgmBandReader::PgmBandReader(FILE* file, std::string path, int width, int height, int maxValue)
    : file_(file),
      path_(std::move(path)),
      width_(width),
      height_(height),
      scale_(ScaleTable(maxValue, 256)),
      samples_(static_cast<size_t>(width)) {}

PgmBandReader::~PgmBandReader() {
  std::fclose(file_);
}

void PgmBandReader::Read(int rows, uint8_t* grey, size_t stride) {
  for (int y = 0; y < rows; ++y) {
    if (std::fread(samples_.data(), 1, samples_.size(), file_) != samples_.size())
      throw ToolError(path_ + ": PGM/PBM file is truncated");
    uint8_t* row = grey + stride * static_cast<size_t>(y);
    for (int x = 0; x < width_; ++x) row[x] = scale_[samples_[x]];
    std::fill(row + width_, row + stride, uint8_t{255});
  }
}
