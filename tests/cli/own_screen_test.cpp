// The tool's --screen writes what the library's own screens give for the same page, whether it
// streams the page in bands (a grey PGM to PBM or PGM) or screens it whole (--stats, PNG). (The
// options that would choose another screen or that the screen does not use are among the
// refusals of usage_test.cpp.)
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <random>

#include "tool_runner.h"

namespace {

constexpr int kWidth = 83;    // odd, so the packed rows need padding
constexpr int kHeight = 157;  // more than two of the tool's bands of 64 rows

// A diagonal ramp under noise, with a flat white and a flat black corner.
std::string Pixels() {
  std::mt19937 random(11);
  std::string grey;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      int value =
          std::min(255, (x + y) * 255 / (kWidth + kHeight) + static_cast<int>(random() % 30));
      if (x < 10 && y < 10) value = 255;
      if (x >= kWidth - 10 && y >= kHeight - 10) value = 0;
      grey += static_cast<char>(value);
    }
  return grey;
}

struct OwnCall {
  korvel_screen screen;
  int bits;
  double small = 1.0 / 3, medium = 2.0 / 3;
  std::string Options() const {
    std::string line = std::string("--quality 0 --screen ") +
                       (screen == KORVEL_SCREEN_FINE ? "fine" : "best") + " --bits " +
                       std::to_string(bits);
    if (small != 1.0 / 3)
      line += " --drop-inks " + std::to_string(small) + "," + std::to_string(medium);
    return line;
  }
};

// The library's page for the call, one dot code per pixel.
std::vector<uint8_t> Library(const OwnCall& call, const std::string& pixels) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  korvel_screen_options options;
  korvel_screen_options_init(&options, call.screen, call.bits);
  options.small_drop_ink = call.small;
  options.medium_drop_ink = call.medium;
  const int stride = ((kWidth * call.bits + 31) >> 5) * 4;
  std::vector<unsigned char> packed(static_cast<size_t>(stride) * kHeight);
  EXPECT_EQ(korvel_context_screen(context, &options,
                                  reinterpret_cast<const unsigned char*>(pixels.data()), kWidth,
                                  packed.data(), stride, kWidth, kHeight),
            KORVEL_OK);
  korvel_context_destroy(context);
  return cli::UnpackCodes(packed.data(), kWidth, kHeight, call.bits);
}

TEST(OwnScreenTool, BandedAndWholePagesAreTheLibrarysPage) {
  const std::string folder = cli::ScratchFolder();
  const std::string pixels = Pixels();
  cli::WriteFile(folder + "/in.pgm", "P5\n" + std::to_string(kWidth) + " " +
                                         std::to_string(kHeight) + "\n255\n" + pixels);
  const OwnCall calls[] = {{KORVEL_SCREEN_FINE, 1},
                           {KORVEL_SCREEN_BEST, 1},
                           {KORVEL_SCREEN_FINE, 2},
                           {KORVEL_SCREEN_BEST, 2},
                           {KORVEL_SCREEN_BEST, 2, 0.25, 0.5}};
  for (const OwnCall& call : calls) {
    const std::vector<uint8_t> expected = Library(call, pixels);
    const std::string out = call.bits == 1 ? ".pbm" : ".pgm";
    cli::ExpectSuccess(
        cli::RunTool(cli::Command("halftone " + call.Options() + " in.pgm banded" + out, folder)));
    EXPECT_EQ(cli::PnmCodes(folder + "/banded" + out), expected) << call.Options() << ", in bands";
    const cli::Run whole = cli::RunTool(
        cli::Command("halftone --stats " + call.Options() + " in.pgm whole" + out, folder));
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(cli::PnmCodes(folder + "/whole" + out), expected) << call.Options() << ", whole";
  }
}

}  // namespace
