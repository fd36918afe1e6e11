// Whole runs on the demo extruder and on screws built from its elements,
// checked for results that contradict themselves: a starvation point outside
// its element, a fill outside the channel, a temperature below the feed, a
// melting region that ends outside its element, a power that falls along the
// screw, an iteration that never settles.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "records/files.h"
#include "simulation/calculation_fixture.h"
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
             {"HOPPER120", "PLANE120", "VENT120", "PLANE120", "PLANE120"}},
        };
        for (const auto& x : extruders) {
            Strings codes;
            for (const auto& [code, times] : x.screw) codes.insert(codes.end(), static_cast<std::size_t>(times), code);
            for (const auto& p : demo::writeDemoExtruder(app_->string(), x.name, codes, x.barrel)) ADD_FAILURE() << p;
        }
    }

    // Every way one run contradicts itself, one line each: an extruder at a
    // flow (kg/h), a screw speed (RPM) and a barrel temperature (C) for the
    // solids and the melt, its kneading parts cut short by `shortfall` radii.
    Strings contradictionsOf(const std::string& extruder, float kg, float rpm, float barrel, float shortfall = 0) {
        sim::ParameterSet p = at(kg);
        p.header.ScrewSpeed = rpm;
        p.solids.BarrelTemperature = barrel;
        for (auto& port : p.ports.items()) port.BarrelTemperature = barrel;
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
        for (int i = 1; i <= rows; ++i) {
            const ElementRecord& e = row(i);
            if (e.kind() != 's' && e.kind() != 'k') continue;
            const bool port = e.RegionCode == records::kHopperRegion || e.RegionCode == records::kOtherPortRegion;
            if (e.StarvationPoint < 0 || e.StarvationPoint > e.SegmentLength) say(i, "starvation point outside");
            if (!port && !(e.FillLeft >= 0 && e.FillLeft <= 1 && e.FillRight >= 0 && e.FillRight <= 1))
                say(i, "fill outside 0 to 1");
            if (!port && e.StarvationPoint > 0 && e.StarvationPoint < e.SegmentLength && e.FillRight != 1)
                say(i, "partly filled, but not full right of its starvation point");
            for (float T : {e.TempStart, e.TempStarvation, e.TempEnd})
                if (T < r.solids.FeedTemperature) say(i, "temperature below the feed");
        }
        const records::RunState& st = r.runState;
        const auto within = [&](int i, float x, const char* what) {
            if (i < 1 || i > rows || x < 0 || x > row(i).SegmentLength) say(i, std::string(what) + " outside its row");
        };
        if (row(st.MeltStartElement).kind() != 'p') within(st.MeltStartElement, st.MeltStartPosition, "melt start");
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
        return found;
    }
    records::ResultData last_;  // the result of the last run
};

TEST_F(CalculationConsistency, TheRunsThatContradictedThemselvesNoLongerDo) {
    // Kneading parts 0.0009 short of five whole disks: melting ended past them.
    EXPECT_EQ(contradictionsOf("demo", 10, 300, 190, 0.0009f), Strings{});
    // The vent's edge cuts KB60/5/30 to a part shorter than one disk.
    EXPECT_EQ(contradictionsOf("earlyvent", 25, 150, 170), Strings{});
    // Melting begins in row 4's last sub-step: row 5 took that step as its
    // own, and row 4 reported itself starved throughout.
    EXPECT_EQ(contradictionsOf("demo", 18, 300, 230), Strings{});
    EXPECT_LT(last_.elements[3].StarvationPoint, last_.elements[3].SegmentLength);
    // A kneading block fed beyond its capacity, then a left-handed element
    // after the vent: partial fills of 2.8 and -0.5.
    EXPECT_EQ(contradictionsOf("earlyknead", 10, 150, 170), Strings{});
    EXPECT_EQ(contradictionsOf("earlyvent", 10, 150, 170), Strings{});
    // The melt-end row, all starved or all filled, flipped until the cap.
    EXPECT_EQ(contradictionsOf("noknead", 2, 150, 190), Strings{});
}

TEST_F(CalculationConsistency, NoResultContradictsItselfOverAGridOfScrewsAndOperatingPoints) {
    for (const char* extruder : {"demo", "noknead", "earlyknead", "endknead", "earlyvent"})
        for (float kg : {2.0f, 6.0f, 12.0f, 18.0f, 30.0f})
            for (float rpm : {150.0f, 300.0f, 400.0f})
                for (float barrel : {170.0f, 200.0f, 230.0f}) {
                    SCOPED_TRACE(std::string(extruder) + " " + std::to_string(kg) + " kg/h " + std::to_string(rpm) +
                                 " rpm " + std::to_string(barrel) + " C");
                    EXPECT_EQ(contradictionsOf(extruder, kg, rpm, barrel), Strings{});
                }
}

}  // namespace
