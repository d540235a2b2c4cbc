// Moving rows between CUPS raster lines and the library's one-ink rows: the 8-bit samples of
// one ink out of an input line, and the screened rows of the inks into an output line.
#ifndef KORVEL_FILTER_ROW_PACKING_H
#define KORVEL_FILTER_ROW_PACKING_H

#include <cstddef>
#include <cstdint>

#include "page_format.h"

// The grey samples (255 is white) of ink `ink` of an input line: a line of all inks when the
// order is chunked or banded, of that ink alone when it is planar.
void ExtractInk(const PageFormat& format, const uint8_t* line, int ink, uint8_t* grey);

// Clears the bits past the last pixel of a packed row of dot codes.
void ClearPastWidth(const PageFormat& format, uint8_t* dots);

// Bytes an output line buffer needs: OutputBytesPerLine() and the slack the packing writes.
size_t OutputLineCapacity(const PageFormat& format);

// The output line of the screened rows of every ink (dots[ink], packed dot codes with the bits
// past the width cleared), chunked or banded, in the page's polarity.
void PackLine(const PageFormat& format, const uint8_t* const* dots, uint8_t* line);

// The output line of one ink of a planar page, in the page's polarity.
void PackPlane(const PageFormat& format, const uint8_t* dots, uint8_t* line);

#endif
