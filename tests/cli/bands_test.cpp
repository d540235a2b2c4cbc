// A grey PGM screened by error diffusion to PBM goes through the library's row stream band by
// band; with --stats the tool reads the page whole. Both ways must write the same file, also
// when cells straddle the edges of the bands.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace {

TEST(Bands, BandedPageEqualsTheWholePage) {
  const std::string folder = cli::ScratchFolder();
  for (const std::string options : {"", "--cell 1x3", "--cell 3x5 --dot-mode 2"}) {
    cli::ExpectSuccess(cli::RunTool(cli::Command("halftone " + options + " CHART b.pbm", folder)));
    const cli::Run whole =
        cli::RunTool(cli::Command("halftone --stats " + options + " CHART w.pbm", folder));
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(cli::Checksum(cli::ReadFile(folder + "/b.pbm")),
              cli::Checksum(cli::ReadFile(folder + "/w.pbm")))
        << options;
  }
}

}  // namespace
