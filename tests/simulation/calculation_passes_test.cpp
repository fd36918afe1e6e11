// The calculation's passes on element rows built by hand, and the residence
// times and power on a result built by hand; every expected value is worked
// out here from the model's formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "records/markers.h"
#include "simulation/calculation.h"
#include "simulation/numerics.h"
#include "simulation/residence_power.h"

namespace {

using records::ElementRecord;
using records::PortRecord;
constexpr double kPi = 3.141592654;

// Relative closeness of single-precision results, down to values far below
// any compared here (powers of 1e-7 kW): small values are held to their own
// digits, not to an absolute margin.
void expectClose(double got, double want, const char* what, double tol = 2e-5) {
    EXPECT_NEAR(got, want, tol * std::max(1e-12, std::fabs(want))) << what;
}

ElementRecord row(char kind, float start, float length, std::int16_t region = 0, const char* code = "SE") {
    ElementRecord e;
    e.Code = code;
    e.Kind = std::string(1, kind);
    e.Tips = kind == 's' || kind == 'k' ? 2 : 0;
    e.Hand = 1;
    e.HelixAngle = 0.4f;
    e.SegmentStart = start;
    e.SegmentLength = length;
    e.ElementLength = length;
    e.RegionCode = region;
    e.PortIndex = 1;
    e.TempStart = e.TempStarvation = e.TempEnd = 200;
    return e;
}

sim::DistinctElement kind(const char* code, float Qd, float drag, float gradient, const char* letter = "s") {
    sim::DistinctElement d;
    d.code = code;
    d.kind = letter;
    d.port = 1;
    d.n = 0.5f;
    d.tips = 2;
    d.Qd = Qd;
    d.dragCapacity = drag;
    d.gradient = gradient;
    return d;
}

// One port, 1 rev/s: tau = 0.001 m0 (2 pi)^n; at 200 C the shift s is 1.
sim::RunData runOf(std::vector<ElementRecord> rows, float n = 0.5f) {
    sim::RunData run;
    for (const auto& r : rows) run.elements.push_back(r);
    run.nE = static_cast<std::int16_t>(rows.size());
    run.N = 1;
    run.ports = {PortRecord{10, 0.01f, 200, 5, n, 0.8f, 2.0f, 300, 100, 220, 200}};
    run.A = {0.06f};
    run.endZoneLength = 0.5f;
    run.currentIndex = n;
    run.distinct = {kind("SE", 0.02f, 0.08f, 10), kind("LH", 0.02f, -0.04f, -50)};
    return run;
}
double tauOf(double m0, double n) { return 0.001 * m0 * std::pow(2 * kPi, n); }

TEST(BackwardPass, PressuresStarvationPointsAndFillsFromTheDieTowardsTheFeed) {
    ElementRecord lh = row('s', 3, 1, 0, "LH");
    lh.Hand = -1;
    ElementRecord lhVent = row('s', 5, 1, records::kOtherPortRegion, "LH");
    lhVent.Hand = -1;
    ElementRecord endZone = row('p', 13, 0.5f, records::kEndZoneRegion, "");
    endZone.PressureEnd = 0.3f;  // the die pressure given, no die
    sim::RunData run =
        runOf({row('s', 0, 1, records::kHopperRegion), row('s', 1, 2), lh, row('s', 4, 1, records::kOtherPortRegion),
               lhVent, row('s', 6, 1), row('s', 7, 1, records::kOtherPortRegion), row('s', 8, 5), endZone});
    sim::backwardPass(run, 1);
    const auto E = [&](int i) -> const ElementRecord& { return run.elements.at(i); };
    const double tau = tauOf(5, 0.5), F = 0.02 / 0.08;

    // End zone: 2 x length x ((3 + 1/n) A / 2 pi)^n, in units of tau s.
    const double pEnd = 0.3 + 2 * 0.5 * std::sqrt(5 * 0.06 / (2 * kPi)) * tau;
    expectClose(E(9).PressureStart, pEnd, "end zone");
    EXPECT_EQ(E(8).PressureEnd, E(9).PressureStart);
    // Filled from the starvation point on, where the pressure reaches 0.
    const double pu8 = pEnd - 10 * 5 * tau;
    ASSERT_LT(pu8, 0);
    expectClose(E(8).StarvationPoint, 5 * -pu8 / (pEnd - pu8), "starvation point");
    EXPECT_EQ(E(8).PressureStart, 0.0f);
    EXPECT_FLOAT_EQ(E(8).FillLeft, F);
    EXPECT_EQ(E(8).FillRight, 1.0f);
    EXPECT_EQ(E(8).TableValue1, 10.0f);
    EXPECT_EQ(E(8).TableValue2, 0.08f);
    // Under the vent: the starved fill, uncapped; left-handed or ahead of
    // pressure: 1.2.
    EXPECT_FLOAT_EQ(E(7).FillRight, F);
    EXPECT_EQ(E(7).StarvationPoint, 1.0f);
    EXPECT_EQ(E(5).FillLeft, 1.2f);
    EXPECT_EQ(E(5).PressureStart, 0.0f);
    // Ahead of a port region: starved throughout at the capped fill.
    EXPECT_EQ(E(6).StarvationPoint, 1.0f);
    EXPECT_FLOAT_EQ(E(6).FillLeft, F);
    EXPECT_FLOAT_EQ(E(6).FillRight, F);
    EXPECT_EQ(E(6).PressureEnd, 0.0f);
    // A left-handed element ahead of the vent consumes pressure: filled
    // throughout, never starved with a negative fill.
    expectClose(E(3).PressureStart, 50 * tau, "left-handed");
    EXPECT_EQ(E(3).StarvationPoint, 0.0f);
    EXPECT_EQ(E(3).FillLeft, 1.0f);
    EXPECT_EQ(E(3).PressureEnd, 0.0f);
    expectClose(E(2).PressureStart, 50 * tau - 10 * 2 * tau, "filled");
    EXPECT_EQ(E(2).PressureEnd, E(3).PressureStart);
    // The hopper element ahead of pressure.
    EXPECT_EQ(E(1).FillLeft, 1.2f);
    EXPECT_EQ(E(1).FillRight, 1.2f);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_GE(E(i).FillLeft, 0.0f) << i;
        EXPECT_GE(E(i).PressureStart, 0.0f) << i;
    }

