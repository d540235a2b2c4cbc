// The inputs the screens are judged on: ramps, flat patches, a synthetic smooth scene and the
// photographs in tools/make/quality/photos.
#ifndef KORVEL_TOOLS_QUALITY_TEST_IMAGES_H
#define KORVEL_TOOLS_QUALITY_TEST_IMAGES_H

#include <string>
#include <vector>

#include "quality_metrics.h"

namespace quality {

// Grey 255 at the left (or top) to 0 at the right (or bottom), in even steps.
GreyImage HorizontalRamp(int width, int height);
GreyImage VerticalRamp(int width, int height);

GreyImage FlatPatch(int width, int height, uint8_t grey);

// A smooth, photograph-like scene: shaded blobs over a gradient, with a few soft edges.
// Deterministic.
GreyImage SmoothScene(int width, int height);

// Smooth horizontal bands, 9 to 40 rows tall, whose greys step by 25 to 71 levels from one
// band to the next: short horizontal tone edges, as in a picture blurred along its rows, where
// the screen restarts along the edges and continues elsewhere. Deterministic.
GreyImage HorizontalEdges(int width, int height);

struct NamedImage {
  std::string name;
  GreyImage image;
};

// Every 8-bit PGM photograph that could be read from the folder, by file name (the repository
// holds astronaut, camera and coffee).
std::vector<NamedImage> Photographs(const std::string& folder);

}  // namespace quality

#endif
