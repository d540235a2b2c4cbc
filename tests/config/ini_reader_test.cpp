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

constexpr int kAbsent = -99;  // a default no file in these tests holds

// The value found in `text`, fed in one piece and then split at every `step`-th byte (the
// answer must not depend on how the file arrives from disk).
int Read(const std::string& text, const char* section = "S", const char* key = "K",
         size_t step = 1) {
  auto scan = [&](size_t pieceSize) {
    IniIntScanner scanner(section, key);
    for (size_t at = 0; at < text.size() && !scanner.done(); at += pieceSize) {
      scanner.Feed(text.data() + at, std::min(pieceSize, text.size() - at));
    }
    scanner.Finish();
    return scanner.found() ? scanner.value() : kAbsent;
  };
  const int whole = scan(text.size() + 1);
  EXPECT_EQ(scan(step), whole) << "split every " << step << " bytes";
  return whole;
}

TEST(IniReader, ReadsEntriesTheWayTheProfileQueryDoes) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"[S]\nK=12\n", 12},
      {"[S]\nK=12", 12},                            // no final line end
      {"[s]\nk=5\n", 5},                            // names compare case-insensitively
      {"  [ S ]  \n \t K \t = \t -34 \r\n", -34},   // blanks around names and values, CRLF
      {"\xEF\xBB\xBF[S]\r\nK=7\r\n", 7},            // byte-order mark
      {"[S]\n;K=1\n#K=2\n K=3\n", 3},               // comments
      {"[S]\nK=+8\nK=9\n", 8},                      // first key wins
      {"[S]\nX=1\n[T]\nK=1\n[S]\nK=2\n", kAbsent},  // only the first section counts
      {"K=1\n[S]\n", kAbsent},                      // entries before any section
      {"[S]\nK 1=4\nK\nK=6\n", 6},                  // inner blanks matter; lines without '='
      {"[S] trailing ; text\nK=6", 6},              // text after the ']'
      {"[S\nK=2\n[S]\nK=3\n", 3},                   // unclosed header: ignored line
      {"[S]\nK=42abc\n", 42},
      {"[S]\nK=abc\n", 0},  // found, but no digits
      {"[S]\nK=\n", 0},
      {"[S]\nK=- 5\n", 0},
      {"[S]\nK=007\n", 7},
      {"[S]\nK=2147483647\n", INT_MAX},
      {"[S]\nK=2147483648\n", INT_MAX},
      {"[S]\nK=-2147483648\n", INT_MIN},
      {"[S]\nK=-99999999999999999999999\n", INT_MIN},
      {"[T]\nK=1\n", kAbsent},
      {"", kAbsent},
      {"\xEF\xBB", kAbsent},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.text), c.expected) << c.text;
    EXPECT_EQ(Read(c.text, "S", "K", 2), c.expected) << c.text;
  }
}

TEST(IniReader, LongLinesAndNamesNeverMatchByAccident) {
  const std::string longName(300, 'K');
  EXPECT_EQ(Read("[S]\n" + longName + "=5\n", "S", longName.c_str()), kAbsent);
  EXPECT_EQ(Read("[S]\n" + std::string(255, 'K') + "=5\n", "S", std::string(255, 'k').c_str()), 5);
  // A megabyte of blanks around a name or value, and a megabyte of junk before the section.
  const std::string blanks(1 << 20, ' ');
  EXPECT_EQ(Read("[S" + blanks + "]\nK=" + blanks + "31" + blanks + "\n", "S", "K", 4096), 31);
  EXPECT_EQ(Read("[S]\nK" + blanks + "x=1\nK=2", "S", "K", 4096), 2);
  EXPECT_EQ(Read(std::string(1 << 20, 'x') + "\n[S]\nK=3", "S", "K", 4096), 3);
}

TEST(IniReader, RandomBytesNeverUpsetTheScanner) {
  std::mt19937 random(7);
  const std::string alphabet = "[]=;#SK-+09 \t\r\n\xEF\xBB\xBF";
  for (int round = 0; round < 300; ++round) {
    std::string text(random() % 200, '\0');
    for (char& c : text) c = round % 2 ? alphabet[random() % alphabet.size()] : char(random());
    Read(text, "S", "K", 1 + random() % 7);  // compares whole and split reads
  }
}

class IniFile : public ::testing::Test {
 protected:
  int Query(const std::string& path, const char* key = "K") {
    return GetPrivateProfileIntA("S", key, kAbsent, path.c_str());
  }
  test::ScopedDataDir dir_;
};

TEST_F(IniFile, MissingEmptyDirectoryAndSpecialFilesReadAsTheDefault) {
  const std::string empty = dir_.FileOf(1), fifo = dir_.path() + "/fifo";
  dir_.Write(1, "");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path :
       {dir_.FileOf(2), empty, dir_.path(), fifo, std::string("/dev/zero")})
    EXPECT_EQ(Query(path), kAbsent) << path;
  EXPECT_EQ(GetPrivateProfileIntA(nullptr, "K", 3, empty.c_str()), 3);
  EXPECT_EQ(GetPrivateProfileIntA("S", "K", 3, nullptr), 3);
}

TEST_F(IniFile, UnreadableFilesReadAsTheDefault) {
  dir_.Write(1, "[S]\nK=5\n");
  const std::string dangling = dir_.path() + "/dangling";
  ASSERT_EQ(symlink("nowhere", dangling.c_str()), 0);
  // A regular file whose first read fails (EIO), whoever runs the test.
  for (const std::string& path :
       {dir_.FileOf(1) + "/child", dangling, std::string("/proc/self/mem")})
    EXPECT_EQ(Query(path), kAbsent) << path;
  if (geteuid() != 0) {  // root reads files without permissions
    chmod(dir_.FileOf(1).c_str(), 0);
    EXPECT_EQ(Query(dir_.FileOf(1)), kAbsent);
  }
}

TEST_F(IniFile, EditsAreSeenAtTheNextQuery) {
  dir_.Write(1, "[S]\nK=5\n");
  EXPECT_EQ(Query(dir_.FileOf(1)), 5);
  dir_.Write(1, "[S]\nK=6\n");
  EXPECT_EQ(Query(dir_.FileOf(1)), 6);
}

TEST_F(IniFile, TensOfMegabytesAreScannedInOnePass) {
  std::string text = "[S]\n";
  text.reserve(40u << 20);
  while (text.size() < (16u << 20)) text += "Filler = 123456789 ; padding padding padding\r\n";
  text += "K=77\n" + std::string(16u << 20, '#') + "\nLast=88";  // one 16 MB line
  dir_.Write(1, text);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Query(dir_.FileOf(1)), 77);
  EXPECT_EQ(Query(dir_.FileOf(1), "Last"), 88);
  EXPECT_EQ(Query(dir_.FileOf(1), "Missing"), kAbsent);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
}

TEST_F(IniFile, BinaryFileWithAnEntryInsideIsRead) {
  std::mt19937 random(11);
  std::string text(1 << 16, '\0');
  for (char& c : text) c = char(random());
  text += "\n[S]\nK=9\n";
  text += std::string(1000, '\0');
  dir_.Write(1, text);
  EXPECT_EQ(Query(dir_.FileOf(1)), 9);
}

}  // namespace
