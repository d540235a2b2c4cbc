// The filter's settings from the job. Each setting comes from the first of: the job's own
// korvel-* option, the job's PPD choice, the queue's default (the PPD's default choice), the
// filter's default. Option names are compared without regard to case, as CUPS compares them.
//   korvel-quality=N      quality level -1..100 (0 is the identity curve)
//   korvel-screen=NAME    a screen of the table in filter_settings.cpp
//   korvel-bits=1|2       bits per colour of the output
//   korvel-threads=N      threads screening the inks of a page, the filter's own counted, 1..64
//   korvel-curve-I=NAME   tone curve file NAME of the curve folder for ink I (C, M, Y or K)
// The print quality is the job's cupsPrintQuality choice when it names one, else the one its
// IPP print-quality asks for (3 Draft, 4 Normal, 5 High), else the queue's default: the
// scheduler adds print-quality=4 to a job that chose Photo, which must not undo the choice.
// Any other korvel-* option, a value these or the PPD options do not take, or settings the
// screen would not honour, is an error.
#ifndef KORVEL_FILTER_JOB_OPTIONS_H
#define KORVEL_FILTER_JOB_OPTIONS_H

#include <string>

#include "filter_settings.h"

// The PPD keywords the filter reads, and the IPP attribute that stands for the first.
constexpr char kQualityKeyword[] = "cupsPrintQuality";
constexpr char kScreenKeyword[] = "KorvelScreen";
constexpr char kBitsKeyword[] = "KorvelBits";
constexpr char kIppQuality[] = "print-quality";

// Settings for the job's options text; ppdPath may be empty (no PPD). Throws ToolError.
FilterSettings SettingsFromJob(const std::string& optionText, const std::string& ppdPath);

#endif
