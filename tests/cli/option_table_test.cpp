// The halftone command accepts an option exactly when the screen it chooses uses it. The oracle
// is the library itself: an option is used when setting it changes the library's output for the
// same call. Every template type is tried at every depth, with and without the template
// diffusion; an accepted command must write what the library gives for the same call.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstdlib>
#include <functional>
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

// At 1 bit a type is refused when its screen lays drops that only a 2-bit output holds.
bool TypeFitsDepth(const Call& call) {
  if (call.bits != 1) return true;
  Call twoBit = call;
  twoBit.bits = 2;
  for (uint8_t code : Library(twoBit))
    if (code == 1 || code == 2) return false;
  return true;
}

// The template diffusion is used when it changes the output and the type still matters (it
// does not screen the image exactly as type 34 would).
bool TemplateDiffusionUsed(const Call& call) {
  Call without = call, imageType = call;
  without.templateDiffusion = false;
  imageType.type = kImageType;
  const auto output = Library(call);
  return output != Library(without) && (call.type == kImageType || output != Library(imageType));
}

// One option given on the command line: the words, the call they make, and the calls whose
// output it must differ from to be of any use.
struct Variation {
  std::vector<std::string> words;
  std::function<void(Call&)> set;
  std::vector<std::function<void(Call&)>> alternatives;
};

const std::vector<Variation>& Variations() {
  static const std::vector<Variation> variations = {
      {{"--quality", "0"}, [](Call& c) { c.quality = 0; }, {[](Call&) {}}},
      {{"--dot-mode", "1"}, [](Call& c) { c.dotMode = 1; }, {[](Call&) {}}},
      {{"--dot-mode", "3"},
       [](Call& c) { c.dotMode = 3; },
       {[](Call&) {}, [](Call& c) { c.dotMode = 1; }, [](Call& c) { c.dotMode = 2; }}},
      {{"--cell", "2x2"}, [](Call& c) { c.cell = 2; }, {[](Call&) {}}},
  };
  return variations;
}

class OptionCheck : public ::testing::Test {
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
    std::string command;
    for (size_t i = 1; i + 2 < words.size(); ++i) command += " " + words[i];
    SCOPED_TRACE("korvel halftone" + command);
    std::remove((folder_ + "/out.pgm").c_str());
    const cli::Run run = cli::RunTool(words);
    if (!accepted) {
      cli::ExpectRefused(run, 2, extra.empty() ? "" : extra[0]);
      return;
    }
    cli::ExpectSuccess(run);
    EXPECT_EQ(cli::ReadPnmDots(folder_ + "/out.pgm").codes, Library(call));
  }

  // The call as given, then each option on top of it, accepted where it changes the output.
  void CheckCall(const Call& call) {
    const bool accepted =
        TypeFitsDepth(call) && (!call.templateDiffusion || TemplateDiffusionUsed(call));
    ExpectTool(call, {}, accepted);
    if (!accepted) return;
    for (const Variation& variation : Variations()) {
      Call varied = call;
      variation.set(varied);
      const auto output = Library(varied);
      bool used = true;
      for (const auto& alternative : variation.alternatives) {
        Call other = call;
        alternative(other);
        used = used && output != Library(other);
      }
      ExpectTool(varied, variation.words, used);
    }
  }

  std::string folder_;
  std::string input_;
};

class OptionTable : public OptionCheck,
                    public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(OptionTable, EveryTypeTakesExactlyTheOptionsItsScreenUses) {
  const auto [bits, templateDiffusion] = GetParam();
  for (int type = 0; type <= 42; ++type) {
    Call call;
    call.bits = bits;
    call.type = type;
    call.templateDiffusion = templateDiffusion;
    CheckCall(call);
  }
}

INSTANTIATE_TEST_SUITE_P(DepthsAndDiffusions, OptionTable,
                         ::testing::Combine(::testing::Values(1, 2), ::testing::Bool()));

TEST_F(OptionCheck, FourBitPathTakesNoScreenOptions) {
  Call call;
  call.bits = 4;
  CheckCall(call);
  call.templateDiffusion = true;
  CheckCall(call);
  ExpectTool(Call{4}, {"--type", "34"}, false);
}

}  // namespace
