// Template types that the image screening treats apart from the pattern table of the dispatch.
#ifndef KORVEL_IMAGE_TEMPLATE_TYPES_H
#define KORVEL_IMAGE_TEMPLATE_TYPES_H

constexpr int kImageType = 34;     // the caller's image, error-diffused
constexpr int kExtraRowType = 36;  // the ramp screened over one more row, the first dropped

// Template types with a screen of their own; every other type is error-diffused.
constexpr int kSmallDotType = 39;
constexpr int kSmallMediumDotType = 40;
constexpr int kSmallMediumLargeDotType = 41;
constexpr int kMatrixType = 42;

#endif
