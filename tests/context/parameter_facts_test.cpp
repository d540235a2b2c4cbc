// The facts a host asks of a quality level and of a parameter folder hold for what a context
// does: the level it stores, whether its check asks for a file curve, and the path it composes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "config/data_dir.h"
#include "support/context.h"

namespace {

korvel_quality_facts QualityFacts(int level) {
  korvel_quality_facts facts{};
  facts.size = sizeof facts;
  EXPECT_EQ(korvel_quality_describe(level, &facts), KORVEL_OK);
  return facts;
}

korvel_folder_facts FolderFacts(const test::Context& context) {
  korvel_folder_facts facts{};
  facts.size = sizeof facts;
  EXPECT_EQ(korvel_context_describe_folder(context.get(), &facts), KORVEL_OK);
  return facts;
}

std::string CheckedPath(const test::Context& context, korvel_status* status = nullptr) {
  char path[256] = "garbage";
  const korvel_status checked = korvel_context_check_parameters(context.get(), path, sizeof path);
  if (status != nullptr) *status = checked;
  return path;
}

// Sets (or, with nullopt, unsets) the folder variable while it lives.
class ScopedFolderVariable {
 public:
  explicit ScopedFolderVariable(const std::optional<std::string>& value) {
    if (const char* old = std::getenv(KORVEL_DATA_DIR_VARIABLE)) saved_ = old;
    value ? setenv(KORVEL_DATA_DIR_VARIABLE, value->c_str(), 1)
          : unsetenv(KORVEL_DATA_DIR_VARIABLE);
  }
  ~ScopedFolderVariable() {
    saved_ ? setenv(KORVEL_DATA_DIR_VARIABLE, saved_->c_str(), 1)
           : unsetenv(KORVEL_DATA_DIR_VARIABLE);
  }

 private:
  std::optional<std::string> saved_;
};

// In an empty folder a level's check fails exactly when the level reads a file curve, and the
// path it names is the folder's file of the described name.
TEST(QualityFacts, AgreeWithTheContextAtEveryLevel) {
  const test::ScopedDataDir empty;
  const test::Context context = test::NewContext(0);
  korvel_context_set_parameter_folder(context.get(), empty.path().c_str());
  for (int level = -5; level <= 105; ++level) {
    SCOPED_TRACE(level);
    const korvel_quality_facts facts = QualityFacts(level);
    korvel_context_set_quality(context.get(), level);
    int stored = 0;
    korvel_context_get_quality(context.get(), &stored);
    EXPECT_EQ(facts.level, stored);
    EXPECT_GE(facts.level, KORVEL_QUALITY_MIN);
    EXPECT_LE(facts.level, KORVEL_QUALITY_MAX);
    korvel_status status = KORVEL_OK;
    EXPECT_EQ(CheckedPath(context, &status), empty.path() + "/" + facts.file_name);
    EXPECT_EQ(status, facts.reads_file_curve ? KORVEL_ERROR_PARAMETER_FILE : KORVEL_OK);
  }
  EXPECT_EQ(QualityFacts(KORVEL_QUALITY_MIN).level, KORVEL_QUALITY_MIN);
  EXPECT_EQ(QualityFacts(KORVEL_QUALITY_MAX).level, KORVEL_QUALITY_MAX);
}

// The folder described is the one the check composes its path in, and its origin the setting
// or variable that chose it.
TEST(FolderFacts, NameTheFolderTheCheckLooksIn) {
  const test::ScopedDataDir named;
  const test::Context context = test::NewContext(50);
  const std::string file = std::string("/") + QualityFacts(50).file_name;
  korvel_folder_facts facts = FolderFacts(context);
  EXPECT_EQ(facts.origin, KORVEL_FOLDER_DATA_DIR);
  EXPECT_EQ(facts.folder + file, CheckedPath(context));

  korvel_context_set_parameter_folder(context.get(), "/opt/inks");
  facts = FolderFacts(context);
  EXPECT_EQ(facts.origin, KORVEL_FOLDER_OWN);
  EXPECT_EQ(facts.folder + file, CheckedPath(context));

  korvel_context_set_parameter_folder(context.get(), nullptr);
  {
    const ScopedFolderVariable unset(std::nullopt);
    facts = FolderFacts(context);
    EXPECT_EQ(facts.origin, KORVEL_FOLDER_BESIDE_PROGRAM);
    EXPECT_NE(facts.folder[0], '\0');
    EXPECT_EQ(facts.folder + file, CheckedPath(context));
  }
  {
    const ScopedFolderVariable tooLong(std::string(300, 'd'));
    facts = FolderFacts(context);
    EXPECT_EQ(facts.origin, KORVEL_FOLDER_DATA_DIR);
    EXPECT_STREQ(facts.folder, "");
    EXPECT_EQ(CheckedPath(context), "");
  }
}

TEST(Facts, RefuseANullOrUnknownStructure) {
  const test::Context context = test::NewContext(0);
  korvel_quality_facts level{};
  korvel_folder_facts folder{};
  EXPECT_EQ(korvel_quality_describe(50, nullptr), KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(korvel_context_describe_folder(context.get(), nullptr), KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(korvel_context_describe_folder(nullptr, &folder), KORVEL_ERROR_NULL_CONTEXT);
  level.size = sizeof level + 8;
  folder.size = sizeof folder - 1;
  EXPECT_EQ(korvel_quality_describe(50, &level), KORVEL_ERROR_ARGUMENT);
  EXPECT_EQ(korvel_context_describe_folder(context.get(), &folder), KORVEL_ERROR_ARGUMENT);
  EXPECT_EQ(level.level, 0) << "a refused call writes nothing";
}

}  // namespace
