// The README is a front page: short, and its C example is the one CI builds and runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "docs/source_text.h"

namespace {

constexpr const char* kReadme = "README.md";
constexpr const char* kExample = "examples/screen_page.c";
constexpr long kMostReadmeLines = 200;

TEST(Readme, FitsOnAFrontPage) {
  const std::string readme = docs::SourceText(kReadme);
  ASSERT_FALSE(readme.empty());
  EXPECT_LE(std::count(readme.begin(), readme.end(), '\n'), kMostReadmeLines)
      << "move the detail into docs/";
}

// The README's one C block is the example file byte for byte, so the two cannot drift.
TEST(Readme, ShowsTheCExampleThatIsBuilt) {
  const std::string readme = docs::SourceText(kReadme);
  const std::string opening = "```c\n";
  const size_t start = readme.find(opening);
  ASSERT_NE(start, std::string::npos) << kReadme << " has no C block";
  EXPECT_EQ(readme.find(opening, start + 1), std::string::npos) << "one C block only";
  const size_t body = start + opening.size();
  const size_t end = readme.find("\n```\n", body);
  ASSERT_NE(end, std::string::npos) << "the C block is not closed";
  const std::string example = docs::SourceText(kExample);
  ASSERT_FALSE(example.empty());
  EXPECT_EQ(readme.substr(body, end + 1 - body), example)
      << "copy " << kExample << " into the C block of " << kReadme;
}

}  // namespace
