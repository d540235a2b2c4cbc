// Multi-plane splits: an area divided between two, three or four 2-bit planes so that every
// pixel is switched on in exactly one plane, the division taken from error-diffused templates
// made at the amounts of the state's level table. Each refuses (false, nothing written) a
// raster size that does not fit or a missing plane of a non-empty area.
#ifndef KORVEL_TEMPLATE_SPLITS_H
#define KORVEL_TEMPLATE_SPLITS_H

#include "core/screening_state.h"

// The 50 % template with its rows doubled, and its complement.
bool SplitIntoTwoPlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                        int width, int height);

// The 33 % template, and the 50 % template divided over what it leaves.
bool SplitIntoThreePlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                          unsigned char* third, int width, int height);

// The four combinations of the 50 % and 53 % templates.
bool SplitIntoFourPlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                         unsigned char* third, unsigned char* fourth, int width, int height);

#endif
