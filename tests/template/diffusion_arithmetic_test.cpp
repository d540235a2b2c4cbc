// The fixed-point shortcuts of the diffusion step are exact, and tables far outside the full
// scale (which a tone curve may produce) neither overflow nor misbehave.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <climits>

#include "interface/globals.h"
#include "support/raster.h"
#include "template/diffusion_step.h"

namespace {

using test::Bytes;
using test::Stride;

TEST(DiffusionArithmetic, FoldedPercentEqualsTruncatingDivision) {
  for (int64_t e = -(1 << 24); e <= (1 << 24); ++e) {
    const int32_t v = static_cast<int32_t>(e);
    ASSERT_EQ(TemplateDiffusion::PercentOf<44>(v), (44 * v) / 100) << v;
    ASSERT_EQ(TemplateDiffusion::PercentOf<56>(v), (56 * v) / 100) << v;
  }
}

TEST(DiffusionArithmetic, AmountsFarOutsideTheFullScaleStayDefined) {
  // Full scale and beyond gives a dot everywhere, below zero none, however tall the raster;
  // the sanitizer build checks that no arithmetic overflows on the way.
  const int w = 3, h = 20000;
  for (int32_t amount : {2551, 40000, INT_MAX, -1, -40000, INT_MIN}) {
    KORVEL_Init(50);
    g_levelAmount[127] = amount;
    Bytes out(static_cast<size_t>(Stride(w, 1)) * h);
    ASSERT_EQ(KORVEL_GetTempateData_1Bit(out.data(), w, h, 50), 1);
    EXPECT_EQ(test::CountDots(out, w, h, 1), amount > 0 ? int64_t{w} * h : 0) << amount;
    // The image path with the same table, grey 128 selecting entry 127.
    Bytes image(static_cast<size_t>(Stride(w, 8)) * h, 128),
        out4(static_cast<size_t>(Stride(w, 4)) * h);
    ASSERT_EQ(KORVEL_GetImageTempateData_4Bit(image.data(), out4.data(), w, h), 1);
    EXPECT_EQ(test::CountDots(out4, w, h, 4), amount > 0 ? int64_t{w} * h : 0) << amount;
  }
  KORVEL_Init(50);
}

}  // namespace
