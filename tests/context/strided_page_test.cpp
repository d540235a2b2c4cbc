// A page screened at the host's strides gives, row by row, the bytes of the same page screened at
// the packed strides from a packed copy of its rows: every image type, the test patterns, the
// caller's image and the 4-bit image path, at strides narrower than, equal to and wider than the
// packed rows. The reference is the plain copy a host would make itself: each source row's bytes
// up to the stride, then white; each output row's first min(stride, packed) bytes, the rest left
// alone.
#include <gtest/gtest.h>
#include <korvel/korvel_context.h>

#include <algorithm>
#include <string>

#include "support/context.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::SomeStride;
using test::Stride;

// Bytes after the last output row, which no call may write.
constexpr size_t kGuardBytes = 16;

struct Page {
  int bits;
  korvel_image_options options;
  int width, height;
  size_t sourceStride, outputStride;
  bool hasSource;
  Bytes image;   // sourceStride apart, random bytes past the width
  Bytes output;  // outputStride apart, random bytes the call may leave as they were, and a guard
  // The 2-bit dot screens on the image leave the bytes of a row after its last pixel alone;
  // every other call writes the whole packed row.
  bool KeepsBytesPastThePixels() const {
    const int type = options.template_type;
    return bits == 2 && hasSource && (type == 39 || type == 40 || type == 41);
  }
  std::string Describe() const {
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + ", strides " +
                             std::to_string(sourceStride) + "/" + std::to_string(outputStride);
    if (bits == 4) return "4 bits, " + size;
    return std::to_string(bits) + " bits, type " + std::to_string(options.template_type) +
           (hasSource ? "" : " (no source)") + ", cells " + std::to_string(options.cell_width) +
           "x" + std::to_string(options.cell_height) + " mode " + std::to_string(options.dot_mode) +
           ", " + size;
  }
};

// The call of a page's depth: the 4-bit path, or the 1- and 2-bit image screen.
korvel_status Screen(korvel_context* context, const Page& page, const unsigned char* source,
                     size_t sourceStride, unsigned char* output, size_t outputStride) {
  if (page.bits == 4)
    return korvel_context_screen_image_4bit(context, source, sourceStride, output, outputStride,
                                            page.width, page.height);
  return korvel_context_screen_image(context, page.bits, &page.options,
                                     page.hasSource ? source : nullptr, sourceStride, output,
                                     outputStride, page.width, page.height);
}

Page RandomPage(test::Random& random) {
  // Patterns of every kind (ramps, bars, lines, the row-shifted 36, the 257 matrix on pattern
  // 0), and the caller's image through every screen.
  const int types[] = {0, 4, 9, 12, 36, 38, 34, 39, 40, 41, 42, 42};
  Page page;
  const int depths[] = {1, 2, 4};
  page.bits = depths[random.Below(3)];
  const int type = types[random.Below(12)];
  page.options = {type, 1 + random.Below(3), 1 + random.Below(3),
                  random.Below(4) == 0 ? random.Below(4) : 0, random.Below(4) == 0};
  page.width = random.Below(3) == 0 ? 1 + random.Below(7) : 8 + random.Below(60);
  page.height = 1 + random.Below(type == 36 ? 8 : 40);
  page.hasSource = page.bits == 4 || type == 34 || type == 39 || type == 40 || type == 41 ||
                   (type == 42 && random.Below(2) == 0);
  page.sourceStride = SomeStride(random, page.width, 8);
  page.outputStride = SomeStride(random, page.width, page.bits);
  page.image = test::RandomSceneAtStride(random, page.width, page.height, page.sourceStride);
  page.output = test::RandomBytes(random, page.outputStride * page.height + kGuardBytes);
  return page;
}

// The page through packed copies of its rows.
Bytes ThroughPackedCopies(korvel_context* context, const Page& page) {
  const size_t packedIn = Stride(page.width, 8), packedOut = Stride(page.width, page.bits);
  const size_t takenIn = std::min(page.sourceStride, packedIn);
  const size_t takenOut = std::min(page.outputStride, packedOut);
  // Bytes a call must write start as a marker, so that one it leaves alone shows.
  Bytes source(packedIn * page.height, 255), packed(packedOut * page.height, 0x5A);
  for (int y = 0; y < page.height; ++y) {
    std::copy_n(&page.image[page.sourceStride * y], takenIn, &source[packedIn * y]);
    if (page.KeepsBytesPastThePixels())
      std::copy_n(&page.output[page.outputStride * y], takenOut, &packed[packedOut * y]);
  }
  EXPECT_EQ(Screen(context, page, source.data(), packedIn, packed.data(), packedOut), KORVEL_OK);
  Bytes output = page.output;
  for (int y = 0; y < page.height; ++y)
    std::copy_n(&packed[packedOut * y], takenOut, &output[page.outputStride * y]);
  return output;
}

TEST(StridedPage, EveryImageCallAtAnyStrideGivesTheRowsOfThePackedCall) {
  test::Random random{1206};
  const test::Context strided = test::NewContext(0), packed = test::NewContext(0);
  for (int round = 0; round < 600; ++round) {
    const Page page = RandomPage(random);
    Bytes output = page.output;
    ASSERT_EQ(Screen(strided.get(), page, page.image.data(), page.sourceStride, output.data(),
                     page.outputStride),
              KORVEL_OK);
    ASSERT_EQ(output, ThroughPackedCopies(packed.get(), page)) << page.Describe();
  }
}

}  // namespace