    // From a later start row the rows before it keep what they hold.
    run.elements.at(2).PressureStart = 7;
    sim::backwardPass(run, 3);
    EXPECT_EQ(E(2).PressureStart, 7.0f);
}

TEST(BackwardPass, ARowWhosePressureComesOutAtExactlyZeroAtItsStartIsFilledFromThere) {
    // The die pressure given equals the row's drop, in the run's own products;
    // the row holds what an earlier iteration left.
    sim::RunData run = runOf({row('s', 0, 1), row('d', 1, 1)});
    run.specifiedDiePressure = 10.0f * 1.0f * 1.0f * static_cast<float>(tauOf(5, 0.5));
    run.elements.at(1).StarvationPoint = 0.7f;
    sim::backwardPass(run, 1);
    const ElementRecord& e = run.elements.at(1);
    EXPECT_EQ(std::vector<float>({e.StarvationPoint, e.PressureStart, e.PressureEnd, e.FillRight}),
              std::vector<float>({0, 0, run.specifiedDiePressure, 1}));
    // A pressure below none downstream (a die pressure the run refuses) is
    // none: starved throughout at the capped fill 0.02 / 0.08.
    run.specifiedDiePressure = -0.5f;
    run.elements.at(1).StarvationPoint = 0.7f;
    sim::backwardPass(run, 1);
    EXPECT_EQ(std::vector<float>({e.StarvationPoint, e.PressureStart, e.PressureEnd, e.FillLeft, e.FillRight}),
              std::vector<float>({1, 0, 0, 0.25f, 0.25f}));
}

TEST(BackwardPass, ADownstreamPressureBelowATenThousandthMPaIsNoneAndOneOfItIsSome) {
    const auto rowAhead = [](float diePressure, const char* code = "SE") {
        sim::RunData run = runOf({row('s', 0, 1, 0, code), row('d', 1, 1)});
        run.distinct.push_back(kind("FB", 0.1f, 0.08f, 10));  // fed beyond its capacity
        run.specifiedDiePressure = diePressure;
        sim::backwardPass(run, 1);
        const ElementRecord& e = run.elements.at(1);
        return std::vector<float>{e.StarvationPoint < e.SegmentLength ? 1.0f : 0.0f, e.PressureEnd, e.FillRight};
    };
    const float below = std::nextafter(sim::kNoPressure, 0.0f);
    EXPECT_EQ(rowAhead(below), std::vector<float>({0, 0, 0.25f}));  // starved throughout
    EXPECT_EQ(rowAhead(sim::kNoPressure), std::vector<float>({1, sim::kNoPressure, 1}));
    EXPECT_EQ(rowAhead(0.00005f), std::vector<float>({0, 0, 0.25f}));
    EXPECT_EQ(rowAhead(0.0005f), std::vector<float>({1, 0.0005f, 1}));
    // Starved throughout, a channel fed 1.25 times over holds itself.
    EXPECT_EQ(rowAhead(0, "FB"), std::vector<float>({0, 0, 1}));
    EXPECT_TRUE(sim::isZeroPressure(-below));
    EXPECT_FALSE(sim::isZeroPressure(-sim::kNoPressure));
}

