// Backward pass of the core over conveying elements, on a synthetic melting
// profile whose pressure gradient is the same at every point, and the fill of
// an element that does not run partly filled, in both phases, and under an
// opening.
#include <gtest/gtest.h>

#include <cmath>

#include "simulation/core.h"
#include "simulation/core_fixture.h"

namespace {

using namespace coretest;

constexpr float kHelix = 0.45f;
constexpr float kUnmelted = 0.5f;
constexpr float kFilm = 0.02f;
constexpr float kCapacity = 0.3f;
constexpr int kLastPoint = 30;

// Newtonian melt without temperature shift, so the gradient at a profile
// point depends only on the channel, the throughput and the film.
CoreCall syntheticProfile(float diePressureInSteps, double& pressureStep) {
    CoreCall r;
    r.speed = 1;
    r.radius = 10;
    records::PortRecord p = port(1);
    p.ViscositySensitivity = 0;
    p.Consistency = 1;
    p.PowerLawIndex = 1;
    p.Density = 1;
    r.ports = sim::OneBasedList<records::PortRecord>{p};
    ElementRecord hopper = conveying(0, 1, kHelix);
    hopper.RegionCode = records::kHopperRegion;
    r.elements.push_back(hopper);
    r.elements.push_back(conveying(1, 1, kHelix));
    r.elements.push_back(conveying(2, 1, kHelix));
    for (auto& e : r.elements.items()) e.TableValue2 = kCapacity;

    // The pressure lost per tenth of an element, from the channel cross-section.
    sim::ChannelGeometry g;
    sim::ComputeChannelGeometry(r.centerline, 2, g);
    const double q = 1000.0 / (3.6 * 6.283185308 * 1000.0);
    const double drag = std::cos(kHelix);
    const double flow = q / (3 * std::sin(kHelix) * g.ChannelArea);
    const double H = g.MeanChannelDepth;
    const double pool = (1 - kUnmelted) * H - kFilm;
    const double gradient = 2 * ((drag - flow) / pool - flow / kFilm) / (2 * H - pool);
    const double scale = 1000.0 / 6.283185308;
    pressureStep = gradient / scale * 0.1 / std::sin(kHelix);

    r.elements.push_back(endZone(3, static_cast<float>(diePressureInSteps * pressureStep)));
    r.state.MeltEndElement = 3;
    r.state.MeltEndPosition = 1;
    r.state.LastProfileRow = kLastPoint;
    r.profile.assign(kLastPoint + 1, MeltProfileRow{});
    for (int k = 0; k <= kLastPoint; ++k) {
        r.profile[k].AxialPosition = 0.1f * static_cast<float>(k);
        r.profile[k].SolidFraction = kUnmelted;
        r.profile[k].AverageTemperature = kFilm;  // the film thickness between calls
    }
    return r;
}

TEST(BackwardConveying, PressureFallsLinearlyToTheStarvationPoint) {
    double step = 0;
    CoreCall r = syntheticProfile(13.5f, step);
    ASSERT_GT(step, 0);
    const double diePressure = 13.5 * step;
    // The final call runs the backward pass and keeps the profile's rows.
    ASSERT_TRUE(r.call(true).ok());

    for (int k = kLastPoint; k >= 17; --k) {
        EXPECT_NEAR(r.profile[k].Pressure, diePressure - (kLastPoint - k) * step, 1e-5) << "point " << k;
    }
    // Point 17 holds half a step; the pressure reaches zero before point 16.
    for (int k = 16; k >= 0; --k) EXPECT_EQ(r.profile[k].Pressure, 0.0f) << "point " << k;

    const ElementRecord& full = r.elements.at(3);
    EXPECT_EQ(full.StarvationPoint, 0.0f);
    EXPECT_EQ(full.FillLeft, 1.0f);
    EXPECT_EQ(full.FillRight, 1.0f);

    const ElementRecord& starved = r.elements.at(2);
    EXPECT_NEAR(starved.StarvationPoint, 0.6f, 1e-5);  // point 16, from the segment start
    const float q = static_cast<float>(1000.0 / (3.6 * 6.283185308 * 1000.0));
    EXPECT_NEAR(starved.FillLeft, q / (kCapacity * 3), 1e-6);
    EXPECT_EQ(starved.FillRight, 1.0f);

    // The hopper element upstream of the pressurised stretch is starved throughout.
    EXPECT_EQ(r.elements.at(1).StarvationPoint, 1.0f);
}

TEST(BackwardConveying, AStepStartingLessThanATenThousandthBeforeTheElementStartsAtItsStart) {
    // The pressure falls to zero in the step from point 11 to point 10, which
    // lies just before element 2's start. Within a ten-thousandth of a radius
    // the starvation point is element 2's start; further before, the step is
    // the hopper element's, and element 2 is pressurised throughout.
    for (float pointTen : {std::nextafter(1.0f, 0.0f), 0.99995f, 0.9995f}) {
        double step = 0;
        CoreCall r = syntheticProfile(19.5f, step);
        r.profile[10].AxialPosition = pointTen;
        ASSERT_TRUE(r.call(true).ok());
        const ElementRecord& e = r.elements.at(2);
        EXPECT_EQ(e.StarvationPoint, 0.0f) << pointTen;
        EXPECT_EQ(e.FillLeft < 1.0f, pointTen > 0.9999f) << pointTen;
        EXPECT_EQ(e.FillRight, 1.0f) << pointTen;
    }
}

TEST(BackwardConveying, LargeBoundaryPressureFillsTheElementsAndStopsAtThePort) {
    double step = 0;
    CoreCall r = syntheticProfile(100, step);
    ASSERT_TRUE(r.call(true).ok());
    for (int k = 10; k <= kLastPoint; ++k) {
        EXPECT_NEAR(r.profile[k].Pressure, (100 - (kLastPoint - k)) * step, 1e-4) << "point " << k;
    }
    for (int e = 2; e <= 3; ++e) {
        EXPECT_EQ(r.elements.at(e).StarvationPoint, 0.0f) << "element " << e;
        EXPECT_EQ(r.elements.at(e).FillLeft, 1.0f);
        EXPECT_EQ(r.elements.at(e).FillRight, 1.0f);
    }
    // Inside the hopper region the melt carries no pressure; the element is
    // marked as held under pressure from downstream.
    for (int k = 0; k < 10; ++k) EXPECT_EQ(r.profile[k].Pressure, 0.0f) << "point " << k;
    const ElementRecord& hopper = r.elements.at(1);
    EXPECT_EQ(hopper.StarvationPoint, 1.0f);
    EXPECT_EQ(hopper.FillLeft, 1.2f);
    EXPECT_EQ(hopper.FillRight, 1.2f);
}

TEST(BackwardConveying, StartPressureCarriedBackAlongTheGradient) {
    double step = 0;
    CoreCall r = syntheticProfile(0, step);
    // No end zone right after the first element: the boundary pressure is the
    // element's end pressure less its gradient over the part after the melt end.
    r.elements.at(4) = conveying(3, 1, kHelix);
    r.elements.push_back(endZone(4, 0));
    r.state.MeltEndPosition = 0.5f;
    ElementRecord& first = r.elements.at(3);
    first.StarvationPoint = 0;
    first.PressureEnd = 2.0f;
    first.TableValue1 = 4.0f;
    ASSERT_TRUE(r.call(true).ok());
    // Shift 1 (b = 0), scale 1000 / 2 pi: 2 - 0.5 * 4 / 159.15494.
    EXPECT_NEAR(r.profile[kLastPoint].Pressure, 2.0 - 0.5 * 4.0 * 6.283185308 / 1000.0, 1e-5);

    // Extrapolated below zero: clamped.
    CoreCall low = syntheticProfile(0, step);
    low.elements.at(4) = conveying(3, 1, kHelix);
    low.elements.push_back(endZone(4, 0));
    low.state.MeltEndPosition = 0.5f;
    low.elements.at(3).StarvationPoint = 0;
    low.elements.at(3).PressureEnd = 0.001f;
    low.elements.at(3).TableValue1 = 4.0f;
    ASSERT_TRUE(low.call(true).ok());
    EXPECT_EQ(low.profile[kLastPoint].Pressure, 0.0f);

    // Melting ended in the starved stretch: no pressure to carry.
    CoreCall starved = syntheticProfile(0, step);
    starved.elements.at(4) = conveying(3, 1, kHelix);
    starved.elements.push_back(endZone(4, 0));
    starved.state.MeltEndPosition = 0.5f;
    starved.elements.at(3).StarvationPoint = 0.6f;
    starved.elements.at(3).PressureEnd = 2.0f;
    ASSERT_TRUE(starved.call(true).ok());
    EXPECT_EQ(starved.profile[kLastPoint].Pressure, 0.0f);
}

TEST(BackwardFill, OutsideZeroToOneFillsTheElementThroughoutInBothPhases) {
    // Melt phase, an element fed beyond its drag capacity or conveying
    // backwards: element 2, where the pressure falls to zero, and element 3,
    // without pressure at either end when the die needs none.
    for (float capacity : {0.01f, -0.3f}) {
        for (int i : {2, 3}) {
            double step = 0;
            CoreCall r = syntheticProfile(i == 2 ? 13.5f : 0.0f, step);
            r.elements.at(i).TableValue2 = capacity;
            ASSERT_TRUE(r.call(true).ok());
            const ElementRecord& e = r.elements.at(i);
            EXPECT_EQ(e.StarvationPoint, 0.0f) << capacity << " element " << i;
            EXPECT_EQ(e.FillLeft, 1.0f) << capacity << " element " << i;
            EXPECT_EQ(e.FillRight, 1.0f) << capacity << " element " << i;
        }
    }
    // Solids phase: a left-handed block fed from upstream (a negative table
    // capacity), and one fed beyond what it conveys.
    for (float capacity : {-0.3f, 0.001f}) {
        ElementRecord block = kneading(0, 2, 2, 5, 45, capacity < 0 ? -1 : 1);
        block.TableValue2 = capacity;
        const ElementRecord e = afterSolidsPhase(block);
        EXPECT_EQ(e.StarvationPoint, 0.0f) << capacity;
        EXPECT_EQ(e.FillLeft, 1.0f) << capacity;
        EXPECT_EQ(e.FillRight, 1.0f) << capacity;
    }
    // Under an opening the channel carries no pressure: full, not filled.
    ElementRecord hopper = kneading(0, 2, 2, 5, 45);
    hopper.TableValue2 = -0.3f;
    hopper.RegionCode = records::kHopperRegion;
    const ElementRecord e = afterSolidsPhase(hopper);
    EXPECT_EQ(e.StarvationPoint, 2.0f);
    EXPECT_EQ(e.FillLeft, 1.0f);
    EXPECT_EQ(e.FillRight, 1.0f);
}

TEST(BackwardFill, UnderAnOpeningInTheSolidsPhaseALeftHandedRowIsMarkedAndTheWalksFirstRowKeepsItsFill) {
    // A left-handed element is marked as held, whatever it conveys.
    ElementRecord leftHanded = conveying(0, 2, kHelix, -1);
    leftHanded.RegionCode = records::kHopperRegion;
    const ElementRecord held = afterSolidsPhase(leftHanded);
    EXPECT_EQ(held.FillLeft, records::kPortMarkFill);
    EXPECT_EQ(held.FillRight, records::kPortMarkFill);
    // Where the walk starts under an opening, at the profile's only point,
    // the row keeps the fill it holds on the right.
    CoreCall r;
    r.elements.push_back(conveying(0, 2));
    r.elements.push_back(conveying(2, 2));
    r.elements.push_back(endZone(4, 0));
    r.elements.at(1).RegionCode = records::kOtherPortRegion;
    r.elements.at(1).FillRight = 0.7f;
    r.state.MeltEndElement = 1;
    r.state.MeltEndPosition = 1;
    r.profile[0].AxialPosition = 1;
    ASSERT_TRUE(r.call(true).ok());
    EXPECT_EQ(r.elements.at(1).FillLeft, 0.7f);
    EXPECT_EQ(r.elements.at(1).FillRight, 0.7f);
}

TEST(BackwardConveying, FirstCallVisitsNothing) {
    CoreCall r = screw(6);
    const auto before = r.elements.items();
    ASSERT_TRUE(r.call(true).ok());
    for (int i = 1; i <= r.elements.count(); ++i) {
        EXPECT_EQ(r.elements.at(i).StarvationPoint, before[i - 1].StarvationPoint);
        EXPECT_EQ(r.elements.at(i).FillLeft, before[i - 1].FillLeft);
    }
    EXPECT_EQ(r.profile[0].Pressure, 0.0f);
}

}  // namespace
