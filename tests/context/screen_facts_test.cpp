// The facts a host asks of a screen hold for what the screen does: a screen that reads the tone
// curve screens differently under another curve, one that reads the file's ramp differently
// without the file, one that streams begins a stream, and the dot modes enlarge up to the
// highest one and no further. (Their refusals are among the context's refusals.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/data_dir.h"
#include "support/context.h"

namespace {

constexpr int kWidth = 400, kHeight = 48;
using Bytes = std::vector<unsigned char>;

const Bytes& Image() {
  static const Bytes image = [] {
    Bytes grey(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        grey[y * kWidth + x] = static_cast<unsigned char>(x * 5 / 8 + y);
    return grey;
  }();
  return image;
}

korvel_screen_facts FactsOf(const korvel_image_options& options, int bits) {
  korvel_screen_facts facts{};
  facts.size = sizeof facts;
  EXPECT_EQ(korvel_image_options_describe(&options, bits, &facts), KORVEL_OK);
  return facts;
}

Bytes Screened(const test::Context& context, const korvel_image_options& options, int bits) {
  const size_t stride = (kWidth * bits + 7) / 8;
  Bytes out(stride * kHeight);
  const korvel_status status =
      bits == 4 ? korvel_context_screen_image_4bit(context.get(), Image().data(), kWidth,
                                                   out.data(), stride, kWidth, kHeight)
                : korvel_context_screen_image(context.get(), bits, &options, Image().data(), kWidth,
                                              out.data(), stride, kWidth, kHeight);
  EXPECT_EQ(status, KORVEL_OK);
  return out;
}

Bytes WithCurve(const korvel_image_options& options, int bits, const std::vector<int>& curve) {
  const test::Context context = test::NewContext(0);
  korvel_context_set_tone_curve(context.get(), curve.data(), static_cast<int>(curve.size()));
  return Screened(context, options, bits);
}

bool Streams(const korvel_image_options& options, int bits) {
  const test::Context context = test::NewContext(0);
  korvel_stream* stream = nullptr;
  const korvel_status status =
      korvel_context_begin_stream(context.get(), bits, &options, kWidth, kHeight, &stream);
  korvel_stream_destroy(stream);
  return status == KORVEL_OK;
}

// The outputs at dot modes 0..3 and at cell factors 1 and 2 change up to the highest dot mode
// that enlarges and no further.
void ExpectDotModes(korvel_image_options options, int bits, int highest, const std::string& label) {
  const test::Context context = test::NewContext(0);
  std::vector<Bytes> outputs;
  for (int mode = 0; mode <= 3; ++mode) {
    options.dot_mode = mode;
    outputs.push_back(Screened(context, options, bits));
  }
  options.dot_mode = 0;
  options.cell_width = options.cell_height = 2;
  outputs.push_back(Screened(context, options, bits));
  for (int mode = 0; mode < 3; ++mode)
    EXPECT_EQ(outputs[mode] == outputs[mode + 1], mode >= highest) << label << " mode " << mode;
  EXPECT_EQ(outputs[0] == outputs[4], highest < 0) << label << " cells";
}

// The compensation ramp of quality 0: ink 0 % at the top to 90 % at the bottom.
constexpr char kRampFile[] =
    "[QNT_COMPENSATION]\nParam0=0\nParam1=15\nParam2=30\nParam3=45\nParam4=60\nParam5=75\n"
    "Param6=90\n";

TEST(ScreenFacts, TemplateTypesDoWhatTheirFactsSay) {
  test::ScopedDataDir files;  // quality 0 reads the ramp of type 38 from here
  files.Write(0, kRampFile);
  const std::vector<int> flat = {0, 50, 100}, steep = {0, 95, 100};
  for (int bits : {1, 2})
    for (int type = 0; type <= 43; ++type)
      for (int diffusion : {0, 1}) {
        const korvel_image_options options{type, 1, 1, 0, diffusion};
        const std::string label = std::to_string(bits) + " bits, type " + std::to_string(type) +
                                  (diffusion ? ", template diffusion" : "");
        const korvel_screen_facts facts = FactsOf(options, bits);
        EXPECT_EQ(facts.reads_tone_curve != 0,
                  WithCurve(options, bits, flat) != WithCurve(options, bits, steep))
            << label;
        EXPECT_EQ(facts.streams != 0, Streams(options, bits)) << label;
        ExpectDotModes(options, bits, facts.highest_dot_mode, label);
        const Bytes withFile = WithCurve(options, bits, flat);
        std::remove(files.FileOf(0).c_str());
        EXPECT_EQ(facts.reads_file_ramp != 0, withFile != WithCurve(options, bits, flat)) << label;
        files.Write(0, kRampFile);
      }
}

}  // namespace
