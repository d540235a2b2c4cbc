// A host built with OpenMP: the 2-bit dot screen leaves the calling thread's OpenMP thread
// count at 2 through the host's own runtime, although the library links none.
#include <korvel/korvel.h>
#include <omp.h>

#include <cstdio>
#include <vector>

int main() {
  omp_set_num_threads(5);
  const int width = 64, height = 8;
  std::vector<unsigned char> source(static_cast<size_t>((width + 3) & ~3) * height, 128);
  std::vector<unsigned char> output(static_cast<size_t>(((2 * width + 31) >> 5) * 4) * height);
  KORVEL_Init(50);
  const int screened = KORVEL_GetImageTempateData_2Bit(
      source.data(), output.data(), width, height, static_cast<__QUENTAL_TEMPLATE_TYPE>(39), 1, 1,
      static_cast<__QUENTAL_DOT_MODE>(0), false);
  const int threads = omp_get_max_threads();
  KORVEL_UnInit();
  std::printf("screened %d, OpenMP threads afterwards %d\n", screened, threads);
  return screened == 1 && threads == 2 ? 0 : 1;
}
