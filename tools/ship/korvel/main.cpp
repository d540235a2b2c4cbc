// korvel: try, inspect and script the halftoning library from the command line.
#include <korvel/korvel.h>

#include <cstdio>
#include <new>
#include <string>

#include "commands.h"
#include "data_folder.h"
#include "tool_error.h"

namespace {

int Dispatch(const std::string& command, const Words& rest) {
  if (command == "halftone") return RunHalftone(rest);
  if (command == "template") return RunTemplate(rest);
  if (command == "split") return RunSplit(rest);
  if (command == "mask") return RunMask(rest);
  if (command == "info") return RunInfo(rest);
  if (command == "help" || command == "--help" || command == "-h") {
    PrintUsage(stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("korvel %s\n", KORVEL_VERSION_STRING);
    return 0;
  }
  throw UsageError("unknown command '" + command + "' (try korvel --help)");
}

int Report(const std::string& message, int status) {
  std::fprintf(stderr, "korvel: %s\n", message.c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Report("no command given (korvel --help lists them)", 2);
  const Words rest(argv + 2, argv + argc);
  try {
    UseInstalledDataFolderIfNeeded();
    return Dispatch(argv[1], rest);
  } catch (const UsageError& error) {
    return Report(error.what(), 2);
  } catch (const ToolError& error) {
    return Report(error.what(), 1);
  } catch (const std::bad_alloc&) {
    return Report("out of memory", 1);
  } catch (const std::exception& error) {
    return Report(error.what(), 1);
  }
}
