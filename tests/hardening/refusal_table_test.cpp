// The table "What the library refuses" of the API document is checked against the library:
// every row is tried here (the call must refuse and leave the caller's buffers as they were), and
// the table in the document must be exactly the one these rows make.
#include <gtest/gtest.h>
#include <korvel/korvel.h>
#include <korvel/korvel_context.h>

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "context/random_page.h"
#include "docs/source_text.h"
#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using Buffers = unsigned char* const*;  // four guarded buffers of 256 bytes

struct Refusal {
  std::string entry;                     // entry point(s), as the document names them
  std::string input;                     // what is refused
  std::string result;                    // what the call returns
  std::function<bool(Buffers)> refuses;  // true when every call of the row refused
};

// The row refuses and leaves every byte of the guarded buffers as it was.
bool RefusesUntouched(const Refusal& row) {
  std::vector<Bytes> guarded = {Bytes(256, 0xA5), Bytes(256, 0x5A), Bytes(256, 0x3C),
                                Bytes(256, 0xC3)};
  const std::vector<Bytes> before = guarded;
  unsigned char* b[4] = {guarded[0].data(), guarded[1].data(), guarded[2].data(),
                         guarded[3].data()};
  return row.refuses(b) && guarded == before;
}

bool TemplatesRefuse(unsigned char* out, int width, int height, int level) {
  for (auto fn :
       {KORVEL_GetTempateData_1Bit, KORVEL_GetTempateData_2Bit, KORVEL_GetTempateData_4Bit})
    if (fn(out, width, height, level) != 0) return false;
  return true;
}

// All three splits, with plane `nullPlane` (if any) left out.
bool SplitsRefuse(Buffers b, int width, int height, int nullPlane = -1) {
  unsigned char* p[4] = {b[0], b[1], b[2], b[3]};
  if (nullPlane >= 0) p[nullPlane] = nullptr;
  return !KORVEL_GetTempateData_2Bit_1to2(p[0], p[1], width, height) &&
         !KORVEL_GetTempateData_2Bit_1to3(p[0], p[1], p[2], width, height) &&
         !KORVEL_GetTempateData_2Bit_1to4(p[0], p[1], p[2], p[3], width, height);
}

constexpr auto Image4 = KORVEL_GetImageTempateData_4Bit;

bool ImagesRefuse(unsigned char* source, unsigned char* out, int width, int height, int type = 0,
                  int cellWidth = 1, int cellHeight = 1) {
  for (auto fn : {KORVEL_GetImageTempateData_1Bit, KORVEL_GetImageTempateData_2Bit})
    if (fn(source, out, width, height, static_cast<__QUENTAL_TEMPLATE_TYPE>(type), cellWidth,
           cellHeight, static_cast<__QUENTAL_DOT_MODE>(0), false) != 0)
      return false;
  return true;
}

// A mask generator holding one 2 x 2 plane.
test::MaskGeneratorPtr LoadedMask() {
  auto object = test::NewMaskGenerator();
  const Bytes stored = test::StoredMask(1, 2, 2, 3, {0, 1, 2, 3});
  object->LoadMask(stored.data(), static_cast<int>(stored.size()));
  return object;
}

// Dither(b[0] -> b[1]) at offsets 0 refuses; not `loaded`: a generator that holds no mask.
bool DitherRefuses(Buffers b, int stride, int width, int height, int plane, int xStep, int yStep,
                   int bits, bool loaded = true) {
  auto mask = loaded ? LoadedMask() : test::NewMaskGenerator();
  return !mask->Dither(b[0], b[1], stride, width, height, plane, 0, 0, xStep, yStep, bits);
}

// A stored mask of the header words (P, H, W, M) and `extra` bytes, loaded as `length` bytes:
// refused, the bytes untouched, and the mask held before still screens (black is a dot).
bool LoadRefused(int32_t p, int32_t h, int32_t w, int32_t m, size_t extra, int length) {
  Bytes bytes = test::StoredMask({1, p, h, w, m});
  bytes.resize(20 + extra, 0);
  const Bytes copy = bytes;
  auto held = LoadedMask();
  const bool refused =
      !held->LoadMask(length < 0 ? nullptr : bytes.data(), length < 0 ? 20 : length);
  unsigned char black = 0, out[4] = {};
  held->Dither(&black, out, 4, 1, 1, 0, 0, 0, 1, 1, 1);
  return refused && copy == bytes && out[0] == 0x80;
}

