#include "image_writer.h"

#include <cctype>

#include "ink_values.h"
#include "tool_error.h"

namespace {

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool FormatOfExtension(const std::string& extension, ImageFormat& format) {
  if (extension == ".png")
    format = ImageFormat::kPng;
  else if (extension == ".pbm")
    format = ImageFormat::kPbm;
  else if (extension == ".pgm")
    format = ImageFormat::kPgm;
  else if (extension == ".tif" || extension == ".tiff")
    format = ImageFormat::kTiff;
  else
    return false;
  return true;
}

}  // namespace

bool HasImageExtension(const std::string& path) {
  ImageFormat format;
  return FormatOfExtension(LowerExtension(path), format);
}

ImageFormat OutputFormat(const std::string& path, int bits) {
  if (path == kStandardOutput) return bits == 1 ? ImageFormat::kPbm : ImageFormat::kPgm;
  ImageFormat format;
  const std::string extension = LowerExtension(path);
  if (!FormatOfExtension(extension, format))
    throw UsageError(path + ": unknown output format '" + extension +
                     "' (name it .png, .pbm, .pgm or .tif)");
  if (format == ImageFormat::kPbm && bits != 1)
    throw UsageError(path + ": PBM holds 1-bit output only (use .pgm or .png for " +
                     std::to_string(bits) + " bits)");
  if (format == ImageFormat::kTiff && !TiffSupported())
    throw UsageError(path +
                     ": TIFF output is not available in this build of korvel (it was "
                     "built without libtiff; use .png, .pbm or .pgm)");
  return format;
}

void WriteImages(const std::vector<OutputImage>& images, Progress& progress) {
  std::vector<PendingFile> files;
  files.reserve(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const OutputImage& image = images[i];
    const ImageFormat format = OutputFormat(image.path, image.raster->bits);
    progress.Stage("writing", 0.8 + 0.2 * i / images.size(), 0.8 + 0.2 * (i + 1) / images.size());
    files.emplace_back(image.path);
    PendingFile& file = files.back();
    switch (format) {
      case ImageFormat::kPng:
        WritePng(file, *image.raster, progress);
        break;
      case ImageFormat::kPbm:
        WritePbm(file, *image.raster, progress);
        break;
      case ImageFormat::kPgm:
        WritePgm(file, *image.raster, progress);
        break;
      case ImageFormat::kTiff:
        WriteTiff(file, *image.raster, progress);
        break;
    }
    file.Close();
  }
  for (PendingFile& file : files) file.Commit();
}

void RequireOneInkForStandardOutput(const std::string& path, int inks) {
  if (path == kStandardOutput && inks > 1)
    throw UsageError("the " + std::to_string(inks) +
                     " inks of a CMYK page go to files, not to standard output (-)");
}

std::string InkFilePath(const std::string& path, int ink) {
  const std::string suffix = std::string("-") + kCmykInkNames[ink];
  const size_t dot = path.rfind('.');
  return path.substr(0, dot) + suffix + path.substr(dot);
}

void WriteInkImages(const std::string& path, const std::vector<DotRaster>& inks,
                    Progress& progress) {
  if (inks.size() == 1) return WriteImages({{path, &inks[0]}}, progress);
  RequireOneInkForStandardOutput(path, static_cast<int>(inks.size()));
  if (OutputFormat(path, inks[0].bits) == ImageFormat::kTiff) {
    progress.Stage("writing", 0.8, 1.0);
    PendingFile file(path);
    WriteCmykTiff(file, inks, progress);
    file.Close();
    file.Commit();
    return;
  }
  std::vector<OutputImage> images;
  for (int ink = 0; ink < kCmykInks; ++ink) images.push_back({InkFilePath(path, ink), &inks[ink]});
  WriteImages(images, progress);
}
