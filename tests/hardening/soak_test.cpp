// A long run of mixed calls through every entry point keeps memory flat: nothing leaks and
// nothing grows beyond the lookup tables that are built once.
#include <gtest/gtest.h>
#include <korvel/korvel.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mask/stored_mask.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

// Resident memory means something only without a sanitizer or valgrind in the process (they
// quarantine freed memory); there, their own leak checks take its place.
bool ResidentMemoryIsMeaningful() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  return false;
#endif
  const char* preload = std::getenv("LD_PRELOAD");
  return !(preload && std::strstr(preload, "vgpreload"));
}

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// One call of a kind chosen by the round number, sizes varying with it.
void MixedRound(int round, const Bytes& mask) {
  const int w = 8 + round % 29, h = 4 + round % 13, kind = round % 6, level = round % 101;
  Bytes image = test::RandomScene(w, h, static_cast<uint32_t>(round));
  Bytes a(static_cast<size_t>(Stride(w, 4)) * h), b(a.size()), c(a.size()), d(a.size());
  const auto type = static_cast<__QUENTAL_TEMPLATE_TYPE>(round % 44);
  const auto mode = static_cast<__QUENTAL_DOT_MODE>(round % 4);
  const auto image2 = round % 2 ? KORVEL_GetImageTempateData_1Bit : KORVEL_GetImageTempateData_2Bit;
  if (kind == 0) KORVEL_GetTempateData_4Bit(a.data(), w, h, level);
  if (kind == 1) KORVEL_GetTempateData_2Bit_1to4(a.data(), b.data(), c.data(), d.data(), w, h);
  if (kind == 2) KORVEL_GetImageTempateData_4Bit(image.data(), a.data(), w, h);
  if (kind == 3) image2(image.data(), a.data(), w, h, type, 1 + round % 3, 2, mode, round % 5 == 0);
  if (kind == 4) {
    IDitherMaskGenerator* generator = DitherMaskGenerator_Create();
    generator->LoadMask(mask.data(), static_cast<int>(mask.size()));
    generator->Dither(image.data(), a.data(), Stride(w, 2), w, h, 0, round, -round, 1, 2,
                      1 + round % 2);
    if (round % 3) generator->ReleaseMask();  // else the object frees the mask it holds
    DitherMaskGenerator_Delete(generator);
  }
  if (kind == 5) KORVEL_Init(round % 120 - 10), KORVEL_UnInit();
}

TEST(SlowSoak, MixedCallsKeepMemoryFlat) {
  setenv("KORVEL_DATA_DIR", "/nonexistent-korvel-data", 1);
  const Bytes mask =
      test::StoredMask(1, 4, 4, 15, {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5});
  KORVEL_Init(50);
  for (int round = 0; round < 2000; ++round) MixedRound(round, mask);  // builds lazy tables
  const long before = PeakResidentKiB();
  const char* rounds = std::getenv("KORVEL_SOAK_ROUNDS");
  const int count = rounds ? std::atoi(rounds) : 200000;
  for (int round = 0; round < count; ++round) MixedRound(round, mask);
  const long after = PeakResidentKiB();
  unsetenv("KORVEL_DATA_DIR");
  std::printf("soak: %d rounds, peak resident %ld KiB -> %ld KiB\n", count, before, after);
  if (ResidentMemoryIsMeaningful()) {
    EXPECT_LE(after - before, 2048) << "resident memory grew";
  }
}

}  // namespace
