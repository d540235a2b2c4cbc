// Options that take one value per ink: "--quality 70" gives every ink 70, "--quality K=70,C=50"
// gives K 70 and C 50 and leaves M and Y at the default, and "--quality 60,K=70" gives K 70 and
// every other ink 60.
#ifndef KORVEL_TOOL_INK_VALUES_H
#define KORVEL_TOOL_INK_VALUES_H

#include <string>
#include <vector>

// The inks of a CMYK page, in the order of its samples.
constexpr int kCmykInks = 4;
constexpr char kCmykInkNames[kCmykInks + 1] = "CMYK";

// The value text of each of `inks` inks (1 for a grey page, whose only value must be plain, or
// kCmykInks), empty where the option leaves the ink at its default. Throws UsageError for an
// unknown ink, an ink named twice, two plain values, an empty value, or a named ink on a grey
// page.
std::vector<std::string> SplitPerInk(const std::string& text, const std::string& option, int inks);

// "K" for ink 3 of a CMYK page; "" for a grey page.
std::string InkName(int ink, int inks);

#endif
