// The folder that holds the running program, from which installed programs find their data.
#ifndef KORVEL_TOOL_EXECUTABLE_FOLDER_H
#define KORVEL_TOOL_EXECUTABLE_FOLDER_H

#include <string>

// "." when the program's path cannot be read.
std::string ExecutableFolder();

#endif
