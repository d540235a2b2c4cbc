// Representative commands end to end: their PGM and PBM files are pinned by checksum, and the
// PNG and TIFF writers must hold the same pixels at the true depth.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "tool_runner.h"

#ifdef KORVEL_TEST_TIFF
#include <tiffio.h>
#endif

namespace {

// Each command runs with the bundled parameter files. The file checked is the last word, or for
// a split the plane named after the command.
TEST(GoldenOutput, RepresentativeCommands) {
  const std::string folder = cli::ScratchFolder();
  const std::vector<std::vector<std::string>> goldens = {
      {"halftone CHART ed.pbm", "ec9b4c0f10a84c4f"},
      {"halftone --quality 0 --dot-mode 1 --cell 1x2 CHART cells.pbm", "a50227f22b22ace9"},
      {"halftone --bits 2 CHART drops.pgm", "2df7a8c2fc2131dd"},
      {"halftone --type 42 CHART matrix.pgm", "552614af94e650c2"},
      {"halftone --bits 2 --type 8 --size 300x200 bars.pgm", "f6c20e6a10c99bf3"},
      {"template --level 37 --bits 2 --size 50x30 t.pgm", "9b61f6c6a8ff719d"},
      {"split --planes 3 --size 50x30 split.pgm", "54a3ddfe49153eb1", "split-2.pgm"},
      {"mask make --planes 2 --size 32x16 --seed 7 blue.mask", "00a945f493f0766b"},
      {"mask apply --plane 1 --bits 2 --offset -3x5 --step 1x0 blue.mask CHART masked.pgm",
       "29ef7b18d325942d"},
  };
  for (const auto& golden : goldens) {
    SCOPED_TRACE(golden[0]);
    const std::vector<std::string> words = cli::Command(golden[0], folder);
    cli::ExpectSuccess(cli::RunTool(words, {"KORVEL_DATA_DIR"}));
    const std::string out = golden.size() > 2 ? folder + "/" + golden[2] : words.back();
    EXPECT_EQ(cli::Checksum(cli::ReadFile(out)), golden[1]);
  }
}

// Grey samples of an image file, 0 for full ink and 255 for paper, row by row.
std::vector<uint8_t> DecodedGrey(const std::string& path) {
  std::vector<uint8_t> grey;
  if (path.size() > 4 && path.substr(path.size() - 4) == ".png") {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_GRAY;
    grey.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, grey.data(), 0, nullptr);
    return grey;
  }
#ifdef KORVEL_TEST_TIFF
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  uint32_t width = 0, height = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  std::vector<uint32_t> rgba(static_cast<size_t>(width) * height);
  TIFFReadRGBAImageOriented(tiff, width, height, rgba.data(), ORIENTATION_TOPLEFT, 0);
  TIFFClose(tiff);
  for (uint32_t pixel : rgba) grey.push_back(static_cast<uint8_t>(TIFFGetR(pixel)));
#endif
  return grey;
}

TEST(GoldenOutput, PngAndTiffHoldThePgmPixelsAtTheTrueDepth) {
  const std::string folder = cli::ScratchFolder();
  std::vector<std::string> extensions = {".png"};
#ifdef KORVEL_TEST_TIFF
  extensions.push_back(".tif");
#endif
  for (const char* bits : {"1", "2", "4"}) {
    SCOPED_TRACE(std::string(bits) + " bit");
    const std::string pgm = folder + "/out" + bits + ".pgm";
    cli::ExpectSuccess(cli::RunTool({"halftone", "--bits", bits, cli::ChartPath(), pgm}));

    const int maxCode = (1 << std::atoi(bits)) - 1;
    std::vector<uint8_t> expected;
    for (uint8_t code : cli::PnmCodes(pgm)) expected.push_back(255 * (maxCode - code) / maxCode);
    for (const std::string& extension : extensions) {
      const std::string out = folder + "/out" + bits + extension;
      cli::ExpectSuccess(cli::RunTool({"halftone", "--bits", bits, cli::ChartPath(), out}));
      EXPECT_TRUE(DecodedGrey(out) == expected) << out;
      if (extension == ".png") {
        EXPECT_EQ(cli::ReadFile(out)[24], std::atoi(bits)) << "PNG bit depth";
      }
    }
  }
}

}  // namespace
