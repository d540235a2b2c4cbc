#include "test_images.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quality {

namespace {

uint8_t ToGrey(double v) {
  return static_cast<uint8_t>(std::lround(std::min(std::max(v, 0.0), 255.0)));
}

}  // namespace

GreyImage HorizontalRamp(int width, int height) {
  GreyImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = ToGrey(255.0 - 255.0 * x / (width - 1));
  return image;
}

GreyImage VerticalRamp(int width, int height) {
  GreyImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = ToGrey(255.0 - 255.0 * y / (height - 1));
  return image;
}

GreyImage FlatPatch(int width, int height, uint8_t grey) {
  return GreyImage(width, height, grey);
}

GreyImage SmoothScene(int width, int height) {
  struct Blob {
    double cx, cy, radius, depth;
  };
  const Blob blobs[] = {{0.25, 0.3, 0.18, -120},
                        {0.7, 0.25, 0.12, 90},
                        {0.55, 0.7, 0.25, -80},
                        {0.15, 0.8, 0.1, 70},
                        {0.85, 0.8, 0.15, -140}};
  GreyImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      double grey = 200 - 90 * v + 30 * std::sin(6.0 * u);
      for (const Blob& b : blobs) {
        const double d2 =
            ((u - b.cx) * (u - b.cx) + (v - b.cy) * (v - b.cy)) / (b.radius * b.radius);
        grey += b.depth * std::exp(-d2);
      }
      // A soft-edged dark band and a bright window, like objects in a scene.
      grey -= 60 / (1 + std::exp(-(u - 0.4 - 0.1 * v) * 80)) * (v > 0.45 && v < 0.6);
      grey += 50 * (u > 0.62 && u < 0.78 && v > 0.42 && v < 0.55);
      image.At(x, y) = ToGrey(grey);
    }
  }
  return image;
}

GreyImage HorizontalEdges(int width, int height) {
  // Band heights and steps (grey levels, all beyond the restart distance) repeat with periods
  // that share no factor, so that the image holds every pairing.
  const int heights[] = {9, 23, 14, 31, 17, 40, 12};
  const int steps[] = {34, -58, 27, 71, -40, -25, 45, -66, 52};
  GreyImage image(width, height);
  double base = 128;
  int band = 0, bandEnd = 0;
  for (int y = 0; y < height; ++y) {
    if (y == bandEnd) {
      base += steps[band % 9];
      if (base < 30 || base > 225) base -= 2 * steps[band % 9];
      bandEnd += heights[band % 7];
      ++band;
    }
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      image.At(x, y) = ToGrey(base + 8 * std::sin(5.0 * u + 0.7 * band));
    }
  }
  return image;
}

std::vector<NamedImage> Photographs(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().extension() == ".pgm") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  std::vector<NamedImage> photos;
  for (const std::string& file : files) {
    GreyImage image = ReadPgm(file);
    if (image.width > 0) photos.push_back({std::filesystem::path(file).stem().string(), image});
  }
  return photos;
}

}  // namespace quality
