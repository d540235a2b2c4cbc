// The job's choices as the filter receives them, from the PPD and from the scheduler: every
// pair of PPD choices either prints differently, as the names say, or is constrained by the PPD
// and refused by the filter; blank paper stays blank unless the screen's name says otherwise;
// the scheduler's own attributes never undo a choice; a value no option takes stops the job;
// the copies are counted, and made once.
#include <cups/ppd.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "filter_settings.h"
#include "raster_io.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // the PPD interface of libcups

namespace cupstest {
namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 96;  // a ramp in the top half, blank paper in the bottom half

// A CMYK page: every ink ramps from nothing to full across the top half, the bottom is blank.
Page RampOverBlankPage() {
  std::vector<std::vector<uint8_t>> inks(4);
  for (int ink = 0; ink < 4; ++ink)
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        inks[ink].push_back(y < kHeight / 2 ? uint8_t((x * 255 / (kWidth - 1) + ink * 7) % 256)
                                            : uint8_t(0));
  return EightBitPage(CUPS_CSPACE_CMYK, CUPS_ORDER_CHUNKED, inks, kWidth, kHeight);
}

struct Screened {
  ProgramRun run;
  std::vector<Page> pages;
};

class Choices : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder();
    WriteRaster(folder_ + "/in.ras", {RampOverBlankPage()});
  }

  // The filter as the scheduler runs it on the page, with the PPD at `ppd` ("" for none).
  Screened Run(const std::string& options, const std::string& ppd = KORVEL_PPD,
               const std::string& copies = "1", bool fromFile = true) const {
    Screened screened;
    const std::string out = folder_ + "/out.ras", in = folder_ + "/in.ras";
    std::vector<std::string> argv{KORVEL_FILTER, "7", "user", "title", copies, options};
    if (fromFile) argv.push_back(in);
    // Curves named in a job come from the curve folder: here the test's own folder.
    screened.run = RunProgram(argv, out, fromFile ? "" : in,
                              {ppd.empty() ? "PPD" : "PPD=" + ppd, "KORVEL_CURVE_DIR=" + folder_});
    if (screened.run.exitCode == 0) screened.pages = ReadRaster(out);
    return screened;
  }

  // A digest of the output, which must be one page, to compare outputs by.
  std::string Printed(const std::string& options, const std::string& ppd = KORVEL_PPD) const {
    const Screened screened = Run(options, ppd);
    EXPECT_EQ(screened.run.exitCode, 0) << options << "\n" << screened.run.err;
    if (screened.pages.size() != 1) return "no page";
    std::string bytes;
    for (const auto& line : screened.pages[0].lines) bytes.append(line.begin(), line.end());
    return std::to_string(std::hash<std::string>()(bytes));
  }

  // A copy of the PPD with one default choice changed, as lpadmin -o KEYWORD=CHOICE writes it.
  std::string PpdWithDefault(const std::string& keyword, const std::string& choice) const {
    std::ifstream in(KORVEL_PPD);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = "*Default" + keyword + ": ";
    const size_t from = text.find(key) + key.size(), to = text.find('\n', from);
    const std::string path = folder_ + "/queue.ppd";
    std::ofstream(path) << text.substr(0, from) << choice << text.substr(to);
    return path;
  }

  void ExpectRefused(const std::string& options, const std::string& ppd = KORVEL_PPD) const {
    ExpectFilterError(Run(options, ppd).run, options);
  }

  std::string folder_;
};

struct PpdCloser {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using Ppd = std::unique_ptr<ppd_file_t, PpdCloser>;

std::vector<std::string> ChoicesOf(ppd_file_t* ppd, const char* keyword) {
  std::vector<std::string> choices;
  const ppd_option_t* option = ppdFindOption(ppd, keyword);
  for (int i = 0; option && i < option->num_choices; ++i)
    choices.push_back(option->choices[i].choice);
  return choices;
}

// What a screen's row promises of its dots: the codes a blank area and the ramp may hold.
void ExpectDotsAsNamed(const Screen& screen, const Page& page, const std::string& what) {
  for (int ink = 0; ink < 4; ++ink) {
    const std::vector<uint8_t> amounts = InkAmounts(page, ink);
    std::map<uint8_t, int> ramp, blank;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) ++(y < kHeight / 2 ? ramp : blank)[amounts[y * kWidth + x]];
    SCOPED_TRACE(what + ", ink " + std::to_string(ink));
    EXPECT_EQ(blank.size() > 1, screen.dotsOnBlankPaper) << "codes on blank paper";
    // 1 bit: dot or none; the drop screens: the drop sizes their names give, all of them.
    std::vector<uint8_t> codes{0, 255};
    if (screen.bits == 2) codes = {0, 85, 170, 255};
    if (std::string(screen.name) == "SmallMediumDrops") codes = {0, 85, 170};
    std::vector<uint8_t> got;
    for (const auto& [code, count] : ramp) got.push_back(code);
    EXPECT_EQ(got, codes) << "codes on the ramp";
  }
}

