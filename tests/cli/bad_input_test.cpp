// Bad files and bad command lines: each gives one clear line on stderr and a non-zero exit,
// never a crash, and leaves no output (or half-written temporary) behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli_support.h"

namespace {

using cli::RunTool;

struct Refusal {
  int exitCode;
  std::string messagePart;
};

// Runs the tool, expecting it to refuse; out names the output it must not leave behind.
void ExpectRefused(const std::vector<std::string>& arguments, const Refusal& expected,
                   const std::string& folder, const std::string& out) {
  const cli::RunResult run = RunTool(arguments);
  SCOPED_TRACE(run.err);
  EXPECT_EQ(run.signal, 0) << "crashed";
  EXPECT_EQ(run.exitCode, expected.exitCode);
  ASSERT_FALSE(run.err.empty());
  EXPECT_EQ(run.err.rfind("korvel: ", 0), 0u) << "message starts with the program name";
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line";
  EXPECT_NE(run.err.find(expected.messagePart), std::string::npos);
  EXPECT_EQ(run.out, "");
  if (!out.empty()) {
    EXPECT_FALSE(cli::FileExists(out)) << out;
  }
  for (const std::string& name : cli::FolderEntries(folder))
    EXPECT_EQ(name.find(".korvel-"), std::string::npos) << "temporary file left: " << name;
}

std::string Chunk(const std::string& type, const std::string& data) {
  std::string chunk;
  const uint32_t length = static_cast<uint32_t>(data.size());
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>(length >> shift);
  const std::string body = type + data;
  chunk += body;
  const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>(crc >> shift);
  return chunk;
}

// A PNG signature and a valid header chunk declaring width x height 8-bit grey, then an empty
// pixel chunk.
std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  std::string ihdr;
  for (uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) ihdr += static_cast<char>(value >> shift);
  ihdr += std::string("\x08\x00\x00\x00\x00", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", "") +
         Chunk("IEND", "");
}

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = cli::ScratchFolder();
    out_ = folder_ + "/out.png";
  }
  std::string Input(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + "/" + name;
    cli::WriteFileBytes(path, bytes);
    return path;
  }
  void ExpectImageRefused(const std::string& input, const std::string& messagePart) {
    ExpectRefused({"halftone", input, out_}, {1, messagePart}, folder_, out_);
  }
  // A valid 64 x 48 grey PNG of the tool's own making, read back as bytes.
  std::string ValidPng() {
    const std::string path = folder_ + "/valid.png";
    std::vector<uint8_t> grey(64 * 48);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<uint8_t>(i * 7);
    cli::WritePng(path, 64, 48, grey, 0 /* grey */, 8, false);
    std::string bytes = cli::ReadFileBytes(path);
    std::remove(path.c_str());
    return bytes;
  }

  std::string folder_;
  std::string out_;
};

TEST_F(BadInput, MissingEmptyAndFolderInputs) {
  ExpectImageRefused(folder_ + "/absent.png", "cannot open: No such file or directory");
  ExpectImageRefused(Input("empty.pgm", ""), "file is empty");
  ExpectImageRefused(folder_, "is a folder");
}

TEST_F(BadInput, TruncatedImages) {
  const std::string png = ValidPng();
  ExpectImageRefused(Input("half.png", png.substr(0, png.size() / 2)), "PNG file is truncated");
  ExpectImageRefused(Input("signature.png", png.substr(0, 8)), "PNG file is truncated");
  ExpectImageRefused(Input("half.pgm", "P5\n64 48\n255\n" + std::string(64 * 24, '\x80')),
                     "PGM/PBM file is truncated");
  ExpectImageRefused(Input("half.pbm", "P4\n64 48\n" + std::string(8 * 47, '\0')),
                     "PGM/PBM file is truncated");
  ExpectImageRefused(Input("plain.pgm", "P2\n3 2\n255\n0 1 2 3"), "PGM/PBM file is truncated");
  ExpectImageRefused(Input("header.pgm", "P5\n64"), "PGM/PBM file is truncated");
}

