// The natural cubic spline passes through its knots with zero curvature at both ends, keeps a
// straight line straight inside and outside, and refuses fewer than three knots.
#include <gtest/gtest.h>

#include "config/cubic_spline.h"

namespace {

double At(const CCubicSplineInterpolation& s, double t) {
  double v = 0;
  EXPECT_TRUE(s.Interpolate(t, &v));
  return v;
}

TEST(CubicSpline, KnotsNaturalEndsAndStraightLines) {
  const double xs[] = {0, 1.5, 4, 5, 9, 12.25}, ys[] = {3, -2, 7, 7.5, 0, 10};
  const CCubicSplineInterpolation s(xs, ys, 6);
  ASSERT_TRUE(s.valid);
  for (int j = 0; j < 6; ++j) EXPECT_NEAR(At(s, xs[j]), ys[j], 1e-12) << j;
  const double d = 1e-3;  // second differences at the ends
  EXPECT_NEAR((At(s, 0) - 2 * At(s, d) + At(s, 2 * d)) / (d * d), 0, 1e-2);
  EXPECT_NEAR((At(s, 12.25) - 2 * At(s, 12.25 - d) + At(s, 12.25 - 2 * d)) / (d * d), 0, 1e-2);
  double line[6];
  for (int i = 0; i < 6; ++i) line[i] = 2.5 * xs[i] - 4;
  const CCubicSplineInterpolation straight(xs, line, 6);
  for (double t = -20; t <= 30; t += 0.75) EXPECT_NEAR(At(straight, t), 2.5 * t - 4, 1e-9) << t;
  EXPECT_FALSE(CCubicSplineInterpolation(xs, ys, 2).valid);
}

}  // namespace
