// Whole calculation runs on the demo extruder with a stand-in user: how the
// iteration ends, the two questions, the save, and every stop that says why
// instead of ending silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "design/extruder_assembly.h"
#include "platform/io/files.h"
#include "platform/rt/numtext.h"
#include "records/design_files.h"
#include "records/files.h"
#include "records/packed.h"
#include "simulation/calculation_inputs.h"
#include "simulation/parameter_file.h"
#include "simulation/calculation_fixture.h"

namespace {

using calctest::DemoRun;
using calctest::kMismatch;
using calctest::kNotSaved;
using calctest::kSaveQuestion;
namespace fs = std::filesystem;

class CalculationRun : public DemoRun {
protected:
    void editHandOver(const std::function<void(records::Calc1Values&)>& edit) {
        records::Calc1Values v = sim::readCalc1File(tempFile("Calc1.tmp"));
        edit(v);
        sim::writeCalc1File(tempFile("Calc1.tmp"), v);
    }
    void editAnalysis(const std::function<void(sim::AnalysisHandOver&)>& edit) {
        sim::AnalysisHandOver h = sim::readCalc2(paths_.tempDir);
        edit(h);
        std::vector<std::uint8_t> bytes = records::pack(h.die);
        const std::vector<std::uint8_t> header = records::pack(h.header);
        bytes.insert(bytes.end(), header.begin(), header.end());
        io::replaceFileContents(tempFile("Calc2.TMP"), bytes);
    }
    // Work files for a run of the demo screw and barrel assembled without a
    // die (nodie.ext): the analysis hands over a die record of zeros and one
    // element row fewer.
    void prepareWithoutDie(const sim::ParameterSet& parameters = demo::demoParameters()) {
        const design::Assembly extruder =
            design::assemble(demo::kCode, records::readScrewFile(appFile("demo.srw")),
                             records::readBarrelFile(appFile("demo.brl")), std::nullopt, {"demo.srw", "demo.brl", ""});
        records::writeExtruderFile(appFile("nodie.ext"), extruder.file);
        const std::string prm = tempFile("run.prm");
        sim::writeParameterFile(prm, parameters);
        for (const auto& p : demo::prepareDemoRun(app_->string(), paths_.tempDir, prm, "nodie.ext")) ADD_FAILURE() << p;
        ASSERT_EQ(sim::readCalc2(paths_.tempDir).die, records::DieRec{});
    }
    // The nine run variables of the hand-over as they stand.
    static records::Calc1Values runVariables() {
        return {shared::ScrewRadius,   sim::CenterlineRatio, shared::TipCount,         shared::PortCount,
                shared::EndZoneLength, shared::ParameterFile, shared::ExtruderFile, shared::ExtruderCategory,
                shared::DieFile};
    }
    // Runs and expects the run to stop with exactly this one message.
    void expectStop(const std::string& text, sim::MessageIcon icon = sim::MessageIcon::Critical) {
        EXPECT_FALSE(run());
        ASSERT_EQ(user.shown.size(), 1u) << user.shown.back().text;
        EXPECT_EQ(user.shown[0].text, text);
        EXPECT_EQ(user.shown[0].title, "Calculation");
        EXPECT_EQ(user.shown[0].icon, icon);
        EXPECT_FALSE(fs::exists(flow()));
        user.shown.clear();
    }
    // The power along the screw as the result carries it: the solids zone's
    // elements, the melting profile, the melt zone's elements.
    static std::vector<float> powerAlongTheScrew(const records::ResultData& r) {
        std::vector<float> p;
        const auto& st = r.runState;
        for (int i = 1; i < st.MeltStartElement; ++i) {
            const auto& e = r.elements[static_cast<std::size_t>(i - 1)];
            p.insert(p.end(), {e.PowerStart, e.PowerStarvation, e.PowerEnd});
        }
        for (const auto& row : r.profile) p.push_back(row.CumulativePower);
        for (std::size_t i = static_cast<std::size_t>(st.MeltEndElement); i <= r.elements.size(); ++i)
            p.insert(p.end(), {r.elements[i - 1].PowerStarvation, r.elements[i - 1].PowerEnd});
        return p;
    }
};

TEST_F(CalculationRun, ResidenceTimeAndPowerRiseAlongTheScrewAtFiveTenAndTwentyKgPerHour) {
    for (float kg : {5.0f, 10.0f, 20.0f}) {
        SCOPED_TRACE(kg);
        prepare(at(kg));
        user = {};
        user.answers = {true};
        user.files = {tempFile("result.flw")};
        ASSERT_TRUE(run());
        EXPECT_EQ(user.texts(), std::vector<std::string>{kSaveQuestion});
        const records::ResultData r = resultOf(tempFile("result.flw"));
        EXPECT_EQ(r.profile.back().SolidFraction, 0.0f);  // melted
        float before = 0;
        for (const auto& e : r.elements) {
            EXPECT_GT(e.ResTimeEnd, before);
            before = e.ResTimeEnd;
        }
        const std::vector<float> power = powerAlongTheScrew(r);
        EXPECT_TRUE(std::is_sorted(power.begin(), power.end()));
        EXPECT_GT(power.back(), 0.0f);
        EXPECT_EQ(power.back(), r.elements.back().PowerEnd);
    }
}

TEST_F(CalculationRun, MeltingBeginsAtTheStartOfItsFirstSubStepNeverARoundingBeforeIt) {
    // At 30 kg/h element 3 fills from its entry; at 2 kg/h with the barrel at
    // 200 C the solid reaches the melting temperature within a first sub-step.
    sim::ParameterSet warm = at(2);
    warm.solids.BarrelTemperature = 200;
    for (auto& p : warm.ports.items()) p.BarrelTemperature = 200;
    for (const sim::ParameterSet& parameters : {at(30), warm}) {
        prepare(parameters);
        user = {};
        user.answers = {true};
        user.files = {tempFile("result.flw")};
        ASSERT_TRUE(run());
        const records::ResultData r = resultOf(tempFile("result.flw"));
        const records::RunState& st = r.runState;
        EXPECT_EQ(st.MeltStartPosition, 0.0f);
        EXPECT_EQ(r.profile[0].AxialPosition, r.elements[static_cast<std::size_t>(st.MeltStartElement - 1)].SegmentStart);
        EXPECT_GT(r.profile[1].AxialPosition, r.profile[0].AxialPosition);
    }
}

TEST_F(CalculationRun, TheLoopShowsEachIterationThatGoesOnAndEndsOnSettledTemperatures) {
    std::vector<bool> coreCalls;  // final flag of each call
    sim::CalculationOptions counted;
    counted.core = [&](auto&&... a) {
        coreCalls.push_back(std::get<10>(std::forward_as_tuple(a...)));
        return sim::SimulateFillAndMelting(a...);
    };
    prepare();
    ASSERT_TRUE(run(counted));
    ASSERT_GE(user.progress.size(), 1u);  // at least two iterations
    for (std::size_t k = 0; k < user.progress.size(); ++k) {
        EXPECT_EQ(user.progress[k].first, static_cast<int>(k) + 1);
        EXPECT_GT(user.progress[k].second, 0.0001f);
    }
    EXPECT_EQ(user.pauses, static_cast<int>(user.progress.size()));
    EXPECT_EQ(user.pausedMs, 200 * user.pauses);
    EXPECT_FALSE(user.progressOpen);
    EXPECT_EQ(coreCalls, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(user.texts(), (std::vector<std::string>{kSaveQuestion, kNotSaved}));

    // Held to 20 iterations: 19 of them go on, the core still runs three
    // times, and the user learns before the save question that the last two
    // iterations still differ.
    coreCalls.clear();
    user = {};
    counted.residualTolerance = -1;
    prepare();
    ASSERT_TRUE(run(counted));
    ASSERT_EQ(user.progress.size(), 19u);
    EXPECT_EQ(user.progress.back().first, 19);
    EXPECT_EQ(user.pauses, 19);
    EXPECT_FALSE(user.progressOpen);
    EXPECT_EQ(coreCalls, (std::vector<bool>{false, false, true}));
    ASSERT_EQ(user.shown.size(), 3u);  // the remark, the save question, not saved
    // The temperatures repeat to the last digit by then: the last residual is 0.
    ASSERT_EQ(user.progress.back().second, 0.0f);
    EXPECT_EQ(user.shown[0].text,
              "The calculation did not settle within 20 iterations: the last residual is 0.\n"
              "The result is that of the last iteration.");
    EXPECT_EQ(user.shown[0].title, "Calculation");
    EXPECT_EQ(user.shown[1].text, kSaveQuestion);

    // A last iteration that still changes a temperature. With a viscosity
    // that does not depend on the temperature (b = 0) no row's balance
    // depends on the end temperature it held before, so the last screw row's,
    // raised by 0.5 C before the last iteration, is the only difference.
    sim::ParameterSet even = demo::demoParameters();
    for (auto& port : even.ports.items()) port.ViscositySensitivity = 0;
    sim::OneBasedList<records::ElementRecord>* rows = nullptr;
    counted.core = [&](auto&&... a) {
        rows = &std::get<3>(std::forward_as_tuple(a...));
        return sim::SimulateFillAndMelting(a...);
    };
    char raised = 0;
    user = {};
    user.onPause = [&](int iteration) {
        if (iteration != 19) return;
        records::ElementRecord& last = rows->at(rows->count() - 2);  // before the end zone and the die
        raised = last.kind();
        last.TempEnd += 0.5f;
    };
    prepare(even);
    ASSERT_TRUE(run(counted));
    ASSERT_EQ(user.progress.size(), 19u);
    ASSERT_EQ(user.progress.back().second, 0.0f);
    ASSERT_EQ(raised, 's');
    EXPECT_EQ(user.shown.at(0).text,
              "The calculation did not settle within 20 iterations: the last residual is 0.25.\n"
              "The result is that of the last iteration.");
}

TEST_F(CalculationRun, SolidLeftOrAHotFeedEndTheLoopAfterItsFirstIteration) {
    int calls = 0;
    float trace = 0;  // solid left at the last point where the core melts it all
    sim::CalculationOptions counted;
    counted.core = [&](auto&&... a) {
        ++calls;
        const sim::CoreStatus status = sim::SimulateFillAndMelting(a...);
        auto&& args = std::forward_as_tuple(a...);  // ..., state, profile, final call
        const auto lastRow = static_cast<std::size_t>(std::get<8>(args).LastProfileRow);
        records::MeltProfileRow& last = std::get<9>(args).at(lastRow);
        if (last.SolidFraction == 0) last.SolidFraction = trace;
        return status;
    };
    // A run of the demo parameters as edited, saved as `name`.
    const auto runSaved = [&](const std::function<void(sim::ParameterSet&)>& edit, const std::string& name) {
        calls = 0;
        user = {};
        sim::ParameterSet p = demo::demoParameters();
        edit(p);
        prepare(p);
        user.answers = {true};
        user.files = {tempFile(name)};
        EXPECT_TRUE(run(counted));
        return resultOf(tempFile(name));
    };
    // Every row, the end zone and the die too, starts where the row before it ends.
    const auto expectContinuous = [](const records::ResultData& r) {
        for (std::size_t i = 1; i < r.elements.size(); ++i)
            EXPECT_EQ(r.elements[i].TempStart, r.elements[i - 1].TempEnd) << "row " << i + 1;
    };

    // Far too much heat of fusion: solid reaches the end zone, and the user
    // hears of it before the save question.
    const records::ResultData solid = runSaved([](auto& p) { p.melting.HeatOfFusion = 1e5f; }, "solid.flw");
    EXPECT_TRUE(user.progress.empty());
    EXPECT_EQ(calls, 2);
    EXPECT_GT(solid.profile.back().SolidFraction, 0.0f);
    EXPECT_EQ(user.texts(), (std::vector<std::string>{
                                "Melting is not finished within the screw: an unmelted solid fraction of " +
                                    rt::generalForm(solid.profile.back().SolidFraction) +
                                    " is left at the last point of the melting profile.",
                                kSaveQuestion}));
    expectContinuous(solid);
    EXPECT_GT(solid.elements.back().TempEnd, solid.elements.back().TempStart);  // the die's pressure drop

    // A melting temperature out of reach: melting never starts.
    const records::ResultData unmelted =
        runSaved([](auto& p) { p.melting.MeltingTemperature = 1e5f; }, "unmelted.flw");
    EXPECT_EQ(user.texts(), (std::vector<std::string>{
                                "Melting does not start within the screw: the solid leaves the screw unmelted.",
                                kSaveQuestion}));
    EXPECT_EQ(unmelted.runState.MeltStartElement, unmelted.runState.MeltEndElement + 1);
    expectContinuous(unmelted);

    // A feed at or above the melting temperature is melt from the start.
    const records::ResultData r = runSaved([](auto& p) { p.solids.FeedTemperature = 170; }, "hot.flw");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(r.runState, (records::RunState{1, 1, 1, 0, 0, 0}));
    ASSERT_EQ(r.profile.size(), 1u);
    EXPECT_EQ(r.profile[0].AverageTemperature, 170.0f);
    EXPECT_EQ(r.header.RunConditions.MeltEndElement, 1);
    for (const auto& e : r.elements) EXPECT_GE(e.TempStart, 170.0f);

    // A trace of solid left is solid left.
    trace = 1e-6f;
    runSaved([](auto&) {}, "trace.flw");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(user.texts(), (std::vector<std::string>{"Melting is not finished within the screw: an unmelted solid "
                                                      "fraction of 1E-06 is left at the last point of the melting "
                                                      "profile.",
                                                      kSaveQuestion}));
}

TEST_F(CalculationRun, TheCodeAndDiePressureQuestionsTakeYesAndNo) {
    sim::ParameterSet p = demo::demoParameters();
    p.header.Code = "OTHER";
    prepare(p);
    EXPECT_FALSE(run());
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text, "Parameters may not be appropriate for" + app_->string() + "/demo.ext\nProceed?");
    EXPECT_EQ(user.shown[0].title, "Calculate");
    EXPECT_EQ(user.shown[0].icon, sim::MessageIcon::Critical);
    EXPECT_TRUE(shared::ParameterFile.empty());
    EXPECT_FALSE(fs::exists(flow()));

    user = {};
    prepare(p);
    user.answers = {true, false};  // proceed; do not save
    EXPECT_TRUE(run());
    EXPECT_EQ(user.texts().back(), kNotSaved);
    EXPECT_EQ(user.shown.back().title, "");
    EXPECT_EQ(user.shown.back().icon, sim::MessageIcon::Critical);
    EXPECT_TRUE(fs::exists(flow()));

    // A die pressure given with a die: Yes computes it, No keeps 1.5 MPa.
    const std::string question =
        "Conflicting die pressure specification. Your decision is needed.\n"
        "Do you calculate die pressure?(yes) or Use specified Die pressure?(No)";
    p = demo::demoParameters();
    p.header.DiePressure = 1.5f;
    for (bool calculate : {true, false}) {
        user = {};
        prepare(p);
        user.answers = {calculate, false};
        ASSERT_TRUE(run());
        EXPECT_EQ(user.texts(), (std::vector<std::string>{question, kSaveQuestion, kNotSaved}));
        EXPECT_EQ(user.shown[0].title, "Calculating");
        const records::ResultData r = resultOf(flow());
        const auto& die = r.elements.back();
        const auto& endZone = r.elements[r.elements.size() - 2];
        if (calculate) {
            EXPECT_NEAR(die.PressureStart, 0.68, 0.1);
            EXPECT_EQ(r.header.RunConditions.DiePressure, die.PressureStart);
        } else {
            EXPECT_EQ(die.PressureStart, 1.5f);
            EXPECT_EQ(die.PressureStarvation, 1.5f);
            EXPECT_EQ(r.header.RunConditions.DiePressure, 1.5f);
            EXPECT_GT(endZone.PressureStart, 1.5f);
            EXPECT_EQ(endZone.PressureEnd, 1.5f);
        }
    }
    // 0.0005 MPa is a die pressure given; 0.00005 MPa is none, and the die's
    // own is calculated without a question.
    for (const auto& [given, asked] : {std::pair{0.0005f, true}, std::pair{0.00005f, false}}) {
        SCOPED_TRACE(given);
        p.header.DiePressure = given;
        user = {};
        prepare(p);
        if (asked) user.answers = {true};
        ASSERT_TRUE(run());
        std::vector<std::string> shown{kSaveQuestion, kNotSaved};
        if (asked) shown.insert(shown.begin(), question);
        EXPECT_EQ(user.texts(), shown);
        EXPECT_NEAR(resultOf(flow()).elements.back().PressureStart, 0.68, 0.1);
    }
}

TEST_F(CalculationRun, SavingReplacesATargetOnlyWhenTheMoveWorksAndSaysWhenItDoesNot) {
    std::vector<std::uint8_t> written;  // the rewritten work file as the save question finds it
    const auto keepFlow = [&](const sim::UserMessage& q) {
        if (q.text == kSaveQuestion) written = calctest::bytesOf(flow());
    };
    const std::string saved = tempFile("saved.flw");
    const std::string locked = tempFile("locked.flw");
    io::replaceFileContents(saved, std::string("an older result"));
    io::replaceFileContents(locked, std::string("kept"));
    fs::permissions(locked, fs::perms::owner_read);

    // A read-only target: said, kept, and the dialog again; then an existing
    // file replaced by the whole result.
    prepare();
    user.onAsk = keepFlow;
    user.answers = {true};
    user.files = {locked, saved};
    ASSERT_TRUE(run());
    EXPECT_EQ(user.texts(),
              (std::vector<std::string>{kSaveQuestion, "The file " + locked + "\ncould not be written."}));
    EXPECT_EQ(user.shown[1].title, "Calculation");
    EXPECT_EQ(calctest::bytesOf(locked), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
    EXPECT_EQ(calctest::bytesOf(saved), written);
    EXPECT_GT(written.size(), 1000u);
    EXPECT_FALSE(fs::exists(flow()));
    EXPECT_EQ(shared::ResultFile, flow());  // still the work file's name

    // A new name.
    user = {};
    prepare();
    user.onAsk = keepFlow;
    user.answers = {true};
    user.files = {tempFile("new.flw")};
    ASSERT_TRUE(run());
    EXPECT_EQ(calctest::bytesOf(tempFile("new.flw")), written);

    // Cancel in the dialog, and No: the result stays in the work file.
    for (bool yes : {true, false}) {
        user = {};
        prepare();
        user.answers = {yes};
        ASSERT_TRUE(run());
        EXPECT_EQ(user.texts().back(), kNotSaved);
        EXPECT_EQ(calctest::bytesOf(flow()), written);
    }
}

TEST_F(CalculationRun, ARunThatCannotGoOnSaysWhyAndWritesNoFlowFile) {
    const std::string calc1 = tempFile("Calc1.tmp");
    expectStop("The file " + calc1 + "\ncould not be read (File not found).");

    prepare();
    io::replaceFileContents(tempFile("Calc2.TMP"), std::vector<std::uint8_t>(100, 0));
    expectStop("The file " + tempFile("Calc2.TMP") + "\ncould not be read (Input past end of file).");

    // Files of different analyses or parameter sets do not mix.
    const std::vector<std::function<void()>> mismatches = {
        [&] { io::replaceFileContents(tempFile("Analysis.TMP"), std::string()); },
        [&] { io::replaceFileContents(tempFile("DiffElem.TMP"), std::string()); },
        [&] { editHandOver([](records::Calc1Values& v) { v.PortCount = 1; }); },
        [&] { editHandOver([](records::Calc1Values& v) { v.ExtruderFile += "x"; }); },
        [&] { editAnalysis([](sim::AnalysisHandOver& h) { h.header.ElementCount += 1; }); },
        [&] {
            records::RecordFile parts(tempFile("Analysis.TMP"), 51, records::OpenMode::CreateIfMissing);
            auto part = parts.read<records::AnalysisRecord>(1);
            part.PortIndex = 3;
            parts.write(1, part);
        },
    };
    // Another extruder analysed since: the stopped run leaves the run
    // variables naming it, so that Analyse Extruder analyses that one.
    const records::Calc1Values other{20, 1.5f, 3, 3, 1, "other.prm", appFile("other.ext"), "OTHER", ""};
    for (std::size_t k = 0; k < mismatches.size(); ++k) {
        SCOPED_TRACE(k);
        prepare();
        mismatches[k]();
        sim::takeHandOver(other);
        expectStop(kMismatch);
        EXPECT_TRUE(runVariables() == other) << shared::ExtruderFile;
    }

    // A die whose dimensions describe no die is refused before anything is
    // computed, its file named. The demo's die (demo.die, radius 15 mm) is 20
    // and 4 mm across, its capillary zone 12 of its 40 mm.
    const float none = std::numeric_limits<float>::quiet_NaN();
    const float endless = std::numeric_limits<float>::infinity();
    const std::string noDie = "The die demo.die\ndescribes no die: ";
    const std::pair<std::function<void(records::DieRec&)>, std::string> dies[] = {
        {[](records::DieRec& d) { d.CapillaryZoneLength = -30.0f / 15; }, "its capillary zone length is below 0."},
        {[](records::DieRec& d) { d.CapillaryZoneLength = -2.0f / 15; }, "its capillary zone length is below 0."},
        {[&](records::DieRec& d) { d.CapillaryZoneLength = none; },
         "its capillary zone length is not a finite number."},
        {[&](records::DieRec& d) { d.CapillaryZoneLength = endless; },
         "its capillary zone length is not a finite number."},
        {[](records::DieRec& d) { d.CapillaryZoneLength = 41.0f / 15; }, "its capillary zone is longer than the die."},
        {[](records::DieRec& d) { d.TotalLength = -1.0f / 15; }, "its total length is below 0."},
        {[&](records::DieRec& d) { d.TotalLength = none; }, "its total length is not a finite number."},
        {[&](records::DieRec& d) { d.TotalLength = d.CapillaryZoneLength = endless; },
         "its total length is not a finite number."},
        {[](records::DieRec& d) { d.EntranceDiameter = 0; }, "its entrance diameter is not above 0."},
        {[&](records::DieRec& d) { d.EntranceDiameter = none; }, "its entrance diameter is not a finite number."},
        {[&](records::DieRec& d) { d.EntranceDiameter = endless; }, "its entrance diameter is not a finite number."},
        {[](records::DieRec& d) { d.CapillaryDiameter = 0; }, "its capillary diameter is not above 0."},
        {[](records::DieRec& d) { d.CapillaryDiameter = -4.0f / 15; }, "its capillary diameter is not above 0."},
        {[&](records::DieRec& d) { d.CapillaryDiameter = none; }, "its capillary diameter is not a finite number."},
        {[&](records::DieRec& d) { d.CapillaryDiameter = -endless; }, "its capillary diameter is not a finite number."},
    };
    for (const auto& [edit, why] : dies) {
        SCOPED_TRACE(why);
        prepare();
        editAnalysis([&](sim::AnalysisHandOver& h) { edit(h.die); });
        expectStop(noDie + why);
    }
    prepare();
    editAnalysis([](sim::AnalysisHandOver& h) { h.die.Holes = 0; });
    expectStop("The die demo.die\nhas 0 holes; the calculation needs at least one.");
    // A die that describes a die but whose numbers the calculation cannot
    // take stops it naming the die as well: a capillary 0.00001 radii across
    // (ratio 80000), a cone 1e30 radii long (its shape factor comes out at
    // 0), an entrance 1e30 across (no finite volume, so no residence time).
    // The die named is the one the analysis read, whatever die the hand-over
    // of parameters specified for the extruder before. Nothing is saved; the
    // last stops in the residence step, after the flow work file.
    const std::pair<std::function<void(records::DieRec&)>, std::string> unworkable[] = {
        {[](records::DieRec& d) { d.CapillaryDiameter = 0.00001f; },
         "has a capillary length ratio of 80000; the calculation takes at most 32767."},
        {[](records::DieRec& d) { d.TotalLength = 1e30f; },
         "has a converging zone whose shape factor the calculation cannot take."},
        {[](records::DieRec& d) { d.EntranceDiameter = 1e30f; }, "gives no finite residence time."},
    };
    for (const auto& [edit, why] : unworkable) {
        SCOPED_TRACE(why);
        prepare();
        editAnalysis([&](sim::AnalysisHandOver& h) { edit(h.die); });
        editHandOver([](records::Calc1Values& v) { v.DieFile = "earlier.die"; });
        EXPECT_FALSE(run());
        EXPECT_EQ(user.texts(), std::vector<std::string>{"The die demo.die\n" + why});
        user = {};
    }
    // A capillary 0.0001 radii across (ratio 8000) runs, and does not settle.
    prepare();
    editAnalysis([](sim::AnalysisHandOver& h) { h.die.CapillaryDiameter = 0.0001f; });
    user.answers = {false};
    EXPECT_TRUE(run());
    ASSERT_EQ(user.texts().size(), 3u);
    EXPECT_EQ(user.texts()[0].rfind("The calculation did not settle within 20 iterations", 0), 0u);
    user = {};
    fs::remove(flow());
    // A die whose capillary takes its whole length, to the same-place rule,
    // and one of no length at all still describe a die.
    const std::function<void(records::DieRec&)> dies2[] = {
        [](records::DieRec& d) { d.CapillaryZoneLength = d.TotalLength + 0.0005f; },
        [](records::DieRec& d) { d.CapillaryZoneLength = d.TotalLength = 0; },
    };
    for (const auto& edit : dies2) {
        prepare();
        editAnalysis([&](sim::AnalysisHandOver& h) { edit(h.die); });
        user.answers = {false};
        EXPECT_TRUE(run());
        EXPECT_EQ(user.texts(), (std::vector<std::string>{kSaveQuestion, kNotSaved}));
        user = {};
        fs::remove(flow());
    }

    sim::ParameterSet p = demo::demoParameters();
    p.ports.at(2).Density = 0;
    prepare(p);
    expectStop("Parameters of port 2 are incomplete. Specify the parameters again.");

    // The tables of the kneading blocks are missing.
    const fs::path tables = temp_ / "app";
    fs::create_directories(tables / "screwflw");
    fs::create_directories(tables / "kneadflw");
    fs::copy(*app_ / "screwflw", tables / "screwflw", fs::copy_options::recursive);
    prepare();
    paths_.appDir = tables.string() + "/";
    expectStop("Element table " + paths_.appDir +
               "kneadflw/LAB30.dp1 is missing or cannot be read (element KB45/5/30).");
    paths_.appDir = app_->string() + "/";

    // The distinct elements cut short by a whole record, or whole and
    // followed by stray bytes, fewer than a record.
    for (const bool stray : {false, true}) {
        prepare();
        std::vector<std::uint8_t> kinds = calctest::bytesOf(tempFile("DiffElem.TMP"));
        kinds.resize(stray ? kinds.size() + 20 : kinds.size() - 51);
        io::replaceFileContents(tempFile("DiffElem.TMP"), kinds);
        expectStop("The file " + tempFile("DiffElem.TMP") + "\ncould not be read (Input past end of file).");
    }

    // The core's refusals as the user reads them; a helix angle is refused
    // for the step it gives, not only when it is 0.
    const std::pair<sim::CoreStop, std::string> refusals[] = {
        {sim::CoreStop::BadFriction, "a friction ratio lies outside 0 to 1"},
        {sim::CoreStop::BadElement,
         "an element has no length, disks or stagger, an unknown port, or a helix angle that gives no finite step"}};
    for (const auto& refusal : refusals) {
        prepare();
        sim::CalculationOptions stopping;
        stopping.core = [&](auto&&...) { return sim::CoreStatus{refusal.first, 3}; };
        EXPECT_FALSE(run(stopping));
        EXPECT_EQ(user.texts(), std::vector<std::string>{"The simulation of solids conveying and melting stopped at "
                                                         "element row 3: " + refusal.second + "."});
        EXPECT_FALSE(fs::exists(flow()));
        user = {};
    }

    // A parameter file that is none, and one cut short.
    prepare();
    const std::string prm = tempFile("run.prm");
    std::vector<std::uint8_t> bytes = calctest::bytesOf(prm);
    io::replaceFileContents(prm, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 60));
    expectStop("The file " + prm + "\ncould not be read (Input past end of file).");
    bytes[0] = 'x';
    io::replaceFileContents(prm, bytes);
    expectStop("Incorrect file format.", sim::MessageIcon::None);
    EXPECT_TRUE(shared::ParameterFile.empty());
}

TEST_F(CalculationRun, ANegativeDiePressureIsRefusedWhereTheRunWouldUseIt) {
    sim::ParameterSet p = demo::demoParameters();
    p.header.DiePressure = -0.5f;
    const std::string refusal = "The parameter file " + tempFile("run.prm") +
                                "\ngives a negative die pressure (-0.5 MPa). Specify the parameters again.";
    // Without a die it is the end zone's end pressure.
    prepareWithoutDie(p);
    expectStop(refusal);
    // With a die it is used when the user keeps it (No); Yes computes the die's own.
    for (bool calculate : {false, true}) {
        user = {};
        prepare(p);
        user.answers = {calculate, false};
        EXPECT_EQ(run(), calculate);
        EXPECT_EQ(user.texts().back(), calculate ? kNotSaved : refusal);
    }
    // A die pressure of 0 without a die is none given, not a negative one;
    // the die record of zeros is no die to check.
    user = {};
    prepareWithoutDie();
    user.answers = {false};
    EXPECT_TRUE(run());
    EXPECT_EQ(user.texts(), (std::vector<std::string>{kSaveQuestion, kNotSaved}));
}

// The vent may remove melt as long as some flow is left after it, in mass
// and in volume; the header's total throughput counts it.
TEST_F(CalculationRun, AVentThatRemovesAllTheMeltIsRefusedAndOneThatLeavesSomeRuns) {
    sim::ParameterSet p = demo::demoParameters();  // 10 kg/hr at the hopper
    for (const auto& [vent, left] : {std::pair{-10.0f, "0"}, std::pair{-20.0f, "-10"}}) {
        p.ports.at(2).FlowRate = vent;
        prepare(p);
        expectStop("The parameter file " + tempFile("run.prm") + "\nleaves a total flow of " + left +
                   " kg/hr after port 2. Specify the parameters again.");
    }
    // 10 kg/hr at 0.75 g/cm^3 is 13.33 l/hr: 9 at 0.5 (18 l/hr) or 7 at 0.3
    // (23.33 l/hr) leave mass but no volume; 5 at 0.375 leaves none at all
    // (5 / 0.375 and 10 / 0.75 are the same single).
    for (const auto& [vent, density, left] : {std::tuple{-9.0f, 0.5f, "-4.666667"},
                                              std::tuple{-7.0f, 0.3f, "-9.999999"}, std::tuple{-5.0f, 0.375f, "0"}}) {
        p.ports.at(2).FlowRate = vent;
        p.ports.at(2).Density = density;
        prepare(p);
        expectStop("The parameter file " + tempFile("run.prm") + "\nleaves a volume flow of " + left +
                   " l/hr after port 2. Specify the parameters again.");
    }
    // 10 kg/hr at 1e-38 g/cm^3 is 1e39 l/hr, more than a single holds.
    sim::ParameterSet thin = demo::demoParameters();
    thin.ports.at(1).Density = 1e-38f;
    prepare(thin);
    expectStop("The parameter file " + tempFile("run.prm") +
               "\nleaves a volume flow of Inf l/hr after port 1. Specify the parameters again.");
    // Added in single precision, as the core adds it, 1e8 and 1 l/hr make 1e8
    // (a single holds every eighth whole number there), which a vent of
    // 5e7 kg/hr at 0.5 g/cm^3 takes whole: 5e7 kg/hr of mass, no volume.
    sim::ParameterSet three = demo::demoParameters();
    three.ports = {three.ports.at(1), three.ports.at(1), three.ports.at(2)};
    for (const auto& [port, flow, density] :
         {std::tuple{1, 1e8f, 1.0f}, std::tuple{2, 1.0f, 1.0f}, std::tuple{3, -5e7f, 0.5f}}) {
        three.ports.at(port).FlowRate = flow;
        three.ports.at(port).Density = density;
    }
    prepare(three);  // the demo's analysis taken for three ports
    editHandOver([](records::Calc1Values& v) { v.PortCount = 3; });
    editAnalysis([](sim::AnalysisHandOver& h) { h.header.PortCount = 3; });
    expectStop("The parameter file " + tempFile("run.prm") +
               "\nleaves a volume flow of 0 l/hr after port 3. Specify the parameters again.");
    p.ports.at(2) = demo::demoParameters().ports.at(2);
    p.ports.at(2).FlowRate = -2;
    prepare(p);
    user.answers = {false};
    EXPECT_TRUE(run());
    EXPECT_EQ(user.texts(), (std::vector<std::string>{kSaveQuestion, kNotSaved}));
    p.ports.at(2).FlowRate = -5;
    p.ports.at(2).Density = 0.5f;
    prepare(p);
    user = {};
    user.answers = {true};
    user.files = {tempFile("result.flw")};
    ASSERT_TRUE(run());
    EXPECT_EQ(resultOf(tempFile("result.flw")).header.RunConditions.TotalThroughput, 5.0f);
}

TEST_F(CalculationRun, AnExtruderChangedSinceTheAnalysisIsNotAppendedToItsResult) {
    prepare();
    // The analysed extruder is a copy that is fitted anew after the analysis.
    const std::string copy = tempFile("copy.ext");
    fs::copy_file(appFile("demo.ext"), copy);
    editHandOver([&](records::Calc1Values& v) { v.ExtruderFile = copy; });
    editAnalysis([&](sim::AnalysisHandOver& h) { h.header.ExtruderFile = copy; });
    records::ExtruderFileContent refitted = records::readExtruderFile(copy);
    refitted.header.ScrewOffset = 3.0f;
    records::writeExtruderFile(copy, refitted);
    EXPECT_FALSE(run());
    EXPECT_EQ(user.texts(), std::vector<std::string>{kMismatch});
    records::ResultData r;  // the flow work file as the iteration wrote it
    EXPECT_EQ(records::readResultFile(flow(), records::ResultExtent::UpToPorts, r), records::ResultCheck::Ok);
    EXPECT_EQ(fs::file_size(flow()),
              records::resultOffsets(r.header.ElementCount, r.runState.LastProfileRow, 2, 0, 0).screw);
}

}  // namespace
