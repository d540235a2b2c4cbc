// Tone curves named in a print job (korvel-curve-C=NAME and the like): a file name in the curve
// folder of the installation, never a path, so that a job cannot make the filter read any other
// file, nor see a word of one in its messages. The folder is the one KORVEL_CURVE_DIR names when
// it is set and not empty (the filter run by hand, the tests), else "curves" beside the folder
// of the parameter files (installed: <datadir>/korvel/curves).
#ifndef KORVEL_FILTER_CURVE_FOLDER_H
#define KORVEL_FILTER_CURVE_FOLDER_H

#include <string>
#include <vector>

std::string FilterCurveFolder();

// The points of the curve file `name` of the curve folder, read as the korvel tool reads a
// curve file. Throws ToolError for a name that is not a plain file name (letters, digits, '.',
// '_' and '-', not starting with '.') and for a file the tool would refuse.
std::vector<int> ReadJobCurve(const std::string& name);

#endif
