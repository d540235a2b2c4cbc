// Every context operation gives the bytes of its KORVEL_* counterpart made in the same state
// (a streamed page those of the whole-page call, in bands of any height), without touching the
// C library's rand(); eight threads, each on its own context with korvel's own screens too,
// give the bytes of the same work done one after another (the suite name puts that test in the
// ThreadSanitizer stage of CI); bad input to any call is refused with a code and writes nothing.
#include <gtest/gtest.h>
#include <korvel/korvel.h>
#include <korvel/korvel_context.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "config/data_dir.h"
#include "mask/stored_mask.h"
#include "process/parameter_files.h"
#include "support/context.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

using test::Context;
using test::NewContext;

// Curve points in percent that a parameter file and an own curve share.
constexpr int kCurve[] = {0, 22, 47, 81, 100};

std::string CurveFile() {
  return test::CurveTextOf({std::begin(kCurve), std::end(kCurve)}, "5") +
         "[QNT_COMPENSATION]\nParam0=5\nParam1=20\nParam2=35\nParam3=50\nParam4=65\nParam5=80\n";
}

// One step of a host's session on an image of a seed, on a context or (null) through the
// KORVEL_* calls.
using Step = std::function<Bytes(korvel_context*, uint32_t)>;

Step Image(int bits, int type, int cellWidth, int cellHeight, int dotMode, bool diffusion) {
  return [=](korvel_context* c, uint32_t seed) {
    const int w = 83, h = 41;
    Bytes image = test::RandomScene(w, h, seed), out(Stride(w, bits) * h, 0x5A);
    const korvel_image_options o = {type, cellWidth, cellHeight, dotMode, diffusion};
    if (c != nullptr)
      korvel_context_screen_image(c, bits, &o, image.data(), Stride(w, 8), out.data(),
                                  Stride(w, bits), w, h);
    else
      (bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit)(
          image.data(), out.data(), w, h, __QUENTAL_TEMPLATE_TYPE(type), cellWidth, cellHeight,
          __QUENTAL_DOT_MODE(dotMode), diffusion);
    return out;
  };
}

Step Template(int bits, int level) {
  return [=](korvel_context* c, uint32_t) {
    const int w = 45, h = 19;
    Bytes out(Stride(w, bits) * h);
    if (c != nullptr) korvel_context_template(c, bits, level, out.data(), Stride(w, bits), w, h);
    if (c == nullptr)
      (bits == 1   ? KORVEL_GetTempateData_1Bit
       : bits == 2 ? KORVEL_GetTempateData_2Bit
                   : KORVEL_GetTempateData_4Bit)(out.data(), w, h, level);
    return out;
  };
}

Bytes SplitAndFourBit(korvel_context* c, uint32_t seed) {
  const int w = 38, h = 13;
  const size_t n = Stride(w, 2) * h;
  Bytes all(3 * n + Stride(w, 4) * h), image = test::RandomScene(w, h, seed);
  unsigned char* planes[] = {&all[0], &all[n], &all[2 * n]};
  if (c != nullptr) korvel_context_split(c, 3, planes, Stride(w, 2), w, h);
  if (c != nullptr)
    korvel_context_screen_image_4bit(c, image.data(), Stride(w, 8), &all[3 * n], 20, w, h);
  if (c == nullptr) KORVEL_GetTempateData_2Bit_1to3(planes[0], planes[1], planes[2], w, h);
  if (c == nullptr) KORVEL_GetImageTempateData_4Bit(image.data(), &all[3 * n], w, h);
  return all;
}

// A 2-plane 3 x 5 mask screened at 2 bits with negative offsets; its load resets the level
// table, which the template after it shows.
Bytes Mask(korvel_context* c, uint32_t seed) {
  std::vector<int32_t> raw(30);
  for (int i = 0; i < 30; ++i) raw[i] = (i * 7) % 30;
  const std::vector<uint8_t> mask = test::StoredMask(2, 3, 5, 29, raw);
  Bytes image = test::RandomScene(23, 9, seed), out(8 * 9, 0x11);
  if (c != nullptr) {
    korvel_context_load_mask(c, mask.data(), mask.size());
    korvel_context_dither_mask(c, 2, image.data(), 23, out.data(), 8, 23, 9, 1, -3, 4, 2, 1);
  } else {
    auto generator = test::NewMaskGenerator();
    generator->LoadMask(mask.data(), static_cast<int>(mask.size()));
    generator->Dither(image.data(), out.data(), 8, 23, 9, 1, -3, 4, 2, 1, 2);
  }
  return out;
}

