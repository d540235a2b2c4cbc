#include "row_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/raster_geometry.h"
#include "core/screening_state.h"
#include "error_diffusion_run.h"
#include "korvel/korvel.h"
#include "template/template_generators.h"

namespace quality {

namespace {

constexpr int kSteadyFrom = 16;  // error diffusion: rows after the jump taken as steady

int CountDots1Bit(const uint8_t* row, int width) {
  int dots = 0;
  for (int x = 0; x < width; ++x) dots += (row[x / 8] >> (7 - x % 8)) & 1;
  return dots;
}

}  // namespace

const std::vector<uint8_t>& JumpGreys() {
  static const std::vector<uint8_t> greys = {250, 230, 200, 160, 128, 100, 60, 20};
  return greys;
}

std::vector<double> TemplateRowCoverage(int level, int width, int rows) {
  const int stride = ((width + 31) >> 3) & ~3;
  std::vector<uint8_t> out(static_cast<size_t>(stride) * rows);
  KORVEL_GetTempateData_1Bit(out.data(), width, rows, level);
  std::vector<double> coverage(rows);
  for (int y = 0; y < rows; ++y)
    coverage[y] = CountDots1Bit(out.data() + static_cast<size_t>(y) * stride, width) /
                  static_cast<double>(width);
  return coverage;
}

double NominalCoverage(JumpPath path, uint8_t value) {
  return path == JumpPath::kLevelImage8Bit ? value / 255.0 : 1 - value / 255.0;
}

std::vector<double> JumpRowCoverage(JumpPath path, uint8_t above, uint8_t below, int width,
                                    int rowsAbove, int rowsBelow,
                                    const ErrorDiffusionTables* tables) {
  const int height = rowsAbove + rowsBelow;
  const int stride8 = Stride8(width);
  std::vector<uint8_t> in(static_cast<size_t>(stride8) * height, 0);
  for (int y = 0; y < height; ++y)
    std::fill_n(in.begin() + static_cast<size_t>(y) * stride8, width,
                y < rowsAbove ? above : below);
  std::vector<double> coverage(height);
  if (path == JumpPath::kImage4Bit) {
    const int stride4 = ((4 * width + 31) >> 3) & ~3;
    std::vector<uint8_t> out(static_cast<size_t>(stride4) * height);
    KORVEL_GetImageTempateData_4Bit(in.data(), out.data(), width, height);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = out.data() + static_cast<size_t>(y) * stride4;
      int dots = 0;
      for (int x = 0; x < width; ++x) dots += ((row[x / 2] >> (4 * (x & 1))) & 0xF) != 0;
      coverage[y] = dots / static_cast<double>(width);
    }
  } else if (path == JumpPath::kLevelImage8Bit) {
    std::vector<uint8_t> out(in.size());
    ScreeningState linear;  // the level table KORVEL_Init installs
    linear.ResetLevelAmount();
    GetDiffusedImageData_8Bit(linear, in.data(), out.data(), width, height);
    for (int y = 0; y < height; ++y)
      coverage[y] = std::count(out.begin() + static_cast<size_t>(y) * stride8,
                               out.begin() + static_cast<size_t>(y) * stride8 + width, 255) /
                    static_cast<double>(width);
  } else {
    GreyImage image(width, height);
    for (int y = 0; y < height; ++y)
      std::fill_n(image.pixels.begin() + static_cast<size_t>(y) * width, width,
                  y < rowsAbove ? above : below);
    const GreyImage screened = ScreenErrorDiffusion(
        image, tables ? *tables : BuiltInErrorDiffusionTables(),
        path == JumpPath::kErrorDiffusion ? ImageErrorDiffusion::Restarts::kFromTables
                                          : ImageErrorDiffusion::Restarts::kFirstRowOnly);
    for (int y = 0; y < height; ++y) coverage[y] = InkCoverage(screened, y, y + 1);
  }
  return coverage;
}

JumpFigures WorstJumpRows(JumpPath path, int width, int minGreyStep,
                          const ErrorDiffusionTables* tables) {
  constexpr int kRowsAbove = 32, kRowsBelow = 48;
  const bool screen =
      path == JumpPath::kErrorDiffusion || path == JumpPath::kErrorDiffusionNoRestart;
  JumpFigures figures;
  double worstOfAll = -1;
  for (uint8_t above : JumpGreys()) {
    for (uint8_t below : JumpGreys()) {
      if (above == below || std::abs(above - below) < minGreyStep) continue;
      const std::vector<double> rows =
          JumpRowCoverage(path, above, below, width, kRowsAbove, kRowsBelow, tables);
      double reference = NominalCoverage(path, below);
      if (screen) {
        reference = 0;
        for (int y = kRowsAbove + kSteadyFrom; y < kRowsAbove + kRowsBelow; ++y)
          reference += rows[y];
        reference /= kRowsBelow - kSteadyFrom;
      }
      for (int r = 0; r < 4; ++r) {
        const double off = 100 * std::fabs(rows[kRowsAbove + r] - reference);
        figures.worst[r] = std::max(figures.worst[r], off);
        if (off > worstOfAll) {
          worstOfAll = off;
          figures.worstAbove = above;
          figures.worstBelow = below;
        }
      }
    }
  }
  return figures;
}

}  // namespace quality
