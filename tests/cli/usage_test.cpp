// Command lines the tool cannot act on: each is one "korvel:" line on stderr and exit 2, and
// writes nothing. Only --help prints the usage.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace {

TEST(Usage, EveryBadCommandLineIsOneLine) {
  const std::string folder = cli::ScratchFolder();
  const std::string chart = cli::ChartPath(), out = folder + "/out.png";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given (korvel --help"},
      {{"screen", chart, out}, "unknown command 'screen'"},
      {{"halftone", "--colour", chart, out}, "unknown option '--colour'"},
      {{"halftone", chart, out, "--bits"}, "--bits needs a value"},
      {{"halftone", "--stats=yes", chart, out}, "--stats takes no value"},
      {{"halftone", "--bits", "1", "--bits", "2", chart, out}, "given twice"},
      {{"halftone", chart}, "halftone takes two files: IN OUT"},
      {{"halftone", "--type", "43", chart, out}, "--type 43 is out of range (0 to 42)"},
      {{"halftone", "--bits", "3", chart, out}, "--bits must be 1, 2 or 4"},
      {{"halftone", "--dot-mode", "4", chart, out}, "--dot-mode 4 is out of range"},
      {{"halftone", "--cell", "0x2", chart, out}, "--cell side 0 is out of range"},
      {{"halftone", "--quality", "101", chart, out}, "--quality 101 is out of range (-1 to 100)"},
      {{"halftone", "--size", "300x200", out},
       "--size draws a test pattern: choose one with --type"},
      {{"halftone", "--type", "34", "--size", "300x200", out}, "it screens an input image"},
      {{"halftone", chart, folder + "/out.jpg"}, "unknown output format '.jpg'"},
      {{"halftone", "--bits", "2", chart, folder + "/out.pbm"}, "PBM holds 1-bit output only"},
      {{"template", "--size", "8x8", out}, "template needs --level"},
      {{"template", "--level", "50", "--size", "65536x65536", out}, "too large"},
      {{"split", "--planes", "5", "--size", "8x8", out}, "--planes 5 is out of range"},
      {{"mask", "apply", "--bits", "4", chart, chart, out}, "--bits 4 is out of range (1 to 2)"},
      {{"info", "extra"}, "info takes no files"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(message);
    cli::ExpectRefused(cli::RunTool(arguments), message == "too large" ? 1 : 2, message);
  }
  EXPECT_EQ(cli::EntriesIn(folder), 0u);
}

TEST(Usage, HelpListsEveryScreenAndVersionIsOneLine) {
  cli::Run run = cli::RunTool({"--help"});
  cli::ExpectSuccess(run);
  for (const char* screen :
       {"--bits 1|2 --type 34: error diffusion of the image",
        "--bits 2 --type 41: small, medium and large drops", "--bits 4: 4-bit image path"})
    EXPECT_NE(run.out.find(screen), std::string::npos) << screen;
  run = cli::RunTool({"--version"});
  EXPECT_EQ(run.out, "korvel 1.0.0\n");
}

}  // namespace