// The caller's image through a stream in bands of 1, 7 and 64 rows, or three times whole.
Step Stream(int cellWidth, int cellHeight, int dotMode) {
  return [=](korvel_context* c, uint32_t seed) {
    const int w = 77, h = 150;
    const size_t rows = Stride(w, 1) * h;
    Bytes image = test::RandomScene(w, h, seed), out(3 * rows);
    const korvel_image_options o = {34, cellWidth, cellHeight, dotMode, 0};
    for (int k = 0; k < 3; ++k) {
      unsigned char* page = &out[rows * k];
      if (c == nullptr)
        KORVEL_GetImageTempateData_1Bit(image.data(), page, w, h, __QUENTAL_TEMPLATE_TYPE(34),
                                        cellWidth, cellHeight, __QUENTAL_DOT_MODE(dotMode), false);
      korvel_stream* stream = nullptr;
      if (c != nullptr) korvel_context_begin_stream(c, 1, &o, w, h, &stream);
      for (int y = 0, band = k == 0 ? 1 : k == 1 ? 7 : 64; stream != nullptr && y < h; y += band)
        korvel_stream_screen_rows(stream, &image[Stride(w, 8) * y], Stride(w, 8),
                                  page + Stride(w, 1) * y, Stride(w, 1), std::min(band, h - y));
      korvel_stream_destroy(stream);
    }
    return out;
  };
}

// Image calls install curves that later templates use; types 5 and 6 draw pattern numbers.
const Step kSession[] = {Image(1, 5, 1, 1, 0, false),
                         Template(2, 61),
                         Image(1, 34, 2, 3, 1, false),
                         Image(2, 6, 1, 1, 1, false),
                         Template(4, 33),
                         Image(2, 38, 1, 2, 0, false),
                         Image(1, 11, 1, 1, 0, true),
                         Image(2, 40, 1, 1, 0, false),
                         Image(1, 42, 3, 1, 2, false),
                         SplitAndFourBit,
                         Mask,
                         Template(1, 47),
                         Stream(1, 1, 0),
                         Stream(3, 2, 1),
                         Stream(1, 7, 2)};

// The session on a context; the C library's generator must come out as it went in.
std::vector<Bytes> OnContext(korvel_context* context) {
  std::srand(4242);
  std::vector<Bytes> outputs;
  for (const Step& step : kSession) outputs.push_back(step(context, 7));
  const int next = std::rand();
  std::srand(4242);
  EXPECT_EQ(next, std::rand()) << "rand() was touched";
  return outputs;
}

void ExpectLegacyGives(const std::vector<Bytes>& outputs, int quality, const char* label) {
  KORVEL_Init(quality);
  for (size_t i = 0; i < outputs.size(); ++i)
    EXPECT_EQ(outputs[i], kSession[i](nullptr, 7)) << label << ", step " << i;
}

TEST(ContextEquivalence, EveryOperationMatchesItsLegacyCounterpart) {
  for (int quality : {0, -1})
    ExpectLegacyGives(OnContext(NewContext(quality).get()), quality, "no file");
  const test::ScopedDataDir files;
  files.Write(50, CurveFile());
  ExpectLegacyGives(OnContext(NewContext(50).get()), 50, "curve file");
  std::vector<Bytes> inFolder, ownCurve;
  {
    // While the contexts run, the usual lookup finds a file with another curve.
    const test::ScopedDataDir decoy;
    std::string text = CurveFile();
    decoy.Write(50, text.replace(text.find("Param2=22"), 9, "Param2=60"));
    Context context = NewContext(50);
    korvel_context_set_parameter_folder(context.get(), files.path().c_str());
    inFolder = OnContext(context.get());
    context = NewContext(50);
    korvel_context_set_tone_curve(context.get(), kCurve, 5);
    ownCurve = OnContext(context.get());
  }
  ExpectLegacyGives(inFolder, 50, "the context's folder");
  ExpectLegacyGives(ownCurve, 50, "own curve");
}

