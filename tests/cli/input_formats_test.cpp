// The same grey picture stored in every input encoding the tool reads must screen to the same
// dots. The 4-bit path is used because it screens the image itself, deterministically.
#include <gtest/gtest.h>
#include <png.h>

#include "cli_support.h"

namespace {

constexpr int kWidth = 61;  // odd, so rows need padding in the library's layout
constexpr int kHeight = 37;

std::vector<uint8_t> Gradient(int width = kWidth) {
  std::vector<uint8_t> grey(width * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < width; ++x)
      grey[y * width + x] = static_cast<uint8_t>((x * 4 + y * 3) % 256);
  return grey;
}

std::string Pgm(const std::vector<uint8_t>& grey, const std::string& header) {
  return header + std::string(grey.begin(), grey.end());
}

std::string PlainPgm(const std::vector<uint8_t>& grey) {
  std::string text = "P2\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
  for (size_t i = 0; i < grey.size(); ++i)
    text += std::to_string(grey[i]) + (i % 17 == 16 ? "\n" : " ");
  return text;
}

std::string WidePgm(const std::vector<uint8_t>& grey) {
  std::string bytes = "P5\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n65535\n";
  for (uint8_t value : grey) bytes += {static_cast<char>(value), static_cast<char>(value)};
  return bytes;
}

std::string ScreenToPgm(const std::string& input, const std::string& folder,
                        const std::string& name) {
  const std::string out = folder + "/" + name + ".pgm";
  const cli::RunResult run = cli::RunTool({"halftone", "--bits", "4", input, out});
  EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
  return cli::ReadFileBytes(out);
}

TEST(InputFormats, EveryGreyEncodingScreensAlike) {
  const std::string folder = cli::ScratchFolder();
  const std::vector<uint8_t> grey = Gradient();
  const std::string size = std::to_string(kWidth) + " " + std::to_string(kHeight);
  const std::string reference = folder + "/reference.pgm";
  cli::WriteFileBytes(reference, Pgm(grey, "P5\n" + size + "\n255\n"));
  const std::string expected = ScreenToPgm(reference, folder, "reference-out");
  ASSERT_GT(expected.size(), static_cast<size_t>(kWidth * kHeight));

  struct Encoding {
    std::string name;
    int colourType;  // -1 for a PNM written from text
    int bitDepth;
    bool interlaced;
  };
  const std::vector<Encoding> encodings = {
      {"grey8.png", PNG_COLOR_TYPE_GRAY, 8, false},
      {"grey16.png", PNG_COLOR_TYPE_GRAY, 16, false},
      {"interlaced.png", PNG_COLOR_TYPE_GRAY, 8, true},
      {"rgb8.png", PNG_COLOR_TYPE_RGB, 8, false},
      {"rgb16.png", PNG_COLOR_TYPE_RGB, 16, false},
      {"rgba.png", PNG_COLOR_TYPE_RGB_ALPHA, 8, true},
      {"grey-alpha.png", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
      {"palette.png", PNG_COLOR_TYPE_PALETTE, 8, false},
      {"comment.pgm", -1, 0, false},
      {"plain.pgm", -1, 0, false},
      {"wide.pgm", -1, 0, false},
  };
  for (const Encoding& encoding : encodings) {
    SCOPED_TRACE(encoding.name);
    const std::string path = folder + "/" + encoding.name;
    if (encoding.colourType >= 0) {
      cli::WritePng(path, kWidth, kHeight, grey, encoding.colourType, encoding.bitDepth,
                    encoding.interlaced);
    } else if (encoding.name == "comment.pgm") {
      cli::WriteFileBytes(path,
                          Pgm(grey, "P5 # made by hand\n# a second comment\n" + size + "\t255\n"));
    } else if (encoding.name == "plain.pgm") {
      cli::WriteFileBytes(path, PlainPgm(grey));
    } else {
      cli::WriteFileBytes(path, WidePgm(grey));
    }
    EXPECT_EQ(ScreenToPgm(path, folder, encoding.name + "-out"), expected);
  }
}

// A binary PGM whose rows need no padding is mapped rather than copied; the library must see
// the same pixels as through a PNG of the same picture, at every depth.
TEST(InputFormats, MappedPgmScreensLikeACopiedPng) {
  const std::string folder = cli::ScratchFolder();
  constexpr int kAligned = 64;
  const std::vector<uint8_t> grey = Gradient(kAligned);
  const std::string pgm =
      "P5\n64 " + std::to_string(kHeight) + "\n255\n" + std::string(grey.begin(), grey.end());
  cli::WriteFileBytes(folder + "/aligned.pgm", pgm);
  cli::WritePng(folder + "/aligned.png", kAligned, kHeight, grey, PNG_COLOR_TYPE_GRAY, 8, false);
  for (const char* bits : {"1", "2", "4"}) {
    SCOPED_TRACE(std::string(bits) + " bit");
    std::string outputs[2];
    for (int i = 0; i < 2; ++i) {
      const std::string out = folder + "/out" + std::to_string(i) + ".pgm";
      const cli::RunResult run = cli::RunTool(
          {"halftone", "--bits", bits, folder + (i ? "/aligned.png" : "/aligned.pgm"), out});
      EXPECT_EQ(run.exitCode, 0) << run.err;
      outputs[i] = cli::ReadFileBytes(out);
    }
    EXPECT_FALSE(outputs[0].empty());
    EXPECT_EQ(outputs[0], outputs[1]);
  }
  EXPECT_TRUE(cli::ReadFileBytes(folder + "/aligned.pgm") == pgm) << "the input is left as it was";
}

TEST(InputFormats, BitmapsReadAsBlackAndWhite) {
  const std::string folder = cli::ScratchFolder();
  std::vector<uint8_t> grey(kWidth * kHeight);
  std::string plain = "P1\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
  std::string packed = "P4\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n";
  for (int y = 0; y < kHeight; ++y) {
    uint8_t byte = 0;
    for (int x = 0; x < kWidth; ++x) {
      const bool black = (x / 3 + y / 2) % 3 == 0;
      grey[y * kWidth + x] = black ? 0 : 255;
      plain += black ? '1' : '0';  // plain bitmaps may run their digits together
      byte |= static_cast<uint8_t>(black << (7 - x % 8));
      if (x % 8 == 7 || x == kWidth - 1) {
        packed += static_cast<char>(byte);
        byte = 0;
      }
    }
    plain += '\n';
  }
  cli::WriteFileBytes(folder + "/reference.pgm", Pgm(grey, "P5\n61 37\n255\n"));
  cli::WriteFileBytes(folder + "/plain.pbm", plain);
  cli::WriteFileBytes(folder + "/packed.pbm", packed);
  cli::WritePng(folder + "/bilevel.png", kWidth, kHeight, grey, PNG_COLOR_TYPE_GRAY, 1, false);
  const std::string expected = ScreenToPgm(folder + "/reference.pgm", folder, "reference-out");
  for (const char* name : {"plain.pbm", "packed.pbm", "bilevel.png"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ScreenToPgm(folder + "/" + name, folder, std::string(name) + "-out"), expected);
  }
}

TEST(InputFormats, TransparencyIsPaper) {
  const std::string folder = cli::ScratchFolder();
  const std::vector<uint8_t> black(kWidth * kHeight, 0);
  cli::WritePng(folder + "/clear.png", kWidth, kHeight, black, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false,
                0);
  const cli::RunResult run = cli::RunTool(
      {"halftone", "--bits", "4", "--stats", folder + "/clear.png", folder + "/out.png"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("source ink 0.00 %, dots 0.00 %"), std::string::npos) << run.out;
}

}  // namespace
