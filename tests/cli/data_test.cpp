// The sample data: the chart and the pass-parameter files are exactly what their generators
// write, and the tone curves are ones the library can use.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "cli_support.h"

namespace {

const int kLevels[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

std::string ParameterFile(int level) {
  return std::string(KORVEL_DATA_SOURCE) + "/Data/QntPassParam_" + std::to_string(level) + ".ini";
}

// section -> key -> value, for the plain files the generator writes (comments start with ';').
using Ini = std::map<std::string, std::map<std::string, int>>;

Ini ParseIni(const std::string& text) {
  Ini ini;
  std::istringstream lines(text);
  std::string line, section;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const size_t equals = line.find('=');
    EXPECT_NE(equals, std::string::npos) << line;
    if (equals != std::string::npos)
      ini[section][line.substr(0, equals)] = std::stoi(line.substr(equals + 1));
  }
  return ini;
}

// A natural cubic spline through (x[i], y[i]), evaluated at t: the interpolation the library
// puts through the curve points.
class NaturalSpline {
 public:
  NaturalSpline(std::vector<double> x, std::vector<double> y) : x_(std::move(x)), y_(std::move(y)) {
    const size_t n = x_.size();
    m_.assign(n, 0.0);
    std::vector<double> c(n, 0.0), d(n, 0.0);
    for (size_t i = 1; i + 1 < n; ++i) {
      const double h0 = x_[i] - x_[i - 1], h1 = x_[i + 1] - x_[i];
      const double a = h0, b = 2.0 * (h0 + h1), cc = h1;
      const double r = 6.0 * ((y_[i + 1] - y_[i]) / h1 - (y_[i] - y_[i - 1]) / h0);
      const double denominator = b - a * c[i - 1];
      c[i] = cc / denominator;
      d[i] = (r - a * d[i - 1]) / denominator;
    }
    for (size_t i = n - 2; i >= 1; --i) m_[i] = d[i] - c[i] * m_[i + 1];
  }
  double operator()(double t) const {
    size_t i = 0;
    while (i + 2 < x_.size() && t > x_[i + 1]) ++i;
    const double h = x_[i + 1] - x_[i], a = (x_[i + 1] - t) / h, b = (t - x_[i]) / h;
    return a * y_[i] + b * y_[i + 1] +
           ((a * a * a - a) * m_[i] + (b * b * b - b) * m_[i + 1]) * h * h / 6.0;
  }

 private:
  std::vector<double> x_, y_, m_;
};

std::vector<int> Values(const std::map<std::string, int>& section, int first, int count) {
  std::vector<int> values;
  for (int k = first; k < first + count; ++k) {
    const auto found = section.find("Param" + std::to_string(k));
    EXPECT_NE(found, section.end()) << "Param" << k;
    values.push_back(found == section.end() ? -1 : found->second);
  }
  return values;
}

TEST(SampleData, ChartAndParameterFilesMatchTheirGenerators) {
  const std::string folder = cli::ScratchFolder();
  cli::RunResult run = cli::RunProgram({KORVEL_CHARTGEN, folder + "/chart.pgm"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(cli::ReadFileBytes(folder + "/chart.pgm") == cli::ReadFileBytes(cli::ChartPath()))
      << "data/chart.pgm is stale: run chartgen data/chart.pgm";
  run = cli::RunProgram({KORVEL_PASSPARAMGEN, folder});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(cli::FolderEntries(folder).size(), 1u + 12u);
  for (int level : {-1, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}) {
    const std::string name = "/QntPassParam_" + std::to_string(level) + ".ini";
    EXPECT_EQ(cli::ReadFileBytes(folder + name), cli::ReadFileBytes(ParameterFile(level)))
        << name << " is stale: run passparamgen data/Data";
  }
}

TEST(SampleData, ChartIsAModestGreyImageWithTheFullRange) {
  const std::string chart = cli::ReadFileBytes(cli::ChartPath());
  const std::string header =
      "P5\n# korvel sample chart, written by tools/chartgen\n1024 768\n255\n";
  ASSERT_EQ(chart.compare(0, header.size(), header), 0);
  ASSERT_EQ(chart.size(), header.size() + 1024 * 768);
  const auto pixel = [&](int x, int y) {
    return static_cast<uint8_t>(chart[header.size() + y * 1024 + x]);
  };
  EXPECT_EQ(pixel(0, 0), 0);
  EXPECT_EQ(pixel(1023, 0), 255);
  for (int x = 1; x < 1024; ++x) ASSERT_LE(pixel(x - 1, 10), pixel(x, 10)) << "ramp falls at " << x;
  int steps = 1;
  for (int x = 1; x < 1024; ++x) steps += pixel(x, 100) != pixel(x - 1, 100);
  EXPECT_EQ(steps, 21);
}

TEST(SampleData, ToneCurvesStayInRangeAndRiseWithoutOvershoot) {
  double previousMidtone = 101.0;
  for (int level : kLevels) {
    SCOPED_TRACE("level " + std::to_string(level));
    const Ini ini = ParseIni(cli::ReadFileBytes(ParameterFile(level)));
    ASSERT_TRUE(ini.count("QNT_CURVE"));
    const auto& curve = ini.at("QNT_CURVE");
    const int n = curve.count("EffectiveParams") ? curve.at("EffectiveParams") : 0;
    ASSERT_GE(n, 3) << "fewer than three points are ignored";
    EXPECT_EQ(curve.size(), static_cast<size_t>(n) + 1) << "no keys beyond ParamN";
    const std::vector<int> points = Values(curve, 1, n);
    EXPECT_EQ(points.front(), 0);
    EXPECT_EQ(points.back(), 100);
    std::vector<double> x, y;
    for (int k = 0; k < n; ++k) {
      if (k) {
        EXPECT_LT(points[k - 1], points[k]);
      }
      EXPECT_LE(points[k], 100.0 * k / (n - 1)) << "compensation lays less ink, never more";
      x.push_back(k * (2550.0 / (n - 1)));
      y.push_back(points[k] * 0.01 * 2550.0);
    }
    // The screen accepts only targets 0..2550: the spline the library builds must stay inside
    // and keep rising between the points.
    const NaturalSpline spline(x, y);
    double previous = -1.0;
    for (int amount = 0; amount <= 2550; ++amount) {
      const double value = spline(amount);
      ASSERT_GE(value + 0.5, 0.0) << amount;
      ASSERT_LT(value + 0.5, 2551.0) << amount;
      ASSERT_GE(value, previous) << amount;
      previous = value;
    }
    const double midtone = points[(n - 1) / 2];
    EXPECT_LT(midtone, previousMidtone) << "compensation grows with the level";
    previousMidtone = midtone;
  }
}

TEST(SampleData, CompensationRampsRunFromPaperToSolid) {
  for (int level : {-1, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}) {
    SCOPED_TRACE("level " + std::to_string(level));
    const Ini ini = ParseIni(cli::ReadFileBytes(ParameterFile(level)));
    ASSERT_TRUE(ini.count("QNT_COMPENSATION"));
    EXPECT_EQ(ini.count("QNT_CURVE"), level > 0 ? 1u : 0u) << "levels 0 and -1 use built-in curves";
    const std::vector<int> ramp = Values(ini.at("QNT_COMPENSATION"), 0, 7);
    EXPECT_EQ(ramp.front(), 0);
    EXPECT_EQ(ramp.back(), 100);
    for (size_t k = 1; k < ramp.size(); ++k) EXPECT_LT(ramp[k - 1], ramp[k]);
  }
}

}  // namespace
