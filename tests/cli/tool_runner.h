// Running the built korvel tool as a user would, and reading back what it writes.
#ifndef KORVEL_TESTS_CLI_TOOL_RUNNER_H
#define KORVEL_TESTS_CLI_TOOL_RUNNER_H

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct Run {
  int exitCode = -1;  // -1 when the tool did not exit normally (a crash)
  std::string out;
  std::string err;
};

// Runs the tool; each entry of environment is "NAME=value" to set or "NAME" to unset.
Run RunTool(const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment = {});

// Expects exit code 0 and nothing on stderr.
void ExpectSuccess(const Run& run);
// Expects the exit code and exactly one "korvel: " line on stderr holding messagePart, and
// nothing on stdout.
void ExpectRefused(const Run& run, int exitCode, const std::string& messagePart);

// A fresh, empty folder for the running test.
std::string ScratchFolder();
std::string ChartPath();
std::string DataFolder();  // the bundled parameter files
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
size_t EntriesIn(const std::string& folder);

// FNV-1a of the bytes, as 16 hex digits: the golden checksum of an output file.
std::string Checksum(const std::string& bytes);

// A binary PGM or PBM the tool wrote, as one dot code per pixel (0 paper, the maximum a full
// dot); width 0 when the file is not one.
struct Dots {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> codes;
};
Dots ReadPnmDots(const std::string& path);

// A raster packed as the library packs it (rows padded to 4 bytes; 1 and 2 bits most
// significant first, 4 bits even pixel in the low nibble), as one dot code per pixel.
std::vector<uint8_t> UnpackCodes(const unsigned char* packed, int width, int height, int bits);

}  // namespace cli

#endif
