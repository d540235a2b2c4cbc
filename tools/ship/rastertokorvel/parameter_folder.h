// The folder of the library's parameter files the filter uses: the one named by KORVEL_DATA_DIR
// when that is set and not empty (the scheduler hands filters only the variables it is
// configured to, so this is for running the filter by hand), else the folder the library looks
// in by itself when that exists (a Data folder beside the filter: the build tree keeps a copy
// there), else the folder the package installs them in, found from the filter's own folder
// (<prefix>/lib/cups/filter) so that an installed tree can be moved. The file names and the
// usual folder are the library's: the filter asks it for them.
#ifndef KORVEL_FILTER_PARAMETER_FOLDER_H
#define KORVEL_FILTER_PARAMETER_FOLDER_H

#include <string>

std::string FilterParameterFolder();

// Throws ToolError when the library finds the parameter file of the quality level in the folder
// missing or unusable (levels 0 and -1 read none). The library would otherwise screen quietly
// with a broken curve: a blank or nearly blank page.
void RequireParameterFile(const std::string& folder, int quality);

#endif
