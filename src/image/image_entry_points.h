// The image calls behind the exported image functions: the caller's image or a test pattern,
// chosen by the template type, screened on a grid of cells chosen by the dot mode and packed
// to 1 or 2 bits per pixel. They install the type's tone curve into the state, store the
// template-diffusion choice there and seed the C library's generator (0 for 1 bit, 2000 for
// 2 bits), except that the 2-bit call screens types 39, 40 and 41 straight through their dot
// screens without any of that. Sizes and buffers that cannot be screened are refused (false)
// before a byte is written or the state changes.
#ifndef KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H
#define KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H

#include "core/screening_state.h"

bool ScreenImageOneBit(ScreeningState& state, const unsigned char* source, unsigned char* output,
                       int width, int height, int templateType, int cellWidth, int cellHeight,
                       int dotMode, bool useTemplateDiffusion);

bool ScreenImageTwoBit(ScreeningState& state, const unsigned char* source, unsigned char* output,
                       int width, int height, int templateType, int cellWidth, int cellHeight,
                       int dotMode, bool useTemplateDiffusion);

#endif
