// The command line every CUPS filter receives: job-id user title copies options [file].
#ifndef KORVEL_FILTER_FILTER_ARGUMENTS_H
#define KORVEL_FILTER_FILTER_ARGUMENTS_H

#include <string>

struct FilterArguments {
  std::string jobId;
  std::string user;
  std::string title;
  int copies = 1;
  std::string options;  // name=value pairs separated by spaces, as cupsParseOptions reads them
  std::string file;     // empty: the raster comes on standard input
};

// Throws UsageError for a wrong number of arguments or copies that are not a positive number.
FilterArguments ParseFilterArguments(int argc, const char* const* argv);

#endif
