// Degenerate and corrupt inputs: the core must return, never hang, never read
// outside its lists and never turn a value without a number into an integer.
// Each case runs under a watchdog (and the sanitizers in ./test.sh).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "simulation/core.h"
#include "simulation/core_fixture.h"

namespace {

using namespace coretest;
using sim::CoreStop;

sim::CoreStatus guarded(CoreCall& r, int calls = 1, bool finalCall = false) {
    sim::CoreStatus status;
    withWatchdog([&] {
        for (int c = 0; c < calls && status.ok(); ++c) status = r.iterate(finalCall);
    });
    return status;
}

// A screw whose first call has run, so the next call has a backward pass;
// without die pressure its elements are partly filled.
CoreCall afterFirstCall() {
    CoreCall r = screw(12, 0, 0);
    EXPECT_TRUE(r.iterate().ok());
    return r;
}

TEST(CoreGuards, ProfileOfOnePointTerminates) {
    CoreCall r = screw(5);
    r.state.MeltEndElement = 4;
    r.state.LastProfileRow = 0;
    r.profile[0].AxialPosition = 7;
    EXPECT_TRUE(guarded(r).ok());
}

TEST(CoreGuards, ElementsWithoutSoundGeometryStop) {
    {
        CoreCall r = screw(5);
        r.elements.at(3).SegmentLength = 0;
        const sim::CoreStatus s = guarded(r);
        EXPECT_EQ(s.stop, CoreStop::BadElement);
        EXPECT_EQ(s.element, 3);
    }
    {
        CoreCall r = screw(5);
        r.elements.at(2).HelixAngle = 0;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadElement);
    }
    {
        CoreCall r = screw(5);
        r.elements.at(2).Tips = 0;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadGeometry);
    }
    for (float ratio : {0.0f, 2.0f, 2.5f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        CoreCall r = screw(5);
        r.centerline = ratio;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadGeometry) << "ratio " << ratio;
    }
    {
        CoreCall r = screw(5);
        r.elements.at(2).PortIndex = 2;  // only one port
        EXPECT_EQ(guarded(r).stop, CoreStop::BadElement);
    }
}

TEST(CoreGuards, NothingWithoutAFiniteValueIsHandedBack) {
    // A helix angle whose down-channel step L / (10 sin) overflows is refused
    // as a zero angle is, in both passes; with the feed above melting the
    // forward pass would end at once at an infinite position.
    for (bool finalCall : {false, true}) {
        CoreCall r;
        r.elements.push_back(conveying(0, 2, 1e-40f));
        r.elements.push_back(endZone(2, 0));
        r.ports.at(1).FlowRate = 1;
        r.solidsBlock.FeedTemperature = 170;
        if (finalCall) r.state.MeltEndElement = 1;
        const sim::CoreStatus s = guarded(r, 1, finalCall);
        EXPECT_EQ(s.stop, CoreStop::BadElement) << finalCall;
        EXPECT_EQ(s.element, 1);
    }
    // Values that would reach the run state, the profile or a row.
    const auto endZoneAtInfinity = [](CoreCall& r) {
        r.solidsBlock.BarrelTemperature = r.solidsBlock.ScrewTemperature = r.solidsBlock.FeedTemperature;
        r.elements.at(6).SegmentStart = std::numeric_limits<float>::infinity();
    };
    const auto elementStartWithoutANumber = [](CoreCall& r) {
        r.solidsBlock.FeedTemperature = 170;
        r.elements.at(1).SegmentStart = std::numeric_limits<float>::quiet_NaN();
    };
    const auto endZoneAtInfinitePressure = [](CoreCall& r) {
        r.solidsBlock.BarrelTemperature = r.solidsBlock.ScrewTemperature = r.solidsBlock.FeedTemperature;
        r.elements.at(6).PressureStart = std::numeric_limits<float>::infinity();
    };
    for (const auto& corrupt : {+endZoneAtInfinity, +elementStartWithoutANumber, +endZoneAtInfinitePressure}) {
        CoreCall r = screw(5);
        corrupt(r);
        const records::RunState before = r.state;
        EXPECT_EQ(guarded(r).stop, CoreStop::NoSoundValue);
        EXPECT_EQ(r.state, before);
        EXPECT_EQ(r.profile.size(), 1u);
    }
    // The final call hands back the run state it was given, the rows and the
    // profile with its temperatures: the same check applies.
    for (int field = 0; field < 3; ++field) {
        CoreCall r = screw(5);
        r.state.MeltEndElement = 5;
        const float none = std::numeric_limits<float>::quiet_NaN();
        if (field == 0) r.state.MeltStartPosition = none;
        if (field == 1) r.state.MeltEndPosition = none;
        if (field == 2) r.elements.at(3).TempStarvation = none;
        EXPECT_EQ(guarded(r, 1, true).stop, CoreStop::NoSoundValue) << "field " << field;
    }
}