TEST(BackwardPass, ARowFindsItsDistinctElementByItsCodeAsStoredWithoutTheTrailingBlanks) {
    // A leading blank belongs to the code; an unknown code stops the run.
    sim::RunData run = runOf({row('s', 0, 1, 0, " SE"), row('p', 1, 0.5f, records::kEndZoneRegion, "")});
    run.distinct.at(2).code = " SE";
    EXPECT_EQ(sim::findDistinct(run.distinct, run.elements.at(1)), 2);
    EXPECT_NO_THROW(sim::backwardPass(run, 1));
    run.distinct.at(2).code = "LH";
    try {
        sim::backwardPass(run, 1);
        ADD_FAILURE() << "no stop";
    } catch (const sim::CalculationStop& stop) {
        EXPECT_EQ(stop.message.text, "Impossible condition element");
        EXPECT_TRUE(stop.keepProgress);
    }
}

TEST(BackwardPass, DiePressureIsFourTimesTheCapillaryRatioPlusTheConeForConvergingDiesOnly) {
    // n = 1: the cone's shape factor has the closed form -ln cos b - sin^2 b / 2.
    const auto diePressures = [](float entrance, float capillary, float zone, float total) {
        sim::RunData run = runOf({row('s', 0, 1), row('p', 1, 0.5f, records::kEndZoneRegion, ""),
                                  row('d', 1.5f, total, records::kDieRegion, "")},
                                 1.0f);
        for (auto& e : run.elements.items()) e.TempStart = e.TempStarvation = e.TempEnd = 220;
        run.hasDie = run.calculateDiePressure = true;
        run.die.EntranceDiameter = entrance;
        run.die.CapillaryDiameter = capillary;
        run.die.CapillaryZoneLength = zone;
        run.die.TotalLength = total;
        run.currentIndex = 0.4f;  // the die row takes the last port's n
        run.Qh = 0.03f;
        sim::backwardPass(run, 1);
        EXPECT_EQ(run.header.RunConditions.DiePressure, run.elements.at(3).PressureStart);
        EXPECT_EQ(run.elements.at(3).PressureEnd, 0.0f);
        return std::vector<double>{run.elements.at(3).PressureStart, run.elements.at(3).PressureStarvation,
                                   run.elements.at(2).PressureStart};
    };
    const double ts = tauOf(5, 1) * std::exp(-0.01 * 20);
    const auto capillaryTerm = [&](double d, double ratio) {
        return 4 * ratio * (4 * 0.03 / (kPi * std::pow(d / 2, 3))) * ts;
    };
    const double endZone = 2 * 0.5 * (4 * 0.06 / (2 * kPi)) * ts;

    // A cone from 1.2 to 0.3 over 1.0, capillary 0.9 long (ratio 3).
    const std::vector<double> cone = diePressures(1.2f, 0.3f, 0.9f, 1.9f);
    const double alpha = std::atan(0.5 * 0.9 / 1.0), b = alpha / 2;
    const double I = -std::log(std::cos(b)) - std::sin(b) * std::sin(b) / 2;
    const double rc = 0.15 / std::sin(alpha), re = 0.6 / std::sin(alpha);
    const double coneTerm = 0.03 / (8 * kPi * I) * (std::pow(rc, -3) - std::pow(re, -3)) / 3 * ts;
    expectClose(cone[1], capillaryTerm(0.3, 3), "capillary", 1e-5);
    expectClose(cone[0], capillaryTerm(0.3, 3) + coneTerm, "cone", 1e-4);
    expectClose(cone[2], cone[0] + endZone, "end zone behind the die", 1e-5);

    // No converging zone: within 0.001 of the capillary's length, straight,
    // widening, or a capillary longer than the die: the capillary alone.
    for (const auto& die : std::vector<std::vector<float>>{{1.2f, 0.3f, 0.9f, 0.9005f},
                                                           {0.3f, 0.3f, 0.9f, 1.9f},
                                                           {0.2f, 0.3f, 0.9f, 1.9f},
                                                           {1.2f, 0.3f, 0.9f, 0.5f}}) {
        const std::vector<double> p = diePressures(die[0], die[1], die[2], die[3]);
        expectClose(p[0], capillaryTerm(0.3, 3), "no cone", 1e-5);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_TRUE(std::isfinite(p[2]));
    }

    // A die pressure below 0 or without a finite value stops the run naming
    // the die: a capillary zone of -0.9 (ratio -3) outweighs the cone behind
    // it, and a melt at -10000 C shifts the viscosity beyond any single. So
    // does a capillary 1e-13 across: 1e-13 long, its own pressure has no
    // finite value; of no length, that of the cone in front of it.
    const auto stopOf = [](float zone, float temperature, float capillary = 0.3f) {
        sim::RunData run = runOf({row('s', 0, 1), row('p', 1, 0.5f, records::kEndZoneRegion, ""),
                                  row('d', 1.5f, 1.9f, records::kDieRegion, "")},
                                 1.0f);
        for (auto& e : run.elements.items()) e.TempStart = e.TempStarvation = e.TempEnd = temperature;
        run.hasDie = run.calculateDiePressure = true;
        run.die.EntranceDiameter = 1.2f;
        run.die.CapillaryDiameter = capillary;
        run.die.CapillaryZoneLength = zone;
        run.die.TotalLength = 1.9f;
        run.dieFile = "short.die";
        run.Qh = 0.03f;
        try {
            sim::backwardPass(run, 1);
        } catch (const sim::CalculationStop& stop) {
            return stop.message.text;
        }
        return std::string("no stop");
    };
    EXPECT_EQ(stopOf(-0.9f, 220).rfind("The die short.die\ngives a negative die pressure (-", 0), 0u);
    EXPECT_EQ(stopOf(0.9f, -1e4f), "The die short.die\ngives no finite die pressure.");
    EXPECT_EQ(stopOf(1e-13f, 220, 1e-13f), "The die short.die\ngives no finite pressure in its capillary.");
    EXPECT_EQ(stopOf(0, 220, 1e-13f), "The die short.die\ngives no finite pressure in its converging zone.");
    // The capillary length ratio is an Integer, rounded half to even (2.5 is
    // 2): 32767 is one, 32768 not.
    expectClose(diePressures(0.25f, 0.25f, 0.625f, 1.9f)[0], capillaryTerm(0.25, 2), "ratio 2.5", 1e-5);
    EXPECT_EQ(stopOf(32767, 220, 1), "no stop");
    EXPECT_EQ(stopOf(32768, 220, 1),
              "The die short.die\nhas a capillary length ratio of 32768; the calculation takes at most 32767.");

    // The heat of a die pressure near the largest single has no finite
    // temperature in a melt of density times heat capacity 0.08; that of an
    // end zone's names its row.
    sim::RunData hot = runOf({row('s', 0, 1), row('p', 1, 0.5f, records::kEndZoneRegion, ""),
                              row('d', 1.5f, 1.9f, records::kDieRegion, "")});
    hot.screwRadius = 15;
    hot.ports.at(1).Density = 0.04f;
    hot.dieFile = "short.die";
    const auto heatStop = [&](int row) {
        for (int i = 2; i <= 3; ++i) hot.elements.at(i).PressureStart = i == row ? 3e38f : 0.0f;
        try {
            sim::forwardPass(hot, row, records::RunState{}, std::vector<records::MeltProfileRow>(1));
        } catch (const sim::CalculationStop& stop) {
            return stop.message.text;
        }
        return std::string("no stop");
    };
    EXPECT_EQ(heatStop(3), "The die short.die\ngives no finite temperature at its end.");
    EXPECT_EQ(heatStop(2), "The calculation gives no finite value for the temperature at the end of element row 2.");
}

