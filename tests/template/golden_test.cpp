// Golden outputs of the template diffusion: any change to the step, its tables or the packing
// shows up here. Regenerate only for an intended change of output.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cmath>

#include "support/raster.h"
#include "template/template_generators.h"

namespace {

using test::Bytes;
using test::Stride;

// A smooth grey image with a sharp edge, so restarts and the light rule both act.
Bytes Gradient(int width, int height) {
  Bytes image(static_cast<size_t>(Stride(width, 8)) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const double v = 255.0 * x / (width - 1) * (0.5 + 0.5 * std::sin(y * 0.05));
      image[y * Stride(width, 8) + x] = static_cast<uint8_t>(y > height / 2 ? 255 - v : v);
    }
  return image;
}

TEST(TemplateGolden, TemplatesSplitsAndImagePaths) {
  KORVEL_Init(50);
  const int w = 203, h = 97;
  std::string prints;
  for (int level : {3, 27, 50, 81}) {
    Bytes t1(Stride(w, 1) * h), t2(Stride(w, 2) * h), t4(Stride(w, 4) * h);
    KORVEL_GetTempateData_1Bit(t1.data(), w, h, level);
    KORVEL_GetTempateData_2Bit(t2.data(), w, h, level);
    KORVEL_GetTempateData_4Bit(t4.data(), w, h, level);
    prints +=
        test::Fingerprint(t1) + " " + test::Fingerprint(t2) + " " + test::Fingerprint(t4) + "\n";
  }
  Bytes a(Stride(w, 2) * h), b(a.size()), c(a.size()), d(a.size());
  KORVEL_GetTempateData_2Bit_1to2(a.data(), b.data(), w, h);
  prints += test::Fingerprint(a) + "\n";
  KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), w, h);
  prints += test::Fingerprint(a) + " " + test::Fingerprint(d) + "\n";
  Bytes image = Gradient(w, h), out4(Stride(w, 4) * h), out8(image.size());
  KORVEL_GetImageTempateData_4Bit(image.data(), out4.data(), w, h);
  GetDiffusedImageData_8Bit(out8.data(), image.data(), w, h);
  prints += test::Fingerprint(out4) + " " + test::Fingerprint(out8) + "\n";
  EXPECT_EQ(prints,
            "9c8b2f5fa2e169eb 41f87fe7799ee5c8 e1884a3992d06af6\n"
            "541fe1bb804871f7 94799625fb783060 d939fe98d8bd5666\n"
            "225800a90e96a4d3 6b3ccd23143b3638 e0f4566b64fb01ff\n"
            "2d05aea39e4a812a 0bfde161ebb3cd12 f1ecb24a4c1804d3\n"
            "b92f4dada75fb711\n"
            "816ad8d39f2126d7 ecc9af3c72acf37d\n"
            "8c3486883222d207 7a87491b631910de\n");
}

}  // namespace
