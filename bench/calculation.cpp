// One whole calculation on a 60-element extruder built from the demo element
// database (three times the demo screw's sequence and six more conveying
// elements, in a barrel of 17 blocks with two vents and the demo die),
// analysed once in the set-up: the hand-over and work files read, the table
// lookups, all 20 iterations (a residual tolerance below 0 holds the loop),
// the flow work file, residence times and power, the rewrite with the
// extruder; the user declines the save, and the pauses return at once.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "design/extruder_assembly.h"
#include "records/design_files.h"
#include "records/files.h"
#include "records/markers.h"
#include "simulation/calculation.h"
#include "simulation/parameter_file.h"
#include "state/state.h"
#include "tools/demo_model.h"

namespace {

namespace fs = std::filesystem;

struct QuietUser : sim::CalculationUser {
    void message(const sim::UserMessage& m) override {
        if (m.text != "Flow file was not saved!") std::fprintf(stderr, "bench run says: %s\n", m.text.c_str());
    }
    bool ask(const sim::UserMessage&) override { return false; }
    void showProgress(int iteration, float) override { iterations = iteration + 1; }
    void closeProgress() override {}
    void pause(int) override {}
    std::optional<std::string> chooseResultFile() override { return std::nullopt; }
    int iterations = 0;
};

// The scratch application directory with the demo data and bench.ext.
class Extruder60 {
public:
    Extruder60() {
        std::string pattern = (fs::temp_directory_path() / "velkor-bench-calc-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp", "screwflw", "kneadflw"})
            fs::create_directories(dir_ / sub);
        const std::string app = dir_.string();
        demo::writeDemoData(app);

        const auto se = demo::screwElements();
        const auto kb = demo::kneadingBlocks();
        std::vector<records::ScrewRec> screw;
        const auto add = [&](const auto& element, int times) {
            for (int i = 0; i < times; ++i) screw.push_back(records::screwElementFrom(element));
        };
        for (int round = 0; round < 3; ++round) {
            add(se[0], 5);
            add(se[1], 1);
            add(kb[0], 1);
            add(kb[1], 1);
            add(kb[2], 1);
            add(se[3], 1);
            add(se[0], 3);
            add(se[1], 4);
            add(se[2], 1);
        }
        add(se[0], 6);
        const auto blocks = demo::barrelBlocks();  // hopper, plane, vent
        std::vector<records::BarrelRec> barrel{blocks[0]};
        for (int i = 1; i < 17; ++i) barrel.push_back(i == 8 || i == 13 ? blocks[2] : blocks[1]);
        const std::string code = demo::kCode;
        records::writeScrewFile(app + "/bench.srw", records::screwFileHeader(code, demo::kDiameter, screw), screw);
        records::writeBarrelFile(app + "/bench.brl", records::barrelFileHeader(code, demo::kDiameter, barrel), barrel);
        records::RecordFile dieFile(app + "/demo.die", records::DieRec::kSize, records::OpenMode::ReadOnly);
        const records::DieRec die = dieFile.read<records::DieRec>(1);
        dieFile.close();
        const design::Assembly assembled =
            design::assemble(code, records::readScrewFile(app + "/bench.srw"),
                             records::readBarrelFile(app + "/bench.brl"), die, {"bench.srw", "bench.brl", "demo.die"});
        records::writeExtruderFile(app + "/bench.ext", assembled.file);

        // The demo's melt, the second vent fed nothing like the first.
        sim::ParameterSet parameters = demo::demoParameters();
        parameters.ports.push_back(parameters.ports.at(2));
        sim::writeParameterFile(app + "/bench.prm", parameters);

        temp_ = app + "/temp/";
        for (const auto& problem : demo::prepareDemoRun(app, temp_, app + "/bench.prm", "bench.ext"))
            std::fprintf(stderr, "bench set-up: %s\n", problem.c_str());
        records::RecordFile parts(temp_ + "Analysis.TMP", records::AnalysisRecord::kSize, records::OpenMode::ReadOnly);
        parts_ = parts.recordCount();
    }
    ~Extruder60() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    sim::CalculationPaths paths() const { return {dir_.string() + "/", temp_}; }
    int parts() const { return parts_; }

private:
    fs::path dir_;
    std::string temp_;
    int parts_ = 0;
};

void CalculationRun(benchmark::State& state) {
    Extruder60 extruder;
    sim::CalculationOptions forced;
    forced.residualTolerance = -1;
    QuietUser user;
    for (auto _ : state) {
        const bool finished = sim::runCalculation(extruder.paths(), user, forced);
        benchmark::DoNotOptimize(finished);
    }
    state.counters["iterations"] = user.iterations;
    state.counters["element_parts"] = extruder.parts();
    shared::resetSharedState();
}
BENCHMARK(CalculationRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
