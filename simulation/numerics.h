#pragma once
// Numerical routines of the calculation: the polynomial interpolation that the
// element characteristic tables use, and the Simpson integral of the die's
// converging zone. Both keep the single-precision rounding of the stored values
// at every step, so results are reproducible bit for bit.
#include <span>

namespace sim {

// pi and 2 pi as the calculation writes them, in double precision.
inline constexpr double kPi = 3.141592654;
inline constexpr double kTwoPi = 6.283185308;

// Stores a double-precision result as the single the calculation keeps.
inline float single(double v) { return static_cast<float>(v); }

// Value at x of the polynomial through the m points (X(k), Y(k)), by Neville's
// scheme: every step is computed in double precision and rounded to single.
// Outside X(1)..X(m) the polynomial extrapolates. m larger than either array is
// cut to the shorter one; m < 1 gives 0.
float NevilleInterpolate(std::span<const double> X, std::span<const float> Y, int m, float x);

// Integral of tan(t)^(1/n) * sin(t)^2 over [0, a/2] by the composite Simpson
// rule with `steps` intervals. An angle that is zero, negative or not a number
// means no converging zone and gives 0, as does a step count below 1.
float IntegrateShapeFactor(const float& a, const float& n, int steps);

}  // namespace sim
