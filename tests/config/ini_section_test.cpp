// A parameter file read once and indexed by section must answer every key as the streaming
// profile query answers it, on the hand-written cases and on random texts; and files past the
// size limit are not read.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "config/data_dir.h"
#include "config/ini_scanner.h"
#include "config/ini_section.h"

namespace {

// The value of `key` of section S by the streaming scanner, or nothing.
std::optional<int> Scanned(const std::string& text, const std::string& key) {
  IniIntScanner scanner("S", key.c_str());
  scanner.Feed(text.data(), text.size());
  scanner.Finish();
  if (!scanner.found()) return std::nullopt;
  return scanner.value();
}

std::optional<int> Indexed(const std::string& text, const std::string& key) {
  const std::optional<IniValue> entry = IniSection(text, "S").Find(key);
  if (!entry) return std::nullopt;
  return entry->value;
}

// Texts built from the pieces the reading rules care about.
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {
      "[",  "]",   "S", "s", "T", "K", "k", "=", " ",           "\t", "\r",           "\n",
      "\n", "\n",  ";", "#", "-", "+", "0", "7", "99999999999", "x",  "\xEF\xBB\xBF", "[S]\n",
      "K=", "K =", "\0"};
  std::string text;
  const int pieces = static_cast<int>(random() % 40);
  for (int i = 0; i < pieces; ++i) {
    const char* piece = kPieces[random() % (sizeof kPieces / sizeof *kPieces)];
    text += *piece ? std::string(piece) : std::string(1, '\0');
  }
  return text;
}

TEST(IniSection, AnswersEveryKeyAsTheStreamingQueryDoes) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 200000; ++round) {
    const std::string text = RandomText(random);
    for (const char* key : {"K", "k", "T", "", "K K"})
      ASSERT_EQ(Indexed(text, key), Scanned(text, key))
          << "key '" << key << "' in text of " << text.size()
          << " bytes: " << testing::PrintToString(text);
  }
}

TEST(IniSection, OnlyPlainWholeNumbersArePlain) {
  const struct {
    const char* value;
    bool plain;
  } cases[] = {{"12", true},   {" -3 \r", true},     {"+0", true},          {"", false},
               {"abc", false}, {"NaN", false},       {"12abc", false},      {"- 5", false},
               {"1.5", false}, {"2147483647", true}, {"2147483648", false}, {"-2147483647", true}};
  for (const auto& c : cases) {
    const std::optional<IniValue> entry =
        IniSection(std::string("[S]\nK=") + c.value + "\n", "S").Find("K");
    ASSERT_TRUE(entry) << c.value;
    EXPECT_EQ(entry->plain, c.plain) << c.value;
  }
}

// Files up to the limit are read whole, larger ones not at all. (The files that are no regular
// file are among the unusable files of the parameter check.)
TEST(ParameterText, FilesUpToTheLimitAreRead) {
  test::ScopedDataDir dir;
  dir.Write(1, std::string(kMostParameterFileBytes, '#'));
  dir.Write(2, std::string(kMostParameterFileBytes + 1, '#'));
  std::string text = "left over";
  EXPECT_FALSE(LoadParameterText(dir.FileOf(2).c_str(), text));
  EXPECT_TRUE(text.empty());
  EXPECT_TRUE(LoadParameterText(dir.FileOf(1).c_str(), text));
  EXPECT_EQ(text.size(), kMostParameterFileBytes);
}

}  // namespace