// What the PPD's label of ByPrintQuality promises: Fine at High, Best at Photo, Error Diffusion
// below; at 2 bits the drop forms (FineDrops below Photo).
std::string ScreenThePrintQualityChooses(const std::string& quality, const std::string& bits) {
  if (bits == "2") return quality == "Photo" ? "BestDrops" : "FineDrops";
  return quality == "Photo" ? "Best" : quality == "High" ? "Fine" : "ErrorDiffusion";
}

// Every combination of the screen, bits and print quality choices: the PPD's constraints and
// the filter's refusals agree, and what is offered prints as named and differently from every
// other offered combination.
TEST_F(Choices, EveryPairOfPpdChoicesPrintsAsNamedOrIsConstrained) {
  const Ppd ppd(ppdOpenFile(KORVEL_PPD));
  ASSERT_TRUE(ppd);
  std::vector<std::string> screenNames;
  for (const Screen& screen : Screens()) screenNames.push_back(screen.name);
  ASSERT_EQ(ChoicesOf(ppd.get(), "KorvelScreen"), screenNames);
  std::map<std::vector<std::vector<uint8_t>>, std::string> offered;
  int constrained = 0;
  for (const Screen& screen : Screens())
    for (const std::string& bits : ChoicesOf(ppd.get(), "KorvelBits"))
      for (const std::string& quality : ChoicesOf(ppd.get(), "cupsPrintQuality")) {
        const std::string options = "KorvelScreen=" + std::string(screen.name) +
                                    " KorvelBits=" + bits + " cupsPrintQuality=" + quality;
        ppdMarkDefaults(ppd.get());
        cups_option_t* list = nullptr;
        const int count = cupsParseOptions(options.c_str(), 0, &list);
        cupsMarkOptions(ppd.get(), count, list);
        cupsFreeOptions(count, list);
        if (ppdConflicts(ppd.get()) > 0) {
          ++constrained;
          ExpectRefused(options);
          continue;
        }
        const Screened screened = Run(options);
        ASSERT_EQ(screened.run.exitCode, 0) << options << "\n" << screened.run.err;
        ASSERT_EQ(screened.pages.size(), 1u) << options;
        if (screen.byPrintQuality) {
          // It prints as the screen it stands for, at the same bits and quality.
          const std::string meant = ScreenThePrintQualityChooses(quality, bits);
          EXPECT_EQ(Printed("KorvelScreen=" + meant + " KorvelBits=" + bits +
                            " cupsPrintQuality=" + quality),
                    Printed(options))
              << options << " does not print as " << meant;
          continue;
        }
        ExpectDotsAsNamed(screen, screened.pages[0], options);
        const auto [same, fresh] = offered.emplace(screened.pages[0].lines, options);
        EXPECT_TRUE(fresh) << options << " prints as " << same->second;
      }
  EXPECT_GT(constrained, 0);
  EXPECT_GE(offered.size(), Screens().size() - 1);
}

// The PPD's print qualities are quality levels, which korvel-quality (in any case) overrides; the
// option text the scheduler hands over, as logged under cupsd, adds print-quality=4 to a job that
// chose Photo, and cupsPrintQuality=High to one that asked print-quality=5.
TEST_F(Choices, SchedulerAttributesNeverUndoAChoice) {
  const std::string added =
      "finishings=3 number-up=1 print-color-mode=color job-uuid=urn:uuid:1 "
      "job-originating-host-name=localhost date-time-at-creation= time-at-creation=1 ";
  const auto level = [&](int quality) {
    return Printed("korvel-quality=" + std::to_string(quality), "");
  };
  EXPECT_EQ(Printed(added + "cupsPrintQuality=Photo print-quality=4"), level(90));
  EXPECT_EQ(Printed(added + "print-quality=5 cupsPrintQuality=High"), level(70));
  EXPECT_EQ(Printed(added + "print-quality=5"), level(70));  // an IPP client
  EXPECT_EQ(Printed(added + "print-quality=3"), level(30));
  EXPECT_EQ(Printed(added), level(50));
  EXPECT_EQ(Printed(added + "print-quality=5 korvel-quality=0"), level(0));
  EXPECT_EQ(Printed("cupsPrintQuality=Photo korvel-quality=0"), level(0));
  EXPECT_EQ(Printed("cupsPrintQuality=Draft"), level(30));
  EXPECT_NE(level(0), level(90));
  const std::string photoQueue = PpdWithDefault("cupsPrintQuality", "Photo");
  EXPECT_EQ(Printed(added, photoQueue), level(90));
  EXPECT_EQ(Printed(added + "print-quality=4 cupsPrintQuality=Normal", photoQueue), level(50));
  EXPECT_EQ(Printed(added + "KorvelScreen=Matrix", PpdWithDefault("KorvelScreen", "Drops")),
            Printed("korvel-screen=Matrix", ""));
  EXPECT_EQ(Printed("print-color-mode=monochrome ColorModel=Gray"), level(50));
  // Option names in any case, as CUPS compares them: a korvel option in capitals is read.
  EXPECT_EQ(Printed("KORVEL-QUALITY=30", ""), level(30));
  std::ofstream(folder_ + "/curve") << "0 20 45 100";
  EXPECT_EQ(Printed("Korvel-Curve-c=curve"), Printed("korvel-curve-C=curve"));
  EXPECT_NE(Printed("korvel-curve-C=curve"), Printed(""));
}

