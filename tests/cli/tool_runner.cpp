#include "tool_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace cli {

namespace fs = std::filesystem;

Run RunTool(const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment) {
  static int runs = 0;
  fs::create_directories(KORVEL_SCRATCH);
  const std::string out = std::string(KORVEL_SCRATCH) + "/" + std::to_string(getpid()) + "-" +
                          std::to_string(++runs) + ".out";
  std::vector<std::string> command{KORVEL_TOOL};
  command.insert(command.end(), arguments.begin(), arguments.end());
  const test::ProgramRun run = test::RunProgram(command, out, "", environment);
  return {run.exitCode, ReadFile(out), run.err};
}

// A word ending in a dot and letters names a file, after an ink's "K=" if it has one.
std::string InFolder(const std::string& word, const std::string& folder) {
  const size_t ink =
      word.size() > 2 && std::isupper(static_cast<unsigned char>(word[0])) && word[1] == '=' ? 2
                                                                                             : 0;
  const size_t dot = word.rfind('.');
  const bool file = dot != std::string::npos && dot >= ink && dot + 1 < word.size() &&
                    std::all_of(word.begin() + dot + 1, word.end(),
                                [](unsigned char c) { return std::isalpha(c) != 0; });
  return file ? word.substr(0, ink) + folder + "/" + word.substr(ink) : word;
}

std::vector<std::string> Command(const std::string& line, const std::string& folder) {
  std::vector<std::string> words;
  std::istringstream split(line);
  for (std::string word; split >> word;)
    words.push_back(word == "CHART" ? ChartPath() : InFolder(word, folder));
  return words;
}

void ExpectSuccess(const Run& run) {
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
}

void ExpectRefused(const Run& run, int exitCode, const std::string& messagePart) {
  EXPECT_EQ(run.exitCode, exitCode) << run.err;
  EXPECT_EQ(run.err.rfind("korvel: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find(messagePart), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

size_t EntriesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

std::string Checksum(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::vector<uint8_t> PnmCodes(const std::string& path) {
  std::istringstream file(ReadFile(path));
  std::string magic;
  int width = 0, height = 0, maxValue = 1;
  file >> magic >> width >> height;
  if (magic == "P5") file >> maxValue;
  file.get();
  const int rowBytes = magic == "P4" ? (width + 7) / 8 : width;
  std::string row(rowBytes, '\0');
  std::vector<uint8_t> codes;
  for (int y = 0; y < height && file.read(row.data(), rowBytes); ++y)
    for (int x = 0; x < width; ++x)
      codes.push_back(magic == "P4" ? (row[x / 8] >> (7 - x % 8)) & 1
                                    : maxValue - static_cast<uint8_t>(row[x]));
  return codes;
}

std::vector<uint8_t> UnpackCodes(const unsigned char* packed, int width, int height, int bits) {
  const int stride = ((width * bits + 31) >> 5) * 4;
  std::vector<uint8_t> codes;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int shift = bits == 4 ? 4 * (x % 2) : 8 - bits * (x % (8 / bits) + 1);
      codes.push_back((packed[y * stride + x * bits / 8] >> shift) & ((1 << bits) - 1));
    }
  return codes;
}

}  // namespace cli
