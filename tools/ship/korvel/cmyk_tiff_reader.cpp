// 8-bit CMYK TIFF input through libtiff: separated photometric, ink set CMYK, four samples of
// 8 bits, in strips, contiguous (CMYKCMYK...) or planar (all C rows, then M, Y and K).
#include <memory>
#include <vector>

#include "image_reader.h"
#include "ink_values.h"
#include "size_limits.h"
#include "tiff_support.h"
#include "tool_error.h"

namespace {

using Tiff = std::unique_ptr<TIFF, TiffCloser>;

Tiff OpenTiff(const std::string& path) {
  CatchTiffMessages();
  return Tiff(TIFFOpen(path.c_str(), "r"));
}

uint16_t Tag16(TIFF* tiff, uint32_t tag) {
  uint16_t value = 0;
  TIFFGetFieldDefaulted(tiff, tag, &value);
  return value;
}

void CheckCmykLayout(TIFF* tiff, const std::string& path) {
  const auto refuse = [&path](const std::string& why) {
    throw ToolError(path + ": " + why +
                    " (TIFF input must be 8-bit CMYK; give grey as PNG or PGM)");
  };
  if (Tag16(tiff, TIFFTAG_PHOTOMETRIC) != PHOTOMETRIC_SEPARATED) refuse("not a separated image");
  if (Tag16(tiff, TIFFTAG_INKSET) != INKSET_CMYK) refuse("inks other than CMYK");
  if (Tag16(tiff, TIFFTAG_SAMPLESPERPIXEL) != kCmykInks)
    refuse(std::to_string(Tag16(tiff, TIFFTAG_SAMPLESPERPIXEL)) + " samples per pixel");
  if (Tag16(tiff, TIFFTAG_BITSPERSAMPLE) != 8)
    refuse(std::to_string(Tag16(tiff, TIFFTAG_BITSPERSAMPLE)) + " bits per sample");
  if (TIFFIsTiled(tiff)) refuse("tiled");
}

[[noreturn]] void Unreadable(const std::string& path) {
  throw ToolError(path + ": cannot read TIFF (" + LastTiffError() + ")");
}

// Ink samples (0 no ink, 255 full) as the library's grey (255 paper white, 0 full ink).
void StoreInkRow(const uint8_t* samples, int step, int width, uint8_t* grey) {
  for (int x = 0; x < width; ++x) grey[x] = static_cast<uint8_t>(255 - samples[x * step]);
}

void ReadContiguous(TIFF* tiff, std::vector<GreyImage>& inks, const std::string& path,
                    Progress& progress) {
  const int width = inks[0].width, height = inks[0].height;
  std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tiff)));
  for (int y = 0; y < height; ++y) {
    if (TIFFReadScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) < 0) Unreadable(path);
    for (int ink = 0; ink < kCmykInks; ++ink)
      StoreInkRow(row.data() + ink, kCmykInks, width, inks[ink].Row(y));
    progress.Advance(y + 1, height);
  }
}

void ReadPlanar(TIFF* tiff, std::vector<GreyImage>& inks, const std::string& path,
                Progress& progress) {
  const int width = inks[0].width, height = inks[0].height;
  std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tiff)));
  for (int ink = 0; ink < kCmykInks; ++ink)
    for (int y = 0; y < height; ++y) {
      if (TIFFReadScanline(tiff, row.data(), static_cast<uint32_t>(y), static_cast<uint16_t>(ink)) <
          0)
        Unreadable(path);
      StoreInkRow(row.data(), 1, width, inks[ink].Row(y));
      progress.Advance(int64_t{ink} * height + y + 1, int64_t{kCmykInks} * height);
    }
}

}  // namespace

int InksOfInput(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 1;
  unsigned char head[4] = {};
  const size_t length = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  const bool tiff = length == 4 && ((head[0] == 'I' && head[1] == 'I' && head[2] == 42) ||
                                    (head[0] == 'M' && head[1] == 'M' && head[3] == 42));
  if (!tiff) return 1;
  const Tiff image = OpenTiff(path);
  return image && Tag16(image.get(), TIFFTAG_PHOTOMETRIC) == PHOTOMETRIC_SEPARATED ? kCmykInks : 1;
}

std::vector<GreyImage> ReadCmykTiff(const std::string& path, Progress& progress) {
  const Tiff tiff = OpenTiff(path);
  if (!tiff) Unreadable(path);
  CheckCmykLayout(tiff.get(), path);
  uint32_t width = 0, height = 0;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  CheckImageSize(width, height, path);
  std::vector<GreyImage> inks;
  for (int ink = 0; ink < kCmykInks; ++ink)
    inks.push_back(GreyImage::Allocate(static_cast<int>(width), static_cast<int>(height)));
  if (Tag16(tiff.get(), TIFFTAG_PLANARCONFIG) == PLANARCONFIG_SEPARATE)
    ReadPlanar(tiff.get(), inks, path, progress);
  else
    ReadContiguous(tiff.get(), inks, path, progress);
  for (GreyImage& ink : inks) ink.WhitenPadding();
  return inks;
}
