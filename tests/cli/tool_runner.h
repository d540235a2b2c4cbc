// Running the built korvel tool as a user would, and reading back what it writes.
#ifndef KORVEL_TESTS_CLI_TOOL_RUNNER_H
#define KORVEL_TESTS_CLI_TOOL_RUNNER_H

#include <cstdint>
#include <string>
#include <vector>

#include "program_run.h"

namespace cli {

struct Run {
  int exitCode = -1;  // -1 when the tool did not exit normally (a crash)
  std::string out;
  std::string err;
};

// Runs the tool; each entry of environment is "NAME=value" to set or "NAME" to unset.
Run RunTool(const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment = {});
// The words of a command line written with single spaces, CHART replaced by the sample chart
// and every word that ends in a file extension (a dot and letters) placed in folder, also after
// an ink's "K=".
std::vector<std::string> Command(const std::string& line, const std::string& folder);

void ExpectSuccess(const Run& run);  // exit 0, nothing on stderr
// The exit code, one "korvel: " line on stderr holding messagePart, nothing on stdout.
void ExpectRefused(const Run& run, int exitCode, const std::string& messagePart);

using test::ReadFile;
using test::ScratchFolder;
inline std::string ChartPath() {
  return KORVEL_DATA_SOURCE "/chart.pgm";
}
inline std::string DataFolder() {
  return KORVEL_DATA_SOURCE "/Data";
}
void WriteFile(const std::string& path, const std::string& bytes);
size_t EntriesIn(const std::string& folder);
std::string Checksum(const std::string& bytes);  // FNV-1a, 16 hex digits

// One dot code per pixel (0 paper, the largest code a full dot), row by row: of a binary PGM or
// PBM the tool wrote, or of a raster packed as the library packs it (rows padded to 4 bytes;
// 1 and 2 bits most significant first, 4 bits the even pixel in the low nibble).
std::vector<uint8_t> PnmCodes(const std::string& path);
std::vector<uint8_t> UnpackCodes(const unsigned char* packed, int width, int height, int bits);

}  // namespace cli

#endif
