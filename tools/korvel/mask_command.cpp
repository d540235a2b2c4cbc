// korvel mask make ... / korvel mask apply ...
#include "commands.h"
#include "tool_error.h"

int RunMask(const Words& words) {
  if (words.empty() || (words[0] != "make" && words[0] != "apply"))
    throw UsageError("mask needs a subcommand: make or apply");
  throw ToolError("mask " + words[0] + " is not available in this build of korvel");
}
