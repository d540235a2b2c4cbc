#include "raster_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace cupstest {

namespace {

int InkCount(cups_cspace_t space) {
  return space == CUPS_CSPACE_CMYK || space == CUPS_CSPACE_KCMY ? 4 : 1;
}

unsigned Code(const std::vector<uint8_t>& line, size_t bitOffset, unsigned bits) {
  const unsigned byte = line[bitOffset / 8];
  return (byte >> (8 - bits - bitOffset % 8)) & ((1u << bits) - 1);
}

}  // namespace

Page EightBitPage(cups_cspace_t space, cups_order_t order,
                  const std::vector<std::vector<uint8_t>>& grey, int width, int height) {
  const int inks = InkCount(space);
  Page page{};
  cups_page_header2_t& h = page.header;
  h.HWResolution[0] = h.HWResolution[1] = 300;
  h.PageSize[0] = static_cast<unsigned>(width * 72 / 300);
  h.PageSize[1] = static_cast<unsigned>(height * 72 / 300);
  h.cupsWidth = static_cast<unsigned>(width);
  h.cupsHeight = static_cast<unsigned>(height);
  h.cupsBitsPerColor = 8;
  h.cupsBitsPerPixel = order == CUPS_ORDER_CHUNKED ? 8 * inks : 8;
  h.cupsBytesPerLine = static_cast<unsigned>(order == CUPS_ORDER_PLANAR ? width : width * inks);
  h.cupsColorOrder = order;
  h.cupsColorSpace = space;
  h.cupsNumColors = static_cast<unsigned>(inks);
  const auto sample = [&](int ink, int x, int y) { return grey[ink][size_t(y) * width + x]; };
  const int planes = order == CUPS_ORDER_PLANAR ? inks : 1;
  for (int plane = 0; plane < planes; ++plane)
    for (int y = 0; y < height; ++y) {
      std::vector<uint8_t> line(h.cupsBytesPerLine);
      for (int x = 0; x < width; ++x) {
        for (int ink = 0; ink < inks; ++ink) {
          if (order == CUPS_ORDER_CHUNKED) line[size_t(x) * inks + ink] = sample(ink, x, y);
          if (order == CUPS_ORDER_BANDED) line[size_t(ink) * width + x] = sample(ink, x, y);
        }
        if (order == CUPS_ORDER_PLANAR) line[x] = sample(plane, x, y);
      }
      page.lines.push_back(line);
    }
  return page;
}

// The first version has no compression and a shorter header; libcups writes only the later ones.
void WriteFirstVersion(const std::string& path, const std::vector<Page>& pages) {
  std::ofstream file(path, std::ios::binary);
  const uint32_t sync = CUPS_RASTER_SYNCv1;
  file.write(reinterpret_cast<const char*>(&sync), sizeof sync);
  for (const Page& page : pages) {
    file.write(reinterpret_cast<const char*>(&page.header), sizeof(cups_page_header_t));
    for (const auto& line : page.lines)
      file.write(reinterpret_cast<const char*>(line.data()), std::streamsize(line.size()));
  }
}

void WriteRaster(const std::string& path, const std::vector<Page>& pages, int version) {
  if (version == 1) return WriteFirstVersion(path, pages);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  cups_raster_t* raster =
      cupsRasterOpen(fd, version == 2 ? CUPS_RASTER_WRITE_COMPRESSED : CUPS_RASTER_WRITE);
  for (const Page& page : pages) {
    cups_page_header2_t header = page.header;
    ASSERT_TRUE(cupsRasterWriteHeader2(raster, &header));
    for (const auto& line : page.lines) {
      std::vector<uint8_t> copy = line;
      cupsRasterWritePixels(raster, copy.data(), static_cast<unsigned>(copy.size()));
    }
  }
  cupsRasterClose(raster);
  close(fd);
}

std::vector<Page> ReadRaster(const std::string& path) {
  std::vector<Page> pages;
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return pages;
  cups_raster_t* raster = cupsRasterOpen(fd, CUPS_RASTER_READ);
  Page page{};
  while (raster && cupsRasterReadHeader2(raster, &page.header)) {
    const unsigned planes =
        page.header.cupsColorOrder == CUPS_ORDER_PLANAR ? page.header.cupsNumColors : 1;
    page.lines.assign(size_t(page.header.cupsHeight) * planes,
                      std::vector<uint8_t>(page.header.cupsBytesPerLine));
    bool whole = true;
    for (auto& line : page.lines)
      whole = whole && cupsRasterReadPixels(raster, line.data(), page.header.cupsBytesPerLine) ==
                           page.header.cupsBytesPerLine;
    if (!whole) break;
    pages.push_back(page);
  }
  cupsRasterClose(raster);
  close(fd);
  return pages;
}

std::vector<uint8_t> InkAmounts(const Page& page, int ink) {
  const cups_page_header2_t& h = page.header;
  const unsigned bits = h.cupsBitsPerColor, highest = (1u << bits) - 1;
  const int inks = InkCount(h.cupsColorSpace);
  const bool additive = h.cupsColorSpace == CUPS_CSPACE_W || h.cupsColorSpace == CUPS_CSPACE_SW;
  const size_t inkRowBytes = (size_t(h.cupsWidth) * bits + 7) / 8;
  std::vector<uint8_t> amounts;
  for (unsigned y = 0; y < h.cupsHeight; ++y) {
    const bool planar = h.cupsColorOrder == CUPS_ORDER_PLANAR;
    const auto& line = page.lines[planar ? size_t(ink) * h.cupsHeight + y : y];
    for (unsigned x = 0; x < h.cupsWidth; ++x) {
      const size_t offset = h.cupsColorOrder == CUPS_ORDER_CHUNKED ? (size_t(x) * inks + ink) * bits
                            : h.cupsColorOrder == CUPS_ORDER_BANDED
                                ? size_t(ink) * inkRowBytes * 8 + size_t(x) * bits
                                : size_t(x) * bits;
      const unsigned code = Code(line, offset, bits);
      amounts.push_back(static_cast<uint8_t>((additive ? highest - code : code) * 255 / highest));
    }
  }
  return amounts;
}

void ExpectFilterError(const test::ProgramRun& run, const std::string& what,
                       const std::string& part) {
  EXPECT_EQ(run.exitCode, 1) << what << "\n" << run.err;
  EXPECT_NE(run.err.find("ERROR: "), std::string::npos) << what << "\n" << run.err;
  EXPECT_NE(run.err.find(part), std::string::npos) << what << "\n" << run.err;
}

}  // namespace cupstest
