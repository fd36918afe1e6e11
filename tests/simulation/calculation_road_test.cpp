// The road of one simulation, headless: the demo extruder analysed, its
// parameter file taken through the four wizard pages, the calculation window
// run and its result saved. The result is checked on its own for physical
// sense and field by field against a stored dump of the same run
// (tests/simulation/golden/demo_run.txt; VELKOR_UPDATE_GOLDEN=1 writes it anew).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>

#include "platform/headless/headless.h"
#include "platform/io/files.h"
#include "records/design_files.h"
#include "simulation/analysis.h"
#include "simulation/calculate.h"
#include "simulation/calculation_fixture.h"
#include "simulation/gparameter.h"
#include "simulation/progress.h"

namespace {

using calctest::DemoRun;
namespace fs = std::filesystem;

// One line per stored value: "<record>.<field number> <value>", texts quoted
// without their blanks, the extruder path cut to its file name.
class Dump {
public:
    template <class Rec>
    void record(const std::string& name, const Rec& rec) {
        int field = 0;
        Rec::layout([&](auto member) {
            using Field = std::remove_cvref_t<decltype(rec.*member)>;
            const std::string key = name + "." + std::to_string(++field);
            if constexpr (std::is_same_v<Field, float>)
                numbers_[key] = rec.*member;
            else if constexpr (std::is_integral_v<Field>)
                numbers_[key] = static_cast<double>(rec.*member);
            else if constexpr (requires { (rec.*member).trimmed(); })
                texts_[key] = (rec.*member).trimmed();
            else
                record(key, rec.*member);
        });
    }
    static Dump of(const records::ResultData& r) {
        Dump d;
        records::AnalysisHeader header = r.header;
        const std::string path = header.ExtruderFile.rtrimmed();
        header.ExtruderFile = path.substr(path.find_last_of("/\\") + 1);
        d.record("header", header);
        for (std::size_t i = 0; i < r.elements.size(); ++i) d.record("element" + std::to_string(i + 1), r.elements[i]);
        d.record("runState", r.runState);
        for (std::size_t j = 0; j < r.profile.size(); ++j) d.record("profile" + std::to_string(j), r.profile[j]);
        d.record("solids", r.solids);
        d.record("melting", r.melting);
        for (std::size_t k = 0; k < r.ports.size(); ++k) d.record("port" + std::to_string(k + 1), r.ports[k]);
        return d;
    }
    void write(const std::string& path) const {
        std::ofstream out(path);
        char buf[64];
        for (const auto& [k, v] : numbers_) {
            std::snprintf(buf, sizeof buf, "%.9g", v);
            out << k << ' ' << buf << '\n';
        }
        for (const auto& [k, v] : texts_) out << k << " \"" << v << "\"\n";
    }
    static Dump read(const std::string& path) {
        Dump d;
        std::ifstream in(path);
        std::string key, rest;
        while (in >> key && std::getline(in, rest)) {
            rest = rest.substr(1);
            if (!rest.empty() && rest.front() == '"')
                d.texts_[key] = rest.substr(1, rest.size() - 2);
            else
                d.numbers_[key] = std::stod(rest);
        }
        return d;
    }
    // Every field of the other dump, singles within 1e-5 relative.
    void expectMatches(const Dump& want) const {
        EXPECT_EQ(numbers_.size(), want.numbers_.size());
        for (const auto& [k, v] : want.numbers_) {
            auto it = numbers_.find(k);
            ASSERT_NE(it, numbers_.end()) << k;
            EXPECT_NEAR(it->second, v, 1e-5 * std::fabs(v) + 1e-30) << k;
        }
        EXPECT_EQ(texts_, want.texts_);
    }

private:
    std::map<std::string, double> numbers_;
    std::map<std::string, std::string> texts_;
};

class CalculationRoad : public DemoRun {};

TEST_F(CalculationRoad, TheDemoExtruderAnalysedParameterisedCalculatedAndSaved) {
    headless::Session s;
    ui::app().setAppDir(*app_);
    shared::setDirectories(app_->string());
    shared::TempDir = paths_.tempDir;

    // Specify Extruder and Analyse Extruder, as the main window does them.
    shared::ExtruderFile = appFile("demo.ext");
    const records::ExtruderFileContent extruder = records::readExtruderFile(shared::ExtruderFile);
    shared::ExtruderCategory = extruder.header.Code.rtrimmed();
    const sim::ExtruderAnalysis analysis = sim::analyseExtruder(extruder, shared::ExtruderFile);
    ASSERT_TRUE(analysis.completed());
    ASSERT_TRUE(analysis.messages.empty());
    sim::publishAnalysis(analysis);
    ASSERT_FALSE(sim::writeAnalysisWorkFiles(shared::TempDir, analysis));

    // Retrive Old Parameters, the four steps, Done !.
    fs::copy_file(appFile("demo.prm"), tempFile("demo.prm"));
    shared::ParameterFile = tempFile("demo.prm");
    ui::form<Gparameter1>().show();
    s.driver.click(ui::form<Gparameter1>().Command2);
    s.driver.click(ui::form<Gparameter2>().Command2);
    s.driver.click(ui::form<Gparameter3>().Command2);
    s.driver.click(ui::form<Gparameter4>().Command2);
    s.script.yes("Parameterfile is already exist. Overwrite ?").ok("Parameterfile was created!");
    s.driver.click(ui::form<Gparameter4>().Command2);
    s.expectScriptDone();

    // Calculation: the progress window between iterations, then the save.
    const std::string saved = appFile("road.flw");
    s.script.yes(calctest::kSaveQuestion, "Calculation").chooseFile(saved, ui::FileDialogKind::Save);
    ui::form<calculate>().show();
    s.expectScriptDone();
    EXPECT_FALSE(ui::form<calculate>().isLoaded());
    EXPECT_FALSE(ui::form<progress>().isLoaded());
    ASSERT_EQ(s.backend.messages().size(), 3u);
    EXPECT_EQ(s.backend.messages().back().request.icon, ui::kInformation);
    const ui::FileDialogRequest& dialog = s.backend.fileDialogs().back();
    EXPECT_EQ(dialog.fileName, "*.flw");
    EXPECT_EQ(dialog.filter, "Flow file(*.flw)|*.flw");
    EXPECT_EQ(dialog.initDir, shared::AppDir);
    EXPECT_GE(s.backend.clockMs(), 200);  // at least one pause between iterations
    EXPECT_EQ(s.backend.clockMs() % 200, 0);
    EXPECT_FALSE(fs::exists(flow()));
    EXPECT_EQ(shared::ResultFile, flow());
    EXPECT_EQ(shared::PortRecords.count(), 0);

    records::ResultData r = resultOf(saved);
    fs::remove(saved);

    // The result on its own.
    EXPECT_EQ(r.screw, extruder.screw);
    EXPECT_EQ(r.barrel, extruder.barrel);
    const float feed = r.solids.FeedTemperature;
    const auto& die = r.elements.back();
    ASSERT_EQ(die.kind(), 'd');
    EXPECT_GT(die.PressureStart, 0.0f);
    EXPECT_EQ(r.header.RunConditions.DiePressure, die.PressureStart);
    bool filledAheadOfLeftHanded = false;
    for (std::size_t i = 0; i < r.elements.size(); ++i) {
        const auto& e = r.elements[i];
        SCOPED_TRACE(i + 1);
        const bool port = e.RegionCode == records::kHopperRegion || e.RegionCode == records::kOtherPortRegion;
        for (float v :
             {e.StarvationPoint, e.FillLeft, e.FillRight, e.PressureStart, e.PressureStarvation, e.PressureEnd,
              e.TempStart, e.TempStarvation, e.TempEnd, e.ResTimeStart, e.ResTimeEnd, e.PowerStart, e.PowerEnd})
            EXPECT_TRUE(std::isfinite(v));
        for (float p : {e.PressureStart, e.PressureStarvation, e.PressureEnd}) EXPECT_GE(p, 0.0f);
        for (float T : {e.TempStart, e.TempStarvation, e.TempEnd}) {
            EXPECT_GE(T, feed);
            EXPECT_LE(T, 400.0f);
        }
        for (float f : {e.FillLeft, e.FillRight}) EXPECT_TRUE((f >= 0 && f <= 1) || (port && f == 1.2f)) << f;
        if (i + 1 < r.elements.size() && r.elements[i + 1].Hand < 0 && e.StarvationPoint < e.SegmentLength &&
            e.PressureEnd > 1.0f)
            filledAheadOfLeftHanded = true;
    }
    EXPECT_TRUE(filledAheadOfLeftHanded);
    const auto& lastScrew = r.elements[r.elements.size() - 3];
    EXPECT_LT(lastScrew.StarvationPoint, lastScrew.SegmentLength);  // filled ahead of the die
    EXPECT_GT(lastScrew.PressureEnd, 0.0f);
    float solid = 1;
    for (const auto& row : r.profile) {
        EXPECT_LE(row.SolidFraction, solid);
        solid = row.SolidFraction;
    }
    EXPECT_EQ(solid, 0.0f);
    EXPECT_GT(die.ResTimeEnd, 0.0f);
    EXPECT_GT(die.PowerEnd, 0.0f);

    // The result as stored.
    const std::string golden = std::string(VELKOR_SOURCE_DIR) + "/tests/simulation/golden/demo_run.txt";
    if (std::getenv("VELKOR_UPDATE_GOLDEN")) Dump::of(r).write(golden);
    Dump::of(r).expectMatches(Dump::read(golden));
}

}  // namespace
