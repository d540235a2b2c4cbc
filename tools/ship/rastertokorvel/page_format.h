// The pages the filter screens and the pages it writes. In: 8 bits per colour, grey (K, W, SW)
// or four inks (CMYK, KCMY), chunked, banded or planar. Out: the same colour space, order and
// geometry at 1 or 2 bits per colour.
//
// Polarity. korvel reads grey with 255 as paper white and writes dot codes with 0 as no dot. W
// and SW samples are additive (255 is white) and go in as they are; K, CMYK and KCMY samples
// are ink amounts (0 is white) and go in inverted. On the way out, a set bit or high value is
// ink in K, CMYK and KCMY, so dot codes go out as they are; in W and SW 0 is black, so a full
// dot is written as 0 and no dot as the highest value.
#ifndef KORVEL_FILTER_PAGE_FORMAT_H
#define KORVEL_FILTER_PAGE_FORMAT_H

#include <cups/raster.h>

#include <cstddef>
#include <string>

// Limits on what a page header may declare, so that a damaged or hostile header cannot make
// the filter allocate without bound: 65536 pixels is over 54 inches at 1200 dpi.
constexpr unsigned kMostPageWidth = 65536;
constexpr unsigned kMostPageHeight = 1u << 20;

struct PageFormat {
  int width = 0;
  int height = 0;
  std::string inks;       // the inks in sample order: "K", "CMYK" or "KCMY"
  bool additive = false;  // W and SW: 255 (in) and the highest code (out) are white
  cups_order_t order = CUPS_ORDER_CHUNKED;
  size_t inputBytesPerLine = 0;  // one row of all inks (chunked, banded) or of one (planar)
  int outputBits = 1;

  int InkCount() const { return static_cast<int>(inks.size()); }
  // Bytes of one packed row of one ink at the output bits.
  size_t InkRowBytes() const;
  // Bytes the output header declares per line.
  size_t OutputBytesPerLine() const;
};

// The format of a page, or throws ToolError naming what the filter cannot screen.
PageFormat PageFormatOf(const cups_page_header2_t& header, int outputBits);

// The header of the screened page: the input's, with the bits per colour, bits per pixel and
// bytes per line of the output.
cups_page_header2_t OutputHeader(const cups_page_header2_t& input, const PageFormat& format);

// "CMYK chunked", for messages.
std::string Describe(const PageFormat& format);

#endif