// Rows for the heat balance: the melt from 200 C, R 15 mm, element SE with a
// heat of 5 at its throughput.
sim::RunData heatedRun(std::vector<ElementRecord> rows) {
    sim::RunData run = runOf(std::move(rows));
    run.distinct.at(1).heatAtQd = 5;
    run.screwRadius = 15;
    run.Tinit = 200;
    run.psi = static_cast<float>(std::acos(0.85));
    return run;
}

TEST(ForwardPass, OneSubStepOfTheHeatBalanceAndNoStepOverAPartOfNoLength) {
    // A filled part of one sub-step (0.01 R) with 0.1 MPa across it, the melt
    // at the reference temperature, the barrel 20 C above it.
    const auto balance = [](float meltEnd, float starvation = 0) {
        sim::RunData run = heatedRun({row('s', 0, 0.01f), row('p', 0.01f, 0.5f, records::kEndZoneRegion, "")});
        run.elements.at(1).PressureEnd = 0.1f;
        run.elements.at(1).StarvationPoint = starvation;
        records::RunState state;
        state.MeltEndPosition = meltEnd;
        const float residual = sim::forwardPass(run, 1, state, std::vector<records::MeltProfileRow>(1));
        return std::pair{run.elements.at(1).TempEnd, residual};
    };
    const double tau = tauOf(5, 0.5), rhoCp = 0.8 * 2.0, Ts = tau / rhoCp, Q = 0.02;
    const double K = rhoCp * 2 * kPi * 15 / 0.001;
    const double psi = std::acos(0.85), W = (kPi / 2 - 2 * psi + 4 * psi) * std::sin(0.4);
    const double G = 0.1 / (0.01 * tau);
    const double T1 = 200 + ((5 - G * Q) + W * 300 / K * 20 / Ts) * 0.01 / Q * Ts;
    const auto [T, residual] = balance(0);
    expectClose(T, T1, "end temperature", 1e-4);
    expectClose(residual, (200 - T1) * (200 - T1), "residual", 1e-3);
    // Melting ends at the element's end, to a rounding either side: no length
    // left to balance, no step.
    for (float end : {0.01f, std::nextafter(0.01f, 0.0f), std::nextafter(0.01f, 1.0f)}) {
        const auto [same, none] = balance(end);
        EXPECT_FLOAT_EQ(same, 200) << end;
        EXPECT_LT(none, 1e-6);
    }
    // A starvation point a rounding past the melt end fills the rest as one at it.
    EXPECT_EQ(balance(0.005f, std::nextafter(0.005f, 1.0f)).first, balance(0.005f, 0.005f).first);
}

