// Multi-plane splits: an area divided between two, three or four 2-bit planes so that every
// pixel is switched on in exactly one plane, the division taken from error-diffused templates.
#include <korvel/korvel.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "interface/globals.h"
#include "template/raster_geometry.h"
#include "template/template_generators.h"

namespace {

// Level indices of the base templates and percentages of the partner templates.
constexpr int kHalfIndex = 127;  // what 50 % maps to
constexpr int kThirdIndex = 84;  // what 33 % maps to
constexpr int kHalfPercent = 50;
constexpr int kPartnerOfFourPercent = 53;

bool PlanesAccepted(int width, int height, std::initializer_list<const unsigned char*> planes) {
  if (!RasterFits(width, height, 2)) return false;
  for (const unsigned char* plane : planes)
    if (!BufferUsable(plane, width, height)) return false;
  return true;
}

size_t PlaneSize(int width, int height) {
  return static_cast<size_t>(RowStride(width, 2)) * static_cast<size_t>(height);
}

// The base template: the 2-bit generator at a fixed level index, straight into the first plane.
void BuildBase(unsigned char* plane, int width, int height, int levelIndex) {
  GenerateUniformTemplate(plane, width, height, g_levelAmount[levelIndex], 2);
}

// The partner template, made as the 2-bit export would make it at a percentage.
std::vector<unsigned char> BuildPartner(int width, int height, int percent) {
  std::vector<unsigned char> partner(PlaneSize(width, height));
  GenerateUniformTemplate(partner.data(), width, height,
                          g_levelAmount[LevelIndexOfPercent(percent)], 2);
  return partner;
}

// Build the base template in the first plane and a partner template beside it, then hand every
// byte of both (base b, partner p) to `combine`, which writes the planes. Nothing happens for
// an empty area.
template <class Combine>
void CombineWithPartner(unsigned char* first, int width, int height, int baseIndex,
                        int partnerPercent, Combine combine) {
  const size_t size = PlaneSize(width, height);
  if (size == 0) return;
  BuildBase(first, width, height, baseIndex);
  const std::vector<unsigned char> partner = BuildPartner(width, height, partnerPercent);
  for (size_t k = 0; k < size; ++k) combine(k, first[k], partner[k]);
}

// Rows 2i and 2i + 1 take row i of the generated template; an odd last row repeats the row
// above. Done in place from the bottom up, so every source row is read before it is replaced.
// A single row keeps the generated row 0.
void DoubleRows(unsigned char* plane, int height, size_t stride) {
  const int half = height / 2;
  for (int i = half - 1; i >= 0; --i) {
    const unsigned char* source = plane + stride * i;
    std::memmove(plane + stride * (2 * i + 1), source, stride);
    if (i > 0) std::memcpy(plane + stride * (2 * i), source, stride);
  }
  if ((height & 1) && height >= 3)
    std::memcpy(plane + stride * (height - 1), plane + stride * (height - 2), stride);
}

}  // namespace

// The 1-bit splits are one body under three names: they read nothing and write nothing.
static int NoOneBitSplit() {
  return 1;
}

int KORVEL_GetTempateData_1Bit_1to2(unsigned char*, unsigned char*, int, int) {
  return NoOneBitSplit();
}
int KORVEL_GetTempateData_1Bit_1to3(unsigned char*, unsigned char*, unsigned char*, int, int) {
  return NoOneBitSplit();
}
int KORVEL_GetTempateData_1Bit_1to4(unsigned char*, unsigned char*, unsigned char*, unsigned char*,
                                    int, int) {
  return NoOneBitSplit();
}

int KORVEL_GetTempateData_2Bit_1to2(unsigned char* first, unsigned char* second, int width,
                                    int height) {
  if (!PlanesAccepted(width, height, {first, second})) return 0;
  const size_t size = PlaneSize(width, height);
  if (size == 0) return 1;
  BuildBase(first, width, height, kHalfIndex);
  DoubleRows(first, height, static_cast<size_t>(RowStride(width, 2)));
  for (size_t k = 0; k < size; ++k) second[k] = static_cast<unsigned char>(~first[k]);
  return 1;
}

int KORVEL_GetTempateData_2Bit_1to3(unsigned char* first, unsigned char* second,
                                    unsigned char* third, int width, int height) {
  if (!PlanesAccepted(width, height, {first, second, third})) return 0;
  CombineWithPartner(first, width, height, kThirdIndex, kHalfPercent,
                     [=](size_t k, unsigned b, unsigned p) {
                       second[k] = static_cast<unsigned char>(~b & p);
                       third[k] = static_cast<unsigned char>(~(b | p));
                     });
  return 1;
}

int KORVEL_GetTempateData_2Bit_1to4(unsigned char* first, unsigned char* second,
                                    unsigned char* third, unsigned char* fourth, int width,
                                    int height) {
  if (!PlanesAccepted(width, height, {first, second, third, fourth})) return 0;
  CombineWithPartner(first, width, height, kHalfIndex, kPartnerOfFourPercent,
                     [=](size_t k, unsigned b, unsigned p) {
                       first[k] = static_cast<unsigned char>(~b & p);
                       second[k] = static_cast<unsigned char>(~(b | p));
                       third[k] = static_cast<unsigned char>(b & p);
                       fourth[k] = static_cast<unsigned char>(b & ~p);
                     });
  return 1;
}