// korvel_context_screen (b[0] -> b[1]) and korvel_context_begin_screen_stream refuse each of
// the options as an argument, the stream set to null.
bool OwnScreensRefuse(Buffers b, const std::vector<korvel_screen_options>& refused) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  bool all = true;
  for (const korvel_screen_options& options : refused) {
    korvel_stream* stream = reinterpret_cast<korvel_stream*>(b[2]);  // must come back null
    all = all &&
          korvel_context_screen(context, &options, b[0], 16, b[1], 16, 8, 4) ==
              KORVEL_ERROR_ARGUMENT &&
          korvel_context_begin_screen_stream(context, &options, 8, 4, &stream) ==
              KORVEL_ERROR_ARGUMENT &&
          stream == nullptr;
  }
  korvel_context_destroy(context);
  return all;
}

// Options of an own screen with its size, screen or bits changed.
korvel_screen_options Changed(size_t size, int screen, int bits) {
  korvel_screen_options options = test::OwnOptions(KORVEL_SCREEN_FINE, 1, 0.3, 0.6);
  korvel_screen_options_init_sized(&options, size, static_cast<korvel_screen>(screen), bits);
  return options;
}

// `use` is given a begun stream of every own screen at every depth (8 x 4 pixels, 2 rows fed)
// whose delay is at least `leastDelay`; true when it refused on each and at least one was tried.
bool OwnStreamsRefuse(Buffers b, int leastDelay,
                      const std::function<bool(korvel_stream*, Buffers)>& refuses) {
  korvel_context* context = nullptr;
  korvel_context_create(&context);
  int tried = 0;
  bool refused = true;
  for (korvel_screen screen : {KORVEL_SCREEN_FINE, KORVEL_SCREEN_BEST})
    for (int bits : {1, 2}) {
      const korvel_screen_options options = test::OwnOptions(screen, bits, 0.3, 0.6);
      korvel_stream* stream = nullptr;
      int delay = 0, written = 0;
      korvel_context_begin_screen_stream(context, &options, 8, 4, &stream);
      korvel_stream_get_delay(stream, &delay);
      if (delay >= leastDelay) {
        unsigned char grey[8 * 2] = {}, out[4 * 64];
        korvel_stream_feed(stream, grey, 8, 2, out, 4, &written);
        refused = refused && refuses(stream, b);
        ++tried;
      }
      korvel_stream_destroy(stream);
    }
  korvel_context_destroy(context);
  return refused && tried > 0;
}

