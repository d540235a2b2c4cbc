#include "config/curve_file_check.h"

#include "config/tone_curve.h"

namespace {

bool IsPlain(const std::optional<IniValue>& entry) {
  return entry && entry->plain;
}

}  // namespace

bool HoldsUsableCurve(const PassParamFile& file) {
  if (!file.loaded()) return false;
  const IniSection curve = file.Section(kCurveSection);
  const std::optional<IniValue> count = curve.Find(kCurveCountKey);
  if (!IsPlain(count) || count->value < kFewestCurvePoints || count->value > kMostCurvePoints)
    return false;
  for (int k = 1; k <= count->value; ++k)
    if (!IsPlain(curve.Find(ParamKey(k)))) return false;
  return true;
}
