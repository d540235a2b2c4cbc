// Where the library finds its pass-parameter files (QntPassParam_<level>.ini), as the tool sees
// it: the folder named by KORVEL_DATA_DIR when that is set and not empty, otherwise the Data
// folder beside the executable.
#ifndef KORVEL_TOOL_DATA_FOLDER_H
#define KORVEL_TOOL_DATA_FOLDER_H

#include <string>

#include "executable_folder.h"

// An installed korvel keeps its data under <prefix>/share/korvel/Data, not beside the program:
// when the user has not set KORVEL_DATA_DIR and no Data folder lies beside the executable, the
// tool sets KORVEL_DATA_DIR to that folder (if it exists) for the library to read.
void UseInstalledDataFolderIfNeeded();

struct DataFolder {
  std::string path;
  std::string origin;  // how the folder was chosen, for the info command
};
// The folder of the parameter file the library reads (libraryPath, as the library gives it;
// "" when its folder's path is too long for the library, and then the folder the user named).
DataFolder ActiveDataFolder(const std::string& libraryPath);

#endif