TEST(CoreGuards, ZeroCapacityAndBadFrictionStopTheBackwardPass) {
    {
        CoreCall r = afterFirstCall();
        ASSERT_GE(r.state.MeltEndElement, 1);
        for (auto& e : r.elements.items()) e.TableValue2 = 0;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadCapacity);
    }
    for (float screwFriction : {0.0f, 0.6f}) {  // barrel friction 0.5
        CoreCall r = afterFirstCall();
        r.solidsBlock.ScrewFriction = screwFriction;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadFriction) << "screw friction " << screwFriction;
    }
}

TEST(CoreGuards, NoScrewSpeedOrFeedStops) {
    for (float speed : {0.0f, -1.0f, std::numeric_limits<float>::infinity()}) {
        CoreCall r = screw(5);
        r.speed = speed;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadPortStream) << "speed " << speed;
    }
    CoreCall r = screw(5);
    r.ports.at(1).FlowRate = 0;
    EXPECT_EQ(guarded(r).stop, CoreStop::BadPortStream);
}

TEST(CoreGuards, ArgumentsThatDoNotFitTheListsStop) {
    {
        CoreCall r = screw(5);
        r.state.MeltEndElement = 9;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadArguments);
    }
    {
        CoreCall r = screw(5);
        r.state.LastProfileRow = 3;  // the profile has one row
        EXPECT_EQ(guarded(r).stop, CoreStop::BadArguments);
    }
    {
        CoreCall r = screw(5);
        r.ports = {};
        EXPECT_EQ(guarded(r).stop, CoreStop::BadArguments);
    }
    {
        // No end-zone record after the element where the walk starts.
        CoreCall r = screw(5);
        r.elements.resize(5);
        r.state.MeltEndElement = 5;
        EXPECT_EQ(guarded(r).stop, CoreStop::BadArguments);
    }
    {
        CoreCall r = screw(5);
        const records::RunState before = r.state;
        const sim::CoreStatus s = sim::SimulateFillAndMelting(r.speed, r.radius, 1, r.elements, r.solidsBlock,
                                                              r.meltingBlock, r.ports, 40, r.state, r.profile, false);
        EXPECT_EQ(s.stop, CoreStop::BadArguments);
        EXPECT_EQ(r.state, before);
    }
}

// Corrupt values of every kind in elements, materials and run state; a call
// that finishes hands back finite numbers only.
TEST(CoreGuards, CorruptInputsNeverCrashOrHang) {
    const float specials[] = {0.0f,
                              -1.0f,
                              1e-30f,
                              1e30f,
                              -1e30f,
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              0.5f,
                              2.0f};
    const std::int16_t ints[] = {0, -1, 1, 3, 32767, -32768, 2};
    std::mt19937 rng(20261207);
    auto pickF = [&] { return specials[rng() % std::size(specials)]; };
    auto pickI = [&] { return ints[rng() % std::size(ints)]; };

    withWatchdog([&] {
        for (int trial = 0; trial < 400; ++trial) {
            CoreCall r = screw(10, 4);
            const int edits = 1 + static_cast<int>(rng() % 3);
            for (int e = 0; e < edits; ++e) {
                ElementRecord& el = r.elements.at(1 + static_cast<int>(rng() % 11));
                switch (rng() % 16) {
                    case 0: el.SegmentLength = pickF(); break;
                    case 1: el.SegmentStart = pickF(); break;
                    case 2: el.HelixAngle = pickF(); break;
                    case 3: el.Tips = pickI(); break;
                    case 4: el.Disks = pickI(); break;
                    case 5: el.StaggerAngle = pickF(); break;
                    case 6: el.ElementLength = pickF(); break;
                    case 7: el.StarvationPoint = pickF(); break;
                    case 8: el.FillLeft = pickF(); break;
                    case 9: el.TableValue1 = pickF(); break;
                    case 10: el.TableValue2 = pickF(); break;
                    case 11: el.PressureEnd = pickF(); break;
                    case 12: el.PortIndex = pickI(); break;
                    case 13: r.meltingBlock.MeltingTemperature = pickF(); break;
                    case 14: r.ports.at(1).PowerLawIndex = pickF(); break;
                    default: r.solidsBlock.ThermalConductivity = pickF(); break;
                }
            }
            for (int call = 1; call <= 3; ++call) {
                const sim::CoreStatus s = r.iterate(call == 3);
                if (!s.ok()) break;
                ASSERT_GE(r.state.MeltEndElement, 0);
                ASSERT_LE(r.state.MeltEndElement, r.elements.count());
                ASSERT_GE(r.state.LastProfileRow, 0);
                ASSERT_LT(r.state.LastProfileRow, static_cast<int>(r.profile.size()));
                ASSERT_TRUE(std::isfinite(r.state.MeltStartPosition) && std::isfinite(r.state.MeltEndPosition));
                for (const MeltProfileRow& k : r.profile)
                    for (float v : {k.AxialPosition, k.SolidFraction, k.Pressure, k.AverageTemperature})
                        ASSERT_TRUE(std::isfinite(v)) << "trial " << trial;
                for (const ElementRecord& e : r.elements.items()) {
                    for (float v :
                         {e.StarvationPoint, e.FillLeft, e.FillRight, e.TempStart, e.TempStarvation, e.TempEnd})
                        ASSERT_TRUE(std::isfinite(v)) << "trial " << trial;
                }
            }
        }
    });
}

}  // namespace
