// A 5 x 7 bitmap font for the labels of the comparison sheet and the test chart: capital letters (small letters
// are drawn as capitals), digits and a little punctuation.
#ifndef KORVEL_TOOLS_QUALITY_BITMAP_FONT_H
#define KORVEL_TOOLS_QUALITY_BITMAP_FONT_H

#include <cstdint>

namespace quality {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// The rows of a character's glyph, top first, bit 4 the left-most column; null for a character
// the font does not hold.
const uint8_t* GlyphRows(char c);

}  // namespace quality

#endif