TEST_F(BadInput, CorruptImages) {
  std::string png = ValidPng();
  png[png.size() / 2] ^= 0x55;  // inside the compressed pixels: a checksum mismatch
  ExpectImageRefused(Input("flipped.png", png), "bad PNG file");
  ExpectImageRefused(Input("letters.pgm", "P5\nabc 10\n255\n"), "width is not a number");
  ExpectImageRefused(Input("maxval.pgm", "P5\n2 2\n0\n\0\0\0\0"), "maximum value 0");
  ExpectImageRefused(Input("deep.pgm", "P5\n2 2\n70000\n"), "maximum value 70000");
  ExpectImageRefused(Input("glued.pgm", "P5\n2 2\n255\x01\x02\x03\x04"), "bad PGM/PBM file");
  ExpectImageRefused(Input("bits.pbm", "P1\n2 1\n0 7\n"), "not 0 or 1");
  // Found by fuzzing: a plain sample beyond 32 bits once wrapped to a negative table index.
  ExpectImageRefused(Input("wide.pgm", "P2\n3 2\n157\n15777777942 1 2\n3 4 5\n"),
                     "sample above 65535");
}

TEST_F(BadInput, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  ExpectImageRefused(Input("wide.pgm", "P5\n2000000 1\n255\n"), "too large");
  ExpectImageRefused(Input("area.pgm", "P5\n60000 60000\n255\n"), "too large");
  ExpectImageRefused(Input("absurd.pgm", "P5\n99999999999999 2\n255\n"), "absurdly large");
  ExpectImageRefused(Input("wide.png", PngHeaderOnly(2000000, 1)), "too large");
  ExpectImageRefused(Input("huge.png", PngHeaderOnly(0x7FFFFFFF, 0x7FFFFFFF)), "too large");
  ExpectImageRefused(Input("zero.pgm", "P5\n0 5\n255\n"), "no pixels");
}

TEST_F(BadInput, UnsupportedFormats) {
  ExpectImageRefused(Input("text.png", "hello, world\n"), "unknown image format");
  ExpectImageRefused(Input("photo.jpg", "\xFF\xD8\xFF\xE0 JFIF"), "JPEG input is not supported");
  ExpectImageRefused(Input("scan.tif", std::string("II*\0\x08\0\0\0", 8)), "TIFF input");
  ExpectImageRefused(Input("colour.ppm", "P6\n1 1\n255\n\0\0\0"), "colour PPM");
}

TEST_F(BadInput, OutOfRangeOptionValues) {
  const std::string chart = cli::ChartPath();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"halftone", "--type", "43", chart, out_}, "--type 43 is out of range (0 to 42)"},
      {{"halftone", "--type", "-1", chart, out_}, "--type -1 is out of range"},
      {{"halftone", "--type", "ramp", chart, out_}, "--type must be a whole number"},
      {{"halftone", "--bits", "3", chart, out_}, "--bits must be 1, 2 or 4"},
      {{"halftone", "--bits", "8", chart, out_}, "--bits 8 is out of range"},
      {{"halftone", "--dot-mode", "4", chart, out_}, "--dot-mode 4 is out of range"},
      {{"halftone", "--cell", "0x2", chart, out_}, "--cell side 0 is out of range"},
      {{"halftone", "--cell", "2", chart, out_}, "--cell must be WIDTHxHEIGHT"},
      {{"halftone", "--quality", "101", chart, out_}, "--quality 101 is out of range (-1 to 100)"},
      {{"halftone", "--quality", "-2", chart, out_}, "--quality -2 is out of range"},
      {{"halftone", "--quality", "99999999999", chart, out_},
       "--quality 99999999999 is out of range"},
      {{"halftone", "--bits", "4", "--type", "3", chart, out_},
       "--type does not apply to --bits 4"},
      {{"halftone", "--size", "9x9", out_}, "this screen needs an input image"},
      {{"template", "--level", "101", "--size", "8x8", out_},
       "--level 101 is out of range (0 to 100)"},
      {{"template", "--level", "-1", "--size", "8x8", out_}, "--level -1 is out of range"},
      {{"template", "--level", "50", "--size", "0x8", out_}, "--size side 0 is out of range"},
      {{"template", "--level", "50", "--size", "12x", out_}, "--size side must be a whole number"},
      {{"template", "--level", "50", "--size", "1048577x1", out_}, "out of range"},
      {{"template", "--level", "50", "--size", "65536x65536", out_}, "too large"},
      {{"template", "--size", "8x8", out_}, "template needs --level"},
      {{"split", "--planes", "5", "--size", "8x8", folder_ + "/s"}, "--planes 5 is out of range"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(arguments[1] + " " + arguments[2]);
    const int exitCode = message == "too large" ? 1 : 2;
    ExpectRefused(arguments, {exitCode, message}, folder_, out_);
  }
}

