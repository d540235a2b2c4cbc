// A host that screens a CMYK page with four threads, one context per ink: each ink has its own
// quality level and tone curve, and the four inks run at the same time. The page is four
// synthetic 8-bit planes; the screened inks must equal the same inks screened one after another
// and carry more dots where the plane asks for more ink. Exits 0 when all of that holds.
#include <korvel/korvel_context.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kStride8 = kWidth, kStride1 = kWidth / 8;  // tight rows, no padding needed

struct Ink {
  const char* name;
  int quality;
  std::vector<int> curve;  // percent, evenly spread over the input
  std::vector<unsigned char> plane;
  std::vector<unsigned char> screened;
  korvel_status status = KORVEL_OK;
};

// Grey 255 is no ink. Each ink gets its own gradient so the four planes differ.
std::vector<unsigned char> Plane(int ink) {
  std::vector<unsigned char> plane(static_cast<size_t>(kStride8) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int along = ink % 2 == 0 ? x * 255 / (kWidth - 1) : y * 255 / (kHeight - 1);
      plane[static_cast<size_t>(y) * kStride8 + x] =
          static_cast<unsigned char>(ink < 2 ? 255 - along : along);
    }
  return plane;
}

korvel_status ScreenInk(Ink& ink) {
  korvel_context* context = nullptr;
  korvel_status status = korvel_context_create(&context);
  if (status != KORVEL_OK) return status;
  const korvel_image_options caller_image = {KORVEL_TYPE_IMAGE, 1, 1, 0, 0};
  // The curve first: the level then reports on the parameter file only if it reads one.
  status =
      korvel_context_set_tone_curve(context, ink.curve.data(), static_cast<int>(ink.curve.size()));
  if (status == KORVEL_OK) status = korvel_context_set_quality(context, ink.quality);
  ink.screened.assign(static_cast<size_t>(kStride1) * kHeight, 0);
  if (status == KORVEL_OK)
    status = korvel_context_screen_image(context, 1, &caller_image, ink.plane.data(), kStride8,
                                         ink.screened.data(), kStride1, kWidth, kHeight);
  korvel_context_destroy(context);
  return status;
}

int DotsInColumns(const std::vector<unsigned char>& bits, int from, int to) {
  int dots = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = from; x < to; ++x) dots += (bits[y * kStride1 + x / 8] >> (7 - x % 8)) & 1;
  return dots;
}

}  // namespace

int main() {
  std::vector<Ink> inks = {{"cyan", 50, {0, 30, 55, 80, 100}, {}, {}},
                           {"magenta", 70, {0, 25, 50, 75, 100}, {}, {}},
                           {"yellow", 30, {0, 40, 70, 100}, {}, {}},
                           {"black", 90, {0, 10, 35, 65, 100}, {}, {}}};
  for (size_t i = 0; i < inks.size(); ++i) inks[i].plane = Plane(static_cast<int>(i));

  std::vector<std::thread> threads;
  for (Ink& ink : inks) threads.emplace_back([&ink] { ink.status = ScreenInk(ink); });
  for (std::thread& thread : threads) thread.join();

  int failures = 0;
  for (Ink& ink : inks) {
    if (ink.status != KORVEL_OK) {
      std::printf("%s: %s\n", ink.name, korvel_strerror(ink.status));
      ++failures;
      continue;
    }
    const std::vector<unsigned char> concurrent = ink.screened;
    ScreenInk(ink);  // the same ink alone
    const bool same = concurrent == ink.screened;
    // Cyan grows to the right; checked on the one plane whose gradient runs across the columns.
    const int left = DotsInColumns(concurrent, 0, kWidth / 4);
    const int right = DotsInColumns(concurrent, 3 * kWidth / 4, kWidth);
    std::printf("%-8s quality %3d: %7d dots in the left quarter, %7d in the right, %s\n", ink.name,
                ink.quality, left, right,
                same ? "equal to the ink screened alone" : "DIFFERS from the ink screened alone");
    failures += !same;
  }
  if (DotsInColumns(inks[0].screened, 0, kWidth / 4) >=
      DotsInColumns(inks[0].screened, 3 * kWidth / 4, kWidth)) {
    std::printf("cyan does not grow with its plane\n");
    ++failures;
  }
  std::printf(failures == 0 ? "CMYK page screened on four threads: ok\n" : "failed\n");
  return failures == 0 ? 0 : 1;
}