// An own screen (which has no KORVEL_* counterpart) chosen by the job, on an image of a seed.
Bytes OwnScreen(korvel_context* c, int job, uint32_t seed) {
  korvel_screen_options o;
  korvel_screen_options_init(&o, job % 2 ? KORVEL_SCREEN_FINE : KORVEL_SCREEN_BEST, 1 + job / 4);
  const int w = 61, h = 23;
  Bytes image = test::RandomScene(w, h, seed), out(Stride(w, o.bits) * h);
  korvel_context_screen(c, &o, image.data(), Stride(w, 8), out.data(), Stride(w, o.bits), w, h);
  return out;
}

TEST(ConcurrencyContexts, EightThreadsMatchTheSameWorkOneAfterAnother) {
  const test::ScopedDataDir files;
  for (int level : {30, 70}) files.Write(level, CurveFile());
  const int quality[8] = {30, 70, 0, -1, 70, 30, 0, 70};
  // Job j: its own quality level, folder, sometimes its own curve, its own images.
  const auto job = [&](int j) {
    Context context = NewContext(quality[j]);
    korvel_context_set_parameter_folder(context.get(), files.path().c_str());
    const int curve[] = {0, 5 + 3 * j, 60, 100};
    if (j % 3 == 1) korvel_context_set_tone_curve(context.get(), curve, 4);
    std::vector<Bytes> outputs;
    for (uint32_t round = 0; round < 4; ++round) {
      for (const Step& step : kSession) outputs.push_back(step(context.get(), j + 8 * round));
      outputs.push_back(OwnScreen(context.get(), j, j + 8 * round));
    }
    return outputs;
  };
  std::vector<std::vector<Bytes>> sequential(8), parallel(8);
  for (int j = 0; j < 8; ++j) sequential[j] = job(j);
  std::vector<std::thread> threads;
  for (int j = 0; j < 8; ++j) threads.emplace_back([&, j] { parallel[j] = job(j); });
  for (std::thread& thread : threads) thread.join();
  for (int j = 0; j < 8; ++j) EXPECT_EQ(parallel[j], sequential[j]) << "job " << j;
}

// The splits work on packed planes: at a stride narrower than the packed one each row still
// matches the packed split, and nothing is written past the last row's bytes.
TEST(ContextStrides, SplitPlanesAtANarrowStrideWriteOnlyTheirRows) {
  const int w = 37, h = 11, planes = 3;
  const size_t narrow = (w * 2 + 7) / 8, packedStride = Stride(w, 2), guard = 16;
  Context context = NewContext(50);
  std::vector<Bytes> packed(planes, Bytes(packedStride * h)),
      out(planes, Bytes(narrow * h + guard, 0xA5));
  unsigned char* packedPlanes[] = {packed[0].data(), packed[1].data(), packed[2].data()};
  unsigned char* outPlanes[] = {out[0].data(), out[1].data(), out[2].data()};
  ASSERT_EQ(korvel_context_split(context.get(), planes, packedPlanes, packedStride, w, h),
            KORVEL_OK);
  ASSERT_EQ(korvel_context_split(context.get(), planes, outPlanes, narrow, w, h), KORVEL_OK);
  for (int p = 0; p < planes; ++p)
    for (size_t i = 0; i < out[p].size(); ++i) {
      const size_t y = i / narrow, x = i % narrow;
      ASSERT_EQ(out[p][i], y < size_t(h) ? packed[p][packedStride * y + x] : 0xA5)
          << "plane " << p << ", byte " << i;
    }
}

