// The shared library exports exactly the documented entry points, under the names hosts link
// against, and the library frame behaves as hosts expect before and after KORVEL_Init.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <array>
#include <cstdio>
#include <set>
#include <string>

#include "interface/globals.h"
#include "support/raster.h"

namespace {

std::set<std::string> DefinedDynamicSymbols(const char* library) {
  std::set<std::string> names;
  std::string command = std::string("nm -D --defined-only ") + library;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return names;
  std::array<char, 1024> line;
  while (fgets(line.data(), line.size(), pipe)) {
    std::string text(line.data());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t space = text.rfind(' ');
    if (space == std::string::npos) continue;
    const std::string name = text.substr(space + 1);
    if (name.find('@') != std::string::npos) continue;  // version nodes
    names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(Exports, DynamicSymbolTableIsExactlyTheDocumentedSet) {
  const std::set<std::string> expected = {
      "_Z11KORVEL_Initi",
      "_Z13KORVEL_UnInitv",
      "_Z26KORVEL_GetTempateData_1BitPhiii",
      "_Z26KORVEL_GetTempateData_2BitPhiii",
      "_Z26KORVEL_GetTempateData_4BitPhiii",
      "_Z31KORVEL_GetTempateData_1Bit_1to2PhS_ii",
      "_Z31KORVEL_GetTempateData_1Bit_1to3PhS_S_ii",
      "_Z31KORVEL_GetTempateData_1Bit_1to4PhS_S_S_ii",
      "_Z31KORVEL_GetTempateData_2Bit_1to2PhS_ii",
      "_Z31KORVEL_GetTempateData_2Bit_1to3PhS_S_ii",
      "_Z31KORVEL_GetTempateData_2Bit_1to4PhS_S_S_ii",
      "_Z31KORVEL_GetImageTempateData_1BitPhS_ii23__QUENTAL_TEMPLATE_TYPEii18__QUENTAL_DOT_MODEb",
      "_Z31KORVEL_GetImageTempateData_2BitPhS_ii23__QUENTAL_TEMPLATE_TYPEii18__QUENTAL_DOT_MODEb",
      "_Z31KORVEL_GetImageTempateData_4BitPhS_ii",
      "DitherMaskGenerator_Create",
      "DitherMaskGenerator_Delete",
      "BufferProc_Create",
      "BufferProc_Delete",
      "korvel_strerror",
      "korvel_context_create",
      "korvel_context_destroy",
      "korvel_set_quality",
      "korvel_get_quality",
      "korvel_set_parameter_folder",
      "korvel_set_tone_curve",
      "korvel_template",
      "korvel_split",
      "korvel_screen_image",
      "korvel_screen_image_4bit",
      "korvel_stream_begin",
      "korvel_stream_rows",
      "korvel_stream_rows_left",
      "korvel_stream_destroy",
      "korvel_mask_load",
      "korvel_mask_dither",
      "korvel_mask_release",
  };
  EXPECT_EQ(DefinedDynamicSymbols(KORVEL_SHARED_LIBRARY), expected);
}

TEST(LibraryFrame, InitBucketsTheQualityLevel) {
  const std::pair<int, int> cases[] = {{0, 0},   {-1, -1}, {-2, 10},  {-1000, 10}, {1, 10},
                                       {14, 10}, {15, 20}, {24, 20},  {25, 30},    {54, 50},
                                       {55, 60}, {94, 90}, {95, 100}, {1000, 100}};
  for (const auto& [level, stored] : cases) {
    EXPECT_EQ(KORVEL_Init(level), 1);
    EXPECT_EQ(g_qualityLevel, stored) << "level " << level;
  }
}

TEST(LibraryFrame, InitRestoresTheLinearAmountTableAndUnInitKeepsIt) {
  for (int i = 0; i < kLevelCount; ++i) g_levelAmount[i] = 7;
  KORVEL_Init(50);
  for (int i = 0; i < kLevelCount; ++i) ASSERT_EQ(g_levelAmount[i], 10 * i);
  EXPECT_EQ(KORVEL_UnInit(), 1);
  EXPECT_EQ(KORVEL_UnInit(), 1);
  EXPECT_EQ(g_qualityLevel, 50);
  EXPECT_EQ(g_levelAmount[255], 2550);
}

TEST(LibraryFrame, TemplatesBeforeInitAreBlank) {
  for (int& v : g_levelAmount) v = 0;  // the state of a freshly loaded library
  test::Bytes out(test::Stride(37, 2) * 9, 0xAA);
  EXPECT_EQ(KORVEL_GetTempateData_2Bit(out.data(), 37, 9, 80), 1);
  EXPECT_EQ(out, test::Bytes(out.size(), 0));
}

}  // namespace
