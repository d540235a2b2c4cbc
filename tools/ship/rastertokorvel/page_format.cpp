#include "page_format.h"

#include <cstring>

#include "tool_error.h"

namespace {

// The colour space and order fields are enums that a damaged header may fill with any value;
// they are read as the unsigned numbers they are stored as, never as enum values.
template <typename Enum>
unsigned StoredNumber(const Enum& field) {
  static_assert(sizeof(Enum) == sizeof(unsigned), "an enum field of a raster header");
  unsigned number = 0;
  std::memcpy(&number, &field, sizeof number);
  return number;
}

constexpr unsigned kInputBits = 8;

std::string InksOf(unsigned space) {
  switch (space) {
    case CUPS_CSPACE_K:
    case CUPS_CSPACE_W:
    case CUPS_CSPACE_SW:
      return "K";
    case CUPS_CSPACE_CMYK:
      return "CMYK";
    case CUPS_CSPACE_KCMY:
      return "KCMY";
    default:
      throw ToolError("colour space " + std::to_string(space) +
                      " is not supported (K, W, SW, CMYK and KCMY are)");
  }
}

std::string OrderName(cups_order_t order) {
  switch (order) {
    case CUPS_ORDER_CHUNKED:
      return "chunked";
    case CUPS_ORDER_BANDED:
      return "banded";
    default:
      return "planar";
  }
}

size_t ExpectedInputBytesPerLine(const PageFormat& format) {
  const size_t width = static_cast<size_t>(format.width);
  return format.order == CUPS_ORDER_CHUNKED || format.order == CUPS_ORDER_BANDED
             ? width * format.InkCount()
             : width;
}

void CheckSize(const cups_page_header2_t& header) {
  if (header.cupsWidth == 0 || header.cupsHeight == 0)
    throw ToolError("the page has no pixels (" + std::to_string(header.cupsWidth) + "x" +
                    std::to_string(header.cupsHeight) + ")");
  if (header.cupsWidth > kMostPageWidth || header.cupsHeight > kMostPageHeight)
    throw ToolError("the page is too large: " + std::to_string(header.cupsWidth) + "x" +
                    std::to_string(header.cupsHeight) + " pixels (at most " +
                    std::to_string(kMostPageWidth) + "x" + std::to_string(kMostPageHeight) + ")");
}

}  // namespace

size_t PageFormat::InkRowBytes() const {
  return (static_cast<size_t>(width) * outputBits + 7) / 8;
}

size_t PageFormat::OutputBytesPerLine() const {
  switch (order) {
    case CUPS_ORDER_CHUNKED:
      return (static_cast<size_t>(width) * outputBits * InkCount() + 7) / 8;
    case CUPS_ORDER_BANDED:
      return InkRowBytes() * InkCount();
    default:
      return InkRowBytes();
  }
}

PageFormat PageFormatOf(const cups_page_header2_t& header, int outputBits) {
  if (header.cupsBitsPerColor != kInputBits)
    throw ToolError("the page has " + std::to_string(header.cupsBitsPerColor) +
                    " bits per colour; the filter screens 8");
  const unsigned order = StoredNumber(header.cupsColorOrder);
  const unsigned space = StoredNumber(header.cupsColorSpace);
  if (order != CUPS_ORDER_CHUNKED && order != CUPS_ORDER_BANDED && order != CUPS_ORDER_PLANAR)
    throw ToolError("unknown colour order " + std::to_string(order));
  CheckSize(header);
  PageFormat format;
  format.inks = InksOf(space);
  format.additive = space == CUPS_CSPACE_W || space == CUPS_CSPACE_SW;
  format.order = static_cast<cups_order_t>(order);
  format.width = static_cast<int>(header.cupsWidth);
  format.height = static_cast<int>(header.cupsHeight);
  format.outputBits = outputBits;
  format.inputBytesPerLine = ExpectedInputBytesPerLine(format);
  const unsigned bitsPerPixel =
      format.order == CUPS_ORDER_CHUNKED ? kInputBits * format.InkCount() : kInputBits;
  if (header.cupsBitsPerPixel != bitsPerPixel ||
      header.cupsBytesPerLine != format.inputBytesPerLine)
    throw ToolError("the page header is inconsistent: " + std::to_string(header.cupsBitsPerPixel) +
                    " bits per pixel and " + std::to_string(header.cupsBytesPerLine) +
                    " bytes per line for " + std::to_string(format.width) + " pixels of " +
                    Describe(format));
  return format;
}

cups_page_header2_t OutputHeader(const cups_page_header2_t& input, const PageFormat& format) {
  cups_page_header2_t output = input;
  output.cupsBitsPerColor = static_cast<unsigned>(format.outputBits);
  output.cupsBitsPerPixel = static_cast<unsigned>(format.order == CUPS_ORDER_CHUNKED
                                                      ? format.outputBits * format.InkCount()
                                                      : format.outputBits);
  output.cupsBytesPerLine = static_cast<unsigned>(format.OutputBytesPerLine());
  output.cupsNumColors = static_cast<unsigned>(format.InkCount());
  return output;
}

std::string Describe(const PageFormat& format) {
  const std::string space = format.additive ? "grey" : format.inks;
  return space + " " + OrderName(format.order);
}