// The row where melting ends (0.5 into it), starved from the melt end to its
// starvation point: start 180 C as the melting left it, the melt from 200 C.
std::tuple<float, float, float> meltEndRow(float starvation, float fill) {
    sim::RunData run = heatedRun({row('s', 0, 1), row('p', 1, 0.5f, records::kEndZoneRegion, "")});
    ElementRecord& e = run.elements.at(1);
    e.StarvationPoint = starvation;
    e.FillLeft = fill;
    e.FillRight = 1;
    e.TempStart = 180;
    e.PressureEnd = 0.1f;
    records::RunState state;
    state.MeltEndPosition = 0.5f;
    sim::forwardPass(run, 1, state, std::vector<records::MeltProfileRow>(1));
    return {e.TempStart, e.TempStarvation, e.TempEnd};
}

TEST(ForwardPass, TheMeltEndRowsStarvationTemperatureMovesWithoutAJumpAndStaysBetweenItsEnds) {
    // Across the melt end: the start temperature on both sides; exactly it
    // at the melt end to a rounding.
    for (float starvation : {0.499f, 0.5f, 0.5001f, 0.501f}) {
        const auto [start, at, end] = meltEndRow(starvation, 0.4f);
        EXPECT_NEAR(at, start, 0.01 * std::fabs(end - start)) << starvation;
    }
    EXPECT_EQ(std::get<1>(meltEndRow(0.50005f, 0.4f)), 180.0f);
    // Towards the row's end the molten part is starved throughout: the end;
    // so too for a point past it.
    for (float starvation : {0.999f, 1.0f, 1.5f}) {
        const auto [start, at, end] = meltEndRow(starvation, 0.4f);
        EXPECT_NEAR(at, end, 0.01 * std::fabs(end - start)) << starvation;
    }
    // A port region's fill far above 1 keeps it between the row's ends.
    const auto [start, at, end] = meltEndRow(0.75f, 8.4f);
    EXPECT_GE(at, std::min(start, end));
    EXPECT_LE(at, std::max(start, end));
}

TEST(ForwardPass, AStarvedPortRegionHeatsAsAFullChannelWhateverFillItStores) {
    const auto endTemperature = [](float fill) {
        sim::RunData run = heatedRun({row('s', 0, 0.5f), row('s', 0.5f, 0.5f, records::kOtherPortRegion),
                                      row('p', 1, 0.5f, records::kEndZoneRegion, "")});
        ElementRecord& port = run.elements.at(2);
        port.StarvationPoint = 0.5f;
        port.FillLeft = port.FillRight = fill;
        run.distinct.at(1).heatAtDrag = 4;
        sim::forwardPass(run, 1, records::RunState{}, std::vector<records::MeltProfileRow>(1));
        return port.TempEnd;
    };
    EXPECT_EQ(endTemperature(8.4f), endTemperature(1));
    EXPECT_EQ(endTemperature(1.2f), endTemperature(1));
    EXPECT_LT(endTemperature(0.5f), endTemperature(1));
    // So does the starved part of the row where melting ends.
    EXPECT_EQ(meltEndRow(0.75f, 8.4f), meltEndRow(0.75f, 1));
    EXPECT_EQ(meltEndRow(0.75f, 1.2f), meltEndRow(0.75f, 1));
    EXPECT_NE(meltEndRow(0.75f, 0.5f), meltEndRow(0.75f, 1));
}

