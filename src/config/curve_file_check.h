// Whether a parameter file gives a tone curve that is used as written. The reader makes the best
// of any file (a missing file, key or number reads as 0, a count outside the curve's range as no
// curve), which screens a blank or nearly blank page; a host asks this first and refuses the
// file instead.
#ifndef KORVEL_CONFIG_CURVE_FILE_CHECK_H
#define KORVEL_CONFIG_CURVE_FILE_CHECK_H

#include "config/pass_param_file.h"

// True when the file was read and its curve section holds a whole-number point count of 3 to
// 2551 and a whole-number value for every one of Param1 .. Param<count>.
bool HoldsUsableCurve(const PassParamFile& file);

#endif
