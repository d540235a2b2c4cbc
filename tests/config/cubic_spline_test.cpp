// The natural cubic spline: knots, straight lines, end conditions, extrapolation and refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "config/cubic_spline.h"

namespace {

const double kX[] = {0, 1.5, 4, 5, 9, 12.25};
const double kY[] = {3, -2, 7, 7.5, 0, 10};

double At(const CCubicSplineInterpolation& s, double t) {
  double v = 0;
  EXPECT_TRUE(s.Interpolate(t, &v));
  return v;
}

// Second derivative of Hermite piece k at its left or right end.
double Curvature(const CCubicSplineInterpolation& s, int k, bool right) {
  const double w = s.h[k], dy = s.y[k + 1] - s.y[k];
  return right ? -6 * dy / (w * w) + (2 * s.m[k] + 4 * s.m[k + 1]) / w
               : 6 * dy / (w * w) - (4 * s.m[k] + 2 * s.m[k + 1]) / w;
}

TEST(CubicSpline, RefusesFewerThanThreeKnotsAndNullArraysWithoutAllocating) {
  const CCubicSplineInterpolation two(kX, kY, 2), noX(nullptr, kY, 3), noY(kX, nullptr, 3);
  for (const auto* s : {&two, &noX, &noY}) {
    EXPECT_FALSE(s->valid);
    EXPECT_EQ(s->x, nullptr);
  }
  // Widths 3 and -4 make the second pivot 2 - mu[1] * lambda[0] / 2 = 0: invalid, arrays kept.
  const double xs[] = {0, 3, -1};
  const CCubicSplineInterpolation singular(xs, kY, 3);
  EXPECT_FALSE(singular.valid);
  EXPECT_NE(singular.x, nullptr);
}

TEST(CubicSpline, PassesThroughTheKnotsTwiceDifferentiableWithNaturalEnds) {
  const CCubicSplineInterpolation s(kX, kY, 6);
  ASSERT_TRUE(s.valid);
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(At(s, kX[j]), kY[j], 1e-12) << j;
  EXPECT_NEAR(Curvature(s, 0, false), 0, 1e-9);
  EXPECT_NEAR(Curvature(s, 4, true), 0, 1e-9);
  for (int k = 1; k < 5; ++k) EXPECT_NEAR(Curvature(s, k - 1, true), Curvature(s, k, false), 1e-9);
  // Outside the knots the end pieces go on; nothing is clamped.
  EXPECT_GT(std::fabs(At(s, 16) - kY[5]), 1);
  EXPECT_NEAR((At(s, 12.25 + 1e-6) - kY[5]) / 1e-6, s.m[5], 1e-4);
}

TEST(CubicSpline, StraightLineStaysStraightInsideAndOutside) {
  const double xs[] = {-10, 0, 7, 30, 31};
  double ys[5];
  for (int i = 0; i < 5; ++i) ys[i] = 2.5 * xs[i] - 4;
  const CCubicSplineInterpolation s(xs, ys, 5);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(s.m[i], 2.5, 1e-12);
  for (double t = -50; t <= 80; t += 0.75) EXPECT_NEAR(At(s, t), 2.5 * t - 4, 1e-9) << t;
}

}  // namespace
