#include "core/screening_state.h"

#include <cstring>

namespace {

// Entry i = 10 i, built once at compile time.
struct LinearLevelAmount {
  int32_t entries[kLevelCount];
  constexpr LinearLevelAmount() : entries() {
    for (int i = 0; i < kLevelCount; ++i) entries[i] = 10 * i;
  }
};
constexpr LinearLevelAmount kLinearLevelAmount;

}  // namespace

const int32_t (&g_defaultLevelAmount)[kLevelCount] = kLinearLevelAmount.entries;

void ScreeningState::ResetLevelAmount() {
  std::memcpy(levelAmount, g_defaultLevelAmount, sizeof levelAmount);
}
