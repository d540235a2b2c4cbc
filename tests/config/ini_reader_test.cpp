// Reading integers from INI text the way the profile query does, however the text is split into
// reads, and files that are missing, special or hostile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <string>

#include "config/data_dir.h"
#include "config/ini_scanner.h"
#include "config/profile_int.h"

namespace {

constexpr int kAbsent = -99;  // a default that no file in these tests holds

// The value of S/K in `text` fed in `piece`-byte reads.
int Scan(const std::string& text, const std::string& key, size_t piece) {
  IniIntScanner scanner("S", key.c_str());
  for (size_t at = 0; at < text.size() && !scanner.done(); at += piece)
    scanner.Feed(text.data() + at, std::min(piece, text.size() - at));
  scanner.Finish();
  return scanner.found() ? scanner.value() : kAbsent;
}

TEST(IniReader, ReadsEntriesTheWayTheProfileQueryDoes) {
  const std::string longName(300, 'K'), blanks(70000, ' ');
  const struct {
    std::string text;
    int expected;
    std::string key = "K";
  } cases[] = {
      {"[S]\nK=12", 12},
      {"[s]\nk=5\n", 5},                            // case-insensitive names
      {"  [ S ]  \n \t K \t = \t -34 \r\n", -34},   // blanks, CRLF
      {"\xEF\xBB\xBF[S]\r\nK=7\r\n", 7},            // byte-order mark
      {"[S]\n;K=1\n#K=2\n K=3\n", 3},               // comments
      {"[S]\nK=+8\nK=9\n", 8},                      // first key wins
      {"[S]\nX=1\n[T]\nK=1\n[S]\nK=2\n", kAbsent},  // only the first section counts
      {"[T]\nK=1\n[S]\nK=-2\n", -2},
      {"[]\nK=1\n[ S]\nK=2\n", 2},        // an empty name is another section
      {"K=1\n[S]\n", kAbsent},            // entries before any section
      {"[S]\nK 1=4\nK\nK=6\n", 6},        // inner blanks count; lines without '='
      {"[S\nK=2\n[S] ; note\nK=3\n", 3},  // unclosed header ignored; text after ']'
      {"[S]\nK=42abc\n", 42},
      {"[S]\nK=abc\n", 0},
      {"[S]\nK=- 5\n", 0},
      {"[S]\nK=2147483648\n", INT_MAX},
      {"[S]\nK=-99999999999999999999\n", INT_MIN},
      {"\xEF\xBB", kAbsent},
      {"[S]\n" + longName + "=5\n", 5, std::string(300, 'k')},
      {"[S]\n" + longName + "K=5\n" + longName + "\t=6", 6, longName},
      {"[S" + blanks + "]\nK=" + blanks + "31" + blanks, 31},
  };
  for (const auto& c : cases)
    for (size_t piece : {size_t{1}, size_t{2}, size_t{4096}, c.text.size() + 1})
      EXPECT_EQ(Scan(c.text, c.key, piece), c.expected)
          << c.text.substr(0, 40) << " in pieces of " << piece;
}

TEST(IniReader, MissingEmptyAndSpecialFilesReadAsTheDefault) {
  test::ScopedDataDir dir;
  const std::string fifo = dir.path() + "/fifo";
  dir.Write(1, "");
  dir.Write(2, "[S]\nK=5\n");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir.FileOf(3), dir.FileOf(1), dir.path(), fifo,
                                  std::string("/dev/zero"), std::string("/proc/self/mem")})
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", kAbsent, path.c_str()), kAbsent) << path;
  EXPECT_EQ(GetPrivateProfileIntA("S", "K", kAbsent, dir.FileOf(2).c_str()), 5);
}

TEST(SlowIniFile, LongFilesAreScannedInOnePass) {
  test::ScopedDataDir dir;
  std::string text = "[S]\n";
  while (text.size() < (2u << 20)) text += "Filler = 123456789 ; padding padding padding\r\n";
  dir.Write(1, text + "K=77\n" + std::string(2u << 20, '#') + "\nLast=88");
  EXPECT_EQ(GetPrivateProfileIntA("S", "K", kAbsent, dir.FileOf(1).c_str()), 77);
  EXPECT_EQ(GetPrivateProfileIntA("S", "Last", kAbsent, dir.FileOf(1).c_str()), 88);
}

}  // namespace
