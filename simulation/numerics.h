#pragma once
// Numerical routines of the calculation: the polynomial interpolation that the
// element characteristic tables use, and the Simpson integral of the die's
// converging zone. Both keep the single-precision rounding of the stored values
// at every step, so results are reproducible bit for bit. Beside them, the
// nearness rules of the calculation: when two positions along the screw are
// the same place or the same point, and when a pressure is none.
#include <cmath>
#include <span>

namespace sim {

// pi and 2 pi as the calculation writes them, in double precision.
inline constexpr double kPi = 3.141592654;
inline constexpr double kTwoPi = 6.283185308;

// Stores a double-precision result as the single the calculation keeps.
inline float single(double v) { return static_cast<float>(v); }

// Positions along the screw within this many radii are the same place: the
// analysis' rule for element ends and region edges, what makes a kneading
// segment a whole number of disks, and the calculation's rule for a die whose
// total and capillary lengths are one. The difference is rounded to
// single before it is compared.
inline constexpr float kSamePlace = 0.001f;
inline bool samePlace(float a, float b) {
    const float difference = a - b;
    return std::fabs(difference) <= kSamePlace;
}

// Within one element the passes take positions closer than this many radii as
// one point: sub-step ends, starvation points and the melt end are sums and
// differences of singles that differ only by their roundings. The difference
// is rounded to single before it is compared.
inline constexpr double kSamePoint = 0.0001;
inline bool samePoint(float a, float b) {
    const float difference = a - b;
    return std::fabs(difference) < kSamePoint;
}
// x lies at or past point; a rounding short of it counts as at it.
inline bool reaches(float x, float point) { return x >= point || samePoint(x, point); }
// A position or length within an element that is at most a rounding: a
// starvation point at the element's start, a part of no length.
inline bool atStart(float x) { return reaches(0.0f, x); }

// A pressure closer to 0 than this many MPa is none: the row upstream of it,
// or of any pressure below it, is starved, a melting-profile point carries
// none, and a die pressure so given is not given. Compared in single
// precision.
inline constexpr float kNoPressure = 0.0001f;
inline bool isZeroPressure(float p) { return std::fabs(p) < kNoPressure; }

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
