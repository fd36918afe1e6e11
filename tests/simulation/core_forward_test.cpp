// Forward pass and hand-back of the core: heating of the solid feed, onset and
// end of melting, the profile, the exits and the final call.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "simulation/core.h"
#include "simulation/core_fixture.h"

namespace {

using namespace coretest;

// Solid heated by nothing but the barrel contact at the start: the surface
// reaches feed + 0.0002 (barrel - feed) and the mean stays at the feed.
CoreCall unheatedScrew(float meltingTemperature) {
    CoreCall r = screw(6);
    r.solidsBlock.BarrelHtc = 0;
    r.solidsBlock.ScrewHtc = 0;
    r.solidsBlock.FeedTemperature = 100;
    r.solidsBlock.BarrelTemperature = 200;
    r.meltingBlock.MeltingTemperature = meltingTemperature;
    return r;
}

float unheatedSurface() {
    return static_cast<float>(100.0f + (200.0f - 100.0f) * (1.0 - static_cast<double>(sim::ErfcSingle(0.0f))));
}

TEST(ForwardHeating, ZeroBarrelHeatTransferGivesTheFitsLimit) {
    EXPECT_NEAR(unheatedSurface(), 100.02f, 1e-4);

    // Melting temperature just below the surface temperature: onset at once.
    CoreCall below = unheatedScrew(100.019f);
    ASSERT_TRUE(below.call().ok());
    EXPECT_EQ(below.state.MeltStartElement, 1);
    EXPECT_NEAR(below.state.MeltStartPosition, 0.0f, 1e-6);  // the start of the first sub-step

    // Just above it: never melts; the pass ends at the end zone with the
    // solid at the feed temperature everywhere.
    CoreCall above = unheatedScrew(100.021f);
    ASSERT_TRUE(above.call().ok());
    EXPECT_EQ(above.state.MeltStartElement, 7);  // the end zone's index
    EXPECT_EQ(above.state.LastProfileRow, 0);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(above.elements.at(i).TempEnd, 100.0f) << "element " << i;
}

TEST(ForwardHeating, SurfaceExactlyAtTheMeltingTemperatureStartsMelting) {
    CoreCall r = unheatedScrew(unheatedSurface());
    ASSERT_TRUE(r.call().ok());
    EXPECT_EQ(r.state.MeltStartElement, 1);
    EXPECT_NEAR(r.state.MeltStartPosition, 0.0f, 1e-6);
    EXPECT_EQ(r.profile[0].SolidFraction, 1.0f);
    ASSERT_GE(r.state.LastProfileRow, 1);
    EXPECT_NEAR(r.profile[1].SolidFraction, 0.85f, 1e-6);  // the seeded pool and film
}

TEST(ForwardHeating, NoOnsetEndsAtTheEndZoneAndLaterCallsTerminate) {
    // Barrel and screw at the feed temperature: the solid never warms.
    CoreCall r = screw(8);
    r.solidsBlock.BarrelTemperature = r.solidsBlock.FeedTemperature;
    r.solidsBlock.ScrewTemperature = r.solidsBlock.FeedTemperature;
    withWatchdog([&] {
        ASSERT_TRUE(r.iterate().ok());
        const ElementRecord& zone = r.elements.at(9);
        EXPECT_EQ(r.state.MeltStartElement, 9);
        EXPECT_EQ(r.state.AuxElementIndex, 9);
        // Handed back as ending at the end of the last real element.
        EXPECT_EQ(r.state.MeltEndElement, 8);
        EXPECT_EQ(r.state.MeltEndPosition, r.elements.at(8).SegmentLength);
        EXPECT_EQ(r.state.LastProfileRow, 0);
        EXPECT_EQ(r.profile[0].AxialPosition, zone.SegmentStart);
        EXPECT_EQ(r.profile[0].SolidFraction, 1.0f);
        EXPECT_EQ(r.profile[0].Pressure, zone.PressureStart);
        EXPECT_EQ(zone.TempStart, r.elements.at(8).TempEnd);

        // The next call starts its backward pass at the profile's only point.
        ASSERT_TRUE(r.iterate().ok());
        ASSERT_TRUE(r.iterate(true).ok());
    });
}

TEST(ForwardHeating, WithoutADieTheListIsNeverReadPastItsEnd) {
    // The end zone is the last record; two calls and the final call.
    CoreCall r = screw(5);
    r.solidsBlock.BarrelTemperature = r.solidsBlock.FeedTemperature;
    r.solidsBlock.ScrewTemperature = r.solidsBlock.FeedTemperature;
    withWatchdog([&] {
        for (int call = 1; call <= 2; ++call) ASSERT_TRUE(r.iterate().ok()) << "call " << call;
        EXPECT_LE(r.state.MeltEndElement, 5);
        ASSERT_TRUE(r.iterate(true).ok());
    });
}

TEST(ForwardHeating, APortRowHeatsAsOneFullChannelWhateverFillItStores) {
    // The hopper's rows, starved throughout, store their fill uncapped or the
    // mark 1.2; the solid heats in them as in a full channel.
    const auto withFill = [](float fill) {
        CoreCall r = screw(6);
        for (int i : {1, 2}) r.elements.at(i).FillLeft = r.elements.at(i).FillRight = fill;
        EXPECT_TRUE(r.call().ok());
        std::vector<float> temperatures;
        for (const ElementRecord& e : r.elements.items()) temperatures.push_back(e.TempEnd);
        return temperatures;
    };
    EXPECT_EQ(withFill(1.2f), withFill(1));
    EXPECT_EQ(withFill(8.4f), withFill(1));
    EXPECT_NE(withFill(0.4f), withFill(1));
}

TEST(ForwardMelting, MeltingCutShortByTheEndZoneEndsWithinTheLastElement) {
    // Melting forced to begin where element 3 fills; too little screw is left
    // to melt the solid before the end zone, which starts at 8 radii.
    CoreCall r = screw(4);
    r.elements.at(3).StarvationPoint = 0;
    ASSERT_TRUE(r.iterate().ok());
    EXPECT_EQ(r.state.MeltStartElement, 3);
    ASSERT_GE(r.state.LastProfileRow, 1);
    EXPECT_GT(r.profile[r.state.LastProfileRow].SolidFraction, 0.0f);  // solid left
    EXPECT_EQ(r.state.MeltEndElement, 4);
    // At the end of element 4's segment, not at the end zone's screw position.
    EXPECT_EQ(r.state.MeltEndPosition, r.elements.at(4).SegmentLength);
}

TEST(ForwardMelting, AStarvationPointWithinATenThousandthOfARowsEndTakesThatEndsTemperature) {
    // Row 1 fills from 0.00005 radii before its end (melting is forced to
    // begin in its last sub-step), row 2 from 0.00005 after its start, rows 3
    // and 4 from 0.0002 after their start and before their end, beyond the
    // same-point rule: there the temperature lies along the row.
    CoreCall r = screw(8);
    r.elements.at(1).StarvationPoint = 2 - 0.00005f;
    r.elements.at(2).StarvationPoint = 0.00005f;
    r.elements.at(3).StarvationPoint = 0.0002f;
    r.elements.at(4).StarvationPoint = 2 - 0.0002f;
    ASSERT_TRUE(r.call().ok());
    const auto E = [&](int i) -> const ElementRecord& { return r.elements.at(i); };
    ASSERT_GT(r.state.MeltEndElement, 4);
    EXPECT_EQ(E(1).TempStarvation, E(1).TempEnd);
    EXPECT_EQ(E(2).TempStarvation, E(2).TempStart);
    for (int i : {3, 4}) {
        const ElementRecord& e = E(i);
        const double along = e.TempStart + (e.TempEnd - e.TempStart) * static_cast<double>(e.StarvationPoint) / 2;
        EXPECT_NEAR(e.TempStarvation, along, 1e-6 * along) << "row " << i;
        EXPECT_NE(e.TempStarvation, i == 3 ? e.TempStart : e.TempEnd) << "row " << i;
    }
}

TEST(ForwardMelting, FeedAboveTheMeltingTemperatureMeltsFromTheStart) {
    CoreCall r = screw(10);
    r.solidsBlock.FeedTemperature = 170;
    ASSERT_TRUE(r.call().ok());
    EXPECT_EQ(r.state.MeltStartElement, 1);
    EXPECT_EQ(r.state.MeltStartPosition, 0.0f);
    EXPECT_EQ(r.profile[0].AxialPosition, 0.0f);
    // The mean temperature is at the melting temperature: complete at once.
    EXPECT_EQ(r.state.MeltEndElement, 1);
}

TEST(ForwardMelting, PoolCarriedIntoAWideChannelSeedsItsFilm) {
    // One tip at a small centre-line ratio: a channel area above 1, so the
    // initial solid area gives a pool but no film yet.
    CoreCall r = screw(6);
    r.centerline = 0.5f;
    for (auto& e : r.elements.items()) {
        if (e.kind() == 's') e.Tips = 1;
    }
    r.solidsBlock.FeedTemperature = 170;
    r.solidsBlock.HeatCapacity = 1.8f;
    r.meltingBlock.MeltingTemperature = 160;
    r.solidsBlock.BarrelTemperature = 100;  // mean temperature falls below melting
    r.solidsBlock.ScrewTemperature = 100;
    ASSERT_TRUE(r.call().ok());
    for (int k = 0; k <= r.state.LastProfileRow; ++k) {
        EXPECT_TRUE(std::isfinite(r.profile[k].SolidFraction)) << "point " << k;
        EXPECT_TRUE(std::isfinite(r.profile[k].AverageTemperature)) << "point " << k;
    }
}

TEST(ForwardMelting, WholeRunOfACalculation) {
    CoreCall r = screw(40);
    // The calculation's own pass leaves the last elements full, under pressure.
    for (int i = 31; i <= 40; ++i) {
        ElementRecord& e = r.elements.at(i);
        e.StarvationPoint = 0;
        e.FillLeft = e.FillRight = 1;
        e.PressureStart = 0.1f * static_cast<float>(i - 30);
        e.PressureEnd = 0.1f * static_cast<float>(i - 29);
    }
    withWatchdog([&] {
        ASSERT_TRUE(r.iterate().ok());
        ASSERT_TRUE(r.iterate().ok());
    });
    const records::RunState& s = r.state;
    EXPECT_GE(s.MeltStartElement, 1);
    EXPECT_LE(s.MeltStartElement, s.MeltEndElement);
    EXPECT_LE(s.MeltEndElement, 40);
    EXPECT_GT(s.LastProfileRow, 30);  // the profile arrays grew beyond their first 21 rows
    ASSERT_EQ(static_cast<int>(r.profile.size()), s.LastProfileRow + 1);
    for (int k = 1; k <= s.LastProfileRow; ++k) {
        EXPECT_GT(r.profile[k].AxialPosition, r.profile[k - 1].AxialPosition) << "point " << k;
        EXPECT_LE(r.profile[k].SolidFraction, 1.0f);
        EXPECT_GT(r.profile[k].AverageTemperature, 0.0f);  // the film between calls
        EXPECT_EQ(r.profile[k].CumulativePower, 0.0f);
    }
    EXPECT_EQ(r.profile[s.LastProfileRow].SolidFraction, 0.0f);  // melting completed

    // Element temperatures rise from the feed towards the melting temperature.
    const float feed = r.solidsBlock.FeedTemperature;
    const float melt = r.meltingBlock.MeltingTemperature;
    EXPECT_EQ(r.elements.at(1).TempStart, feed);
    for (int i = 1; i < s.MeltEndElement; ++i) {
        const ElementRecord& e = r.elements.at(i);
        EXPECT_GE(e.TempEnd, e.TempStart) << "element " << i;
        EXPECT_LE(e.TempEnd, melt) << "element " << i;
        EXPECT_EQ(r.elements.at(i + 1).TempStart, e.TempEnd);
    }

    // The final call puts average temperatures in place of the films.
    const records::RunState before = r.state;
    const float start = r.elements.at(s.MeltStartElement).TempStart;
    ASSERT_TRUE(r.iterate(true).ok());
    EXPECT_EQ(r.state, before);
    EXPECT_EQ(r.profile[0].AverageTemperature, start);
    for (int k = 1; k <= s.LastProfileRow; ++k) {
        EXPECT_GE(r.profile[k].AverageTemperature, start - 1e-3f);
        EXPECT_LE(r.profile[k].AverageTemperature, melt + 1e-3f);
    }
    EXPECT_EQ(r.profile[s.LastProfileRow].AverageTemperature, melt);
}

TEST(FinalCall, AverageTemperaturesBetweenSolidAndMelt) {
    CoreCall r = screw(4);
    r.meltingBlock.MeltingTemperature = 200;
    r.elements.at(2).TempStart = 150;
    r.state.MeltStartElement = 2;
    r.state.LastProfileRow = 2;
    r.profile.assign(3, MeltProfileRow{});
    r.profile[1].SolidFraction = 0.5f;
    r.profile[2].SolidFraction = 0;
    const records::RunState before = r.state;
    ASSERT_TRUE(r.call(true).ok());
    EXPECT_EQ(r.profile[0].AverageTemperature, 150.0f);
    EXPECT_EQ(r.profile[1].AverageTemperature, 175.0f);
    EXPECT_EQ(r.profile[2].AverageTemperature, 200.0f);
    EXPECT_EQ(r.state, before);
    EXPECT_EQ(r.elements.at(2).TempStart, 150.0f);
}

TEST(FinalCall, MeltingWithoutRecordedOnsetUsesTheFeedElement) {
    CoreCall r = screw(4);
    r.elements.at(1).TempStart = 25;
    r.state.MeltStartElement = 0;
    ASSERT_TRUE(r.call(true).ok());
    EXPECT_EQ(r.profile[0].AverageTemperature, 25.0f);
}

}  // namespace
