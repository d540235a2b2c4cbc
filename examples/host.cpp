// A minimal host of libkorvel: initialise, ask for a uniform 25 % template and a two-plane
// split, and check what came back. Exits 0 when the library behaves as documented.
#include <korvel/korvel.h>

#include <cstdio>
#include <vector>

namespace {

int Stride(int width, int bits) {
  return ((width * bits + 31) >> 5) * 4;
}

int CountSetPixels(const std::vector<unsigned char>& raster, int width, int height, int bits) {
  const int stride = Stride(width, bits);
  const int perByte = 8 / bits;
  const int mask = (1 << bits) - 1;
  int count = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bits * (x % perByte + 1);
      count += ((raster[y * stride + x / perByte] >> shift) & mask) != 0;
    }
  return count;
}

}  // namespace

int main() {
  const int width = 128, height = 64, level = 25;
  KORVEL_Init(50);

  std::vector<unsigned char> dots(Stride(width, 1) * height);
  if (KORVEL_GetTempateData_1Bit(dots.data(), width, height, level) != 1) {
    std::fprintf(stderr, "template refused\n");
    return 1;
  }
  const double coverage = 100.0 * CountSetPixels(dots, width, height, 1) / (width * height);
  std::printf("1-bit template at %d %%: %.2f %% of the pixels carry a dot\n", level, coverage);
  for (int y = 0; y < 4; ++y) {  // a corner of the pattern, '#' for a dot
    for (int x = 0; x < 32; ++x)
      std::putchar(dots[y * Stride(width, 1) + x / 8] >> (7 - x % 8) & 1 ? '#' : '.');
    std::putchar('\n');
  }

  std::vector<unsigned char> first(Stride(width, 2) * height), second(first.size());
  KORVEL_GetTempateData_2Bit_1to2(first.data(), second.data(), width, height);
  const int split =
      CountSetPixels(first, width, height, 2) + CountSetPixels(second, width, height, 2);
  std::printf("two-plane split: %d of %d pixels are on in one plane\n", split, width * height);

  KORVEL_UnInit();
  const bool ok = coverage > level - 2 && coverage < level + 2 && split == width * height;
  std::printf("%s\n", ok ? "korvel example: ok" : "korvel example: unexpected result");
  return ok ? 0 : 1;
}
