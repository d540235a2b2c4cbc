// The check a host makes before screening: every parameter file the reader would turn into a
// blank or wrong curve is reported, every usable one screens exactly as the same points given as
// the context's own curve, and the path it reports is the one the image calls read. The settings
// that choose the file report it at once, and still make the setting.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "config/data_dir.h"
#include "process/parameter_files.h"
#include "support/context.h"

namespace {

constexpr int kSide = 48;

using test::CurveText;
using test::Ramp;

korvel_status Check(const test::Context& context, std::string* path = nullptr) {
  char buffer[256] = "garbage";
  const korvel_status status =
      korvel_context_check_parameters(context.get(), buffer, sizeof buffer);
  if (path) *path = buffer;
  return status;
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

TEST(ParameterCheck, UnusableFilesAreReported) {
  test::ScopedDataDir dir;
  const std::string file = dir.FileOf(50);
  const std::string specials[] = {"/dev/zero", dir.path(), dir.path() + "/fifo",
                                  dir.path() + "/sparse", dir.path() + "/none"};
  ASSERT_EQ(mkfifo(specials[2].c_str(), 0600), 0);
  const int fd = open(specials[3].c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_EQ(ftruncate(fd, off_t{1} << 30), 0);
  close(fd);
  test::ForEachUnusableParameterFile(
      file, {std::begin(specials), std::end(specials)}, [](const std::string& what) {
        EXPECT_EQ(Check(test::NewContext(50)), KORVEL_ERROR_PARAMETER_FILE) << what;
      });
}

TEST(ParameterCheck, UsableFilesScreenAsTheSamePointsGivenDirectly) {
  test::ScopedDataDir dir;
  const std::vector<std::vector<int>> curves = {
      {0, 7, 15, 23, 32, 41, 51, 61, 72, 85, 100}, {0, 100, 40}, std::vector<int>(2551, 37)};
  for (const auto& points : curves) {
    std::vector<std::string> values;
    for (int p : points) values.push_back(" " + std::to_string(p) + "\r");
    dir.Write(50, "\xEF\xBB\xBF; note\n[qnt_curve]\n" +
                      CurveText(values, std::to_string(points.size())).substr(12));
    const test::Context fromFile = test::NewContext(50), direct = test::NewContext(50);
    std::string path;
    ASSERT_EQ(Check(fromFile, &path), KORVEL_OK) << points.size() << " points";
    EXPECT_EQ(path, dir.FileOf(50));
    ASSERT_EQ(korvel_context_set_tone_curve(direct.get(), points.data(), int(points.size())),
              KORVEL_OK);
    EXPECT_EQ(Screened(fromFile), Screened(direct)) << points.size() << " points";
  }
}

TEST(ParameterCheck, ContextsThatReadNoFileCurvePassAndTheBufferIsChecked) {
  test::ScopedDataDir dir;  // holds no file
  std::string path;
  EXPECT_EQ(Check(test::NewContext(0), &path), KORVEL_OK);
  EXPECT_EQ(path, dir.FileOf(0));
  EXPECT_EQ(Check(test::NewContext(-1)), KORVEL_OK);
  const test::Context own = test::NewContext(70);
  EXPECT_EQ(Check(own), KORVEL_ERROR_PARAMETER_FILE);
  const int points[] = {0, 50, 100};
  korvel_context_set_tone_curve(own.get(), points, 3);
  EXPECT_EQ(Check(own), KORVEL_OK);

  char small[8] = "unset";
  EXPECT_EQ(korvel_context_check_parameters(own.get(), small, sizeof small), KORVEL_ERROR_ARGUMENT);
  EXPECT_STREQ(small, "unset");
  EXPECT_EQ(korvel_context_check_parameters(own.get(), nullptr, 0), KORVEL_OK);
  EXPECT_EQ(korvel_context_check_parameters(own.get(), nullptr, 1), KORVEL_ERROR_NULL_BUFFER);
  EXPECT_EQ(korvel_context_check_parameters(nullptr, nullptr, 0), KORVEL_ERROR_NULL_CONTEXT);
  EXPECT_STRNE(korvel_strerror(KORVEL_ERROR_PARAMETER_FILE), korvel_strerror(korvel_status(99)));
}

// A host that sets a folder lacking its level's file hears it from the settings call, with the
// path the library looked for, and the setting stands.
TEST(ParameterCheck, TheSettingsThatChooseAMissingFileReportItAndStand) {
  test::ScopedDataDir other;
  test::ScopedDataDir usual;  // the usual lookup finds this one
  usual.Write(50, CurveText(Ramp(11), "11"));
  korvel_context* raw = nullptr;
  ASSERT_EQ(korvel_context_create(&raw), KORVEL_OK);
  const test::Context context(raw);
  EXPECT_EQ(korvel_context_set_quality(raw, 50), KORVEL_OK);
  EXPECT_EQ(korvel_context_set_parameter_folder(raw, other.path().c_str()),
            KORVEL_ERROR_PARAMETER_FILE);
  std::string path;
  EXPECT_EQ(Check(context, &path), KORVEL_ERROR_PARAMETER_FILE);
  EXPECT_EQ(path, other.FileOf(50));
  EXPECT_EQ(korvel_context_set_quality(raw, 70), KORVEL_ERROR_PARAMETER_FILE);
  int level = 0;
  ASSERT_EQ(korvel_context_get_quality(raw, &level), KORVEL_OK);
  EXPECT_EQ(level, 70);
  const int points[] = {0, 50, 100};
  EXPECT_EQ(korvel_context_set_tone_curve(raw, points, 3), KORVEL_OK);
  EXPECT_EQ(korvel_context_set_tone_curve(raw, nullptr, 0), KORVEL_ERROR_PARAMETER_FILE);
  EXPECT_EQ(korvel_context_set_quality(raw, 0), KORVEL_OK);
  // A refused folder is a refusal: the folder stays, and so does the verdict.
  ASSERT_EQ(korvel_context_set_quality(raw, 50), KORVEL_ERROR_PARAMETER_FILE);
  EXPECT_EQ(korvel_context_set_parameter_folder(raw, std::string(300, 'f').c_str()),
            KORVEL_ERROR_FOLDER);
  EXPECT_EQ(Check(context, &path), KORVEL_ERROR_PARAMETER_FILE);
  EXPECT_EQ(path, other.FileOf(50));
  EXPECT_EQ(korvel_context_set_parameter_folder(raw, nullptr), KORVEL_OK);
}

// Every settings call that chooses the file says what the check says right after it, whatever
// came before: levels, folders with good, broken and no files, own curves set and dropped.
TEST(ParameterCheck, EverySettingsCallReportsWhatTheCheckFindsAfterIt) {
  test::ScopedDataDir usual, good, empty;
  for (int level = 10; level <= 100; level += 10) {
    good.Write(level, CurveText(Ramp(5), "5"));
    usual.Write(level, level % 20 == 0 ? CurveText(Ramp(5), "5") : CurveText(Ramp(5), "x"));
  }
  const std::string folders[] = {"", good.path(), empty.path(), usual.path()};
  const int points[] = {0, 30, 100};
  std::mt19937 random(7);
  korvel_context* raw = nullptr;
  ASSERT_EQ(korvel_context_create(&raw), KORVEL_OK);
  const test::Context context(raw);
  for (int step = 0; step < 400; ++step) {
    korvel_status status = KORVEL_OK;
    switch (random() % 4) {
      case 0:
        status = korvel_context_set_quality(raw, static_cast<int>(random() % 104) - 2);
        break;
      case 1:
        status = korvel_context_set_parameter_folder(raw, folders[random() % 4].c_str());
        break;
      case 2:
        status = korvel_context_set_tone_curve(raw, nullptr, 0);
        break;
      default:
        status = korvel_context_set_tone_curve(raw, points, 3);
    }
    ASSERT_EQ(status, Check(context)) << "step " << step;
  }
}

}  // namespace