TEST(PortThroughputs, EachPortAddsItsStreamToTheMixture) {
    const sim::OneBasedList<PortRecord> ports{PortRecord{10, 0, 0, 0, 0, 0.75f}, PortRecord{5, 0, 0, 0, 0, 1.0f}};
    const auto A = sim::portThroughputs(ports, 15, 200.0f / 60);
    ASSERT_EQ(A.count(), 2);
    EXPECT_NEAR(A.at(1), 0.0523967, 1e-7);
    EXPECT_NEAR(A.at(2), 0.0720454, 1e-7);
    // The mixture density of both streams: 15 kg/hr over 10/0.75 + 5/1 l/hr.
    const double V = 2 * kPi * std::pow(1.5, 3) * 200 / 60;
    EXPECT_NEAR(15 / (3.6 * 0.8181819) / V, A.at(2), 1e-7);
}

TEST(DieVolume, AConeAndCapillaryOrACylinderAndCapillaryPerHole) {
    records::DieRec die;
    die.EntranceDiameter = 1.2f;
    die.CapillaryDiameter = 0.3f;
    die.CapillaryZoneLength = 0.9f;
    die.TotalLength = 1.9f;
    die.Holes = 2;
    const double capillary = kPi / 4 * 0.09 * 0.9;
    const double frustum = kPi / 3 * 1.0 * (0.36 + 0.6 * 0.15 + 0.0225);
    expectClose(sim::dieVolume(die), 2 * (frustum + capillary), "cone");
    die.EntranceDiameter = 0.2f;  // widening: a cylinder of the entrance diameter
    expectClose(sim::dieVolume(die), 2 * (kPi / 4 * 0.04 * 1.0 + capillary), "widening");
    die.TotalLength = 0.5f;  // capillary longer than the die
    expectClose(sim::dieVolume(die), 2 * capillary, "short");
}

// ---- Residence time and power --------------------------------------------

// The channel of a two-tip element at centre-line ratio 1.7, worked out anew.
struct Channel {
    double psi, alpha, area, span, depth;
};
Channel channelOf(double c, int t) {
    Channel g{};
    g.psi = std::acos(c / 2);
    g.alpha = kPi / t - 2 * g.psi;
    g.area = (2 * t + 1) * c * std::sin(g.psi) + 2 * (kPi - g.psi) - (1 - 2 * c) * t * g.alpha -
             c * c * t * (2 * g.psi + g.alpha);
    g.span = 4 * g.psi + g.alpha;
    g.depth = (kPi / t - c * c * g.psi + c * std::sin(g.psi) - (c * c - 2 * c + 2) * g.alpha / 2) / g.span;
    return g;
}

class ResidencePower : public ::testing::Test {
protected:
    // 60 RPM, R 10 mm, 3.6 kg/hr of density 1: omega = 2 pi, q = 1 / 2 pi.
    // A conveying element A (melting starts 1.5 into it), a kneading block B,
    // element A where melting ends 0.6 into it, a filled element A, the end zone.
    ResidencePower() {
        r.header.RunConditions.ScrewSpeed = 60;
        r.ports = {PortRecord{3.6f, 0.01f, 200, 2, 0.5f, 1.0f, 2, 0, 0, 0, 0}};
        r.solids.BulkDensity = 0.5f;
        r.solids.ScrewFriction = 0.3f;
        r.melting.MeltingTemperature = 150;
        r.elements = {row('s', 0, 2, 0, "A"), row('k', 2, 1, 0, "B"), row('s', 3, 2, 0, "A"), row('s', 5, 2, 0, "A"),
                      row('p', 7, 0.5f, records::kEndZoneRegion, "")};
        E(1).StarvationPoint = 1.0f;
        E(1).FillLeft = 0.5f;
        E(1).HelixAngle = 0.5f;
        E(2).StarvationPoint = 0;
        E(3).StarvationPoint = 0.4f;
        E(3).FillLeft = 0.8f;
        E(3).HelixAngle = 0.3f;
        E(3).TempEnd = 190;
        E(4).StarvationPoint = 0;
        E(4).HelixAngle = 0.6f;
        E(4).TempStart = 190;
        E(4).TempStarvation = 195;
        E(4).TempEnd = 200;
        r.runState = {1, 1, 3, 1.5f, 0.6f, 3};
        // Point 2 lies past the kneading block, in the third element.
        r.profile = {{1.5f, 1, 0, 0, 0, 0}, {1.8f, 0.6f, 0, 0, 0, 0}, {3.2f, 0.3f, 1, 0, 0, 0}, {3.6f, 0, 2, 0, 0, 0}};
        in.screwRadius = 10;
        in.centerlineRatio = 1.7f;
        in.tipCount = 2;
        sim::DistinctElement a = kind("A", 0, 0, 0), b = kind("B", 0, 0, 0, "k");
        a.heatAtQd = 3;
        a.heatAtDrag = 2;
        b.heatAtQd = 5;
        in.kinds = {a, b};
    }
    ElementRecord& E(int i) { return r.elements.at(static_cast<std::size_t>(i - 1)); }

