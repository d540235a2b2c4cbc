// Every relative link of the README and of docs/ leads to a file that exists and, when it names
// a heading, to a heading of that file.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "docs/source_text.h"

namespace {

// The documents whose links are checked, relative to the source root.
std::vector<std::string> Documents() {
  std::vector<std::string> documents = {"README.md", "tests/README.md"};
  for (const auto& entry : std::filesystem::directory_iterator(KORVEL_SOURCE_DIR "/docs"))
    if (entry.path().extension() == ".md")
      documents.push_back("docs/" + entry.path().filename().string());
  return documents;
}

// The anchor a Markdown renderer gives a heading: lower case, punctuation dropped, blanks as '-'.
std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (const unsigned char c : heading) {
    if (std::isalnum(c) || c == '-' || c == '_')
      anchor += static_cast<char>(std::tolower(c));
    else if (c == ' ')
      anchor += '-';
  }
  return anchor;
}

// The anchors of a document's headings, leaving out the lines of its code blocks.
std::set<std::string> Anchors(const std::string& text) {
  std::set<std::string> anchors;
  bool inCode = false;
  for (size_t line = 0; line < text.size(); line = text.find('\n', line) + 1) {
    const std::string row = text.substr(line, text.find('\n', line) - line);
    if (row.rfind("```", 0) == 0) inCode = !inCode;
    const size_t marks = row.find_first_not_of('#');
    if (!inCode && marks > 0 && marks != std::string::npos && row[marks] == ' ')
      anchors.insert(Anchor(row.substr(marks + 1)));
    if (text.find('\n', line) == std::string::npos) break;
  }
  return anchors;
}

// The targets of the document's links `[text](target)` that stay inside the repository.
std::vector<std::string> RelativeTargets(const std::string& text) {
  std::vector<std::string> targets;
  for (size_t at = text.find("]("); at != std::string::npos; at = text.find("](", at + 2)) {
    const size_t end = text.find(')', at);
    const std::string target = text.substr(at + 2, end - at - 2);
    if (target.find("://") == std::string::npos && target.rfind("mailto:", 0) != 0)
      targets.push_back(target);
  }
  return targets;
}

// Why `target`, linked from `document`, leads nowhere; empty when it leads somewhere.
std::string BrokenBecause(const std::string& document, const std::string& target) {
  const size_t hash = target.find('#');
  const std::string file = target.substr(0, hash);
  const std::filesystem::path folder = std::filesystem::path(document).parent_path();
  const std::string linked =
      file.empty() ? document : (folder / file).lexically_normal().generic_string();
  if (!std::filesystem::exists(std::string(KORVEL_SOURCE_DIR) + "/" + linked))
    return "no file " + linked;
  if (hash == std::string::npos) return "";
  if (Anchors(docs::SourceText(linked)).count(target.substr(hash + 1)) == 0)
    return "no heading #" + target.substr(hash + 1) + " in " + linked;
  return "";
}

TEST(DocumentLinks, EveryRelativeLinkLeadsToAFileAndHeading) {
  size_t links = 0;
  for (const std::string& document : Documents()) {
    const std::string text = docs::SourceText(document);
    ASSERT_FALSE(text.empty()) << document;
    for (const std::string& target : RelativeTargets(text)) {
      ++links;
      EXPECT_EQ(BrokenBecause(document, target), "") << document << " links to " << target;
    }
  }
  EXPECT_GT(links, 10u) << "the documents' links were not found";
}

}  // namespace
