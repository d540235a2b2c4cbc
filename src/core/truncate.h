// Conversion of a computed double to int the way the curve and pattern code needs it.
#ifndef KORVEL_CORE_TRUNCATE_H
#define KORVEL_CORE_TRUNCATE_H

#include <cstdint>

// Truncation toward zero, like a C cast, but defined for every input: values beyond the 32-bit
// range saturate and NaN gives 0. Parameter files may hold absurd numbers, and a plain cast of
// an out-of-range double is undefined.
inline int32_t TruncateToInt32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

#endif
