// Golden outputs of the exported screening calls: the uniform templates (which the splits and
// the 4-bit image path are checked against) and the image entry points over every template
// type, dot mode and quality-level curve. The expected fingerprints live in
// tests/golden/templates.txt and image_calls.txt (support/golden.h tells how to update them).
#include <gtest/gtest.h>
#include <korvel/korvel.h>

#include <string>

#include "config/data_dir.h"
#include "support/golden.h"
#include "support/image_call.h"
#include "support/raster.h"

namespace {

using test::Bytes;
using test::Stride;

std::string Key(const char* kind, std::initializer_list<int> numbers) {
  std::string key = kind;
  for (int n : numbers) key += "/" + std::to_string(n);
  return key;
}

// The uniform templates, and with them the splits made of them (at 33, 50 and 53 %) and the
// image paths of the same diffusion: a change of the diffusion or its tables shows here.
TEST(Golden, Templates) {
  test::GoldenFile golden("templates");
  KORVEL_Init(50);
  const int w = 203, h = 97;
  for (int bits : {1, 2, 4})
    for (int level : {1, 3, 27, 33, 50, 53, 81, 99}) {
      Bytes out(static_cast<size_t>(Stride(w, bits)) * h);
      const auto fn = bits == 1   ? KORVEL_GetTempateData_1Bit
                      : bits == 2 ? KORVEL_GetTempateData_2Bit
                                  : KORVEL_GetTempateData_4Bit;
      fn(out.data(), w, h, level);
      golden.Check(Key("template", {bits, level}), test::Fingerprint(out));
    }
}

// Every template type at both depths with either screen, on the linear curve (level 0), and the
// curve-dependent types under the built-in curves (-1, type 11) and a parameter file's curve
// and compensation profile (50); cells of several sizes; the test patterns wide and tall.
TEST(Golden, ImageCallsOfEveryTypeModeAndCurve) {
  test::GoldenFile golden("image_calls");
  test::ScopedDataDir dir;
  dir.Write(50,
            "[QNT_CURVE]\r\nEffectiveParams=5\r\nParam1=-3\r\nParam2=20\r\nParam3=45\r\n"
            "Param4=80\r\nParam5=100\r\n[QNT_COMPENSATION]\r\nParam0=0\r\nParam1=10\r\n"
            "Param2=25\r\nParam3=50\r\nParam4=70\r\nParam5=90\r\nParam6=100\r\n");
  const int w = 67, h = 41;
  const Bytes scene = test::RandomScene(w, h, 7);
  for (int quality : {0, -1, 50}) {
    KORVEL_Init(quality);
    for (int bits : {1, 2})
      for (int type = -1; type <= 43; ++type) {
        if (quality != 0 && type != 11 && type != 34 && type != 38) continue;
        for (int td : {0, 1})
          golden.Check(Key("image", {bits, quality, type, td}),
                       test::Fingerprint(test::ImageCall(bits, scene, w, h, type, 1, 1, 0, td)));
      }
  }
  KORVEL_Init(0);
  for (int bits : {1, 2})
    for (int type : {0, 4, 7, 34, 36, 40, 42})
      for (int mode : {1, 2, 3})
        golden.Check(
            Key("cells", {bits, type, mode}),
            test::Fingerprint(test::ImageCall(bits, scene, w, h, type, 3, 2, mode, false)));
  const Bytes tall = test::RandomScene(h, w, 7);  // the line overlay draws steep lines on it
  for (int type : {5, 6, 7})
    golden.Check(Key("tall", {type}),
                 test::Fingerprint(test::ImageCall(1, tall, h, w, type, 1, 1, 0, false)));
}

}  // namespace
