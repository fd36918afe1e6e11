#include "simulation/numerics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace {

std::array<double, 10> grid() {
    std::array<double, 10> X{};
    for (int k = 1; k <= 10; ++k) X[k - 1] = k * 0.1;
    return X;
}

TEST(NevilleInterpolate, ReproducesPolynomialOfDegreeNine) {
    auto poly = [](double x) {
        double v = 0, p = 1;
        const double c[10] = {0.5, -1.0, 2.0, 0.25, -0.75, 1.5, -0.5, 0.3, -0.2, 0.1};
        for (double ck : c) {
            v += ck * p;
            p *= x;
        }
        return v;
    };
    auto X = grid();
    std::array<float, 10> Y{};
    for (int k = 0; k < 10; ++k) Y[k] = static_cast<float>(poly(X[k]));
    for (float x : {0.1f, 0.15f, 0.37f, 0.5f, 0.64f, 0.99f, 1.0f}) {
        EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 10, x), poly(x), 2e-5) << "x=" << x;
    }
    // Grid points return the stored ordinate up to rounding.
    EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 10, 0.1f), Y[0], 1e-5);
    EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 10, 1.0f), Y[9], 1e-5);
}

TEST(NevilleInterpolate, LinearDataExtrapolatesAndDegenerateInputsAreSafe) {
    auto X = grid();
    std::array<float, 10> Y{};
    for (int k = 0; k < 10; ++k) Y[k] = static_cast<float>(3.0 * X[k] - 1.0);
    EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 10, 1.5f), 3.5, 1e-2);  // no clamping (rounding grows outside)
    EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 10, 0.0f), -1.0, 1e-3);
    EXPECT_EQ(sim::NevilleInterpolate(X, Y, 0, 0.5f), 0.0f);
    EXPECT_EQ(sim::NevilleInterpolate(X, Y, 1, 0.5f), Y[0]);
    EXPECT_NEAR(sim::NevilleInterpolate(X, Y, 50, 0.5f), 0.5, 1e-4);  // m cut to the arrays
    std::array<double, 2> same{0.5, 0.5};
    std::array<float, 2> ys{1.0f, 2.0f};
    EXPECT_TRUE(std::isfinite(sim::NevilleInterpolate(same, ys, 2, 0.7f)));
}

// The rule written out independently: every value rounded to single as stated.
float simpsonReference(float a, int steps) {
    float b = a / 2.0f;
    float h = b / static_cast<float>(steps);
    auto f = [](float t) {
        double s = std::sin(static_cast<double>(t));
        return static_cast<float>(std::tan(static_cast<double>(t)) * s * s);
    };
    float sum = 0.0f;
    for (int i = 1; i < steps; ++i) {
        float t = static_cast<float>(i) * h;
        sum = static_cast<float>(sum + (i % 2 ? 4.0 : 2.0) * f(t));
    }
    return static_cast<float>((static_cast<double>(sum) + f(b)) * (static_cast<double>(h) / 3.0));
}

TEST(IntegrateShapeFactor, ZeroNegativeAndNaNAnglesMeanNoCone) {
    for (float n : {0.2f, 0.5f, 1.0f}) {
        EXPECT_EQ(sim::IntegrateShapeFactor(0.0f, n, 20), 0.0f);
        EXPECT_EQ(sim::IntegrateShapeFactor(-0.3f, n, 20), 0.0f);
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(sim::IntegrateShapeFactor(nan, 0.5f, 20), 0.0f);
    EXPECT_EQ(sim::IntegrateShapeFactor(0.4f, 0.5f, 0), 0.0f);
}

TEST(IntegrateShapeFactor, PowerLawIndexOneIsTheTwentyIntervalSimpsonSum) {
    for (float a : {0.05f, 0.3f, 0.7853982f, 1.2f}) {
        const float got = sim::IntegrateShapeFactor(a, 1.0f, 20);
        EXPECT_FLOAT_EQ(got, simpsonReference(a, 20)) << "a=" << a;
        // Close to, but not required to equal, the exact integral
        // of tan t sin^2 t = -ln cos t - sin^2 t / 2.
        const double b = a / 2.0;
        const double exact = -std::log(std::cos(b)) - std::sin(b) * std::sin(b) / 2.0;
        EXPECT_NEAR(got, exact, 1e-5 + 1e-4 * exact);
    }
}

TEST(IntegrateShapeFactor, SmallerIndexGivesSmallerIntegrandBelowOne) {
    // tan t < 1 on the range, so a larger power 1/n shrinks the integrand.
    EXPECT_LT(sim::IntegrateShapeFactor(0.8f, 0.3f, 20), sim::IntegrateShapeFactor(0.8f, 1.0f, 20));
    EXPECT_GT(sim::IntegrateShapeFactor(0.8f, 0.3f, 20), 0.0f);
}

}  // namespace