std::vector<Refusal> Rows() {
  const std::string templates = "`KORVEL_GetTempateData_1Bit`, `_2Bit`, `_4Bit`";
  const std::string splits = "`KORVEL_GetTempateData_2Bit_1to2`, `_1to3`, `_1to4`";
  const std::string image4 = "`KORVEL_GetImageTempateData_4Bit`";
  const std::string images = "`KORVEL_GetImageTempateData_1Bit`, `_2Bit`";
  const std::string load = "`IDitherMaskGenerator::LoadMask`",
                    dither = "`IDitherMaskGenerator::Dither`";
  const std::string untouched = "0, buffers untouched",
                    kept = "false, mask held and level table kept";
  const std::string outputKept = "false, output untouched";
  const std::string own = "`korvel_context_screen`, `korvel_context_begin_screen_stream`";
  const auto ownResult = [](const std::string& status) {
    return "`KORVEL_ERROR_" + status + "`, buffers untouched";
  };
  return {
      {templates, "level below 0 or above 100", untouched,
       [](Buffers b) {
         return TemplatesRefuse(b[0], 8, 2, -1) && TemplatesRefuse(b[0], 8, 2, 101);
       }},
      {templates, "negative width or height", untouched,
       [](Buffers b) {
         return TemplatesRefuse(b[0], -1, 2, 50) && TemplatesRefuse(b[0], 8, -2, 50);
       }},
      {templates, "null buffer for a non-empty area", untouched,
       [](Buffers) { return TemplatesRefuse(nullptr, 8, 2, 50); }},
      {templates, "stride × height above INT_MAX bytes", untouched,
       [](Buffers b) { return TemplatesRefuse(b[0], INT_MAX, 1000, 50); }},
      {splits, "negative width or height", untouched,
       [](Buffers b) { return SplitsRefuse(b, -1, 2) && SplitsRefuse(b, 8, -1); }},
      {splits, "a null plane for a non-empty area", untouched,
       [](Buffers b) { return SplitsRefuse(b, 8, 2, 0) && SplitsRefuse(b, 8, 2, 1); }},
      {splits, "stride × height above INT_MAX bytes", untouched,
       [](Buffers b) { return SplitsRefuse(b, INT_MAX, 64); }},
      {image4, "negative width or height", untouched,
       [](Buffers b) { return !Image4(b[0], b[1], -1, 2) && !Image4(b[0], b[1], 2, -1); }},
      {image4, "a null buffer for a non-empty area", untouched,
       [](Buffers b) { return !Image4(nullptr, b[1], 4, 2) && !Image4(b[0], nullptr, 4, 2); }},
      {image4, "an 8-bit source above INT_MAX bytes", untouched,
       [](Buffers b) { return !Image4(b[0], b[1], INT_MAX / 4, 64); }},
      {images, "width, height, cellWidth or cellHeight below 1", untouched,
       [](Buffers b) {
         return ImagesRefuse(b[0], b[1], 0, 4) && ImagesRefuse(b[0], b[1], 4, -1) &&
                ImagesRefuse(b[0], b[1], 4, 4, 0, 0, 1) && ImagesRefuse(b[0], b[1], 4, 4, 0, 1, -3);
       }},
      {images, "null output", untouched,
       [](Buffers b) { return ImagesRefuse(b[0], nullptr, 4, 4); }},
      {images, "null source for template types 34, 39, 40, 41", untouched,
       [](Buffers b) {
         for (int type : {34, 39, 40, 41})
           if (!ImagesRefuse(nullptr, b[1], 4, 4, type)) return false;
         return true;
       }},
      {images, "a working raster of (width + 20) × (height + 1) bytes above INT_MAX", untouched,
       [](Buffers b) { return ImagesRefuse(b[0], b[1], 65536, 65536); }},
      {"`IBufferProc::Encode`, `Decode`", "null buffer or length 0", "false, nothing changed",
       [](Buffers b) {
         IBufferProc* proc = BufferProc_Create();
         const bool ok = !proc->Encode(nullptr, 4) && !proc->Decode(nullptr, 4) &&
                         !proc->Encode(b[0], 0) && !proc->Decode(b[0], 0);
         BufferProc_Delete(proc);
         return ok;
       }},
      {load, "null pointer or length below 20", kept,
       [](Buffers) { return LoadRefused(1, 1, 1, 1, 0, -1) && LoadRefused(1, 1, 1, 1, 0, 19); }},
      {load, "P, H, W or M of 0 or less", kept,
       [](Buffers) {
         return LoadRefused(0, 1, 1, 1, 4, 24) && LoadRefused(1, -1, 1, 1, 4, 24) &&
                LoadRefused(1, 1, 0, 1, 4, 24) && LoadRefused(1, 1, 1, 0, 4, 24);
       }},
      {load, "thresholds above 1 GiB, or a length other than 20 + 4 × P × H × W", kept,
       [](Buffers) {
         return LoadRefused(1, 65536, 65536, 255, 4, 24) && LoadRefused(1, 1, 2, 255, 4, 24) &&
                LoadRefused(1, 1, 1, 255, 8, 28);
       }},
      {dither, "no mask loaded, or a null buffer", outputKept,
       [](Buffers b) {
         unsigned char* noSource[2] = {nullptr, b[1]};
         return DitherRefuses(b, 4, 4, 1, 0, 1, 1, 1, false) &&
                DitherRefuses(noSource, 4, 4, 1, 0, 1, 1, 1);
       }},
      {dither, "plane outside 0..P−1", outputKept,
       [](Buffers b) {
         return DitherRefuses(b, 4, 4, 1, 1, 1, 1, 1) && DitherRefuses(b, 4, 4, 1, -1, 1, 1, 1);
       }},
      {dither, "negative width, height or step", outputKept,
       [](Buffers b) {
         return DitherRefuses(b, 4, -1, 1, 0, 1, 1, 1) && DitherRefuses(b, 4, 4, -1, 0, 1, 1, 1) &&
                DitherRefuses(b, 4, 4, 1, 0, -1, 1, 1) && DitherRefuses(b, 4, 4, 1, 0, 1, -1, 1);
       }},
      {dither, "dstStride too small for the width at the chosen depth", outputKept,
       [](Buffers b) {
         return DitherRefuses(b, 1, 9, 1, 0, 1, 1, 1) && DitherRefuses(b, 1, 5, 1, 0, 1, 1, 2);
       }},
      {own, "an options size or screen the library does not know, or bits other than 1 or 2",
       ownResult("ARGUMENT"),
       [](Buffers b) {
         const size_t size = sizeof(korvel_screen_options),
                      older = offsetof(korvel_screen_options, small_drop_ink);
         return OwnScreensRefuse(
             b, {Changed(size + 8, KORVEL_SCREEN_FINE, 1), Changed(size - 1, KORVEL_SCREEN_FINE, 1),
                 Changed(older, KORVEL_SCREEN_BEST, 2), Changed(size, 0, 1), Changed(size, 3, 1),
                 Changed(size, KORVEL_SCREEN_FINE, 0), Changed(size, KORVEL_SCREEN_BEST, 4)});
       }},
      {own, "drop inks not 0 < small < medium < 1 in steps of 1/2550 (at either depth)",
       ownResult("ARGUMENT"),
       [](Buffers b) {
         const double nan = std::numeric_limits<double>::quiet_NaN(),
                      inf = std::numeric_limits<double>::infinity();
         const korvel_screen fine = KORVEL_SCREEN_FINE, best = KORVEL_SCREEN_BEST;
         return OwnScreensRefuse(
             b, {test::OwnOptions(fine, 2, nan, 0.5), test::OwnOptions(fine, 2, 0.2, inf),
                 test::OwnOptions(fine, 2, 0.0, 0.5), test::OwnOptions(fine, 2, 0.0001, 0.5),
                 test::OwnOptions(best, 2, 0.5, 0.5), test::OwnOptions(best, 2, 0.5, 0.50001),
                 test::OwnOptions(best, 2, 0.6, 0.4), test::OwnOptions(fine, 2, 0.3, 1.0),
                 test::OwnOptions(fine, 1, 0.3, 1.2), test::OwnOptions(best, 1, 0.0, 0.3)});
       }},
      {"`korvel_stream_feed`", "a band past the page's last row", ownResult("STREAM_END"),
       [](Buffers b) {
         return OwnStreamsRefuse(b, 0, [](korvel_stream* s, Buffers b) {
           int written = -1;
           return korvel_stream_feed(s, b[0], 8, 3, b[1], 4, &written) == KORVEL_ERROR_STREAM_END &&
                  written == -1;
         });
       }},
      {"`korvel_stream_screen_rows`", "a stream whose delay is above 0", ownResult("STREAM_DELAY"),
       [](Buffers b) {
         return OwnStreamsRefuse(b, 1, [](korvel_stream* s, Buffers b) {
           return korvel_stream_screen_rows(s, b[0], 8, b[1], 4, 1) == KORVEL_ERROR_STREAM_DELAY;
         });
       }},
  };
}

