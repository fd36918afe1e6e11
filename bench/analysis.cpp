// The extruder analysis: a screw of a usual size, and the largest screw a file
// can hold with every element a code of its own.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "records/design_files.h"
#include "simulation/analysis.h"

namespace {

// A hopper region [0, 2] and a vent region [32, 34]; elements of 1.5 from
// position -2.5, every one a code of its own or six codes in turn.
records::ExtruderFileContent extruder(int elements, bool ownCodes) {
    records::ExtruderFileContent c;
    std::vector<records::ScrewRec> screw;
    for (int i = 0; i < elements; ++i) {
        records::ScrewRec r;
        std::string code = "E";
        code += std::to_string(ownCodes ? i : i % 6);
        r.Code = code;
        r.Kind = i % 5 == 4 ? "k" : "s";
        r.Tips = 2;
        r.Hand = 1;
        r.Length = 1.5f;
        screw.push_back(r);
    }
    c.screw.push_back(records::screwFileHeader("BENCH", 50, screw));
    c.screw.push_back(records::screwRootRecord());
    c.screw.insert(c.screw.end(), screw.begin(), screw.end());
    c.screw.push_back(records::screwHeadRecord());

    records::BarrelRec header;
    header.headerHopperCount() = 1;
    header.headerVentCount() = 1;
    c.barrel.push_back(header);
    records::BarrelRec hopper;
    hopper.Type = "H";
    hopper.Length = 4;
    hopper.OpeningWidth = 2;
    hopper.OpeningLocation = 2;
    records::BarrelRec plain;
    plain.Type = "P";
    plain.Length = 28;
    records::BarrelRec vent = hopper;
    vent.Type = "V";
    c.barrel.insert(c.barrel.end(), {hopper, plain, vent});

    c.header.Marker = records::markerFor(records::FileKind::Extruder);
    c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
    c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
    c.header.Gap = -3.5f;
    c.header.BarrelOverhang = 1;
    return c;
}

void AnalyseExtruder(benchmark::State& state) {
    const records::ExtruderFileContent file =
        extruder(static_cast<int>(state.range(0)), state.range(1) != 0);
    std::size_t parts = 0;
    for (auto _ : state) {
        sim::ExtruderAnalysis a = sim::analyseExtruder(file, "bench.ext");
        parts = a.parts.size();
        benchmark::DoNotOptimize(a.distinctParts.data());
    }
    state.counters["parts"] = static_cast<double>(parts);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// A usual screw, then the largest: 32767 screw records less root, head and header.
BENCHMARK(AnalyseExtruder)->Args({40, 0})->Args({32764, 1})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
