// A long run of mixed calls through every entry point keeps memory flat: nothing leaks and
// nothing grows beyond the lookup tables that are built once.
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/raster.h"

namespace {

// Resident memory is a meaningful measure only without a sanitizer or valgrind in the process
// (they keep freed memory in quarantine); there, their own leak checks take its place.
bool ResidentMemoryIsMeaningful() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  return false;
#endif
#endif
  const char* preload = std::getenv("LD_PRELOAD");
  return !(preload && std::strstr(preload, "vgpreload"));
}

using test::Bytes;
using test::Stride;

long ResidentKiB() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A stored mask of one 4 x 4 plane, encoded as a host would encode it.
Bytes SmallMask() {
  const int32_t words[5 + 16] = {1,  1, 4, 4,  15, 0, 8,  2, 10, 12, 4,
                                 14, 6, 3, 11, 1,  9, 15, 7, 13, 5};
  Bytes mask(sizeof words);
  for (size_t i = 0; i < sizeof words; ++i) mask[i] = reinterpret_cast<const uint8_t*>(words)[i];
  IBufferProc* proc = BufferProc_Create();
  proc->Encode(mask.data(), static_cast<unsigned>(mask.size()));
  BufferProc_Delete(proc);
  return mask;
}

// One round of calls of every kind, sizes varying with the round number.
void MixedRound(int round, const Bytes& mask) {
  const int w = 8 + round % 29, h = 4 + round % 13;
  Bytes image(static_cast<size_t>(Stride(w, 8)) * h);
  for (size_t k = 0; k < image.size(); ++k) image[k] = static_cast<uint8_t>(k * 31 + round);
  Bytes a(static_cast<size_t>(Stride(w, 4)) * h), b(a.size()), c(a.size()), d(a.size());
  switch (round % 8) {
    case 0:
      KORVEL_GetTempateData_1Bit(a.data(), w, h, round % 101);
      break;
    case 1:
      KORVEL_GetTempateData_4Bit(a.data(), w, h, round % 101);
      break;
    case 2:
      KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), w, h);
      break;
    case 3:
      KORVEL_GetImageTempateData_4Bit(image.data(), a.data(), w, h);
      break;
    case 4:
    case 5: {
      const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(round % 44);
      const auto mode = static_cast<__QUENTAL_DOT_MODE>(round % 4);
      const auto fn =
          round % 8 == 4 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
      fn(image.data(), a.data(), w, h, type, 1 + round % 3, 1 + round % 2, mode, round % 16 == 5);
      break;
    }
    case 6: {
      IDitherMaskGenerator* generator = DitherMaskGenerator_Create();
      generator->LoadMask(mask.data(), static_cast<int>(mask.size()));
      generator->Dither(image.data(), a.data(), Stride(w, 2), w, h, 0, round, -round, 1, 2,
                        1 + round % 2);
      if (round % 3) generator->ReleaseMask();  // else the object frees the mask it holds
      DitherMaskGenerator_Delete(generator);
      break;
    }
    default:
      KORVEL_Init(round % 120 - 10);
      KORVEL_UnInit();
      break;
  }
}

TEST(SlowSoak, HundredsOfThousandsOfMixedCallsKeepMemoryFlat) {
  setenv("KORVEL_DATA_DIR", "/nonexistent-korvel-data", 1);
  const Bytes mask = SmallMask();
  KORVEL_Init(50);
  for (int round = 0; round < 2000; ++round) MixedRound(round, mask);  // builds lazy tables
  const long before = ResidentKiB();
  const int rounds =
      std::getenv("KORVEL_SOAK_ROUNDS") ? std::atoi(std::getenv("KORVEL_SOAK_ROUNDS")) : 300000;
  for (int round = 0; round < rounds; ++round) MixedRound(round, mask);
  const long after = ResidentKiB();
  unsetenv("KORVEL_DATA_DIR");
  std::printf("soak: %d rounds, resident %ld KiB -> %ld KiB\n", rounds, before, after);
  if (ResidentMemoryIsMeaningful()) {
    EXPECT_LE(after - before, 2048) << "resident memory grew";
  }
}

}  // namespace
