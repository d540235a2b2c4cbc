// The halftone command accepts an option exactly when the screen it chooses uses it. The oracle
// is the library itself: an option is used when setting it changes the library's output for the
// same call. Every template type is tried at every depth, with and without the template
// diffusion; an accepted command must write what the library gives for the same call.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstdlib>
#include <tuple>

#include "tool_runner.h"

namespace {

constexpr int kWidth = 480;  // wide enough for type 3 to draw its tile at every dot mode
constexpr int kHeight = 64;
constexpr int kImageType = 34;

struct Call {
  int bits = 1;
  int type = kImageType;
  bool templateDiffusion = false;
  int quality = 50;  // the tool's default
  int dotMode = 0;
  int cell = 1;
};

std::string RampPixels() {
  std::string grey(kWidth * kHeight, '\0');
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) grey[y * kWidth + x] = static_cast<char>(x / 2 + y);
  return grey;
}

// The library's output for the call, one dot code per pixel as the tool's PGM holds it.
std::vector<uint8_t> Library(const Call& call) {
  static std::string source = RampPixels();
  auto* in = reinterpret_cast<unsigned char*>(source.data());
  const int stride = ((kWidth * call.bits + 31) >> 5) * 4;
  std::vector<unsigned char> packed(static_cast<size_t>(stride) * kHeight);
  const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(call.type);
  const auto mode = static_cast<__QUENTAL_DOT_MODE>(call.dotMode);
  KORVEL_Init(call.quality);
  if (call.bits == 4)
    KORVEL_GetImageTempateData_4Bit(in, packed.data(), kWidth, kHeight);
  else
    (call.bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit)(
        in, packed.data(), kWidth, kHeight, type, call.cell, call.cell, mode,
        call.templateDiffusion);
  KORVEL_UnInit();
  return cli::UnpackCodes(packed.data(), kWidth, kHeight, call.bits);
}

// The call itself is accepted when its type fits the depth (at 1 bit, the 2-bit output of the
// call holds whole dots only) and the template diffusion, if chosen, changes the output while
// the type still matters (it does not screen as type 34 would).
bool CallAccepted(const Call& call) {
  Call twoBit = call, without = call, imageType = call;
  twoBit.bits = 2;
  if (call.bits == 1)
    for (uint8_t code : Library(twoBit))
      if (code == 1 || code == 2) return false;
  without.templateDiffusion = false;
  imageType.type = kImageType;
  const auto output = Library(call);
  return !call.templateDiffusion ||
         (output != Library(without) && (call.type == kImageType || output != Library(imageType)));
}

// An option given on the command line: its words, the field of the call it sets to value, and
// the other values of that field whose output it must differ from to be of any use.
struct Variation {
  std::vector<std::string> words;
  int Call::*field;
  int value;
  std::vector<int> others;
};

const Variation kVariations[] = {
    {{"--quality", "0"}, &Call::quality, 0, {50}},
    {{"--dot-mode", "1"}, &Call::dotMode, 1, {0}},
    {{"--dot-mode", "3"}, &Call::dotMode, 3, {0, 1, 2}},
    {{"--cell", "2x2"}, &Call::cell, 2, {1}},
};

class OptionTable : public ::testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  void SetUp() override {
    setenv("KORVEL_DATA_DIR", cli::DataFolder().c_str(), 1);
    folder_ = cli::ScratchFolder();
    input_ = folder_ + "/ramp.pgm";
    cli::WriteFile(input_, "P5\n480 64\n255\n" + RampPixels());
  }

  // Runs the tool for the call with the extra words; on success its output must be the
  // library's, otherwise a one-line usage error that names the first of the words.
  void ExpectTool(const Call& call, const std::vector<std::string>& extra, bool accepted) {
    std::vector<std::string> words{"halftone", "--bits", std::to_string(call.bits)};
    if (call.bits != 4) words.insert(words.end(), {"--type", std::to_string(call.type)});
    if (call.templateDiffusion) words.push_back("--template-diffusion");
    words.insert(words.end(), extra.begin(), extra.end());
    words.insert(words.end(), {input_, folder_ + "/out.pgm"});
    SCOPED_TRACE(::testing::PrintToString(words));
    std::remove((folder_ + "/out.pgm").c_str());
    const cli::Run run = cli::RunTool(words);
    if (!accepted) {
      cli::ExpectRefused(run, 2, extra.empty() ? "" : extra[0]);
      return;
    }
    cli::ExpectSuccess(run);
    EXPECT_EQ(cli::PnmCodes(folder_ + "/out.pgm"), Library(call));
  }

  // The call as given, then each option on top of it, accepted where it changes the output.
  void CheckCall(const Call& call) {
    const bool accepted = CallAccepted(call);
    ExpectTool(call, {}, accepted);
    if (!accepted) return;
    for (const Variation& variation : kVariations) {
      Call varied = call, other = call;
      varied.*variation.field = variation.value;
      bool used = true;
      for (int value : variation.others) {
        other.*variation.field = value;
        used = used && Library(varied) != Library(other);
      }
      ExpectTool(varied, variation.words, used);
    }
  }

  std::string folder_;
  std::string input_;
};

TEST_P(OptionTable, EveryTypeTakesExactlyTheOptionsItsScreenUses) {
  const auto [bits, templateDiffusion] = GetParam();
  // The 4-bit path takes no type: it is tried once, without --type.
  for (int type = 0; type <= (bits == 4 ? 0 : 42); ++type)
    CheckCall({bits, bits == 4 ? kImageType : type, templateDiffusion});
}

INSTANTIATE_TEST_SUITE_P(DepthsAndDiffusions, OptionTable,
                         ::testing::Combine(::testing::Values(1, 2, 4), ::testing::Bool()));

}  // namespace
