#include "patterns/line_overlay.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/raster_geometry.h"
#include "core/truncate.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292222222222;  // 3.1415926 / 180
constexpr int kLineSpacing = 10;
constexpr int kMaxAngle = 89;

// The softening curve: a cubic through mid grey with slope 1 where it meets two straight pieces
// that lift the darkest and lower the lightest values by about 49.
unsigned char SoftenedValue(int v) {
  const double s = std::sqrt(3.0);
  const double knee = (1.0 - 1.0 / s) * 0.5 * 255.0;
  const double lift = s * 0.2222222222222222;
  const double d = v - 127.5;
  double softened;
  if (v < knee) {
    softened = (d / 127.5 + lift) * 127.5 + 127.5;
  } else if (v > 255.0 - knee) {
    softened = (d / 127.5 - lift) * 127.5 + 127.5;
  } else {
    softened = d * d * d / 127.5 / 127.5 + 127.5;
  }
  return static_cast<unsigned char>(static_cast<int>(softened));
}

std::array<unsigned char, 256> BuildSoftenTable() {
  std::array<unsigned char, 256> table{};
  for (int v = 0; v < 256; ++v) table[v] = SoftenedValue(v);
  return table;
}

struct Overlay {
  unsigned char* raster;
  int rows;
  int cols;
  int64_t stride;
  double t;  // tan of the angle
  double sinA;
  double cosA;

  void Soften(int y, int x) const { SoftenPixel(raster + y * stride + x); }

  // A raster taller than wide: one point per row, shifted along the line by the jitter.
  void DrawSteepLine(int64_t k) const {
    for (int i = 0; i < rows; ++i) {
      const int j = std::rand() % 4;
      const int x = TruncateToInt32(TruncateToInt32((k - i) / t) + sinA * j);
      if (x <= 0 || x >= cols) continue;
      const int y = TruncateToInt32(i - cosA * j);
      if (y >= 0) Soften(y, x);
    }
  }

  // Otherwise: two points per column, the second jittered again from the first.
  void DrawFlatLine(int64_t k) const {
    for (int c = 0; c < cols; ++c) {
      const int y0 = TruncateToInt32(k - c * t);
      const int j1 = std::rand() % 4 - 2;
      const int y1 = TruncateToInt32(y0 - j1 * cosA);
      if (y1 > 0 && y1 < rows) Soften(y1, c);
      const int j2 = std::rand() % 4 - 2;
      const int y2 = TruncateToInt32(y1 - j2 * cosA);
      if (y2 > 0 && y2 < rows) Soften(y2, c);
    }
  }
};

}  // namespace

void SoftenPixel(unsigned char* pixel) {
  static const std::array<unsigned char, 256> table = BuildSoftenTable();
  *pixel = table[*pixel];
}

void ApplyLineOverlay(unsigned char* raster, int cols, int rows, int angle) {
  if (raster == nullptr || rows <= 0 || cols <= 0 || !RasterFits(cols, rows, 8)) return;
  if (angle == 0 || angle < -kMaxAngle || angle > kMaxAngle) return;

  const double a = angle * kRadiansPerDegree;
  const Overlay overlay{raster,      rows,        cols,       RowStride(cols, 8),
                        std::tan(a), std::sin(a), std::cos(a)};
  // Lines are numbered by where they cross the left edge; the range covers every line that
  // meets the raster.
  int64_t start = 0;
  int64_t end = rows;
  if (angle > 0) {
    end = TruncateToInt32(std::floor(cols * overlay.t + rows));
  } else {
    start = TruncateToInt32(cols * overlay.t);
  }
  for (int64_t k = start; k < end; k += kLineSpacing) {
    if (rows > cols) {
      overlay.DrawSteepLine(k);
    } else {
      overlay.DrawFlatLine(k);
    }
  }
}
