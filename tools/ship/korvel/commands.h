// The tool's commands, each given the words that follow its name; each returns the exit status
// and throws ToolError (or UsageError) for anything it cannot do.
#ifndef KORVEL_TOOL_COMMANDS_H
#define KORVEL_TOOL_COMMANDS_H

#include <cstdio>
#include <string>
#include <vector>

using Words = std::vector<std::string>;

int RunHalftone(const Words& words);
int RunTemplate(const Words& words);
int RunSplit(const Words& words);
int RunMask(const Words& words);
int RunInfo(const Words& words);

void PrintUsage(FILE* stream);

// The quality level the commands pass to KORVEL_Init when none is given.
constexpr int kDefaultQuality = 50;

#endif
