// Runs a fuzz target's LLVMFuzzerTestOneInput on stored inputs, without the fuzzing engine, so
// that the normal test suite replays every kept crash input and the seed corpus:
//   <target>_replay PATH...   (a file, or a folder whose files are all replayed)
// A failing check inside the target traps, which fails the test; an unreadable or missing
// path fails it too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  std::printf("replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
  std::fflush(stdout);  // name the input before a trap can cut the output
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return true;
}

// The regular files under `folder`, in a fixed order.
std::vector<fs::path> FilesUnder(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH...\n", argv[0]);
    return 2;
  }
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path path = argv[i];
    if (!fs::exists(path)) {
      std::fprintf(stderr, "replay: %s does not exist\n", path.c_str());
      return 1;
    }
    const std::vector<fs::path> files =
        fs::is_directory(path) ? FilesUnder(path) : std::vector<fs::path>{path};
    for (const fs::path& file : files) {
      if (!Replay(file)) return 1;
      ++replayed;
    }
  }
  std::printf("replay: %d inputs\n", replayed);
  return 0;
}
