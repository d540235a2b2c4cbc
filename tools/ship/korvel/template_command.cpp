// korvel template --level P [--bits 1|2|4] --size WxH OUT
#include <korvel/korvel.h>

#include "arguments.h"
#include "commands.h"
#include "image_writer.h"
#include "size_limits.h"
#include "stats.h"
#include "tool_error.h"

int RunTemplate(const Words& words) {
  const Arguments arguments(words, {{"--level", true},
                                    {"--bits", true},
                                    {"--size", true},
                                    {"--stats", false},
                                    {"--quiet", false}});
  if (!arguments.Has("--level")) throw UsageError("template needs --level P (0 to 100 percent)");
  if (!arguments.Has("--size")) throw UsageError("template needs --size WxH");
  const int level = arguments.IntOr("--level", 0, 0, 100);
  const int bits = arguments.IntOr("--bits", 1, 1, 4);
  if (bits == 3) throw UsageError("--bits must be 1, 2 or 4, not 3");
  const Size size = ParseSize(arguments.Value("--size"), "--size", kMaxImageSide);
  CheckRequestedSize(size.width, size.height, "--size");
  if (arguments.Positionals().size() != 1) throw UsageError("template takes one file: OUT");
  const std::string& output = arguments.Positionals()[0];
  OutputFormat(output, bits);

  Progress progress(arguments.Has("--quiet"), static_cast<int64_t>(size.width) * size.height);
  progress.Stage("generating", 0.0, 0.8);
  DotRaster raster = DotRaster::Allocate(size.width, size.height, bits);
  KORVEL_Init(kDefaultQuality);  // templates follow the linear level table that Init installs
  int result = 0;
  switch (bits) {
    case 1:
      result = KORVEL_GetTempateData_1Bit(raster.bytes.get(), size.width, size.height, level);
      break;
    case 2:
      result = KORVEL_GetTempateData_2Bit(raster.bytes.get(), size.width, size.height, level);
      break;
    default:
      result = KORVEL_GetTempateData_4Bit(raster.bytes.get(), size.width, size.height, level);
      break;
  }
  KORVEL_UnInit();
  if (result != 1)
    throw ToolError("the library refused a template of level " + std::to_string(level));
  WriteImages({{output, &raster}}, progress);
  progress.Finish();
  if (arguments.Has("--stats")) PrintCoverage(output, raster);
  return 0;
}
