// Running the korvel tool as a child process and decoding what it writes.
#ifndef KORVEL_TESTS_CLI_CLI_SUPPORT_H
#define KORVEL_TESTS_CLI_CLI_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct RunResult {
  int exitCode = -1;  // the status of a normal exit, -1 otherwise
  int signal = 0;     // the signal that ended the process, 0 for a normal exit
  std::string out;
  std::string err;
};

struct Environment {
  std::vector<std::pair<std::string, std::string>> set;
  std::vector<std::string> unset;
};

// Runs the tool with the given arguments (without the program name).
RunResult RunTool(const std::vector<std::string>& arguments, const Environment& environment = {});

// Runs any program, arguments including the program.
RunResult RunProgram(const std::vector<std::string>& command, const Environment& environment = {});

// Runs the tool with a terminal as its stdout and stderr; out holds all it wrote there.
RunResult RunToolOnTerminal(const std::vector<std::string>& arguments);

// A fresh, empty folder for the running test: <build>/tests/cli/scratch/<suite>.<test>.
std::string ScratchFolder();

std::string ChartPath();
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder);

// An image file decoded to one dot code per pixel: 0 for paper, 2^bits - 1 for a full dot.
struct DotImage {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::vector<uint8_t> codes;  // width * height, row by row
  std::string encoding;        // how the file stores it, e.g. "png gray", "tiff g4 min-is-white"

  int64_t CountCode(int code) const;
  double DotFraction() const;
};

// Each reader fails the current test (and returns an empty image) on a bad file.
DotImage ReadPngDots(const std::string& path);
DotImage ReadPnmDots(const std::string& path);
DotImage ReadTiffDots(const std::string& path);  // only in builds with libtiff
DotImage ReadDots(const std::string& path);      // by extension

// Writes an 8-bit grey PNG of the given colour type and depth from grey samples (one byte per
// pixel, no padding), for the input-format tests, with every alpha sample set to alpha.
void WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& grey,
              int colourType, int bitDepth, bool interlaced, uint8_t alpha = 255);

}  // namespace cli

#endif
