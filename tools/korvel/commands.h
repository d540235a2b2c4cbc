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

// Shared by the commands that screen images: the quality level range the tool accepts and a
// warning, unless quiet, when the level's parameter file is missing.
constexpr int kDefaultQuality = 50;
void WarnIfParameterFileMissing(int quality, bool quiet);

#endif
