// Tone and texture of the image error-diffusion screen (identity tone curve) against a
// textbook serpentine Floyd-Steinberg: ramps, a smooth scene and photographs keep their tone;
// flat light and dark patches start without bands; a photograph's output is golden.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/raster_geometry.h"
#include "floyd_steinberg.h"
#include "image/error_diffusion_screen.h"
#include "interface/globals.h"
#include "quality_metrics.h"
#include "support/raster.h"
#include "test_images.h"

namespace {

using quality::GreyImage;

GreyImage Screen(const GreyImage& image) {
  for (int i = 0; i < kToneCurveSize; ++i) g_toneCurve[i] = i;
  const int stride = Stride8(image.width);
  std::vector<uint8_t> in(static_cast<size_t>(stride) * image.height), out(in.size());
  image.ToRaster(in.data(), stride);
  RunErrorDiffusionScreen(g_defaultState, in.data(), out.data(), image.width, image.height);
  return GreyImage::FromRaster(out.data(), image.width, image.height, stride);
}

std::vector<quality::NamedImage> ToneInputs() {
  std::vector<quality::NamedImage> inputs = {
      {"horizontal ramp", quality::HorizontalRamp(1024, 256)},
      {"vertical ramp", quality::VerticalRamp(256, 1024)},
      {"smooth scene", quality::SmoothScene(512, 512)},
  };
  for (quality::NamedImage& photo :
       quality::Photographs(std::string(KORVEL_SOURCE_DIR) + "/tools/make/quality/photos")) {
    inputs.push_back(std::move(photo));
  }
  return inputs;
}

TEST(ErrorDiffusionQuality, ToneIsKeptOnRampsSmoothImagesAndPhotographs) {
  const std::vector<quality::NamedImage> inputs = ToneInputs();
  ASSERT_EQ(inputs.size(), 6u) << "photographs missing from tools/make/quality/photos";
  for (const quality::NamedImage& input : inputs) {
    const GreyImage ed = Screen(input.image);
    const GreyImage fs = quality::FloydSteinbergSerpentine(input.image);
    EXPECT_LT(std::fabs(quality::MeanToneError(input.image, ed)), 0.5) << input.name;
    EXPECT_LE(quality::BlockMeanError(input.image, ed),
              2 * quality::BlockMeanError(input.image, fs))
        << input.name;
  }
}

TEST(ErrorDiffusionQuality, FlatPatchesStartWithoutBands) {
  // The first rows restart from the tables; they must carry the same ink as the rows below.
  for (int grey : {2, 5, 12, 25, 60, 128, 200, 235, 245, 250, 253}) {
    const GreyImage ed = Screen(quality::FlatPatch(1024, 256, static_cast<uint8_t>(grey)));
    const double ink = 1 - grey / 255.0;
    const double first = quality::InkCoverage(ed, 0, 8), rest = quality::InkCoverage(ed, 8, 256);
    // Allow the sampling spread of the sparse dots of the lightest patches.
    const double tolerance = 0.1 * std::min(ink, 1 - ink) + 0.002;
    EXPECT_NEAR(first, ink, tolerance) << "grey " << grey;
    EXPECT_NEAR(rest, ink, tolerance / 4) << "grey " << grey;
  }
}

TEST(ErrorDiffusionQuality, GoldenPhotograph) {
  const std::vector<quality::NamedImage> photos =
      quality::Photographs(std::string(KORVEL_SOURCE_DIR) + "/tools/make/quality/photos");
  const auto camera = std::find_if(photos.begin(), photos.end(),
                                   [](const quality::NamedImage& p) { return p.name == "camera"; });
  ASSERT_NE(camera, photos.end());
  const GreyImage ed = Screen(camera->image);
  EXPECT_EQ(test::Fingerprint(ed.pixels), "9739e2cd9da11e8a");
}

}  // namespace
