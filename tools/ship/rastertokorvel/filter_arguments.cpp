#include "filter_arguments.h"

#include <cstdlib>

#include "tool_error.h"

FilterArguments ParseFilterArguments(int argc, const char* const* argv) {
  if (argc != 6 && argc != 7)
    throw UsageError("usage: rastertokorvel job-id user title copies options [file]");
  FilterArguments arguments;
  arguments.jobId = argv[1];
  arguments.user = argv[2];
  arguments.title = argv[3];
  char* end = nullptr;
  const long copies = std::strtol(argv[4], &end, 10);
  if (end == argv[4] || *end || copies < 1 || copies > 9999)
    throw UsageError(std::string("copies must be a number from 1 to 9999, not '") + argv[4] + "'");
  arguments.copies = static_cast<int>(copies);
  arguments.options = argv[5];
  if (argc == 7) arguments.file = argv[6];
  return arguments;
}
