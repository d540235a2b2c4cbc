// Golden outputs of the template diffusion: any change to the step, its tables or the packing
// shows up here. Regenerate only for an intended change of output.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <cmath>

#include "interface/globals.h"
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
  GetDiffusedImageData_8Bit(g_defaultState, image.data(), out8.data(), w, h);
  prints += test::Fingerprint(out4) + " " + test::Fingerprint(out8) + "\n";
  EXPECT_EQ(prints,
            "88906ee779c0fb99 2166e66e445f4893 a802dad54614a1b4\n"
            "f1b41074d87bddc2 e480cdfee6a755f9 d7c8aeff363e3823\n"
            "f28f64b7102e223d f5ed0b0ea5022714 aee9bb3807683b78\n"
            "14896abdda7005ff f9dcd2e55088f2ac 97062a7d62e9e71c\n"
            "1cd62114cba9777b\n"
            "effdda564f304fe2 7271d76f4d6e68db\n"
            "1e5ab643dc99c5b7 4020efcd026d16f6\n");
}

}  // namespace
