// A grey PGM screened to PBM or PGM goes through the library's row stream band by band; with
// --stats the tool reads the page whole. Both ways must write the same file, also when cells
// straddle the edges of the bands, and with korvel's own screens (--screen) the page the
// library's own screen gives.
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

// The codes of the file the options write from `in` in bands, which must equal those written
// with the page read whole.
std::vector<uint8_t> BandedAsWhole(const std::string& options, const std::string& in,
                                   const std::string& folder) {
  const std::string out = options.find("--bits 2") == std::string::npos ? ".pbm" : ".pgm";
  cli::ExpectSuccess(
      cli::RunTool(cli::Command("halftone " + options + " " + in + " b" + out, folder)));
  const cli::Run whole =
      cli::RunTool(cli::Command("halftone --stats " + options + " " + in + " w" + out, folder));
  EXPECT_EQ(whole.exitCode, 0) << whole.err;
  EXPECT_EQ(cli::ReadFile(folder + "/b" + out), cli::ReadFile(folder + "/w" + out)) << options;
  return cli::PnmCodes(folder + "/b" + out);
}

TEST(Bands, BandedPageEqualsTheWholePage) {
  const std::string folder = cli::ScratchFolder();
  for (const std::string options :
       {"", "--cell 1x3", "--cell 3x5 --dot-mode 2", "--template-diffusion --cell 2x3",
        "--bits 2 --type 41", "--bits 2 --type 42 --cell 3x2", "--type 42", "--bits 2"})
    BandedAsWhole(options, "CHART", folder);
}

TEST(Bands, OwnScreensWriteTheLibrarysPage) {
  const std::string folder = cli::ScratchFolder();
  const std::string pixels = Pixels();
  cli::WriteFile(folder + "/in.pgm", "P5\n" + std::to_string(kWidth) + " " +
                                         std::to_string(kHeight) + "\n255\n" + pixels);
  const OwnCall calls[] = {{KORVEL_SCREEN_FINE, 1},
                           {KORVEL_SCREEN_BEST, 1},
                           {KORVEL_SCREEN_FINE, 2},
                           {KORVEL_SCREEN_BEST, 2},
                           {KORVEL_SCREEN_BEST, 2, 0.25, 0.5}};
  for (const OwnCall& call : calls)
    EXPECT_EQ(BandedAsWhole(call.Options(), "in.pgm", folder), Library(call, pixels))
        << call.Options();
}

}  // namespace
