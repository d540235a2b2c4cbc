#include "config/cubic_spline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSmallestPivot = 1e-6;

}  // namespace

CCubicSplineInterpolation::CCubicSplineInterpolation(const double* xs, const double* ys,
                                                     int count) {
  if (xs == nullptr || ys == nullptr || count < 3) return;
  intervals = count - 1;
  x.reset(new double[count]);
  y.reset(new double[count]);
  h.reset(new double[count]());
  lambda.reset(new double[count]());
  m.reset(new double[count]());
  mu.reset(new double[count]());
  diag.reset(new double[count]());
  std::copy(xs, xs + count, x.get());
  std::copy(ys, ys + count, y.get());
  valid = Compute();
}

CCubicSplineInterpolation::~CCubicSplineInterpolation() = default;

bool CCubicSplineInterpolation::Compute() {
  const int n = intervals;
  if (n < 1 || !x || !y || !h || !lambda || !m || !mu || !diag) return false;

  for (int i = 0; i < n; ++i) h[i] = x[i + 1] - x[i];
  for (int i = 1; i < n; ++i) {
    lambda[i] = h[i - 1] / (h[i - 1] + h[i]);
    m[i] = 3.0 * ((y[i] - y[i - 1]) * (1.0 - lambda[i]) / h[i - 1] +
                  (y[i + 1] - y[i]) * lambda[i] / h[i]);
  }
  // Natural ends: 2 s[0] + s[1] = m[0] and s[N-1] + 2 s[N] = m[N].
  lambda[0] = 1.0;
  lambda[n] = 0.0;
  m[0] = 3.0 * (y[1] - y[0]) / h[0];
  m[n] = 3.0 * (y[n] - y[n - 1]) / h[n - 1];
  for (int i = 0; i <= n; ++i) {
    diag[i] = 2.0;
    mu[i] = 1.0 - lambda[i];
  }

  // Tridiagonal solve: forward elimination normalising each row by its pivot, then back
  // substitution, which leaves the slopes in m.
  for (int i = 1; i <= n; ++i) {
    const double pivot = diag[i - 1];
    if (std::fabs(pivot) <= kSmallestPivot) return false;
    lambda[i - 1] /= pivot;
    m[i - 1] /= pivot;
    diag[i] -= mu[i] * lambda[i - 1];
    m[i] -= mu[i] * m[i - 1];
  }
  m[n] /= diag[n];
  for (int i = n - 1; i >= 0; --i) m[i] -= lambda[i] * m[i + 1];
  return true;
}

int CCubicSplineInterpolation::IntervalOf(double t) const {
  const int n = intervals;
  if (t < x[0]) return 0;
  if (t > x[n]) return n - 1;
  for (int j = 1; j <= n; ++j) {
    if (x[j] >= t) return j - 1;
  }
  return n - 1;  // t is not a number
}

bool CCubicSplineInterpolation::Interpolate(const double& t, double* value) const {
  if (intervals < 1 || !x || !y || !h || !m) return false;
  const int k = IntervalOf(t);
  const double a = x[k + 1] - t;
  const double b = t - x[k];
  const double w = h[k];
  *value =
      ((3.0 * a * a - 2.0 * a * a * a / w) * y[k] + (3.0 * b * b - 2.0 * b * b * b / w) * y[k + 1] +
       (w * a * a - a * a * a) * m[k] - (w * b * b - b * b * b) * m[k + 1]) /
      (w * w);
  return true;
}
