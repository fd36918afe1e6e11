// Whole runs on the demo extruder and on screws built from its elements,
// checked for results that contradict themselves: a starvation point outside
// its element, a fill outside the channel, an element that holds nothing, a
// temperature below the feed or a starvation temperature outside its row's, a
// row that does not start where the row before it ends, a residence time
// longer than a full channel's, a melting region that ends outside its
// element, a power that falls along the screw, an iteration that never
// settles, solid left at the screw's end without a word.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "records/files.h"
#include "simulation/calculation_fixture.h"
#include "simulation/core.h"
#include "simulation/numerics.h"
#include "simulation/parameter_file.h"

namespace {

using records::ElementRecord;
using Strings = std::vector<std::string>;
using Runs = std::vector<std::pair<const char*, int>>;  // a screw as runs of one element code

class CalculationConsistency : public calctest::DemoRun {
protected:
    static void SetUpTestSuite() {
        DemoRun::SetUpTestSuite();
        const Strings barrel = {"HOPPER120", "PLANE120", "PLANE120", "VENT120", "PLANE120"};
        const Strings earlyVent = {"HOPPER120", "PLANE120", "VENT120", "PLANE120", "PLANE120"};
        const struct {
            const char* name;
            Runs screw;
            Strings barrel;
        } extruders[] = {
            {"noknead",
             {{"SE42/42", 5}, {"SE28/28", 1}, {"SE20/20LH", 1}, {"SE42/42", 3}, {"SE28/28", 4}, {"SE20/20", 1},
              {"SE28/28", 3}},
             barrel},
            {"earlyknead",
             {{"SE42/42", 1}, {"SE28/28", 1}, {"KB90/5/30", 1}, {"KB45/5/30", 1}, {"SE42/42", 3}, {"SE20/20LH", 1},
              {"SE42/42", 3}, {"SE28/28", 4}, {"SE20/20", 1}},
             barrel},
            {"endknead",
             {{"SE42/42", 5}, {"SE28/28", 1}, {"SE20/20LH", 1}, {"SE42/42", 3}, {"SE28/28", 3}, {"KB45/5/30", 1},
              {"KB60/5/30", 1}, {"KB90/5/30", 1}, {"SE20/20", 1}},
             barrel},
            // The demo screw under a barrel with its vent one block upstream.
            {"earlyvent",
             {{"SE42/42", 5}, {"SE28/28", 1}, {"KB45/5/30", 1}, {"KB60/5/30", 1}, {"KB90/5/30", 1}, {"SE20/20LH", 1},
              {"SE42/42", 3}, {"SE28/28", 4}, {"SE20/20", 1}},
             earlyVent},
            // Six left-handed parts among twenty.
            {"lefthanded",
             {{"SE42/42", 1}, {"SE20/20", 1}, {"KB60/5/30", 2}, {"SE42/42", 1}, {"KB60/5/30", 1}, {"KB45/5/30LH", 1},
              {"SE28/28", 2}, {"SE42/42", 1}, {"SE20/20LH", 2}, {"KB90/5/30", 1}, {"SE28/28", 1}, {"SE20/20", 1},
              {"KB45/5/30", 1}, {"SE20/20LH", 1}, {"SE42/42", 1}, {"SE20/20", 1}, {"SE42/42", 1}},
             barrel},
            // Kneading under the hopper and a left-handed block that the
            // vent's edge cuts, fed from upstream.
            {"ventleft",
             {{"KB45/5/30", 1}, {"KB90/5/30", 1}, {"SE42/42", 1}, {"KB60/5/30", 2}, {"SE42/42", 2}, {"SE20/20", 1},
              {"KB45/5/30LH", 1}, {"SE20/20", 1}, {"KB90/5/30", 1}, {"SE28/28", 2}},
             earlyVent},
            // Restrictions all along a short solids zone: the feed can leave
            // the screw unmelted.
            {"restricted",
             {{"SE42/42", 2}, {"SE28/28", 3}, {"KB45/5/30", 1}, {"SE28/28", 4}, {"SE20/20", 1}, {"KB45/5/30", 1},
              {"KB90/5/30", 1}, {"SE20/20", 1}, {"KB90/5/30", 1}, {"SE42/42", 1}, {"KB45/5/30", 1}, {"SE28/28", 1},
              {"KB45/5/30", 1}, {"SE20/20LH", 1}, {"SE20/20", 1}},
             earlyVent},
            {"kneadfirst",
             {{"SE42/42", 2}, {"KB45/5/30", 1}, {"KB60/5/30", 1}, {"KB90/5/30", 1}, {"SE20/20LH", 1}, {"SE42/42", 5},
              {"SE28/28", 4}, {"SE20/20", 2}},
             barrel},
        };
        for (const auto& x : extruders) {
            Strings codes;
            for (const auto& [code, times] : x.screw) codes.insert(codes.end(), static_cast<std::size_t>(times), code);
            for (const auto& p : demo::writeDemoExtruder(app_->string(), x.name, codes, x.barrel)) ADD_FAILURE() << p;
        }
    }

