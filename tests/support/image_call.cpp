#include "support/image_call.h"

#include <gtest/gtest.h>
#include <korvel/korvel.h>

namespace test {

Bytes ImageCall(int bits, Bytes image, int width, int height, int type, int cellWidth,
                int cellHeight, int mode, bool templateDiffusion) {
  Bytes out(static_cast<size_t>(Stride(width, bits)) * height, 0xA5);
  const auto call = bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
  EXPECT_EQ(
      call(image.data(), out.data(), width, height, static_cast<__QUENTAL_TEMPLATE_TYPE>(type),
           cellWidth, cellHeight, static_cast<__QUENTAL_DOT_MODE>(mode), templateDiffusion),
      1);
  return out;
}

}  // namespace test
