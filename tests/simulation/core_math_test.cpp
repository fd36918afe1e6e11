// The core's numerical pieces: the complementary error function, the channel
// geometry of a twin-screw element and the mixture of the feed-port streams.
#include <gtest/gtest.h>

#include <cmath>

#include "simulation/core.h"
#include "simulation/core_fixture.h"
#include "simulation/core_internal.h"

namespace {

TEST(ErfcSingle, KnownValuesOfTheCutFit) {
    EXPECT_EQ(sim::ErfcSingle(0.0f), 0.9998000f);  // not 1: the fit's own value
    EXPECT_FLOAT_EQ(sim::ErfcSingle(1.0f), 0.15728956f);
    EXPECT_FLOAT_EQ(sim::ErfcSingle(2.0f), 0.0046775951f);
    EXPECT_FLOAT_EQ(sim::ErfcSingle(3.0f), 2.2090158e-05f);
    EXPECT_FLOAT_EQ(sim::ErfcSingle(-1.0f), 1.8427105f);
}

TEST(ErfcSingle, CloseToTheExactFunctionAndSymmetric) {
    for (int i = 0; i <= 400; ++i) {
        const float x = static_cast<float>(i) / 100.0f;
        const float f = sim::ErfcSingle(x);
        EXPECT_NEAR(f, std::erfc(static_cast<double>(x)), 2e-4) << "x = " << x;
        if (i > 0) {
            EXPECT_FLOAT_EQ(sim::ErfcSingle(-x), 2.0f - f) << "x = " << x;
        }
    }
}

TEST(ErfcSingle, LargeArgumentsUnderflowQuietly) {
    const float f = sim::ErfcSingle(10.0f);
    EXPECT_GE(f, 0.0f);
    EXPECT_LT(f, 1e-40f);
    EXPECT_EQ(sim::ErfcSingle(1e20f), 0.0f);
    EXPECT_EQ(sim::ErfcSingle(-1e20f), 2.0f);
}

TEST(ChannelGeometry, TwoTipsAtRatio17) {
    sim::ChannelGeometry g;
    ASSERT_TRUE(sim::ComputeChannelGeometry(1.7f, 2, g));
    EXPECT_NEAR(g.IntermeshAngle, 0.554811, 1e-6);
    EXPECT_NEAR(g.TipAngle, 0.461174, 1e-6);
    EXPECT_NEAR(g.ChannelArea, 0.519348, 1e-6);
    EXPECT_NEAR(g.FreeArea, 2.785650, 1e-6);
    EXPECT_NEAR(g.ChannelSpan, 2.680418, 1e-6);
    EXPECT_NEAR(g.MeanChannelDepth, 0.193756, 1e-6);
}

TEST(ChannelGeometry, MatchesTheCircleConstruction) {
    // Three tips at another ratio, against acos and the formulas in double.
    const double r = 1.6, n = 3, pi = 3.141592654;
    const double psi = std::acos(r / 2);
    const double alpha = pi / n - 2 * psi;
    const double area = pi / n - r * r * psi + r * std::sin(psi) - (r * r - 2 * r + 2) * alpha / 2;
    const double span = 4 * psi + alpha;
    sim::ChannelGeometry g;
    ASSERT_TRUE(sim::ComputeChannelGeometry(1.6f, 3, g));
    EXPECT_NEAR(g.IntermeshAngle, psi, 1e-6);
    EXPECT_NEAR(g.TipAngle, alpha, 1e-6);
    EXPECT_NEAR(g.ChannelArea, area, 1e-6);
    EXPECT_NEAR(g.MeanChannelDepth, area / span, 1e-6);
}

TEST(ChannelGeometry, FreeAreaKeepsItsSingleTermsSingle) {
    // (2n + 1) r, (1 - 2r) n alpha and 2 psi + alpha are single-precision
    // products and sums; forming them in double moves the last bit.
    sim::ChannelGeometry g;
    ASSERT_TRUE(sim::ComputeChannelGeometry(1.7f, 2, g));
    EXPECT_EQ(g.FreeArea, 2.7856493f);
    ASSERT_TRUE(sim::ComputeChannelGeometry(1.6f, 3, g));
    EXPECT_EQ(g.FreeArea, 2.09099436f);
    ASSERT_TRUE(sim::ComputeChannelGeometry(1.0f, 1, g));
    EXPECT_EQ(g.FreeArea, 4.6924715f);
}

TEST(ChannelGeometry, RefusesUndefinedIntermeshing) {
    sim::ChannelGeometry g;
    EXPECT_FALSE(sim::ComputeChannelGeometry(1.7f, 0, g));
    EXPECT_FALSE(sim::ComputeChannelGeometry(0.0f, 2, g));
    EXPECT_FALSE(sim::ComputeChannelGeometry(2.0f, 2, g));
    EXPECT_FALSE(sim::ComputeChannelGeometry(-1.0f, 2, g));
    EXPECT_FALSE(sim::ComputeChannelGeometry(std::nanf(""), 2, g));
}

// The port mixture of the set-up, read from the core's working data.
struct Mixture {
    std::vector<float> density, throughput;
    bool stopped = false;
};

Mixture mix(float speed, float radius, const std::vector<records::PortRecord>& ports) {
    sim::OneBasedList<records::ElementRecord> elements{coretest::conveying(0, 1), coretest::endZone(1, 0)};
    sim::OneBasedList<records::PortRecord> portList;
    for (const auto& p : ports) portList.push_back(p);
    records::SolidsBlock s = coretest::solids();
    records::MeltingBlock m = coretest::melting();
    records::RunState state;
    std::vector<records::MeltProfileRow> profile(1);
    sim::core::CoreRun run(speed, radius, portList.count(), elements, s, m, portList, elements.count(), state, profile,
                           false);
    Mixture out;
    try {
        run.checkArguments();
        run.mixPorts();
    } catch (const sim::core::Halt&) {
        out.stopped = true;
        return out;
    }
    out.density.assign(run.PortDensity.begin() + 1, run.PortDensity.end());
    out.throughput.assign(run.PortThroughput.begin() + 1, run.PortThroughput.end());
    return out;
}

records::PortRecord stream(float flow, float density) {
    records::PortRecord p = coretest::port(flow);
    p.Density = density;
    return p;
}

TEST(PortMixture, ThroughputAndMixtureDensity) {
    Mixture one = mix(1, 10, {stream(36, 1)});
    ASSERT_FALSE(one.stopped);
    EXPECT_FLOAT_EQ(one.throughput[0], 1.5915494f);

    Mixture two = mix(1, 10, {stream(36, 1), stream(36, 0.5f)});
    ASSERT_FALSE(two.stopped);
    EXPECT_FLOAT_EQ(two.density[1], 0.6666667f);  // total mass over total volume, not the second density
    EXPECT_FLOAT_EQ(two.throughput[1], 4.7746483f);

    // Throughput times density stays proportional to the cumulative mass.
    Mixture three = mix(2, 12, {stream(10, 0.9f), stream(25, 0.6f), stream(5, 1.3f)});
    ASSERT_FALSE(three.stopped);
    const double perMass = three.throughput[0] * three.density[0] / 10.0;
    EXPECT_NEAR(three.throughput[1] * three.density[1] / 35.0, perMass, perMass * 1e-6);
    EXPECT_NEAR(three.throughput[2] * three.density[2] / 40.0, perMass, perMass * 1e-6);
}

TEST(PortMixture, PortWithoutFlowKeepsTheMixtureBeforeIt) {
    Mixture m = mix(1, 10, {stream(36, 1), stream(0, 0)});
    ASSERT_FALSE(m.stopped);
    EXPECT_EQ(m.density[1], m.density[0]);
    EXPECT_EQ(m.throughput[1], m.throughput[0]);
}

TEST(PortMixture, NoThroughputWithoutSpeedOrFlowStops) {
    EXPECT_TRUE(mix(0, 10, {stream(36, 1)}).stopped);
    EXPECT_TRUE(mix(1, 0, {stream(36, 1)}).stopped);
    EXPECT_TRUE(mix(1, 10, {stream(0, 1)}).stopped);
    EXPECT_TRUE(mix(1, 10, {stream(36, 0)}).stopped);
    EXPECT_TRUE(mix(std::nanf(""), 10, {stream(36, 1)}).stopped);
}

TEST(CoreRounding, HalvesToEvenAndRefusesWhatHasNoInteger) {
    using sim::core::roundToInt16;
    EXPECT_EQ(roundToInt16(0.5f, 0), 0);
    EXPECT_EQ(roundToInt16(1.5f, 0), 2);
    EXPECT_EQ(roundToInt16(2.5f, 0), 2);
    EXPECT_EQ(roundToInt16(-1.5f, 0), -2);
    EXPECT_THROW(roundToInt16(std::nanf(""), 0), sim::core::Halt);
    EXPECT_THROW(roundToInt16(INFINITY, 0), sim::core::Halt);
    EXPECT_THROW(roundToInt16(40000.0f, 0), sim::core::Halt);
}

}  // namespace