    // Every way one run contradicts itself, one line each: an extruder at a
    // flow (kg/h) through the hopper and one through the vent, a screw speed
    // (RPM) and a barrel temperature (C) for the solids and the melt, its
    // kneading parts cut short by `shortfall` radii.
    Strings contradictionsOf(const std::string& extruder, float kg, float rpm, float barrel, float shortfall = 0,
                             float vent = 0) {
        sim::ParameterSet p = at(kg);
        p.header.ScrewSpeed = rpm;
        p.solids.BarrelTemperature = barrel;
        for (auto& port : p.ports.items()) port.BarrelTemperature = barrel;
        p.ports.at(2).FlowRate = vent;
        // The analysis' cautions about elements under an opening are no
        // fault here: the run goes on after them as the user's would.
        sim::writeParameterFile(tempFile("run.prm"), p);
        demo::prepareDemoRun(app_->string(), paths_.tempDir, tempFile("run.prm"), extruder + ".ext");
        if (shortfall > 0) {
            records::RecordFile file(tempFile("Analysis.TMP"), records::AnalysisRecord::kSize,
                                     records::OpenMode::ReadOnly);
            std::vector<records::AnalysisRecord> parts;
            float moved = 0;
            for (long n = 1; n <= file.recordCount(); ++n) {
                parts.push_back(file.read<records::AnalysisRecord>(n));
                parts.back().SegmentStart -= moved;
                if (parts.back().Kind.str() != "k") continue;
                parts.back().SegmentLength -= shortfall;
                moved += shortfall;
            }
            file.close();
            records::rewriteRecords(tempFile("Analysis.TMP"), records::AnalysisRecord::kSize, parts);
        }
        user = {};
        user.answers = {true};
        user.files = {tempFile("result.flw")};
        if (!run()) return {"no result: " + (user.shown.empty() ? std::string() : user.shown.back().text)};
        last_ = resultOf(tempFile("result.flw"));
        const records::ResultData& r = last_;

        Strings found;
        const auto say = [&](int i, const std::string& what) { found.push_back("row " + std::to_string(i) + ": " + what); };
        const auto row = [&](int i) -> const ElementRecord& { return r.elements[static_cast<std::size_t>(i - 1)]; };
        const int rows = static_cast<int>(r.elements.size());
        // A full channel holds the melt of its port for area x length over
        // the volume rate; no part of a row holds it longer.
        sim::ChannelGeometry channel;
        EXPECT_TRUE(sim::ComputeChannelGeometry(sim::CenterlineRatio, demo::kTips, channel));
        records::OneBasedList<records::PortRecord> ports;
        ports.items() = r.ports;
        const auto q = sim::portThroughputs(ports, shared::ScrewRadius, rpm / 60);
        const double omega = 6.283185308 * rpm / 60;
        const float meltingT = r.melting.MeltingTemperature;
        for (int i = 1; i <= rows; ++i) {
            const ElementRecord& e = row(i);
            if (i > 1 && e.TempStart != row(i - 1).TempEnd) say(i, "starts off the temperature the row before ends at");
            if (e.kind() != 's' && e.kind() != 'k') continue;
            const bool port = e.RegionCode == records::kHopperRegion || e.RegionCode == records::kOtherPortRegion;
            if (e.StarvationPoint < 0 || e.StarvationPoint > e.SegmentLength) say(i, "starvation point outside");
            if (!port && !(e.FillLeft >= 0 && e.FillLeft <= 1 && e.FillRight >= 0 && e.FillRight <= 1))
                say(i, "fill outside 0 to 1");
            if (port && !(e.FillLeft >= 0 && e.FillLeft == e.FillRight)) say(i, "port fills differ or below 0");
            if (!(e.FillLeft > 0)) say(i, "holds no material");
            if (!port && e.StarvationPoint > 0 && e.StarvationPoint < e.SegmentLength && e.FillRight != 1)
                say(i, "partly filled, but not full right of its starvation point");
            for (float T : {e.TempStart, e.TempStarvation, e.TempEnd})
                if (T < r.solids.FeedTemperature) say(i, "temperature below the feed");
            const float low = std::min({e.TempStart, e.TempEnd, meltingT}) - 0.01f;
            const float high = std::max({e.TempStart, e.TempEnd, meltingT}) + 0.01f;
            if (!(e.TempStarvation >= low && e.TempStarvation <= high)) say(i, "starvation temperature outside its row");
            // The starvation temperature is the one at the starvation point: the
            // start's or the end's there, and before the melt end interpolated
            // along the row between them; so too in the last row that solid
            // reaches, where melting does not end.
            const bool meltEndRow = i == r.runState.MeltEndElement && r.profile.back().SolidFraction == 0;
            const float along = e.TempStart + (e.TempEnd - e.TempStart) * e.StarvationPoint / e.SegmentLength;
            if (sim::atStart(e.StarvationPoint) && e.TempStarvation != e.TempStart)
                say(i, "filled from its start, at a starvation temperature other than its start's");
            else if (sim::reaches(e.StarvationPoint, e.SegmentLength) && e.TempStarvation != e.TempEnd)
                say(i, "starved to its end, at a starvation temperature other than its end's");
            else if (!meltEndRow && i <= r.runState.MeltEndElement &&
                     std::fabs(e.TempStarvation - along) > 1e-5f * std::fabs(along))
                say(i, "a starvation temperature away from its starvation point");
            else if (meltEndRow) {
                // Where melting ends the melt takes the row from the melt end on:
                // the start temperature while the point lies at or before the
                // melt end, then the rise to the end temperature by the share
                // of that molten part that is starved.
                const double meltEnd = r.runState.MeltEndPosition;
                const double share = sim::reaches(r.runState.MeltEndPosition, e.StarvationPoint)
                                         ? 0
                                         : std::min(1.0, (e.StarvationPoint - meltEnd) / (e.SegmentLength - meltEnd));
                const double rule = e.TempStart + (e.TempEnd - e.TempStart) * share;
                if (std::fabs(e.TempStarvation - rule) > 1e-5 * std::fabs(rule))
                    say(i, "where melting ends, a starvation temperature off its rule at its starvation point");
            }
            const double full = channel.FreeArea * e.SegmentLength / (omega * q.at(e.PortIndex)) / 60;
            if (e.ResTimeEnd - e.ResTimeStart > full * 1.0001) say(i, "holds the melt longer than a full channel");
        }
        const records::RunState& st = r.runState;
        const auto within = [&](int i, float x, const char* what) {
            if (i < 1 || i > rows || x < 0 || x > row(i).SegmentLength) say(i, std::string(what) + " outside its row");
        };
        if (!st.meltingNeverStarted()) within(st.MeltStartElement, st.MeltStartPosition, "melt start");
        within(st.MeltEndElement, st.MeltEndPosition, "melt end");
        if (r.profile.back().SolidFraction == 0 && st.MeltEndElement >= 1 && st.MeltEndElement <= rows) {
            const ElementRecord& end = row(st.MeltEndElement);
            if (r.profile.back().AxialPosition > end.SegmentStart + end.SegmentLength + 1e-4f)
                say(st.MeltEndElement, "melting ends past its row");
        }
        // The power as the result carries it: the solids zone's rows, the
        // profile, then the melt zone's rows from its starvation point on.
        std::vector<float> power;
        for (int i = 1; i < st.MeltStartElement && i <= rows; ++i)
            power.insert(power.end(), {row(i).PowerStart, row(i).PowerStarvation, row(i).PowerEnd});
        for (const auto& point : r.profile) power.push_back(point.CumulativePower);
        for (int i = std::max(1, static_cast<int>(st.MeltEndElement)); i <= rows; ++i)
            power.insert(power.end(), {row(i).PowerStarvation, row(i).PowerEnd});
        if (!std::is_sorted(power.begin(), power.end())) found.push_back("the power falls along the screw");
        if (static_cast<int>(user.progress.size()) + 1 >= sim::kMaxIterations)
            found.push_back("the iteration did not settle");
        const bool told = user.texts().size() == 2 && user.texts()[0].rfind("Melting ", 0) == 0;
        if ((r.profile.back().SolidFraction > 0) != told) found.push_back("solid left without a word, or a word without");
        solidLeft_ = solidLeft_ || r.profile.back().SolidFraction > 0;
        return found;
    }
    records::ResultData last_;  // the result of the last run
    bool solidLeft_ = false;    // some run left solid at the screw's end
};

TEST_F(CalculationConsistency, NoResultContradictsItselfAtTheModelsHardCases) {
    // Kneading parts 0.0009 short of five whole disks.
    EXPECT_EQ(contradictionsOf("demo", 10, 300, 190, 0.0009f), Strings{});
    // The vent's edge cuts KB60/5/30 to a part shorter than one disk.
    EXPECT_EQ(contradictionsOf("earlyvent", 25, 150, 170), Strings{});
    // Melting begins in row 4's last sub-step: the row upstream holds the
    // starvation point of its step.
    EXPECT_EQ(contradictionsOf("demo", 18, 300, 230), Strings{});
    EXPECT_LT(last_.elements[3].StarvationPoint, last_.elements[3].SegmentLength);
    // A kneading block fed beyond its capacity, then a left-handed element
    // after the vent.
    EXPECT_EQ(contradictionsOf("earlyknead", 10, 150, 170), Strings{});
    EXPECT_EQ(last_.elements[3].StarvationPoint, 0.0f);
    EXPECT_EQ(contradictionsOf("earlyvent", 10, 150, 170), Strings{});
    // The melt-end row, starved on the one side of the melt end and filled
    // on the other.
    EXPECT_EQ(contradictionsOf("noknead", 2, 150, 190), Strings{});
    EXPECT_EQ(contradictionsOf("kneadfirst", 2, 350, 200), Strings{});
    // KB90/5/30 under the vent stores a fill of 8.4: it heats as one full
    // channel, and melting goes on past it.
    EXPECT_EQ(contradictionsOf("earlyvent", 30, 150, 170), Strings{});
    EXPECT_LT(last_.elements[9].TempEnd, 165.0f);
    EXPECT_GT(last_.runState.MeltEndElement, 10);
    EXPECT_EQ(contradictionsOf("earlyvent", 60, 150, 170), Strings{});
    // A left-handed block fed from upstream (row 8, KB45/5/30LH) is filled
    // throughout.
    EXPECT_EQ(contradictionsOf("lefthanded", 24.3534f, 477.773f, 175.953f), Strings{});
    EXPECT_EQ(last_.elements[7].StarvationPoint, 0.0f);
    EXPECT_EQ(last_.elements[7].FillLeft, 1.0f);
    EXPECT_EQ(last_.elements[7].FillRight, 1.0f);
    // Solid left at the screw's end, and a feed that never melts.
    EXPECT_EQ(contradictionsOf("noknead", 60, 350, 230), Strings{});
    EXPECT_GT(last_.profile.back().SolidFraction, 0.0f);
    EXPECT_EQ(contradictionsOf("restricted", 6, 250, 170), Strings{});
    EXPECT_EQ(last_.profile.back().SolidFraction, 1.0f);
}

TEST_F(CalculationConsistency, NoResultContradictsItselfOverAGridOfScrewsAndOperatingPoints) {
    const char* extruders[] = {"demo", "noknead", "earlyknead", "endknead", "earlyvent", "lefthanded", "ventleft"};
    for (const char* extruder : extruders)
        for (float kg : {2.0f, 6.0f, 12.0f, 18.0f, 30.0f})
            for (float rpm : {150.0f, 300.0f, 400.0f})
                for (float barrel : {170.0f, 200.0f, 230.0f}) {
                    SCOPED_TRACE(std::string(extruder) + " " + std::to_string(kg) + " kg/h " + std::to_string(rpm) +
                                 " rpm " + std::to_string(barrel) + " C");
                    EXPECT_EQ(contradictionsOf(extruder, kg, rpm, barrel), Strings{});
                }
    // A second stream through the vent.
    for (const char* extruder : extruders)
        for (float kg : {2.0f, 12.0f, 30.0f})
            for (float rpm : {150.0f, 400.0f})
                for (float barrel : {170.0f, 230.0f}) {
                    SCOPED_TRACE(std::string(extruder) + " " + std::to_string(kg) + " kg/h and 5 kg/h at the vent " +
                                 std::to_string(rpm) + " rpm " + std::to_string(barrel) + " C");
                    EXPECT_EQ(contradictionsOf(extruder, kg, rpm, barrel, 0, 5), Strings{});
                }
    EXPECT_TRUE(solidLeft_);
}

}  // namespace
