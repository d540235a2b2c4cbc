// Writes the sample test chart, a 1024 x 768 binary PGM (255 = paper white), deterministically:
// a grey ramp and 21 grey steps, a zone plate, fine lines, a radial star, a shaded sphere,
// lines of text at four sizes, highlight and shadow ramps and a band of smooth shading. Each
// region is there to show one weakness of a screen: worms and banding in flat and slowly
// varying greys, aliasing at high frequencies, broken fine detail, lost highlight dots.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bitmap_font.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr double kPi = 3.14159265358979323846;

class Canvas {
 public:
  Canvas() : pixels_(static_cast<size_t>(kWidth) * kHeight, 255) {}
  void Set(int x, int y, double grey) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    const double clamped = grey < 0.0 ? 0.0 : grey > 255.0 ? 255.0 : grey;
    pixels_[static_cast<size_t>(y) * kWidth + x] = static_cast<uint8_t>(clamped + 0.5);
  }
  bool Write(const char* path) const {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    std::fprintf(file, "P5\n# korvel sample chart, written by tools/make/chartgen\n%d %d\n255\n",
                 kWidth, kHeight);
    const bool ok = std::fwrite(pixels_.data(), 1, pixels_.size(), file) == pixels_.size();
    return std::fclose(file) == 0 && ok;
  }

 private:
  std::vector<uint8_t> pixels_;
};

// Rows 0..63: black to white, one grey level every four columns.
void DrawRamp(Canvas& canvas) {
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < kWidth; ++x) canvas.Set(x, y, 255.0 * x / (kWidth - 1));
}

// Rows 64..127: 21 steps of 5 % from black to white.
void DrawSteps(Canvas& canvas) {
  for (int y = 64; y < 128; ++y)
    for (int x = 0; x < kWidth; ++x) canvas.Set(x, y, 255.0 * (x * 21 / kWidth) / 20.0);
}

// 256 x 256 circular zone plate: the local frequency grows linearly from the centre and
// reaches half a cycle per pixel at 128 pixels out, so everything beyond aliases.
void DrawZonePlate(Canvas& canvas, int left, int top) {
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double dx = x - 127.5, dy = y - 127.5;
      canvas.Set(left + x, top + y, 127.5 + 127.5 * std::cos(kPi * (dx * dx + dy * dy) / 256.0));
    }
}

// 256 x 256 of fine lines: vertical and horizontal bars of 1 to 4 pixels with equal gaps,
// diagonal hairlines at 45 and 15 degrees, white hairlines on black, grey hairlines on white.
void DrawFineLines(Canvas& canvas, int left, int top) {
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const int width = x / 32 + 1;  // bar width of the group the column falls in
      canvas.Set(left + x, top + y, (x % 32) % (2 * width) < width ? 0 : 255);
      const int height = y / 32 + 1;
      canvas.Set(left + 128 + x, top + y, (y % 32) % (2 * height) < height ? 0 : 255);
    }
  const double s15 = std::sin(15.0 * kPi / 180.0), c15 = std::cos(15.0 * kPi / 180.0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      canvas.Set(left + x, top + 128 + y, (x + y) % 6 == 0 ? 0 : 255);
      const double across = std::fmod(x * s15 + y * c15 + 1000.0, 8.0);
      canvas.Set(left + x, top + 192 + y, across < 1.2 ? 0 : 255);
    }
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 64; ++x) {
      canvas.Set(left + 128 + x, top + 128 + y, x % 4 == 0 ? 255 : 0);
      canvas.Set(left + 192 + x, top + 128 + y, y % 4 == 0 ? 128 : 255);
    }
}

// A star of 36 black and 36 white sectors, radius 120, centred in a 256 x 256 square: the
// spokes converge to every frequency at once.
void DrawStar(Canvas& canvas, int left, int top) {
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double dx = x - 127.5, dy = y - 127.5;
      if (dx * dx + dy * dy > 120.0 * 120.0) continue;
      const double angle = std::atan2(dy, dx) + kPi;
      const int sector = static_cast<int>(angle / (kPi / 36.0));
      canvas.Set(left + x, top + y, sector % 2 ? 255 : 0);
    }
}

