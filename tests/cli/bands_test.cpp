// A grey PGM screened to PBM or PGM goes through the library's row stream band by band; with
// --stats the tool reads the page whole. Both ways must write the same file, also when cells
// straddle the edges of the bands.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace {

TEST(Bands, BandedPageEqualsTheWholePage) {
  const std::string folder = cli::ScratchFolder();
  for (const std::string options :
       {"", "--cell 1x3", "--cell 3x5 --dot-mode 2", "--template-diffusion --cell 2x3",
        "--bits 2 --type 41", "--bits 2 --type 42 --cell 3x2", "--type 42", "--bits 2"}) {
    const std::string out = options.find("--bits 2") == std::string::npos ? ".pbm" : ".pgm";
    cli::ExpectSuccess(
        cli::RunTool(cli::Command("halftone " + options + " CHART b" + out, folder)));
    const cli::Run whole =
        cli::RunTool(cli::Command("halftone --stats " + options + " CHART w" + out, folder));
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(cli::Checksum(cli::ReadFile(folder + "/b" + out)),
              cli::Checksum(cli::ReadFile(folder + "/w" + out)))
        << options;
  }
}

}  // namespace
