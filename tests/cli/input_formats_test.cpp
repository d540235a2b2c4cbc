// The same picture in every encoding the tool reads screens to the same file; a bad input is one
// line on stderr, exit 1, and leaves no output behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include "tool_runner.h"

namespace {

constexpr int kWidth = 61;  // odd, so the library's rows need padding
constexpr int kHeight = 37;

std::string Be32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  return Be32(static_cast<uint32_t>(data.size())) + body +
         Be32(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()));
}

// A PNG of the grey picture: colour type 0 (grey), 2 (RGB), 3 (palette), 4 (grey and alpha)
// or 6 (RGBA); depth 1 (grey only), 8 or 16.
std::string Png(const std::string& grey, int colourType, int depth, char alpha = '\xff') {
  const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
  std::string raw;
  for (int y = 0; y < kHeight; ++y) {
    raw += '\0';  // no filter
    std::string packed((kWidth + 7) / 8, '\0');
    for (int x = 0; x < kWidth; ++x) {
      const char value = grey[y * kWidth + x];
      if (depth == 1) packed[x / 8] |= static_cast<char>((value & 0x80) >> (x % 8));
      for (int c = 0; depth > 1 && c < channels; ++c) {
        const bool isAlpha = c == channels - 1 && (colourType == 4 || colourType == 6);
        raw.append(depth / 8, isAlpha ? alpha : value);
      }
    }
    if (depth == 1) raw += packed;
  }
  std::string compressed(compressBound(raw.size()), '\0');
  uLongf length = compressed.size();
  compress(reinterpret_cast<Bytef*>(compressed.data()), &length,
           reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  std::string palette;
  for (int i = 0; i < 256; ++i) palette.append(3, static_cast<char>(i));
  const std::string header = Be32(kWidth) + Be32(kHeight) + static_cast<char>(depth) +
                             static_cast<char>(colourType) + std::string(3, '\0');
  return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) +
         (colourType == 3 ? Chunk("PLTE", palette) : "") +
         Chunk("IDAT", compressed.substr(0, length)) + Chunk("IEND", "");
}

std::string Size() {
  return std::to_string(kWidth) + " " + std::to_string(kHeight);
}

std::string PlainPgm(const std::string& grey) {
  std::string text = "P2\n" + Size() + "\n255\n";
  for (unsigned char value : grey) text += std::to_string(value) + (text.size() % 7 ? " " : "\n");
  return text;
}

std::string Pbm(const std::string& grey, bool plain) {
  std::string bits = (plain ? "P1\n" : "P4\n") + Size() + "\n";
  for (int y = 0; y < kHeight; ++y) {
    std::string row((kWidth + 7) / 8, '\0');
    for (int x = 0; x < kWidth; ++x) {
      const bool black = grey[y * kWidth + x] == 0;
      if (plain) bits += black ? '1' : '0';  // plain bitmaps may run their digits together
      row[x / 8] |= static_cast<char>(black << (7 - x % 8));
    }
    bits += plain ? "\n" : row;
  }
  return bits;
}

class InputFormats : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = cli::ScratchFolder(); }
  // The screened file of an input with these bytes.
  std::string Screened(const std::string& name, const std::string& bytes) {
    cli::WriteFile(folder_ + "/" + name, bytes);
    const std::string out = folder_ + "/" + name + ".pbm";
    cli::ExpectSuccess(cli::RunTool({"halftone", "--quality", "0", folder_ + "/" + name, out}));
    return cli::ReadFile(out);
  }
  std::string folder_;
};

TEST_F(InputFormats, EveryEncodingOfAGreyPictureScreensAlike) {
  std::string grey(kWidth * kHeight, '\0');
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<char>((i % kWidth) * 4 + i / 97);
  const std::string expected = Screened("reference.pgm", "P5\n" + Size() + "\n255\n" + grey);
  std::string wide = "P5\n" + Size() + "\n65535\n";
  for (char value : grey) wide.append(2, value);
  EXPECT_EQ(Screened("comments.pgm", "P5 # by hand\n# more\n" + Size() + "\t255\n" + grey),
            expected);
  EXPECT_EQ(Screened("plain.pgm", PlainPgm(grey)), expected);
  EXPECT_EQ(Screened("wide.pgm", wide), expected);
  for (const auto& [colourType, depth] :
       std::vector<std::pair<int, int>>{{0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 8}, {4, 8}, {6, 8}})
    EXPECT_EQ(Screened("c" + std::to_string(colourType) + "d" + std::to_string(depth) + ".png",
                       Png(grey, colourType, depth)),
              expected);
}

TEST_F(InputFormats, BitmapsAndTransparency) {
  std::string bilevel(kWidth * kHeight, '\xff');
  for (size_t i = 0; i < bilevel.size(); ++i)
    if ((i % kWidth / 3 + i / kWidth / 2) % 3 == 0) bilevel[i] = 0;
  const std::string expected = Screened("reference.pgm", "P5\n" + Size() + "\n255\n" + bilevel);
  EXPECT_EQ(Screened("plain.pbm", Pbm(bilevel, true)), expected);
  EXPECT_EQ(Screened("packed.pbm", Pbm(bilevel, false)), expected);
  EXPECT_EQ(Screened("bilevel.png", Png(bilevel, 0, 1)), expected);
  // Transparent ink lies on white paper.
  EXPECT_EQ(
      Screened("clear.png", Png(std::string(kWidth * kHeight, '\0'), 4, 8, '\0')),
      Screened("white.pgm", "P5\n" + Size() + "\n255\n" + std::string(kWidth * kHeight, '\xff')));
}

TEST_F(InputFormats, BadInputsAreOneLineAndLeaveNoOutput) {
  const std::string png = Png(std::string(kWidth * kHeight, '\x80'), 0, 8);
  std::string flipped = png;
  flipped[png.size() / 2] ^= 0x55;
  const std::vector<std::pair<std::string, std::string>> inputs = {
      {"", "file is empty"},
      {png.substr(0, png.size() / 2), "PNG file is truncated"},
      {flipped, "bad PNG file"},
      {"P5\n64 48\n255\n" + std::string(64 * 24, '\x80'), "PGM/PBM file is truncated"},
      {"P5\n2000000 1\n255\n", "too large"},
      {"P5\n0 5\n255\n", "no pixels"},
      {"P6\n1 1\n255\n\0\0\0", "colour PPM"},
      {"\xFF\xD8\xFF\xE0 JFIF", "JPEG input is not supported"},
  };
  const std::string out = folder_ + "/out.png";
  cli::WriteFile(out, "earlier output");
  for (const auto& [bytes, message] : inputs) {
    cli::WriteFile(folder_ + "/in", bytes);
    cli::ExpectRefused(cli::RunTool({"halftone", folder_ + "/in", out}), 1, message);
  }
  cli::ExpectRefused(cli::RunTool({"halftone", folder_ + "/absent", out}), 1, "cannot open");
  EXPECT_EQ(cli::ReadFile(out), "earlier output") << "a failed run keeps an earlier file";
  EXPECT_EQ(cli::EntriesIn(folder_), 2u) << "no temporary file is left";
}

}  // namespace