// A sphere lit from the upper left over a soft vertical gradient: smooth shading from a
// specular highlight to the shadow side.
void DrawSphere(Canvas& canvas, int left, int top) {
  const double lx = -0.5, ly = -0.6, lz = 0.62;
  const double norm = std::sqrt(lx * lx + ly * ly + lz * lz);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double dx = (x - 127.5) / 110.0, dy = (y - 127.5) / 110.0;
      const double r2 = dx * dx + dy * dy;
      if (r2 > 1.0) {
        canvas.Set(left + x, top + y, 230.0 - 50.0 * y / 255.0);
        continue;
      }
      const double dz = std::sqrt(1.0 - r2);
      const double diffuse = std::fmax(0.0, (dx * lx + dy * ly + dz * lz) / norm);
      // Reflection of the light about the normal, seen from straight ahead (0, 0, 1).
      const double reflected = 2.0 * diffuse * dz - lz / norm;
      const double specular = std::pow(std::fmax(0.0, reflected), 24.0);
      canvas.Set(left + x, top + y, 255.0 * (0.1 + 0.75 * diffuse + 0.3 * specular));
    }
}

void DrawText(Canvas& canvas, int left, int top, int scale, const std::string& text, int grey) {
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* rows = quality::GlyphRows(text[i]);
    if (!rows) continue;
    const int x0 = left + static_cast<int>(i) * (quality::kGlyphWidth + 1) * scale;
    for (int row = 0; row < quality::kGlyphHeight; ++row)
      for (int column = 0; column < quality::kGlyphWidth; ++column) {
        if (!(rows[row] >> (quality::kGlyphWidth - 1 - column) & 1)) continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx)
            canvas.Set(x0 + column * scale + dx, top + row * scale + dy, grey);
      }
  }
}

void Fill(Canvas& canvas, int left, int top, int width, int height, int grey) {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) canvas.Set(x, y, grey);
}

// Rows 400..591: black text at four sizes on white; white and grey text on the right.
void DrawTextBlock(Canvas& canvas) {
  const std::string pangram = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG";
  DrawText(canvas, 8, 404, 4, "KORVEL TEST CHART", 0);
  DrawText(canvas, 8, 444, 2, pangram, 0);
  DrawText(canvas, 8, 466, 1, pangram + " 0123456789 5% 10% 25% 50%", 0);
  DrawText(canvas, 8, 482, 3, "0123456789 -.%", 0);
  DrawText(canvas, 8, 514, 1, pangram, 96);
  DrawText(canvas, 8, 530, 2, "GREY TEXT 50%", 128);
  DrawText(canvas, 8, 556, 2, "LIGHT TEXT 25%", 191);
  Fill(canvas, 640, 400, 384, 120, 0);
  DrawText(canvas, 652, 410, 3, "REVERSED TEXT", 255);
  DrawText(canvas, 652, 444, 2, "WHITE ON BLACK 123", 255);
  DrawText(canvas, 652, 468, 1, "SMALL REVERSED TYPE 0123456789", 255);
  DrawText(canvas, 652, 484, 2, "GREY ON BLACK", 160);
  Fill(canvas, 640, 528, 384, 56, 128);
  DrawText(canvas, 652, 536, 2, "TEXT ON MID GREY", 0);
  DrawText(canvas, 652, 560, 2, "WHITE ON MID GREY", 255);
}

// Rows 592..767: a highlight ramp (white to 75 %), a shadow ramp (25 % to black) and smooth
// two-dimensional shading.
void DrawShading(Canvas& canvas) {
  for (int x = 0; x < kWidth; ++x) {
    const double t = static_cast<double>(x) / (kWidth - 1);
    for (int y = 592; y < 640; ++y) canvas.Set(x, y, 255.0 - 64.0 * t);
    for (int y = 640; y < 688; ++y) canvas.Set(x, y, 63.0 * (1.0 - t));
    for (int y = 688; y < kHeight; ++y)
      canvas.Set(x, y,
                 128.0 + 70.0 * std::sin(2.0 * kPi * x / 700.0 + 1.0) +
                     45.0 * std::cos(2.0 * kPi * (y - 688) / 160.0 + x / 300.0));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: chartgen OUT.pgm\n");
    return 2;
  }
  Canvas canvas;
  DrawRamp(canvas);
  DrawSteps(canvas);
  DrawZonePlate(canvas, 0, 128);
  DrawFineLines(canvas, 256, 128);
  DrawStar(canvas, 512, 128);
  DrawSphere(canvas, 768, 128);
  DrawTextBlock(canvas);
  DrawShading(canvas);
  if (!canvas.Write(argv[1])) {
    std::fprintf(stderr, "chartgen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