    const double omega = 2 * kPi, q = 1 / (2 * kPi), Pm = 2 * std::sqrt(2 * kPi) * 1e-6 * 2 * kPi;
    const Channel g = channelOf(1.7, 2);
    // Minutes over length l at fill f, solids at density ratio d.
    double dt(double X, double l, double f, double d = 1) const { return f * X * l / (omega * q * d) / 60; }
    // Power of a melting-profile step.
    double step(double dx, double X, double helix, double fill, char kind = 's') const {
        const double e = std::exp(0.5), n = 0.5;
        const double clearance = 2 * 2 * g.alpha * Pm * e * dx / std::pow(0.005, n);
        const double S = kind == 'k' ? 4 : 4 * std::pow(std::sin(helix), 2) + std::pow(std::cos(helix), 2);
        const double Hm = (1 - X) * g.depth;
        return Pm * e * std::pow(Hm, 1 - n) * S * dx / Hm * g.span * 3 * fill + clearance;
    }

    records::ResultData r;
    sim::ResidenceInputs in;
};

TEST_F(ResidencePower, ThreeZonesOnAHandWorkedScrew) {
    r.profile[1].Pressure = 0.00005f;
    r.profile[2].Pressure = 0.0005f;
    sim::addResidenceAndPower(r, in);
    // Solids zone: melting starts past the starvation point (x < s), which
    // the model takes back; friction power up to the melting start.
    const double G = 0.3 * (1e-8 * omega * 9.81) * g.span * g.depth * 3 / 2;
    const double t1 = dt(g.area, 1.5, 0.5, 2) + dt(g.area, -0.5, 0.5) + dt(g.area, 1, 1);
    expectClose(E(1).ResTimeStarvation, dt(g.area, 1.5, 0.5, 2) + dt(g.area, -0.5, 0.5), "zone 1 starvation");
    expectClose(E(1).ResTimeEnd, t1, "zone 1 end");
    expectClose(E(1).PowerStarvation, 1.5 * 0.5 * G, "friction power");
    expectClose(r.profile[0].CumulativePower, E(1).PowerStarvation, "profile start");
    // The point past the kneading block gives it and the third element their
    // residence times.
    expectClose(E(2).ResTimeEnd, t1 + dt(g.area, 1, 1), "passed block");
    const double t3 = t1 + dt(g.area, 1, 1) + dt(g.area, 0.4, 0.8) + dt(g.area, 1.6, 1);
    expectClose(E(3).ResTimeEnd, t3, "melt end element");
    // Melting profile: a starved point weighs by the element's fill; point 1
    // carries no pressure (below 0.0001 MPa), point 2 some.
    const double p1 = E(1).PowerStarvation + step(0.3, 0.6, 0.5, 0.5);
    const double p2 = p1 + step(1.4, 0.3, 0.3, 1);
    const double p3 = p2 + step(0.4, 0, 0.3, 1);
    expectClose(r.profile[1].CumulativePower, p1, "point 1");
    expectClose(r.profile[2].CumulativePower, p2, "point 2");
    expectClose(r.profile[3].CumulativePower, p3, "point 3");
    // Melt zone: at the melt end only the stretch after it adds power.
    const double GC = 3 * Pm * 3;
    const double end3 = p3 + GC * 1.4 * std::exp(-0.01 * (170 - 200));
    expectClose(E(3).PowerStarvation, p3, "melt end starvation");
    expectClose(E(3).PowerEnd, end3, "melt end");
    const double end4 = end3 + GC * 2 * std::exp(-0.01 * (195 - 200));
    expectClose(E(4).PowerEnd, end4, "filled element");
    expectClose(E(4).ResTimeEnd, t3 + dt(g.area, 2, 1), "filled element time");
    expectClose(E(5).ResTimeEnd, t3 + dt(g.area, 2, 1) + dt(kPi - g.psi, 0.5, 1), "end zone time");
    EXPECT_EQ(E(5).PowerEnd, E(4).PowerEnd);
    EXPECT_EQ(E(5).PowerStart, E(4).PowerEnd);
}

