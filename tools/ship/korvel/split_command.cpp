// korvel split --planes 2|3|4 --size WxH OUT_PREFIX
#include <korvel/korvel.h>

#include "arguments.h"
#include "commands.h"
#include "image_writer.h"
#include "size_limits.h"
#include "stats.h"
#include "tool_error.h"

namespace {

// "out/split.png" gives "out/split-1.png", ...; a prefix without an image extension gets
// "-<k>.png".
std::string PlanePath(const std::string& prefix, int plane) {
  const std::string number = "-" + std::to_string(plane);
  if (!HasImageExtension(prefix)) return prefix + number + ".png";
  const size_t dot = prefix.rfind('.');
  return prefix.substr(0, dot) + number + prefix.substr(dot);
}

int SplitPlanes(std::vector<DotRaster>& planes, int width, int height) {
  unsigned char* p[4] = {};
  for (size_t i = 0; i < planes.size(); ++i) p[i] = planes[i].bytes.get();
  switch (planes.size()) {
    case 2:
      return KORVEL_GetTempateData_2Bit_1to2(p[0], p[1], width, height);
    case 3:
      return KORVEL_GetTempateData_2Bit_1to3(p[0], p[1], p[2], width, height);
    default:
      return KORVEL_GetTempateData_2Bit_1to4(p[0], p[1], p[2], p[3], width, height);
  }
}

}  // namespace

int RunSplit(const Words& words) {
  const Arguments arguments(
      words, {{"--planes", true}, {"--size", true}, {"--stats", false}, {"--quiet", false}});
  if (!arguments.Has("--planes")) throw UsageError("split needs --planes 2, 3 or 4");
  if (!arguments.Has("--size")) throw UsageError("split needs --size WxH");
  const int planeCount = arguments.IntOr("--planes", 2, 2, 4);
  const Size size = ParseSize(arguments.Value("--size"), "--size", kMaxImageSide);
  CheckRequestedSize(size.width, size.height, "--size");
  if (arguments.Positionals().size() != 1) throw UsageError("split takes one name: OUT_PREFIX");
  const std::string& prefix = arguments.Positionals()[0];
  if (prefix.empty() || prefix.back() == '/')
    throw UsageError("split needs a file name as OUT_PREFIX, not '" + prefix + "'");

  std::vector<std::string> paths;
  for (int k = 1; k <= planeCount; ++k) {
    paths.push_back(PlanePath(prefix, k));
    OutputFormat(paths.back(), 2);
  }
  Progress progress(arguments.Has("--quiet"),
                    static_cast<int64_t>(size.width) * size.height * planeCount);
  progress.Stage("splitting", 0.0, 0.8);
  std::vector<DotRaster> planes;
  for (int k = 0; k < planeCount; ++k)
    planes.push_back(DotRaster::Allocate(size.width, size.height, 2));
  KORVEL_Init(kDefaultQuality);
  const int result = SplitPlanes(planes, size.width, size.height);
  KORVEL_UnInit();
  if (result != 1) throw ToolError("the library refused to split the area");

  std::vector<OutputImage> images;
  for (int k = 0; k < planeCount; ++k) images.push_back({paths[k], &planes[k]});
  WriteImages(images, progress);
  progress.Finish();
  if (arguments.Has("--stats"))
    for (int k = 0; k < planeCount; ++k) PrintCoverage(paths[k], planes[k]);
  return 0;
}
