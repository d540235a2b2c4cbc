// Natural cubic spline through a few knots, in slope form: the slopes at the knots are solved
// once, and each piece is the cubic Hermite curve between two neighbouring knots. Outside the
// knot range the first or last piece is extended, so the curve is extrapolated, not clamped.
#ifndef KORVEL_CONFIG_CUBIC_SPLINE_H
#define KORVEL_CONFIG_CUBIC_SPLINE_H

#include <cstdint>
#include <memory>

class CCubicSplineInterpolation {
 public:
  // Copies `count` abscissae (strictly increasing) and values. With a null array or fewer than
  // 3 knots the object stays invalid and allocates nothing.
  CCubicSplineInterpolation(const double* xs, const double* ys, int count);
  virtual ~CCubicSplineInterpolation();

  CCubicSplineInterpolation(const CCubicSplineInterpolation&) = delete;
  CCubicSplineInterpolation& operator=(const CCubicSplineInterpolation&) = delete;

  // Solves for the slope at every knot under natural end conditions (second derivative zero at
  // both ends). Needs the seven arrays of intervals + 1 doubles with x and y filled in. Returns
  // false when a pivot of the elimination is at most 1e-6 in magnitude.
  bool Compute();

  // Writes the curve's value at t into *value. The object must be valid; one that never got its
  // arrays leaves *value untouched and returns false. Otherwise returns true.
  bool Interpolate(const double& t, double* value) const;

  bool valid = false;                // Compute succeeded
  int32_t intervals = 0;             // number of knots - 1
  std::unique_ptr<double[]> x;       // knot abscissae
  std::unique_ptr<double[]> y;       // knot values
  std::unique_ptr<double[]> h;       // interval widths x[i+1] - x[i]
  std::unique_ptr<double[]> lambda;  // super-diagonal of the slope system (normalised by the solve)
  std::unique_ptr<double[]> m;       // right-hand side; after the solve, the slope at each knot
  std::unique_ptr<double[]> mu;      // sub-diagonal, 1 - lambda
  std::unique_ptr<double[]> diag;    // diagonal, 2 before the elimination

 private:
  int IntervalOf(double t) const;
};

#endif
