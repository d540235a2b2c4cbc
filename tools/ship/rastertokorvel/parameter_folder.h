// The folder of the library's parameter files the filter uses: the one the library looks in by
// itself when the user named it in the environment (the scheduler hands filters only the
// variables it is configured to, so this is for running the filter by hand) or when it exists
// (beside the filter: the build tree keeps a copy there), else the folder the package installs
// them in, found from the filter's own folder (<prefix>/lib/cups/filter) so that an installed
// tree can be moved. The file names, the usual folder and why it is the one are the library's:
// the filter asks it for them.
#ifndef KORVEL_FILTER_PARAMETER_FOLDER_H
#define KORVEL_FILTER_PARAMETER_FOLDER_H

#include <string>

std::string FilterParameterFolder();

// Throws ToolError when the library finds the parameter file of the quality level in the folder
// missing or unusable (a level with a built-in curve reads none). The library would otherwise
// screen quietly with a broken curve: a blank or nearly blank page.
void RequireParameterFile(const std::string& folder, int quality);

#endif
