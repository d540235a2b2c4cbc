// From a template type and dot mode to the halftone engine's algorithm number and factor.
#ifndef KORVEL_IMAGE_TEMPLATE_DISPATCH_H
#define KORVEL_IMAGE_TEMPLATE_DISPATCH_H

#include "core/screening_state.h"

// Enlargement factor of a dot mode: 0..3 give 1, 2, 4, 8; any other value 1.
int EnlargementFactorOfDotMode(int dotMode);

// Fill the width x height intermediate raster (8 bits, stride (width + 3) & ~3, cleared by the
// caller) with the screened dot levels of the template type: the source (copied in first,
// padding included) for types 34, 39..41 and 42 with a source, a test pattern otherwise. Type
// 36 screens one extra row and drops the first (a mid grey when height < 4). The sizes must
// be those the image entry points accept.
void DispatchTemplateType(const ScreeningState& state, const unsigned char* source,
                          unsigned char* intermediate, int width, int height, int templateType,
                          int cellWidth, int cellHeight, int dotMode);

#endif