TEST_F(ResidencePower, MeltingThatEndsInTheEndZoneTakesTheLastScrewChannelAndKeepsItsPower) {
    r.runState.MeltEndElement = 5;
    r.runState.MeltEndPosition = 0.2f;
    r.profile[3].AxialPosition = 7.2f;
    sim::addResidenceAndPower(r, in);
    // Every element on the way has its residence time, the filled one too.
    expectClose(E(4).ResTimeEnd - E(4).ResTimeStart, dt(g.area, 2, 1), "passed element");
    expectClose(E(5).ResTimeEnd - E(5).ResTimeStart, dt(kPi - g.psi, 0.5, 1), "end zone");
    EXPECT_EQ(E(5).ResTimeStart, E(4).ResTimeEnd);
    // The point inside the end zone: two tips and the helix of element 4.
    const double p3 = r.profile[2].CumulativePower + step(4.0, 0, 0.6, 1);
    expectClose(r.profile[3].CumulativePower, p3, "point in the end zone");
    EXPECT_FLOAT_EQ(E(5).PowerStart, r.profile[3].CumulativePower);
    EXPECT_FLOAT_EQ(E(5).PowerEnd, r.profile[3].CumulativePower);
}

TEST_F(ResidencePower, AChannelHoldsAtMostItselfWhateverFillAPortRegionStores) {
    // An element under a port, starved throughout, stores its fill uncapped
    // or the mark 1.2; residence time and power count a full channel: in the
    // melt zone (row 4), and in the solids zone (row 1, where melting starts),
    // with the power of the profile's first step, starved in it.
    const auto withFill = [&](std::size_t row, float fill) {
        records::ResultData x = r;
        ElementRecord& e = x.elements[row];
        e.RegionCode = records::kOtherPortRegion;
        e.StarvationPoint = e.SegmentLength;
        e.FillLeft = e.FillRight = fill;
        sim::addResidenceAndPower(x, in);
        return std::vector<float>{e.ResTimeEnd - e.ResTimeStart, e.PowerEnd - e.PowerStart, e.PowerStarvation,
                                  x.profile[1].CumulativePower - x.profile[0].CumulativePower};
    };
    for (std::size_t row : {0u, 3u}) {
        EXPECT_EQ(withFill(row, 1.2f), withFill(row, 1)) << "row " << row + 1;
        EXPECT_EQ(withFill(row, 8.4f), withFill(row, 1)) << "row " << row + 1;
        EXPECT_LT(withFill(row, 0.5f)[0], withFill(row, 1)[0]) << "row " << row + 1;
    }
    expectClose(withFill(3, 1)[0], dt(g.area, 2, 1), "a full channel");
    expectClose(withFill(0, 1)[3], step(0.3, 0.6, 0.5, 1), "a full channel's step");
}

TEST_F(ResidencePower, AMeltingRegionOutsideTheRowsOrAZeroDivisorStopsWithAMessage) {
    const auto stopText = [&](const std::function<void(records::ResultData&)>& spoil) {
        records::ResultData bad = r;
        spoil(bad);
        try {
            sim::addResidenceAndPower(bad, in);
        } catch (const sim::CalculationStop& s) {
            EXPECT_EQ(s.message.title, "Calculation");
            return s.message.text;
        }
        return std::string("no stop");
    };
    EXPECT_EQ(stopText([](auto& x) { x.runState.MeltStartElement = 0; }),
              "The melting region of the result lies outside its element rows.");
    EXPECT_EQ(stopText([](auto& x) { x.runState.LastProfileRow = 9; }),
              "The melting region of the result lies outside its element rows.");
    EXPECT_EQ(stopText([](auto& x) { x.solids.BulkDensity = 0; }),
              "The bulk density of the solids is 0; the calculation cannot divide by it.");
    EXPECT_EQ(stopText([](auto& x) { x.profile[1].SolidFraction = 1; }),
              "The melt depth at point 1 of the melting profile is 0; the calculation cannot divide by it.");
}

}  // namespace
