// Every exported entry point with arbitrary sizes, levels, template types, dot modes, cell
// factors and flags, within a memory cap. Buffers are exactly as large as the call may touch,
// so AddressSanitizer sees any access outside them.
#include <korvel/korvel.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"

namespace {

int64_t StrideOf(int64_t width, int bits) {
  return ((width * bits + 31) >> 5) * 4;
}

// A buffer for width x height at `bits`, or empty when the size is refused or too large to fuzz.
constexpr int64_t kCap = 4 << 20;
bool Sized(std::vector<uint8_t>& buffer, int width, int height, int bits, uint8_t fill) {
  if (width < 0 || height < 0) return true;  // the call must refuse without touching memory
  const int64_t size = StrideOf(width, bits) * height;
  if (size > kCap) return false;
  buffer.assign(static_cast<size_t>(size), fill);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const int call = in.Small(8);
  const int width = in.Dimension(300), height = in.Dimension(300);
  std::vector<uint8_t> a, b, c, d, src;
  if (in.Next8() == 0)
    KORVEL_Init(static_cast<int>(in.Next32()));
  else
    KORVEL_Init(50);
  switch (call) {
    case 0:
    case 1:
    case 2: {
      const int bits = 1 << call;
      if (!Sized(a, width, height, bits, 0)) return 0;
      const int level = in.Next8() < 200 ? in.Small(101) : static_cast<int>(in.Next32());
      const auto fn = call == 0   ? KORVEL_GetTempateData_1Bit
                      : call == 1 ? KORVEL_GetTempateData_2Bit
                                  : KORVEL_GetTempateData_4Bit;
      fn(Data(a), width, height, level);
      break;
    }
    case 3:
      if (!Sized(a, width, height, 2, 0) || !Sized(b, width, height, 2, 0) ||
          !Sized(c, width, height, 2, 0) || !Sized(d, width, height, 2, 0))
        return 0;
      KORVEL_GetTempateData_2Bit_1to2(Data(a), Data(b), width, height);
      KORVEL_GetTempateData_2Bit_1to3(Data(a), Data(b), Data(c), width, height);
      KORVEL_GetTempateData_2Bit_1to4(Data(a), Data(b), Data(c), Data(d), width, height);
      KORVEL_GetTempateData_1Bit_1to4(Data(a), Data(b), Data(c), Data(d), width, height);
      break;
    case 4:
      if (!Sized(src, width, height, 8, 0) || !Sized(a, width, height, 4, 0)) return 0;
      for (size_t k = 0; k < src.size(); ++k) src[k] = in.Next8();
      KORVEL_GetImageTempateData_4Bit(Data(src), Data(a), width, height);
      break;
    default: {
      const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(
          in.Next8() < 230 ? in.Small(44) - 1 : static_cast<int>(in.Next32()));
      const int cellWidth = in.Next8() < 230 ? in.Small(12) + 1 : static_cast<int>(in.Next32());
      const int cellHeight = in.Next8() < 230 ? in.Small(12) + 1 : static_cast<int>(in.Next32());
      const auto mode = static_cast<__QUENTAL_DOT_MODE>(in.Small(6) - 1);
      const bool diffusion = in.Next8() & 1;
      const int bits = call == 5 ? 1 : 2;
      if (TallPatternTooCostly(width, height)) return 0;
      if (!Sized(src, width, height, 8, 0) || !Sized(a, width, height, bits, 0)) return 0;
      for (size_t k = 0; k < src.size() && k < 4096; ++k) src[k] = in.Next8();
      const bool noSource = in.Next8() == 0;
      const auto fn = bits == 1 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
      fn(noSource ? nullptr : Data(src), Data(a), width, height, type, cellWidth, cellHeight, mode,
         diffusion);
      break;
    }
  }
  KORVEL_UnInit();
  return 0;
}
