// The image calls behind the exported image functions and the context's image screen: the
// caller's image or a test pattern, chosen by the template type, screened on a grid of cells
// chosen by the dot mode and packed to 1 or 2 bits per pixel. They install the type's tone curve
// into the state, store the template-diffusion choice there and seed the state's generator (0
// for 1 bit, 2000 for 2 bits), except that the 2-bit call screens types 39, 40 and 41 straight
// through their dot screens without any of that. The caller's image (types 34, 39 to 42) goes
// through the image row stream, one row at a time at the host's strides; the test patterns
// through the halftone engine on the whole area, packed straight into the host's rows. Each
// caller checks its arguments once, before anything is written or the state changes; the calls
// here take them as checked.
#ifndef KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H
#define KORVEL_IMAGE_IMAGE_ENTRY_POINTS_H

#include <cstddef>
#include <memory>

#include "core/screening_state.h"
#include "image/image_row_stream.h"

// Whether a template type screens the caller's image (and so needs a source).
bool ImageTypeReadsSource(int templateType);

// The sizes every image call needs: width, height and the cell factors at least 1, and the
// largest working raster within INT_MAX bytes.
bool ImageSizeAccepted(int width, int height, int cellWidth, int cellHeight);

// The sizes and buffers the exported image calls need (packed strides); anything else is
// refused before a byte is written or the state changes.
bool ImageCallAccepted(const unsigned char* source, const unsigned char* output, int width,
                       int height, int templateType, int cellWidth, int cellHeight);

// Whether an image call can be screened as a row stream: 1 or 2 bits of the caller's image,
// that is template types 34, 39, 40, 41 and 42 (with a source).
bool ImageCallStreams(int bitsPerPixel, int templateType);

// The streaming form of ScreenImage of the caller's image: prepares the state exactly as that call
// does and returns the stream of its rows. Needs ImageCallStreams and ImageSizeAccepted. The
// whole-page calls of the caller's image run through the same stream.
std::unique_ptr<ImageRowStream> BeginImageStream(ScreeningState& state, int bitsPerPixel, int width,
                                                 int height, int templateType, int cellWidth,
                                                 int cellHeight, int dotMode,
                                                 bool useTemplateDiffusion);

// The 1-bit (bitsPerPixel 1) or 2-bit (2) image call: the caller's image (rows sourceStride
// apart; null for a type that does not read it) or a test pattern screened into the output
// (rows outputStride apart). Each output row receives the first min(outputStride, packed
// stride) bytes of its packed row; a source row narrower than the packed 8-bit row is read as
// if white (255) followed. Needs the sizes ImageSizeAccepted takes, strides that hold a row of
// the width, an output, and a source for the types that read one.
void ScreenImage(ScreeningState& state, int bitsPerPixel, const unsigned char* source,
                 size_t sourceStride, unsigned char* output, size_t outputStride, int width,
                 int height, int templateType, int cellWidth, int cellHeight, int dotMode,
                 bool useTemplateDiffusion);

#endif
