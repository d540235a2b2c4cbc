// The shared library exports exactly the documented entry points, under the names hosts link
// against, and the library frame behaves as hosts expect before and after KORVEL_Init.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "interface/globals.h"
#include "support/raster.h"

namespace {

// Defined dynamic symbols with their version node ("name@@KORVEL_1"), but the node's own
// symbol.
std::set<std::string> DefinedDynamicSymbols(const char* library) {
  std::set<std::string> names;
  FILE* pipe = popen(
      (std::string("nm -D --defined-only -j --with-symbol-versions ") + library).c_str(), "r");
  char name[1024];
  while (pipe && std::fscanf(pipe, "%1023s", name) == 1)
    if (std::strcmp(name, "KORVEL_1") != 0) names.insert(name);
  if (pipe) pclose(pipe);
  return names;
}

// The whitespace-separated names of the text, each in the version node.
std::set<std::string> InVersionNode(const std::string& names) {
  std::istringstream split(names);
  std::set<std::string> versioned;
  for (std::string name; split >> name;) versioned.insert(name + "@@KORVEL_1");
  return versioned;
}

TEST(Exports, DynamicSymbolTableIsExactlyTheDocumentedSet) {
  // The C++ entry points under their mangled names, then the C ones.
  const std::set<std::string> expected = InVersionNode(R"(
    _Z11KORVEL_Initi _Z13KORVEL_UnInitv _Z26KORVEL_GetTempateData_1BitPhiii
    _Z26KORVEL_GetTempateData_2BitPhiii _Z26KORVEL_GetTempateData_4BitPhiii
    _Z31KORVEL_GetTempateData_1Bit_1to2PhS_ii _Z31KORVEL_GetTempateData_1Bit_1to3PhS_S_ii
    _Z31KORVEL_GetTempateData_1Bit_1to4PhS_S_S_ii _Z31KORVEL_GetTempateData_2Bit_1to2PhS_ii
    _Z31KORVEL_GetTempateData_2Bit_1to3PhS_S_ii _Z31KORVEL_GetTempateData_2Bit_1to4PhS_S_S_ii
    _Z31KORVEL_GetImageTempateData_1BitPhS_ii23__QUENTAL_TEMPLATE_TYPEii18__QUENTAL_DOT_MODEb
    _Z31KORVEL_GetImageTempateData_2BitPhS_ii23__QUENTAL_TEMPLATE_TYPEii18__QUENTAL_DOT_MODEb
    _Z31KORVEL_GetImageTempateData_4BitPhS_ii
    DitherMaskGenerator_Create DitherMaskGenerator_Delete BufferProc_Create BufferProc_Delete
    korvel_version korvel_strerror korvel_context_create korvel_context_destroy
    korvel_context_set_quality korvel_context_get_quality korvel_context_set_parameter_folder
    korvel_context_set_tone_curve korvel_context_check_parameters korvel_context_template
    korvel_context_split korvel_context_screen_image korvel_context_screen_image_4bit
    korvel_context_begin_stream korvel_stream_screen_rows korvel_stream_get_rows_left
    korvel_screen_options_init_sized korvel_context_screen korvel_context_begin_screen_stream
    korvel_stream_get_delay korvel_stream_feed korvel_stream_destroy korvel_context_load_mask
    korvel_context_dither_mask korvel_context_release_mask korvel_image_options_describe
    korvel_screen_options_describe korvel_quality_describe korvel_context_describe_folder)");
  EXPECT_EQ(DefinedDynamicSymbols(KORVEL_SHARED_LIBRARY), expected);
}

// Every level against the bucket table written out: 0 and -1 kept, below 15 is 10, then
// 15..24 is 20, ..., 85..94 is 90, from 95 on 100.
TEST(LibraryFrame, InitBucketsTheQualityLevelAndResetsTheAmountTable) {
  for (int level = -300; level <= 1200; ++level) {
    int expected = 100;
    for (int bucket = 90; bucket >= 20; bucket -= 10)
      if (level < bucket + 5) expected = bucket;
    if (level < 15) expected = 10;
    if (level == 0 || level == -1) expected = level;
    g_levelAmount[level & 255] = 7;
    ASSERT_EQ(KORVEL_Init(level), 1);
    ASSERT_EQ(g_qualityLevel, expected) << "level " << level;
    ASSERT_EQ(g_levelAmount[level & 255], 10 * (level & 255));
  }
  EXPECT_EQ(KORVEL_UnInit(), 1);
  EXPECT_EQ(g_qualityLevel, 100);
}

}  // namespace
