// The README's table "What the library refuses" is checked against the library: every row is
// tried here (the call must refuse and leave the caller's buffers as they were), and the table
// in the README must be exactly the one these rows make.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/raster.h"

namespace {

using test::Bytes;

struct Refusal {
  std::string entry;              // entry point(s), as the README names them
  std::string input;              // what is refused
  std::string result;             // what the call returns
  std::function<bool()> refuses;  // true when the call refuses and touched nothing
};

// Calls fn(buffers...) on guarded buffers and reports whether it returned `expected` and
// left every byte as it was.
template <class Call>
bool RefusesUntouched(Call call, int expected = 0) {
  Bytes a(256, 0xA5), b(256, 0x5A), c(256, 0x3C), d(256, 0xC3);
  const Bytes a0 = a, b0 = b, c0 = c, d0 = d;
  const bool returned = call(a.data(), b.data(), c.data(), d.data()) == expected;
  return returned && a == a0 && b == b0 && c == c0 && d == d0;
}

using Template = int (*)(unsigned char*, int, int, int);
using Image = int (*)(unsigned char*, unsigned char*, int, int, __QUENTAL_TEMPLATE_TYPE, int, int,
                      __QUENTAL_DOT_MODE, bool);
const Template kTemplates[] = {KORVEL_GetTempateData_1Bit, KORVEL_GetTempateData_2Bit,
                               KORVEL_GetTempateData_4Bit};

bool AllTemplatesRefuse(int width, int height, int level, bool nullOut = false) {
  for (Template fn : kTemplates)
    if (!RefusesUntouched([&](unsigned char* a, auto...) {
          return fn(nullOut ? nullptr : a, width, height, level);
        }))
      return false;
  return true;
}

bool AllSplitsRefuse(int width, int height, int nullPlane) {
  return RefusesUntouched(
      [&](unsigned char* a, unsigned char* b, unsigned char* c, unsigned char* d) {
        unsigned char* p[4] = {a, b, c, d};
        if (nullPlane >= 0) p[nullPlane] = nullptr;
        const int r2 = KORVEL_GetTempateData_2Bit_1to2(p[0], p[1], width, height);
        const int r3 = KORVEL_GetTempateData_2Bit_1to3(p[0], p[1], p[2], width, height);
        const int r4 = KORVEL_GetTempateData_2Bit_1to4(p[0], p[1], p[2], p[3], width, height);
        return r2 | r3 | r4;
      });
}

bool BothImageCallsRefuse(int width, int height, int type, int cellWidth, int cellHeight,
                          bool nullSource, bool nullOut) {
  for (Image fn : {KORVEL_GetImageTempateData_1Bit, KORVEL_GetImageTempateData_2Bit}) {
    const bool ok = RefusesUntouched([&](unsigned char* a, unsigned char* b, auto...) {
      return fn(nullSource ? nullptr : a, nullOut ? nullptr : b, width, height,
                static_cast<__QUENTAL_TEMPLATE_TYPE>(type), cellWidth, cellHeight,
                static_cast<__QUENTAL_DOT_MODE>(0), false);
    });
    if (!ok) return false;
  }
  return true;
}

// A loaded mask generator (one 2 x 2 plane) for the Dither rows.
struct LoadedMask {
  LoadedMask() : object(DitherMaskGenerator_Create()) {
    int32_t words[9] = {1, 1, 2, 2, 3, 0, 1, 2, 3};
    Bytes bytes(reinterpret_cast<uint8_t*>(words),
                reinterpret_cast<uint8_t*>(words) + sizeof words);
    IBufferProc* proc = BufferProc_Create();
    proc->Encode(bytes.data(), static_cast<unsigned>(bytes.size()));
    BufferProc_Delete(proc);
    object->LoadMask(bytes.data(), static_cast<int>(bytes.size()));
  }
  ~LoadedMask() {
    object->ReleaseMask();
    DitherMaskGenerator_Delete(object);
  }
  IDitherMaskGenerator* object;
};

// A stored-mask header (encoded) with the given words and `extra` bytes after it.
Bytes StoredHeader(int32_t p, int32_t h, int32_t w, int32_t m, size_t extra) {
  int32_t words[5] = {1, p, h, w, m};
  Bytes bytes(reinterpret_cast<uint8_t*>(words), reinterpret_cast<uint8_t*>(words) + 20);
  bytes.resize(20 + extra, 0);
  IBufferProc* proc = BufferProc_Create();
  proc->Encode(bytes.data(), static_cast<unsigned>(bytes.size()));
  BufferProc_Delete(proc);
  return bytes;
}

bool LoadRefused(const Bytes& bytes, int length) {
  LoadedMask held;
  Bytes copy = bytes;
  const bool refused = !held.object->LoadMask(copy.empty() ? nullptr : copy.data(), length);
  // The mask held before still screens: a black pixel is a dot.
  unsigned char black = 0, out[4] = {};
  held.object->Dither(&black, out, 4, 1, 1, 0, 0, 0, 1, 1, 1);
  return refused && copy == bytes && out[0] == 0x80;
}

bool DitherRefused(bool load, int plane, int width, int height, int xStep, int yStep, int stride,
                   int bits, bool nullSource = false) {
  LoadedMask held;
  IDitherMaskGenerator* object = held.object;
  IDitherMaskGenerator* fresh = DitherMaskGenerator_Create();
  if (!load) object = fresh;
  const bool ok = RefusesUntouched(
      [&](unsigned char* a, unsigned char* b, auto...) {
        return object->Dither(nullSource ? nullptr : a, b, stride, width, height, plane, 0, 0,
                              xStep, yStep, bits);
      },
      false);
  DitherMaskGenerator_Delete(fresh);
  return ok;
}

std::vector<Refusal> Rows() {
  const std::string templates = "`KORVEL_GetTempateData_1Bit`, `_2Bit`, `_4Bit`";
  const std::string splits = "`KORVEL_GetTempateData_2Bit_1to2`, `_1to3`, `_1to4`";
  const std::string image4 = "`KORVEL_GetImageTempateData_4Bit`";
  const std::string images = "`KORVEL_GetImageTempateData_1Bit`, `_2Bit`";
  const std::string untouched = "0, buffers untouched";
  return {
      {templates, "level below 0 or above 100", untouched,
       [] { return AllTemplatesRefuse(8, 2, -1) && AllTemplatesRefuse(8, 2, 101); }},
      {templates, "negative width or height", untouched,
       [] { return AllTemplatesRefuse(-1, 2, 50) && AllTemplatesRefuse(8, -2, 50); }},
      {templates, "null buffer for a non-empty area", untouched,
       [] { return AllTemplatesRefuse(8, 2, 50, true); }},
      {templates, "stride × height above INT_MAX bytes", untouched,
       [] { return AllTemplatesRefuse(INT_MAX, 1000, 50); }},
      {splits, "negative width or height", untouched,
       [] { return AllSplitsRefuse(-1, 2, -1) && AllSplitsRefuse(8, -1, -1); }},
      {splits, "a null plane for a non-empty area", untouched,
       [] { return AllSplitsRefuse(8, 2, 0) && AllSplitsRefuse(8, 2, 1); }},
      {splits, "stride × height above INT_MAX bytes", untouched,
       [] { return AllSplitsRefuse(INT_MAX, 64, -1); }},
      {image4, "negative width or height", untouched,
       [] {
         return RefusesUntouched([](unsigned char* a, unsigned char* b, auto...) {
           return KORVEL_GetImageTempateData_4Bit(a, b, -1, 2) |
                  KORVEL_GetImageTempateData_4Bit(a, b, 2, -1);
         });
       }},
      {image4, "a null buffer for a non-empty area", untouched,
       [] {
         return RefusesUntouched([](unsigned char* a, unsigned char* b, auto...) {
           return KORVEL_GetImageTempateData_4Bit(nullptr, b, 4, 2) |
                  KORVEL_GetImageTempateData_4Bit(a, nullptr, 4, 2);
         });
       }},
      {image4, "an 8-bit source above INT_MAX bytes", untouched,
       [] {
         return RefusesUntouched([](unsigned char* a, unsigned char* b, auto...) {
           return KORVEL_GetImageTempateData_4Bit(a, b, INT_MAX / 4, 64);
         });
       }},
      {images, "width, height, cellWidth or cellHeight below 1", untouched,
       [] {
         return BothImageCallsRefuse(0, 4, 0, 1, 1, false, false) &&
                BothImageCallsRefuse(4, -1, 0, 1, 1, false, false) &&
                BothImageCallsRefuse(4, 4, 0, 0, 1, false, false) &&
                BothImageCallsRefuse(4, 4, 0, 1, -3, false, false);
       }},
      {images, "null output", untouched,
       [] { return BothImageCallsRefuse(4, 4, 0, 1, 1, false, true); }},
      {images, "null source for template types 34, 39, 40, 41", untouched,
       [] {
         for (int type : {34, 39, 40, 41})
           if (!BothImageCallsRefuse(4, 4, type, 1, 1, true, false)) return false;
         return true;
       }},
      {images, "a working raster of (width + 20) × (height + 1) bytes above INT_MAX", untouched,
       [] { return BothImageCallsRefuse(65536, 65536, 0, 1, 1, false, false); }},
      {"`IBufferProc::Encode`, `Decode`", "null buffer or length 0", "false, nothing changed",
       [] {
         IBufferProc* proc = BufferProc_Create();
         unsigned char byte = 7;
         const bool ok = !proc->Encode(nullptr, 4) && !proc->Decode(nullptr, 4) &&
                         !proc->Encode(&byte, 0) && !proc->Decode(&byte, 0) && byte == 7;
         BufferProc_Delete(proc);
         return ok;
       }},
      {"`IDitherMaskGenerator::LoadMask`", "null pointer or length below 20",
       "false, mask held and level table kept",
       [] { return LoadRefused({}, 20) && LoadRefused(StoredHeader(1, 1, 1, 1, 0), 19); }},
      {"`IDitherMaskGenerator::LoadMask`", "P, H, W or M of 0 or less",
       "false, mask held and level table kept",
       [] {
         return LoadRefused(StoredHeader(0, 1, 1, 1, 4), 24) &&
                LoadRefused(StoredHeader(1, -1, 1, 1, 4), 24) &&
                LoadRefused(StoredHeader(1, 1, 0, 1, 4), 24) &&
                LoadRefused(StoredHeader(1, 1, 1, 0, 4), 24);
       }},
      {"`IDitherMaskGenerator::LoadMask`",
       "thresholds above 1 GiB, or a length other than 20 + 4 × P × H × W",
       "false, mask held and level table kept",
       [] {
         return LoadRefused(StoredHeader(1, 65536, 65536, 255, 4), 24) &&
                LoadRefused(StoredHeader(1, 1, 2, 255, 4), 24) &&
                LoadRefused(StoredHeader(1, 1, 1, 255, 8), 28);
       }},
      {"`IDitherMaskGenerator::Dither`", "no mask loaded, or a null buffer",
       "false, output untouched",
       [] {
         return DitherRefused(false, 0, 4, 1, 1, 1, 4, 1) &&
                DitherRefused(true, 0, 4, 1, 1, 1, 4, 1, true);
       }},
      {"`IDitherMaskGenerator::Dither`", "plane outside 0..P−1", "false, output untouched",
       [] {
         return DitherRefused(true, 1, 4, 1, 1, 1, 4, 1) &&
                DitherRefused(true, -1, 4, 1, 1, 1, 4, 1);
       }},
      {"`IDitherMaskGenerator::Dither`", "negative width, height or step",
       "false, output untouched",
       [] {
         return DitherRefused(true, 0, -1, 1, 1, 1, 4, 1) &&
                DitherRefused(true, 0, 4, -1, 1, 1, 4, 1) &&
                DitherRefused(true, 0, 4, 1, -1, 1, 4, 1) &&
                DitherRefused(true, 0, 4, 1, 1, -1, 4, 1);
       }},
      {"`IDitherMaskGenerator::Dither`", "dstStride too small for the width at the chosen depth",
       "false, output untouched",
       [] {
         return DitherRefused(true, 0, 9, 1, 1, 1, 1, 1) &&
                DitherRefused(true, 0, 5, 1, 1, 1, 1, 2);
       }},
  };
}

std::string MarkdownTable(const std::vector<Refusal>& rows) {
  std::string table = "| Entry point | Refused input | Result |\n|---|---|---|\n";
  for (const Refusal& row : rows)
    table += "| " + row.entry + " | " + row.input + " | " + row.result + " |\n";
  return table;
}

std::string ReadmeSection() {
  std::ifstream readme(std::string(KORVEL_SOURCE_DIR) + "/README.md");
  std::stringstream text;
  text << readme.rdbuf();
  const std::string all = text.str();
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
  for (const Refusal& row : Rows()) EXPECT_TRUE(row.refuses()) << row.entry << ": " << row.input;
}

// KORVEL_PRINT_REFUSALS=1 korvel_tests --gtest_filter=RefusalTable.* prints the table to paste.
TEST(RefusalTable, ReadmeListsExactlyTheseRefusals) {
  if (std::getenv("KORVEL_PRINT_REFUSALS")) std::fputs(MarkdownTable(Rows()).c_str(), stdout);
  EXPECT_EQ(ReadmeSection(), MarkdownTable(Rows()))
      << "Update the table under '## What the library refuses' in README.md";
}

}  // namespace
