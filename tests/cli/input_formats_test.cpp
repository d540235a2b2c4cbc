// The same picture in every encoding the tool reads screens to the same file.
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

const std::string kSize = std::to_string(kWidth) + " " + std::to_string(kHeight);

// A plain (text) PGM, or a PBM, plain or packed, of a picture of black and white only.
std::string Plain(const std::string& grey, const std::string& magic) {
  std::string text = magic + "\n" + kSize + (magic == "P2" ? "\n255\n" : "\n");
  std::string row;
  for (size_t i = 0; i < grey.size(); ++i) {
    const bool black = grey[i] == 0;
    if (magic == "P2") text += std::to_string(static_cast<uint8_t>(grey[i])) + (i % 9 ? " " : "\n");
    if (magic == "P1") text += black ? "1" : "0";  // plain bitmaps may run their digits together
    if (i % kWidth == 0) row.assign((kWidth + 7) / 8, '\0');
    row[i % kWidth / 8] |= static_cast<char>(black << (7 - i % kWidth % 8));
    if (magic == "P4" && i % kWidth == kWidth - 1) text += row;
  }
  return text;
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

TEST_F(InputFormats, EveryEncodingOfAPictureScreensAlike) {
  std::string grey(kWidth * kHeight, '\0'), bilevel(kWidth * kHeight, '\xff');
  for (size_t i = 0; i < grey.size(); ++i) {
    grey[i] = static_cast<char>((i % kWidth) * 4 + i / 97);
    if ((i % kWidth / 3 + i / kWidth / 2) % 3 == 0) bilevel[i] = 0;
  }
  std::string expected = Screened("grey.pgm", "P5\n" + kSize + "\n255\n" + grey);
  std::string wide = "P5\n" + kSize + "\n65535\n";
  for (char value : grey) wide.append(2, value);
  EXPECT_EQ(Screened("comments.pgm", "P5 # by hand\n# more\n" + kSize + "\t255\n" + grey),
            expected);
  EXPECT_EQ(Screened("plain.pgm", Plain(grey, "P2")), expected);
  EXPECT_EQ(Screened("wide.pgm", wide), expected);
  for (const auto& [colourType, depth] :
       std::vector<std::pair<int, int>>{{0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 8}, {4, 8}, {6, 8}})
    EXPECT_EQ(Screened("c" + std::to_string(colourType) + "d" + std::to_string(depth) + ".png",
                       Png(grey, colourType, depth)),
              expected);
  expected = Screened("bilevel.pgm", "P5\n" + kSize + "\n255\n" + bilevel);
  EXPECT_EQ(Screened("plain.pbm", Plain(bilevel, "P1")), expected);
  EXPECT_EQ(Screened("packed.pbm", Plain(bilevel, "P4")), expected);
  EXPECT_EQ(Screened("bilevel.png", Png(bilevel, 0, 1)), expected);
  // Transparent ink lies on white paper.
  EXPECT_EQ(Screened("clear.png", Png(std::string(grey.size(), '\0'), 4, 8, '\0')),
            Screened("white.pgm", "P5\n" + kSize + "\n255\n" + std::string(grey.size(), '\xff')));
}

}  // namespace
