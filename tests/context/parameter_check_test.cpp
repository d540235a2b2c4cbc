// The check a host makes before screening, against what the context does: each quality level's
// facts say whether the check asks for a file curve and which file, every usable file screens
// exactly as the same points given as the context's own curve, and every settings call that
// chooses the file reports what the check finds right after it. (Unusable files are refused by
// the tool's and the filter's checks.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/data_dir.h"
#include "process/parameter_files.h"
#include "support/context.h"

namespace {

constexpr int kSide = 48;

korvel_status Check(const test::Context& context, std::string* path = nullptr) {
  char buffer[256] = "garbage";
  const korvel_status status =
      korvel_context_check_parameters(context.get(), buffer, sizeof buffer);
  if (path) *path = buffer;
  return status;
}

// A settings call's status is what the check says right after it.
void ExpectCheckAfter(korvel_status set, const test::Context& context) {
  EXPECT_EQ(set, Check(context));
}

std::vector<unsigned char> Screened(const test::Context& context) {
  std::vector<unsigned char> grey(kSide * kSide), dots(kSide / 8 * kSide);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<unsigned char>(i * 7 % 256);
  const korvel_image_options options{34, 1, 1, 0, 0};
  EXPECT_EQ(korvel_context_screen_image(context.get(), 1, &options, grey.data(), kSide, dots.data(),
                                        kSide / 8, kSide, kSide),
            KORVEL_OK);
  return dots;
}

// In an empty folder a level's check fails exactly when its facts say it reads a file curve,
// names the folder's file of the described name, and the level stored is the one described;
// every settings call that chooses the file (folder, level, own curve set and dropped) says
// what the check says right after it.
TEST(QualityFacts, AgreeWithTheContextAtEveryLevel) {
  const test::ScopedDataDir empty;
  const test::Context context = test::NewContext(0);
  ExpectCheckAfter(korvel_context_set_parameter_folder(context.get(), empty.path().c_str()),
                   context);
  for (int level = -5; level <= 105; ++level) {
    SCOPED_TRACE(level);
    korvel_quality_facts facts{};
    facts.size = sizeof facts;
    ASSERT_EQ(korvel_quality_describe(level, &facts), KORVEL_OK);
    ExpectCheckAfter(korvel_context_set_quality(context.get(), level), context);
    int stored = 0;
    korvel_context_get_quality(context.get(), &stored);
    EXPECT_EQ(facts.level, stored);
    std::string path;
    EXPECT_EQ(Check(context, &path),
              facts.reads_file_curve ? KORVEL_ERROR_PARAMETER_FILE : KORVEL_OK);
    EXPECT_EQ(path, empty.path() + "/" + facts.file_name);
    const int points[] = {0, 30, 100};
    ExpectCheckAfter(korvel_context_set_tone_curve(context.get(), points, 3), context);
    ExpectCheckAfter(korvel_context_set_tone_curve(context.get(), nullptr, 0), context);
  }
}

TEST(ParameterCheck, UsableFilesScreenAsTheSamePointsGivenDirectly) {
  test::ScopedDataDir dir;
  const std::vector<std::vector<int>> curves = {
      {0, 7, 15, 23, 32, 41, 51, 61, 72, 85, 100}, {0, 100, 40}, std::vector<int>(2551, 37)};
  for (const auto& points : curves) {
    std::vector<std::string> values;
    for (int p : points) values.push_back(" " + std::to_string(p) + "\r");
    dir.Write(50, "\xEF\xBB\xBF; note\n[qnt_curve]\n" +
                      test::CurveText(values, std::to_string(points.size())).substr(12));
    const test::Context fromFile = test::NewContext(50), direct = test::NewContext(50);
    std::string path;
    ASSERT_EQ(Check(fromFile, &path), KORVEL_OK) << points.size() << " points";
    EXPECT_EQ(path, dir.FileOf(50));
    ASSERT_EQ(korvel_context_set_tone_curve(direct.get(), points.data(), int(points.size())),
              KORVEL_OK);
    EXPECT_EQ(Screened(fromFile), Screened(direct)) << points.size() << " points";
  }
}

}  // namespace
