// The whole-process baseline of bench/compare_cli.sh: read a binary 8-bit PGM, screen it with
// the textbook serpentine Floyd-Steinberg of tools/make/quality/floyd_steinberg.h, write a PBM.
//   textbook_fs IN.pgm OUT.pbm
#include <cstdio>
#include <cstring>
#include <vector>

#include "floyd_steinberg.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: textbook_fs IN.pgm OUT.pbm\n");
    return 2;
  }
  FILE* in = std::fopen(argv[1], "rb");
  int width = 0, height = 0, maxValue = 0;
  if (!in || std::fscanf(in, "P5 %d %d %d", &width, &height, &maxValue) != 3 || maxValue != 255 ||
      std::fgetc(in) == EOF) {
    std::fprintf(stderr, "textbook_fs: %s is not an 8-bit binary PGM\n", argv[1]);
    return 1;
  }
  const size_t inStride = (static_cast<size_t>(width) + 3) & ~size_t{3};
  const size_t outStride = ((static_cast<size_t>(width) + 31) >> 5) * 4;
  std::vector<uint8_t> image(inStride * height), dots(outStride * height);
  for (int y = 0; y < height; ++y)
    if (std::fread(&image[inStride * y], 1, width, in) != static_cast<size_t>(width)) return 1;
  std::fclose(in);

  quality::FloydSteinberg1Bit(image.data(), width, height, dots.data());

  FILE* out = std::fopen(argv[2], "wb");
  if (!out) return 1;
  std::fprintf(out, "P4\n%d %d\n", width, height);
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  for (int y = 0; y < height; ++y) std::fwrite(&dots[outStride * y], 1, rowBytes, out);
  return std::fclose(out) == 0 ? 0 : 1;
}