TEST_F(Choices, ValuesNoOptionTakesStopTheJob) {
  std::ofstream(folder_ + "/curve") << "0 20 45 100";
  for (const std::string& options : std::vector<std::string>{
           "KorvelScreen=Bogus", "korvelscreen=Bogus", "KorvelBits=3", "KorvelBits=1.0",
           "cupsPrintQuality=Ultra", "cupsprintquality=Ultra", "print-quality=7",
           "print-quality=", "Korvel-quality=1000", "korvel-quality=' 50'", "korvel-quality=+50",
           "korvel-quality='50 '", "korvel-quality=0x10", "korvel-quality=", "korvel-threads=-0x1",
           "KorvelScreen=ErrorDiffusion KorvelBits=2", "KorvelScreen=Matrix cupsPrintQuality=Photo",
           "KorvelScreen=Drops KorvelBits=2 print-quality=3",
           "korvel-screen=Matrix korvel-curve-K=curve"})
    ExpectRefused(options);
  // Without the PPD, as a filter run by hand.
  for (const char* options :
       {"korvel-bogus=1", "korvel-quality=101", "korvel-quality=-2", "korvel-quality=5x",
        "korvel-bits=3", "korvel-screen=Stochastic", "korvel-threads=0", "korvel-curve-Q=x",
        "korvel-curve-K=/nonexistent/curve", "korvel-screen=Drops",
        "korvel-screen=SmallMediumDrops korvel-bits=1"})
    ExpectRefused(options, "");
  ExpectRefused("", PpdWithDefault("KorvelScreen", "Bogus"));
  ExpectRefused("KorvelScreen=Matrix", PpdWithDefault("cupsPrintQuality", "High"));
}

// The PAGE: lines of a filter's messages.
std::string PageLines(const std::string& messages) {
  std::string lines;
  for (size_t at = messages.find("PAGE: "); at != std::string::npos;
       at = messages.find("PAGE: ", at + 1))
    lines += messages.substr(at, messages.find('\n', at) + 1 - at);
  return lines;
}

// The copies: the filters before this one make them when they write the raster it reads on
// standard input; a raster that is the job's own file comes to the filter first, which screens
// it once per copy. Either way the scheduler is told of every page written.
TEST_F(Choices, CopiesAreMadeOnceAndCounted) {
  WriteRaster(folder_ + "/in.ras", {RampOverBlankPage(), RampOverBlankPage()});
  const Screened fromFile = Run("", KORVEL_PPD, "3", true);
  ASSERT_EQ(fromFile.run.exitCode, 0) << fromFile.run.err;
  EXPECT_EQ(fromFile.pages.size(), 6u);
  EXPECT_EQ(PageLines(fromFile.run.err),
            "PAGE: 1 1\nPAGE: 2 1\nPAGE: 1 1\nPAGE: 2 1\nPAGE: 1 1\nPAGE: 2 1\n");
  const Screened fromEarlierFilter = Run("", KORVEL_PPD, "3", false);
  ASSERT_EQ(fromEarlierFilter.run.exitCode, 0) << fromEarlierFilter.run.err;
  EXPECT_EQ(fromEarlierFilter.pages.size(), 2u);
  EXPECT_EQ(PageLines(fromEarlierFilter.run.err), "PAGE: 1 1\nPAGE: 2 1\n");
}

}  // namespace
}  // namespace cupstest
