// Where the library finds its parameter files, as the tool shows and completes it: the library
// says which folder it looks in and why; the tool adds the folder a package installs.
#ifndef KORVEL_TOOL_DATA_FOLDER_H
#define KORVEL_TOOL_DATA_FOLDER_H

#include <string>

#include "executable_folder.h"

// An installed korvel keeps its data under <prefix>/share/korvel/Data, not beside the program:
// when the user has not named a folder in the environment and the library's own choice does
// not exist, the tool names that folder (if it exists) in the environment for the library.
void UseInstalledDataFolderIfNeeded();

struct DataFolder {
  std::string path;
  std::string origin;  // how the folder was chosen, for the info command
};
// The folder the library reads the parameter files from, as the library gives it.
DataFolder ActiveDataFolder();

#endif
