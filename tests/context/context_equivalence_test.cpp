// Every context operation gives the bytes of its KORVEL_* counterpart made in the same state,
// at any stride that holds a row, without touching the C library's rand().
#include <gtest/gtest.h>
#include <korvel/korvel.h>
#include <korvel/korvel_context.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "config/data_dir.h"
#include "context/context_support.h"
#include "core/pattern_random.h"
#include "mask/stored_mask.h"

namespace {

using test::Bytes;
using test::Stride;

TEST(ContextGenerator, DrawsTheSequenceOfRandAfterSrand) {
  for (unsigned seed : {0u, 1u, 2000u, 123456789u, 4000000000u}) {
    PatternRandom own;
    own.Seed(seed);
    std::srand(seed);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(own.Next(), std::rand()) << seed << " " << i;
  }
}

// One step of a host's session, run either on the process-wide state (legacy) or on a context.
struct Step {
  std::function<Bytes()> legacy;
  std::function<Bytes(korvel_context*)> context;
};

Step ImageStep(int bits, int type, int cellWidth, int cellHeight, int dotMode, bool diffusion) {
  const int w = 83, h = 41;
  const auto call = bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
  return {[=] {
            Bytes image = test::GreyImage(w, h, 7), out(Stride(w, bits) * h, 0x5A);
            call(image.data(), out.data(), w, h, __QUENTAL_TEMPLATE_TYPE(type), cellWidth,
                 cellHeight, __QUENTAL_DOT_MODE(dotMode), diffusion);
            return out;
          },
          [=](korvel_context* c) {
            Bytes image = test::GreyImage(w, h, 7), out(Stride(w, bits) * h, 0x5A);
            const korvel_image_options o = {type, cellWidth, cellHeight, dotMode, diffusion};
            EXPECT_EQ(korvel_screen_image(c, bits, &o, image.data(), Stride(w, 8), out.data(),
                                          Stride(w, bits), w, h),
                      KORVEL_OK);
            return out;
          }};
}

Step TemplateStep(int bits, int level) {
  const int w = 45, h = 19;
  const auto call = bits == 1   ? KORVEL_GetTempateData_1Bit
                    : bits == 2 ? KORVEL_GetTempateData_2Bit
                                : KORVEL_GetTempateData_4Bit;
  return {[=] {
            Bytes out(Stride(w, bits) * h);
            call(out.data(), w, h, level);
            return out;
          },
          [=](korvel_context* c) {
            Bytes out(Stride(w, bits) * h);
            korvel_template(c, bits, level, out.data(), Stride(w, bits), w, h);
            return out;
          }};
}

Step SplitAndFourBitStep() {
  const int w = 38, h = 13;
  return {[=] {
            Bytes p(4 * Stride(w, 2) * h), image = test::GreyImage(w, h, 3), four(Stride(w, 4) * h);
            const size_t n = Stride(w, 2) * h;
            KORVEL_GetTempateData_2Bit_1to3(&p[0], &p[n], &p[2 * n], w, h);
            KORVEL_GetImageTempateData_4Bit(image.data(), four.data(), w, h);
            p.insert(p.end(), four.begin(), four.end());
            return p;
          },
          [=](korvel_context* c) {
            Bytes p(4 * Stride(w, 2) * h), image = test::GreyImage(w, h, 3), four(Stride(w, 4) * h);
            const size_t n = Stride(w, 2) * h;
            unsigned char* planes[] = {&p[0], &p[n], &p[2 * n]};
            korvel_split(c, 3, planes, Stride(w, 2), w, h);
            korvel_screen_image_4bit(c, image.data(), Stride(w, 8), four.data(), Stride(w, 4), w,
                                     h);
            p.insert(p.end(), four.begin(), four.end());
            return p;
          }};
}

Step MaskStep() {
  std::vector<int32_t> raw(30);
  for (int i = 0; i < 30; ++i) raw[i] = (i * 7) % 30;
  const std::vector<uint8_t> mask = test::StoredMask(2, 3, 5, 29, raw);
  const int w = 23, h = 9;
  return {[=] {
            auto generator = test::NewMaskGenerator();
            Bytes image = test::GreyImage(w, h, 5), out(8 * h, 0x11);
            generator->LoadMask(mask.data(), static_cast<int>(mask.size()));
            generator->Dither(image.data(), out.data(), 8, w, h, 1, -3, 4, 2, 1, 2);
            return out;
          },
          [=](korvel_context* c) {
            Bytes image = test::GreyImage(w, h, 5), out(8 * h, 0x11);
            korvel_mask_load(c, mask.data(), mask.size());
            korvel_mask_dither(c, image.data(), w, out.data(), 8, w, h, 1, -3, 4, 2, 1, 2);
            return out;
          }};
}

// The session: image calls install curves that later template calls use; bars and lines draw
// pattern numbers; the mask load resets the level table.
std::vector<Step> Session() {
  return {ImageStep(1, 5, 1, 1, 0, false),
          TemplateStep(2, 61),
          ImageStep(1, 34, 2, 3, 1, false),
          ImageStep(2, 6, 1, 1, 1, false),
          TemplateStep(4, 33),
          ImageStep(2, 38, 1, 2, 0, false),
          ImageStep(1, 11, 1, 1, 0, true),
          ImageStep(2, 40, 1, 1, 0, false),
          ImageStep(1, 42, 3, 1, 2, false),
          SplitAndFourBitStep(),
          MaskStep(),
          TemplateStep(1, 47)};
}

void ExpectContextMatchesLegacy(int quality, const std::function<void(korvel_context*)>& setUp,
                                const char* label) {
  const std::vector<Step> steps = Session();
  test::Context context = test::NewContext(quality);
  setUp(context.get());
  std::srand(4242);
  std::vector<Bytes> viaContext;
  for (const Step& step : steps) viaContext.push_back(step.context(context.get()));
  const int next = std::rand();
  std::srand(4242);
  EXPECT_EQ(next, std::rand()) << label << ": rand() was touched";

  KORVEL_Init(quality);
  for (size_t i = 0; i < steps.size(); ++i)
    EXPECT_EQ(viaContext[i], steps[i].legacy()) << label << ", step " << i;
}

TEST(ContextEquivalence, EveryOperationMatchesItsLegacyCounterpart) {
  ExpectContextMatchesLegacy(
      0, [](korvel_context*) {}, "level 0");
  ExpectContextMatchesLegacy(
      -1, [](korvel_context*) {}, "level -1");
  const test::ScopedDataDir files;
  files.Write(50, test::CurveFile());
  ExpectContextMatchesLegacy(
      50, [](korvel_context*) {}, "curve file");
  // A context reads its own folder, or its own curve, where the legacy calls read the file.
  const test::ScopedDataDir elsewhere;
  ExpectContextMatchesLegacy(
      50, [&](korvel_context* c) { korvel_set_parameter_folder(c, elsewhere.path().c_str()); },
      "missing file in the context's folder");
  // The legacy calls now read the curve from a file; the context has it as its own and reads
  // only the compensation profile from a file whose curve differs.
  elsewhere.Write(50, test::CurveFile());
  std::string decoy = test::CurveFile();
  decoy.replace(decoy.find("Param2=22"), 9, "Param2=60");
  files.Write(50, decoy);
  ExpectContextMatchesLegacy(
      50,
      [&](korvel_context* c) {
        korvel_set_parameter_folder(c, files.path().c_str());
        korvel_set_tone_curve(c, test::kCurve, 5);
      },
      "own curve");
}

TEST(ContextStrides, RowsMatchThePackedCallAndBytesPastThemStayAsTheyWere) {
  const int w = 37, h = 11;
  const korvel_image_options o = {34, 1, 1, 0, 0};
  const Bytes image = test::GreyImage(w, h, 9);
  test::Context context = test::NewContext(0);
  for (int bits : {1, 2}) {
    Bytes packed(Stride(w, bits) * h);
    korvel_screen_image(context.get(), bits, &o, image.data(), Stride(w, 8), packed.data(),
                        Stride(w, bits), w, h);
    for (size_t stride : {size_t(Stride(w, bits) + 5), size_t((w * bits + 7) / 8)}) {
      Bytes wideImage(41 * h, 0);  // source rows 41 bytes apart
      for (int y = 0; y < h; ++y)
        std::copy_n(&image[Stride(w, 8) * y], Stride(w, 8), &wideImage[41 * y]);
      Bytes out(stride * h, 0xA5);
      ASSERT_EQ(korvel_screen_image(context.get(), bits, &o, wideImage.data(), 41, out.data(),
                                    stride, w, h),
                KORVEL_OK);
      const size_t written = std::min<size_t>(stride, Stride(w, bits));
      for (int y = 0; y < h; ++y)
        for (size_t i = 0; i < stride; ++i)
          ASSERT_EQ(out[stride * y + i], i < written ? packed[Stride(w, bits) * y + i] : 0xA5)
              << bits << " bits, stride " << stride << ", row " << y << ", byte " << i;
    }
  }
}

}  // namespace
