// Temporary files removed when SIGINT or SIGTERM ends the tool: the signal handler unlinks every
// temporary still registered, then lets the signal end the process as it would have.
#ifndef KORVEL_TOOL_TEMPORARY_CLEANUP_H
#define KORVEL_TOOL_TEMPORARY_CLEANUP_H

#include <string>

// Registers a temporary file (installing the handlers the first time). Throws ToolError when
// more temporaries are open at once than the handler keeps, or the path is too long for it.
void RegisterTemporary(const std::string& path);
// Forgets a temporary (renamed or removed by its owner).
void ForgetTemporary(const std::string& path);

#endif
