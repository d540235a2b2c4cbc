// Command lines and inputs the tool cannot act on: each is one "korvel:" line on stderr, exit 2
// for the command line and 1 for the work, and nothing written. Only --help prints the usage.
#include <gtest/gtest.h>
#include <korvel/korvel_version.h>

#include "tool_runner.h"

namespace {

// The tool's reference, from the source root.
constexpr const char* kToolReference = "docs/tool.md";

TEST(Usage, EveryRefusalIsOneLineAndWritesNothing) {
  const std::string folder = cli::ScratchFolder();
  cli::WriteFile(folder + "/cut.pgm", "P5\n64 48\n255\n" + std::string(64 * 24, '\x80'));
  cli::WriteFile(folder + "/huge.pgm", "P5\n2000000 1\n255\n");
  cli::WriteFile(folder + "/photo.jpg", "\xFF\xD8\xFF\xE0 JFIF");
  cli::WriteFile(folder + "/out.png", "earlier output");
  // clang-format off
  const std::vector<std::tuple<const char*, int, const char*>> cases = {
      {"", 2, "no command given (korvel --help"},
      {"screen CHART out.png", 2, "unknown command 'screen'"},
      {"halftone --colour CHART out.png", 2, "unknown option '--colour'"},
      {"halftone CHART out.png --bits", 2, "--bits needs a value"},
      {"halftone --stats=yes CHART out.png", 2, "--stats takes no value"},
      {"halftone --quality=101 CHART out.png", 2, "--quality 101 is out of range"},
      {"halftone --bits 1 --bits=2 CHART out.png", 2, "option --bits given twice"},
      {"halftone CHART", 2, "halftone takes two files: IN OUT"},
      {"halftone --type 43 CHART out.png", 2, "--type 43 is out of range (0 to 42)"},
      {"halftone --bits 3 CHART out.png", 2, "--bits must be 1, 2 or 4"},
      {"halftone --cell 0x2 CHART out.png", 2, "--cell side 0 is out of range"},
      {"halftone --quality 101 CHART out.png", 2, "--quality 101 is out of range (-1 to 100)"},
      {"halftone --size 300x200 out.png", 2, "--size draws a test pattern: choose one with --type"},
      {"halftone --bits 4 --type 34 CHART out.png", 2, "--type does not apply to the 4-bit"},
      {"halftone CHART out.jpg", 2, "unknown output format '.jpg'"},
      {"halftone --bits 2 CHART out.pbm", 2, "PBM holds 1-bit output only"},
      {"template --size 8x8 out.png", 2, "template needs --level"},
      {"split --planes 5 --size 8x8 out.png", 2, "--planes 5 is out of range"},
      {"mask apply --bits 4 CHART CHART out.png", 2, "--bits 4 is out of range (1 to 2)"},
      {"info extra", 2, "info takes no files"},
      {"template --level 50 --size 65536x65536 out.png", 2, "too large"},
      {"halftone --size 32768x32769 --type 0 out.png", 2, "too large"},
      {"template --level 50 --size 32768x32769 out.png", 2, "too large"},
      {"halftone --quality +50 CHART out.png", 2, "must be a whole number"},
      {"halftone --threads 0x10 CHART out.png", 2, "must be a whole number"},
      {"halftone absent.pgm out.png", 1, "cannot open"},
      {"halftone cut.pgm out.png", 1, "PGM/PBM file is truncated"},
      {"halftone huge.pgm out.png", 1, "too large"},
      {"halftone photo.jpg out.png", 1, "JPEG input is not supported"},
      // Options that would choose another screen than --screen, or that it does not use.
      {"halftone --screen fine --type 34 CHART out.pgm", 2, "--type does not apply to the screen fine"},
      {"halftone --screen best --template-diffusion CHART out.pgm", 2, "--template-diffusion does not apply"},
      {"halftone --screen fine --cell 2x2 CHART out.pgm", 2, "--cell does not apply"},
      {"halftone --screen best --bits 2 --dot-mode 1 CHART out.pgm", 2, "--dot-mode does not apply"},
      {"halftone --screen fine --bits 4 CHART out.pgm", 2, "writes --bits 1 or 2, not --bits 4"},
      {"halftone --screen coarse CHART out.pgm", 2, "--screen must be fine or best, not 'coarse'"},
      {"halftone --bits 2 --drop-inks 0.3,0.6 CHART out.pgm", 2, "it needs --screen fine or best at --bits 2"},
      {"halftone --screen fine --drop-inks 0.3,0.6 CHART out.pgm", 2, "it lays one drop at --bits 1"},
      {"halftone --screen fine --bits 2 --drop-inks 0.6,0.3 CHART out.pgm", 2, "must be below the medium's"},
      {"halftone --screen fine --bits 2 --drop-inks 0.3,1 CHART out.pgm", 2, "must be a decimal between 0 and 1"},
      {"halftone --screen fine --bits 2 --drop-inks 0.3 CHART out.pgm", 2, "must be SMALL,MEDIUM"},
      {"halftone --screen fine --bits 2 --drop-inks nan,0.5 CHART out.pgm", 2, "must be a decimal between 0 and 1"},
      {"halftone --screen best --bits 2 --drop-inks 0.3,0.30001 CHART out.pgm", 2, "fall on the same step"},
      {"halftone --screen fine --size 20x20 out.pgm", 2, "--size does not apply to the screen fine"},
  };
  // clang-format on
  for (const auto& [line, exitCode, message] : cases) {
    SCOPED_TRACE(line);
    cli::ExpectRefused(cli::RunTool(cli::Command(line, folder)), exitCode, message);
  }
  // Words no single-spaced line holds: a blank file name, a number after a space.
  cli::ExpectRefused(cli::RunTool({"split", "--planes", "2", "--size", "8x8", ""}), 2,
                     "split needs a file name");
  cli::ExpectRefused(
      cli::RunTool({"halftone", "--quality", " 50", cli::ChartPath(), folder + "/out.png"}), 2,
      "must be a whole number");
  EXPECT_EQ(cli::ReadFile(folder + "/out.png"), "earlier output") << "kept as it was";
  EXPECT_EQ(cli::EntriesIn(folder), 4u) << "no output and no temporary file is left";
}

// The tool's reference shows the screen list of --help verbatim.
TEST(Usage, HelpListsTheScreensAsTheToolReferenceDoes) {
  const cli::Run run = cli::RunTool({"--help"});
  cli::ExpectSuccess(run);
  const std::string heading = "options each one uses (any other option is refused):\n";
  const size_t start = run.out.find(heading) + heading.size();
  const std::string screens = run.out.substr(start, run.out.find("\n\n", start) + 1 - start);
  EXPECT_NE(screens.find("--bits 2 --type 41: small, medium and large drops"), std::string::npos);
  EXPECT_NE(cli::ReadFile(std::string(KORVEL_DATA_SOURCE "/../") + kToolReference)
                .find("```\n" + screens + "```"),
            std::string::npos)
      << "paste the list of korvel --help into " << kToolReference << ":\n"
      << screens;
  EXPECT_EQ(cli::RunTool({"--version"}).out, std::string("korvel ") + KORVEL_VERSION_STRING + "\n");
}

}  // namespace