TEST_F(BadInput, MalformedCommandLines) {
  const std::string chart = cli::ChartPath();
  ExpectRefused({"screen", chart, out_}, {2, "unknown command 'screen'"}, folder_, out_);
  ExpectRefused({"halftone", "--colour", chart, out_}, {2, "unknown option '--colour'"}, folder_,
                out_);
  ExpectRefused({"halftone", chart, out_, "--bits"}, {2, "--bits needs a value"}, folder_, out_);
  ExpectRefused({"halftone", "--stats=yes", chart, out_}, {2, "--stats takes no value"}, folder_,
                out_);
  ExpectRefused({"halftone", "--bits", "1", "--bits", "2", chart, out_}, {2, "given twice"},
                folder_, out_);
  ExpectRefused({"halftone", chart}, {2, "halftone takes two files: IN OUT"}, folder_, "");
  ExpectRefused({"info", "extra"}, {2, "info takes no files"}, folder_, "");
  ExpectRefused({"mask"}, {2, "mask needs a subcommand"}, folder_, "");
}

TEST_F(BadInput, UnwritableOrUnknownOutputs) {
  const std::string chart = cli::ChartPath();
  const std::string file = Input("plain-file", "x");
  ExpectRefused({"halftone", chart, folder_ + "/out.jpg"}, {2, "unknown output format '.jpg'"},
                folder_, folder_ + "/out.jpg");
  ExpectRefused({"halftone", chart, folder_ + "/out"}, {2, "unknown output format ''"}, folder_,
                folder_ + "/out");
  ExpectRefused({"halftone", "--bits", "2", chart, folder_ + "/out.pbm"},
                {2, "PBM holds 1-bit output only"}, folder_, folder_ + "/out.pbm");
  ExpectRefused({"halftone", chart, "/nonexistent-korvel-folder/out.png"},
                {1, "cannot write: No such file or directory"}, folder_, "");
  ExpectRefused({"template", "--level", "5", "--size", "8x8", file + "/out.png"},
                {1, "cannot write: Not a directory"}, folder_, "");
  ExpectRefused({"template", "--level", "5", "--size", "8x8", folder_ + "/"}, {2, "unknown output"},
                folder_, "");
  const std::string subfolder = folder_ + "/sub.png";
  std::filesystem::create_directory(subfolder);
  ExpectRefused({"template", "--level", "5", "--size", "8x8", subfolder}, {1, "is a folder"},
                folder_, "");
#ifndef KORVEL_TEST_TIFF
  ExpectRefused({"halftone", chart, folder_ + "/out.tif"}, {2, "TIFF output is not available"},
                folder_, folder_ + "/out.tif");
#endif
}

TEST_F(BadInput, AFailedRunLeavesAnEarlierOutputAsItWas) {
  cli::WriteFileBytes(out_, "earlier output");
  ExpectRefused({"halftone", Input("bad.pgm", "P5\n4 4\n255\n"), out_}, {1, "truncated"}, folder_,
                "");
  EXPECT_EQ(cli::ReadFileBytes(out_), "earlier output");
  // A split writes all its planes or none: the second plane's name is taken by a folder.
  std::filesystem::create_directory(folder_ + "/p-2.png");
  ExpectRefused({"split", "--planes", "2", "--size", "8x8", folder_ + "/p.png"},
                {1, "p-2.png: cannot write: is a folder"}, folder_, folder_ + "/p-1.png");
}

}  // namespace
