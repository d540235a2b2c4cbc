// Multi-plane splits: an area divided between two, three or four 2-bit planes so that every
// pixel is switched on in exactly one plane, the division taken from error-diffused templates.
#include "template/splits.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "core/raster_geometry.h"
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
void BuildBase(const ScreeningState& state, unsigned char* plane, int width, int height,
               int levelIndex) {
  GenerateUniformTemplate(plane, width, height, state.levelAmount[levelIndex], 2);
}

// The partner template, made as the 2-bit export would make it at a percentage.
std::vector<unsigned char> BuildPartner(const ScreeningState& state, int width, int height,
                                        int percent) {
  std::vector<unsigned char> partner(PlaneSize(width, height));
  GenerateUniformTemplate(partner.data(), width, height,
                          state.levelAmount[LevelIndexOfPercent(percent)], 2);
  return partner;
}

// Build the base template in the first plane and a partner template beside it, then hand every
// byte of both (base b, partner p) to `combine`, which writes the planes. Nothing happens for
// an empty area.
template <class Combine>
void CombineWithPartner(const ScreeningState& state, unsigned char* first, int width, int height,
                        int baseIndex, int partnerPercent, Combine combine) {
  const size_t size = PlaneSize(width, height);
  if (size == 0) return;
  BuildBase(state, first, width, height, baseIndex);
  const std::vector<unsigned char> partner = BuildPartner(state, width, height, partnerPercent);
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

bool SplitIntoTwoPlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                        int width, int height) {
  if (!PlanesAccepted(width, height, {first, second})) return false;
  const size_t size = PlaneSize(width, height);
  if (size == 0) return true;
  BuildBase(state, first, width, height, kHalfIndex);
  DoubleRows(first, height, static_cast<size_t>(RowStride(width, 2)));
  for (size_t k = 0; k < size; ++k) second[k] = static_cast<unsigned char>(~first[k]);
  return true;
}

bool SplitIntoThreePlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                          unsigned char* third, int width, int height) {
  if (!PlanesAccepted(width, height, {first, second, third})) return false;
  CombineWithPartner(state, first, width, height, kThirdIndex, kHalfPercent,
                     [=](size_t k, unsigned b, unsigned p) {
                       second[k] = static_cast<unsigned char>(~b & p);
                       third[k] = static_cast<unsigned char>(~(b | p));
                     });
  return true;
}

bool SplitIntoFourPlanes(const ScreeningState& state, unsigned char* first, unsigned char* second,
                         unsigned char* third, unsigned char* fourth, int width, int height) {
  if (!PlanesAccepted(width, height, {first, second, third, fourth})) return false;
  CombineWithPartner(state, first, width, height, kHalfIndex, kPartnerOfFourPercent,
                     [=](size_t k, unsigned b, unsigned p) {
                       first[k] = static_cast<unsigned char>(~b & p);
                       second[k] = static_cast<unsigned char>(~(b | p));
                       third[k] = static_cast<unsigned char>(b & p);
                       fourth[k] = static_cast<unsigned char>(b & ~p);
                     });
  return true;
}
