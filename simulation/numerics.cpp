#include "simulation/numerics.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sim {

float NevilleInterpolate(std::span<const double> X, std::span<const float> Y, int m, float x) {
    const std::size_t count =
        std::min({m > 0 ? static_cast<std::size_t>(m) : std::size_t{0}, X.size(), Y.size()});
    if (count == 0) return 0.0f;

    // P(j) holds, after row i, the value of the polynomial through points j..i.
    std::vector<float> P(count);
    const double xd = x;
    for (std::size_t i = 0; i < count; ++i) {
        P[i] = Y[i];
        for (std::size_t j = i; j-- > 0;) {
            const double span = X[i] - X[j];
            // Two equal abscissae give no polynomial through both; keep the
            // newer value rather than divide by zero.
            const float t = span != 0.0 ? static_cast<float>((xd - X[i]) / span) : 0.0f;
            P[j] = static_cast<float>(static_cast<double>(P[j + 1]) +
                                      (static_cast<double>(P[j + 1]) - static_cast<double>(P[j])) *
                                          static_cast<double>(t));
        }
    }
    return P[0];
}

namespace {

// tan(t)^(1/n) * sin(t)^2, rounded to single.
float shapeIntegrand(float t, double invN) {
    const double s = std::sin(static_cast<double>(t));
    return static_cast<float>(std::pow(std::tan(static_cast<double>(t)), invN) * s * s);
}

}  // namespace

float IntegrateShapeFactor(const float& a, const float& n, int steps) {
    // A die whose entrance is narrower than its capillary gives a negative
    // angle; its tangent has no real power 1/n, so it counts as no cone.
    if (!(a > 0.0f) || steps < 1) return 0.0f;

    const double invN = 1.0 / static_cast<double>(n);
    const float b = static_cast<float>(static_cast<double>(a) / 2.0);
    const float h = static_cast<float>(static_cast<double>(b) / steps);
    const float fb = shapeIntegrand(b, invN);

    float S = 0.0f;
    for (int i = 1; i <= steps - 1; ++i) {
        const float t = static_cast<float>(static_cast<double>(i) * h);
        const double weight = (i % 2 == 1) ? 4.0 : 2.0;
        S = static_cast<float>(static_cast<double>(S) + weight * shapeIntegrand(t, invN));
    }
    // f(0) = 0 is not evaluated.
    return static_cast<float>((static_cast<double>(S) + 0.0 + fb) * (static_cast<double>(h) / 3.0));
}

}  // namespace sim
