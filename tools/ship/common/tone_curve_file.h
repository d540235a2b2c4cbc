// Tone curve files given with --curve: the ink to lay, in percent, for requested ink evenly
// spread from 0 % to 100 %, as whole numbers separated by spaces, commas or line breaks; "#"
// starts a comment that runs to the end of the line. "0 8 17 27 38 50 62 73 84 93 100" is an
// eleven-point curve (requested 0, 10, ..., 100 %), the same points a parameter file's
// QNT_CURVE section holds as Param1..Param11.
#ifndef KORVEL_TOOL_TONE_CURVE_FILE_H
#define KORVEL_TOOL_TONE_CURVE_FILE_H

#include <string>
#include <vector>

constexpr int kFewestCurvePoints = 3;
constexpr int kMostCurvePoints = 2551;

// The points of the file. Throws ToolError "<path>: ..." for a file that is not a regular file
// of at most 1 MB or cannot be read, a word that is not a whole number (quoted as a short
// escaped fragment), a point outside 0..100, or fewer than 3 or more than 2551 points.
std::vector<int> ReadToneCurveFile(const std::string& path);

#endif
