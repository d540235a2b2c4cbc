// Reading integers from INI text: the rules of the profile query, robustness against hostile
// files, and independence from how the text is split into reads.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <random>
#include <string>

#include "config/ini_scanner.h"
#include "config/profile_int.h"
#include "data_dir.h"

namespace {

constexpr int kAbsent = -99;  // a default that no file in these tests holds

// The value of S/K in `text` fed whole, checked against the same text fed in `piece`-byte reads.
int Read(const std::string& text, const std::string& key = "K", size_t piece = 1) {
  auto scan = [&](size_t size) {
    IniIntScanner scanner("S", key.c_str());
    for (size_t at = 0; at < text.size() && !scanner.done(); at += size)
      scanner.Feed(text.data() + at, std::min(size, text.size() - at));
    scanner.Finish();
    return scanner.found() ? scanner.value() : kAbsent;
  };
  const int whole = scan(text.size() + 1);
  EXPECT_EQ(scan(piece), whole) << "in pieces of " << piece;
  return whole;
}

TEST(IniReader, ReadsEntriesTheWayTheProfileQueryDoes) {
  const std::pair<const char*, int> cases[] = {
      {"[S]\nK=12", 12},
      {"[s]\nk=5\n", 5},                            // case-insensitive names
      {"  [ S ]  \n \t K \t = \t -34 \r\n", -34},   // blanks, CRLF
      {"\xEF\xBB\xBF[S]\r\nK=7\r\n", 7},            // byte-order mark
      {"[S]\n;K=1\n#K=2\n K=3\n", 3},               // comments
      {"[S]\nK=+8\nK=9\n", 8},                      // first key wins
      {"[S]\nX=1\n[T]\nK=1\n[S]\nK=2\n", kAbsent},  // only the first section counts
      {"K=1\n[S]\n", kAbsent},                      // entries before any section
      {"[S]\nK 1=4\nK\nK=6\n", 6},                  // inner blanks count; lines without '='
      {"[S\nK=2\n[S] ; note\nK=3\n", 3},            // unclosed header ignored; text after ']'
      {"[S]\nK=42abc\n", 42},
      {"[S]\nK=abc\n", 0},
      {"[S]\nK=- 5\n", 0},
      {"[S]\nK=2147483648\n", INT_MAX},
      {"[S]\nK=-99999999999999999999\n", INT_MIN},
      {"[T]\nK=1\n", kAbsent},
      {"\xEF\xBB", kAbsent},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Read(text), expected) << text;
    EXPECT_EQ(Read(text, "K", 2), expected) << text;
  }
}

TEST(IniReader, LongLinesAndNamesNeverMatchByAccident) {
  const std::string name(300, 'K');
  EXPECT_EQ(Read("[S]\n" + name + "=5\n", std::string(300, 'k')), 5);
  EXPECT_EQ(Read("[S]\n" + name + "K=5\n" + name + "\t=6", name), 6);
  EXPECT_EQ(Read("[S]\nK=5\n", name), kAbsent);
  const std::string blanks(1 << 20, ' ');
  EXPECT_EQ(Read("[S" + blanks + "]\nK=" + blanks + "31" + blanks, "K", 4096), 31);
  EXPECT_EQ(Read("[S]\nK" + blanks + "x=1\nK=2", "K", 4096), 2);
  EXPECT_EQ(Read(std::string(1 << 20, 'x') + "\n[S]\nK=3", "K", 4096), 3);
}

class IniFile : public ::testing::Test {
 protected:
  int Query(const std::string& path, const char* key = "K") {
    return GetPrivateProfileIntA("S", key, kAbsent, path.c_str());
  }
  test::ScopedDataDir dir_;
};

TEST_F(IniFile, MissingEmptySpecialAndUnreadableFilesReadAsTheDefault) {
  const std::string fifo = dir_.path() + "/fifo", dangling = dir_.path() + "/dangling";
  dir_.Write(1, "");
  dir_.Write(2, "[S]\nK=5\n");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(symlink("nowhere", dangling.c_str()), 0);
  // /proc/self/mem is a regular file whose first read fails, whoever runs the test.
  for (const std::string& path :
       {dir_.FileOf(3), dir_.FileOf(1), dir_.path(), fifo, dangling, dir_.FileOf(2) + "/x",
        std::string("/dev/zero"), std::string("/proc/self/mem")})
    EXPECT_EQ(Query(path), kAbsent) << path;
  if (geteuid() != 0) {  // root reads files without permissions
    chmod(dir_.FileOf(2).c_str(), 0);
    EXPECT_EQ(Query(dir_.FileOf(2)), kAbsent);
  }
}

TEST_F(IniFile, HugeAndBinaryFilesAreScannedInOnePassAndReReadEachTime) {
  std::string text = "[S]\n";
  while (text.size() < (12u << 20)) text += "Filler = 123456789 ; padding padding padding\r\n";
  text += "K=77\n" + std::string(12u << 20, '#') + "\nLast=88";  // one 12 MB line
  dir_.Write(1, text);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Query(dir_.FileOf(1)), 77);
  EXPECT_EQ(Query(dir_.FileOf(1), "Last"), 88);
  EXPECT_EQ(Query(dir_.FileOf(1), "Missing"), kAbsent);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  std::mt19937 random(11);
  std::string binary(1 << 16, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  dir_.Write(1, binary + "\n[S]\nK=9\n" + std::string(100, '\0'));
  EXPECT_EQ(Query(dir_.FileOf(1)), 9);
}

}  // namespace