std::string MarkdownTable(const std::vector<Refusal>& rows) {
  std::string table = "| Entry point | Refused input | Result |\n|---|---|---|\n";
  for (const Refusal& row : rows)
    table += "| " + row.entry + " | " + row.input + " | " + row.result + " |\n";
  return table;
}

// The document that holds the table, from the source root.
constexpr const char* kRefusalDocument = "docs/api.md";

std::string DocumentedTable() {
  const std::string all = docs::SourceText(kRefusalDocument);
  const size_t heading = all.find("## What the library refuses");
  // A second copy of the section would go unchecked: count it as no table.
  if (heading == std::string::npos ||
      all.find("## What the library refuses", heading + 1) != std::string::npos)
    return "";
  const size_t start = all.find("| Entry point", heading);
  if (start == std::string::npos) return "";
  size_t end = start;
  while (end < all.size() && all[end] == '|') end = all.find('\n', end) + 1;
  return all.substr(start, end - start);
}

TEST(RefusalTable, EveryListedRefusalHolds) {
  KORVEL_Init(50);
  for (const Refusal& row : Rows())
    EXPECT_TRUE(RefusesUntouched(row)) << row.entry << ": " << row.input;
}

// KORVEL_PRINT_REFUSALS=1 korvel_tests --gtest_filter=RefusalTable.* prints the table to paste.
TEST(RefusalTable, DocumentListsExactlyTheseRefusals) {
  if (std::getenv("KORVEL_PRINT_REFUSALS")) std::fputs(MarkdownTable(Rows()).c_str(), stdout);
  EXPECT_EQ(DocumentedTable(), MarkdownTable(Rows()))
      << "Update the table under '## What the library refuses' in " << kRefusalDocument;
}

}  // namespace
