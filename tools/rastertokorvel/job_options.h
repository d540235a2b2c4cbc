// The filter's settings from the job: the PPD's choices (print quality, screen, bits), then the
// job's own korvel-* options, which override them:
//   korvel-quality=N      quality level -1..100 (0 is the identity curve)
//   korvel-screen=NAME    ErrorDiffusion, TemplateDiffusion, Drops, SmallMediumDrops, Matrix
//   korvel-bits=1|2       bits per colour of the output
//   korvel-threads=N      threads screening the inks of a page, the filter's own counted, 1..64
//   korvel-curve-I=NAME   tone curve file NAME of the curve folder for ink I (C, M, Y or K)
// Any other korvel-* option, or a value these do not take, is an error.
#ifndef KORVEL_FILTER_JOB_OPTIONS_H
#define KORVEL_FILTER_JOB_OPTIONS_H

#include <string>

#include "filter_settings.h"

// The PPD keywords the filter reads.
constexpr char kQualityKeyword[] = "cupsPrintQuality";
constexpr char kScreenKeyword[] = "KorvelScreen";
constexpr char kBitsKeyword[] = "KorvelBits";

// Settings for the job's options text; ppdPath may be empty (no PPD). Throws ToolError.
FilterSettings SettingsFromJob(const std::string& optionText, const std::string& ppdPath);

#endif
