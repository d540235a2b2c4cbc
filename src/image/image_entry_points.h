// The image calls behind the exported image functions: the caller's image or a test pattern,
// chosen by the template type, screened on a grid of cells chosen by the dot mode and packed
// to 1 or 2 bits per pixel. They install the type's tone curve into the state, store the
// template-diffusion choice there and seed the C library's generator (0 for 1 bit, 2000 for
// 2 bits), except that the 2-bit call screens types 39, 40 and 41 straight through their dot
// screens without any of that. The caller's image (types 34, 39 to 42) goes through the image
// row stream, one row at a time; the test patterns through the halftone engine on the whole
// area. Sizes and buffers that cannot be screened are refused (false) before a byte is written
// or the state changes.
#ifndef KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H
#define KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H

#include <memory>

#include "core/screening_state.h"
#include "image/image_row_stream.h"

// Whether a template type screens the caller's image (and so needs a source).
bool ImageTypeReadsSource(int templateType);

// The sizes every image call needs: width, height and the cell factors at least 1, and the
// largest working raster within INT_MAX bytes.
bool ImageSizeAccepted(int width, int height, int cellWidth, int cellHeight);

// Whether an image call can be screened as a row stream: 1 or 2 bits of the caller's image,
// that is template types 34, 39, 40, 41 and 42 (with a source).
bool ImageCallStreams(int bitsPerPixel, int templateType);

// The streaming form of ScreenImage of the caller's image: prepares the state exactly as that call
// does and returns the stream of its rows, or null for a call that does not stream or sizes it
// refuses. The whole-page calls of the caller's image run through the same stream.
std::unique_ptr<ImageRowStream> BeginImageStream(ScreeningState& state, int bitsPerPixel, int width,
                                                 int height, int templateType, int cellWidth,
                                                 int cellHeight, int dotMode,
                                                 bool useTemplateDiffusion);

// The 1-bit (bitsPerPixel 1) or 2-bit (2) image call: the caller's image or a test pattern
// screened into the packed output. False, writing nothing, for arguments it refuses.
bool ScreenImage(ScreeningState& state, int bitsPerPixel, const unsigned char* source,
                 unsigned char* output, int width, int height, int templateType, int cellWidth,
                 int cellHeight, int dotMode, bool useTemplateDiffusion);

#endif
