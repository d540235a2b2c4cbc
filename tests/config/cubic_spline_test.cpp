// The natural cubic spline: knots, straight lines, end conditions, extrapolation and refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "config/cubic_spline.h"

namespace {

const std::vector<double> kX = {0, 1.5, 4, 5, 9, 12.25};
const std::vector<double> kY = {3, -2, 7, 7.5, 0, 10};

double At(const CCubicSplineInterpolation& s, double t) {
  double v = 0;
  EXPECT_TRUE(s.Interpolate(t, &v));
  return v;
}

// Second derivative of the Hermite piece k at its left (b = 0) or right (a = 0) end.
double SecondDerivative(const CCubicSplineInterpolation& s, int k, bool rightEnd) {
  const double w = s.h[k];
  const double dy = s.y[k + 1] - s.y[k];
  return rightEnd ? -6 * dy / (w * w) + (2 * s.m[k] + 4 * s.m[k + 1]) / w
                  : 6 * dy / (w * w) - (4 * s.m[k] + 2 * s.m[k + 1]) / w;
}

TEST(CubicSpline, RefusesFewerThanThreeKnotsAndNullArraysWithoutAllocating) {
  const double xs[] = {0, 1, 2};
  const CCubicSplineInterpolation two(xs, xs, 2), noX(nullptr, xs, 3), noY(xs, nullptr, 3),
      negative(xs, xs, -5);
  for (const auto* s : {&two, &noX, &noY, &negative}) {
    EXPECT_FALSE(s->valid);
    EXPECT_EQ(s->x, nullptr);
    double untouched = 42;
    EXPECT_FALSE(s->Interpolate(1.0, &untouched));
    EXPECT_EQ(untouched, 42);
  }
}

TEST(CubicSpline, PassesThroughEveryKnot) {
  const CCubicSplineInterpolation s(kX.data(), kY.data(), static_cast<int>(kX.size()));
  ASSERT_TRUE(s.valid);
  EXPECT_EQ(s.intervals, 5);
  for (size_t j = 0; j < kX.size(); ++j) EXPECT_NEAR(At(s, kX[j]), kY[j], 1e-12) << j;
}

TEST(CubicSpline, IsTwiceDifferentiableWithNaturalEnds) {
  const CCubicSplineInterpolation s(kX.data(), kY.data(), static_cast<int>(kX.size()));
  const int n = s.intervals;
  EXPECT_NEAR(SecondDerivative(s, 0, false), 0, 1e-9);
  EXPECT_NEAR(SecondDerivative(s, n - 1, true), 0, 1e-9);
  for (int k = 1; k < n; ++k) {
    EXPECT_NEAR(SecondDerivative(s, k - 1, true), SecondDerivative(s, k, false), 1e-9) << k;
  }
}

TEST(CubicSpline, StraightLineStaysStraightInsideAndOutside) {
  const double xs[] = {-10, 0, 7, 30, 31};
  double ys[5];
  for (int i = 0; i < 5; ++i) ys[i] = 2.5 * xs[i] - 4;
  const CCubicSplineInterpolation s(xs, ys, 5);
  ASSERT_TRUE(s.valid);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(s.m[i], 2.5, 1e-12);
  for (double t = -50; t <= 80; t += 0.75) EXPECT_NEAR(At(s, t), 2.5 * t - 4, 1e-9) << t;
}

TEST(CubicSpline, ExtrapolatesWithTheEndPiecesRatherThanClamping) {
  const double xs[] = {0, 1, 2, 3};
  const double ys[] = {0, 1, 0, 1};
  const CCubicSplineInterpolation s(xs, ys, 4);
  // The end pieces continue with the end slopes and bend away from the last values.
  const double e = 1e-6;
  EXPECT_NEAR((At(s, 3 + e) - 1) / e, s.m[3], 1e-4);
  EXPECT_NEAR((At(s, -e) - 0) / -e, s.m[0], 1e-4);
  EXPECT_GT(std::fabs(At(s, 5) - 1), 1);
  EXPECT_GT(std::fabs(At(s, -2)), 1);
}

TEST(CubicSpline, ComputeOnCallerFilledFieldsMatchesTheConstructor) {
  const CCubicSplineInterpolation built(kX.data(), kY.data(), static_cast<int>(kX.size()));
  CCubicSplineInterpolation filled(nullptr, nullptr, 0);
  const int n = static_cast<int>(kX.size());
  for (auto* a :
       {&filled.x, &filled.y, &filled.h, &filled.lambda, &filled.m, &filled.mu, &filled.diag}) {
    a->reset(new double[n]);
  }
  std::copy(kX.begin(), kX.end(), filled.x.get());
  std::copy(kY.begin(), kY.end(), filled.y.get());
  filled.intervals = n - 1;
  filled.valid = filled.Compute();
  ASSERT_TRUE(filled.valid);
  for (double t = -1; t < 14; t += 0.37) EXPECT_EQ(At(filled, t), At(built, t));
}

TEST(CubicSpline, VanishingPivotMakesTheCurveInvalidButKeepsItsArrays) {
  // Widths 3 and -4 make the second pivot 2 - mu[1] * lambda[0] / 2 = 2 - 4 * 0.5 = 0.
  const double xs[] = {0, 3, -1};
  const double ys[] = {1, 2, 3};
  const CCubicSplineInterpolation s(xs, ys, 3);
  EXPECT_FALSE(s.valid);
  EXPECT_NE(s.x, nullptr);
}

}  // namespace