TEST(ContextRefusals, BadInputIsRefusedWithACodeAndWritesNothing) {
  Context owned = NewContext(50);
  korvel_context* c = owned.get();
  Bytes image = test::RandomScene(64, 64, 1), out(4096, 0xC3), planeB(4096, 0xC3);
  unsigned char* o = out.data();
  const unsigned char* in = image.data();
  unsigned char* planes[] = {o, planeB.data(), nullptr};
  const korvel_image_options ed = {34, 1, 1, 0, 0}, zeroCell = {34, 0, 1, 0, 0},
                             pattern = {36, 1, 1, 0, 0};
  const int tooHigh[] = {0, 50, 101}, negative[] = {-1, 50, 100}, two[] = {0, 100};
  korvel_stream* stream = nullptr;
  const std::string longFolder(240, 'd');
  korvel_screen_options own, ownBits3;
  korvel_screen_options_init(&own, KORVEL_SCREEN_BEST, 2);
  korvel_screen_options_init(&ownBits3, KORVEL_SCREEN_FINE, 3);
  korvel_screen_facts facts{}, largerFacts{};
  facts.size = sizeof facts;
  largerFacts.size = sizeof facts + 8;
  facts.streams = largerFacts.streams = 7;
  const struct {
    const char* what;
    korvel_status expected;
    std::function<korvel_status()> call;
  } cases[] = {
      // clang-format off
      {"null context", KORVEL_ERROR_NULL_CONTEXT, [&] { return korvel_context_template(nullptr, 1, 50, o, 8, 8, 8); }},
      {"null source", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_screen_image(c, 1, &ed, nullptr, 64, o, 8, 8, 8); }},
      {"own screen, null context", KORVEL_ERROR_NULL_CONTEXT, [&] { return korvel_context_screen(nullptr, &own, in, 16, o, 16, 8, 2); }},
      {"own screen, null source", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_screen(c, &own, nullptr, 16, o, 16, 8, 2); }},
      {"own screen, null output", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_screen(c, &own, in, 16, nullptr, 16, 8, 2); }},
      {"own screen, short source stride", KORVEL_ERROR_STRIDE, [&] { return korvel_context_screen(c, &own, in, 7, o, 16, 8, 2); }},
      {"own screen, short output stride", KORVEL_ERROR_STRIDE, [&] { return korvel_context_screen(c, &own, in, 16, o, 2, 9, 2); }},
      {"own stream, null stream pointer", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_begin_screen_stream(c, &own, 8, 2, nullptr); }},
      {"own stream, null context", KORVEL_ERROR_NULL_CONTEXT, [&] { return korvel_context_begin_screen_stream(nullptr, &own, 8, 2, &stream); }},
      {"own screen, null options", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_screen(c, nullptr, in, 16, o, 16, 8, 2); }},
      {"own stream, null options", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_begin_screen_stream(c, nullptr, 8, 2, &stream); }},
      {"own screen, width 0", KORVEL_ERROR_SIZE, [&] { return korvel_context_screen(c, &own, in, 16, o, 16, 0, 2); }},
      {"own screen, height -1", KORVEL_ERROR_SIZE, [&] { return korvel_context_screen(c, &own, in, 16, o, 16, 8, -1); }},
      {"own stream, width 0", KORVEL_ERROR_SIZE, [&] { return korvel_context_begin_screen_stream(c, &own, 0, 2, &stream); }},
      {"own stream, height -1", KORVEL_ERROR_SIZE, [&] { return korvel_context_begin_screen_stream(c, &own, 8, -1, &stream); }},
      {"own screen, past 2 GiB", KORVEL_ERROR_SIZE, [&] { return korvel_context_screen(c, &own, in, 1 << 16, o, 1 << 16, 1 << 16, 1 << 16); }},
      {"own stream, past 2 GiB", KORVEL_ERROR_SIZE, [&] { return korvel_context_begin_screen_stream(c, &own, 1 << 16, 1 << 16, &stream); }},
      {"null plane", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_split(c, 3, planes, 16, 8, 8); }},
      {"zero width", KORVEL_ERROR_SIZE, [&] { return korvel_context_template(c, 1, 50, o, 8, 0, 8); }},
      {"zero cell", KORVEL_ERROR_SIZE, [&] { return korvel_context_screen_image(c, 1, &zeroCell, in, 64, o, 8, 8, 8); }},
      {"past 2 GiB", KORVEL_ERROR_SIZE, [&] { return korvel_context_screen_image(c, 2, &ed, in, 1 << 20, o, 1 << 20, 1 << 20, 4096); }},
      {"short output stride", KORVEL_ERROR_STRIDE, [&] { return korvel_context_template(c, 4, 50, o, 3, 8, 8); }},
      {"short source stride", KORVEL_ERROR_STRIDE, [&] { return korvel_context_screen_image(c, 1, &ed, in, 7, o, 8, 8, 8); }},
      {"level 101", KORVEL_ERROR_LEVEL, [&] { return korvel_context_template(c, 1, 101, o, 8, 8, 8); }},
      {"3 bits", KORVEL_ERROR_ARGUMENT, [&] { return korvel_context_template(c, 3, 50, o, 8, 8, 8); }},
      {"2 curve points", KORVEL_ERROR_TONE_CURVE, [&] { return korvel_context_set_tone_curve(c, two, 2); }},
      {"curve point 101", KORVEL_ERROR_TONE_CURVE, [&] { return korvel_context_set_tone_curve(c, tooHigh, 3); }},
      {"curve point -1", KORVEL_ERROR_TONE_CURVE, [&] { return korvel_context_set_tone_curve(c, negative, 3); }},
      {"long folder", KORVEL_ERROR_FOLDER, [&] { return korvel_context_set_parameter_folder(c, longFolder.c_str()); }},
      {"no mask", KORVEL_ERROR_NO_MASK, [&] { return korvel_context_dither_mask(c, 1, in, 8, o, 8, 8, 8, 0, 0, 0, 1, 1); }},
      {"malformed mask", KORVEL_ERROR_MASK, [&] { return korvel_context_load_mask(c, in, 19); }},
      {"4-bit stream", KORVEL_ERROR_NOT_STREAMABLE, [&] { return korvel_context_begin_stream(c, 4, &ed, 8, 8, &stream); }},
      {"test pattern stream", KORVEL_ERROR_NOT_STREAMABLE, [&] { return korvel_context_begin_stream(c, 1, &pattern, 8, 8, &stream); }},
      {"facts of 3 bits", KORVEL_ERROR_ARGUMENT, [&] { return korvel_image_options_describe(&ed, 3, &facts); }},
      {"facts of null options", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_image_options_describe(nullptr, 1, &facts); }},
      {"facts into null", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_image_options_describe(&ed, 1, nullptr); }},
      {"facts of a larger size", KORVEL_ERROR_ARGUMENT, [&] { return korvel_image_options_describe(&ed, 1, &largerFacts); }},
      {"own facts of 3 bits", KORVEL_ERROR_ARGUMENT, [&] { return korvel_screen_options_describe(&ownBits3, &facts); }},
      {"own facts of null options", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_screen_options_describe(nullptr, &facts); }},
      {"own facts of a larger size", KORVEL_ERROR_ARGUMENT, [&] { return korvel_screen_options_describe(&own, &largerFacts); }},
      {"null options", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_screen_image(c, 1, nullptr, in, 64, o, 8, 8, 8); }},
      {"null stream place", KORVEL_ERROR_NULL_BUFFER, [&] { return korvel_context_begin_stream(c, 1, &ed, 8, 8, nullptr); }},
      {"short 4-bit output stride", KORVEL_ERROR_STRIDE, [&] { return korvel_context_screen_image_4bit(c, in, 64, o, 3, 8, 8); }},
      {"band past the page", KORVEL_ERROR_STREAM_END, [&] {
         korvel_context_begin_stream(c, 1, &ed, 8, 2, &stream);
         korvel_status status = korvel_stream_screen_rows(stream, in, 8, o, 4, 3);
         return korvel_stream_destroy(stream), stream = nullptr, status; }},
      {"band of a short source stride", KORVEL_ERROR_STRIDE, [&] {
         korvel_context_begin_stream(c, 1, &ed, 8, 2, &stream);
         korvel_status status = korvel_stream_screen_rows(stream, in, 7, o, 4, 1);
         return korvel_stream_destroy(stream), stream = nullptr, status; }},
      // clang-format on
  };
  // The refusals leave the context's settings alone too: a later screen is unchanged.
  Bytes before(Stride(64, 1) * 64), after(before.size());
  korvel_context_screen_image(c, 1, &ed, in, 64, before.data(), 8, 64, 64);
  for (const auto& k : cases) {
    EXPECT_EQ(k.call(), k.expected) << k.what;
    EXPECT_EQ(out, Bytes(out.size(), 0xC3)) << k.what;
    EXPECT_EQ(planeB, Bytes(planeB.size(), 0xC3)) << k.what;
    EXPECT_EQ(stream, nullptr) << k.what;
    EXPECT_EQ(facts.streams + largerFacts.streams, 14) << k.what;
    EXPECT_STRNE(korvel_strerror(k.expected), korvel_strerror(korvel_status(99))) << k.what;
  }
  korvel_context_screen_image(c, 1, &ed, in, 64, after.data(), 8, 64, 64);
  EXPECT_EQ(after, before);
}

}  // namespace
