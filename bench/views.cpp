// Repaints of the Display Extruder window: a 60-element screw (conveying
// elements and kneading blocks), 12 barrel blocks and a die, at the fitted
// scale and at 20 times that scale. Each repaint clears the window and
// records its whole display list afresh.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "records/design_files.h"
#include "records/markers.h"
#include "state/state.h"
#include "views/viewext.h"

namespace {

records::ExtruderFileContent sixtyElements() {
    records::ExtruderFileContent x;
    records::ScrewRec header;
    header.Code = "BENCH";
    header.Kind = records::markerFor(records::FileKind::Screw);
    header.CenterlineRatio = 30;
    x.screw = {header, records::screwRootRecord()};
    for (int i = 0; i < 60; ++i) {
        records::ScrewRec e;
        e.Code = std::to_string(i);
        e.Hand = i % 7 == 6 ? -1 : 1;
        e.Length = 1 + static_cast<float>(i % 4) * 0.5f;
        if (i % 3 == 2) {
            e.Kind = "k";
            e.Disks = 5;
            e.StaggerAngle = 45;
        } else {
            e.Kind = "s";
            e.HelixAngle = std::atan(0.2f + static_cast<float>(i % 5) * 0.1f);
            e.Disks = records::kNoDisks;
        }
        x.screw.push_back(e);
    }
    x.screw.push_back(records::screwHeadRecord());
    records::BarrelRec bh;
    bh.Type = records::markerFor(records::FileKind::Barrel);
    bh.Length = 12 * 120;
    x.barrel = {bh};
    const char types[] = {'H', 'P', 'P', 'V'};
    for (int i = 0; i < 12; ++i) {
        records::BarrelRec b;
        b.Type = std::string(1, types[i % 4]);
        b.BoreDiameter = 2;
        b.Length = 8;
        b.OpeningWidth = 2.5f;
        b.OpeningLocation = 4;
        x.barrel.push_back(b);
    }
    records::BarrelRec die;
    die.Type = "D";
    die.dieEntranceDiameter() = 1.3f;
    die.dieCapillaryDiameter() = 0.3f;
    die.dieCapillaryZoneLength() = 0.8f;
    die.dieTotalLength() = 2.7f;
    x.barrel.push_back(die);
    x.header.Code = "BENCH";
    x.header.Marker = records::markerFor(records::FileKind::Extruder);
    x.header.DieFile = "bench.die";
    x.header.ScrewCount = static_cast<std::int16_t>(x.screw.size());
    x.header.BarrelCount = static_cast<std::int16_t>(x.barrel.size());
    x.header.BarrelOverhang = 1;
    return x;
}

void ExtruderRepaint(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkor-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("no scratch directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    std::filesystem::create_directory(dir / "screwgeo");
    {
        headless::Session session;
        shared::setDirectories(dir.string());
        records::writeExtruderFile((dir / "bench.ext").string(), sixtyElements());
        shared::DisplayExtruderFile = (dir / "bench.ext").string();
        viewext& w = ui::form<viewext>();
        w.setSize(10000, 3000);
        w.show();
        const float fitted = w.view().scale;
        while (w.view().scale < fitted * state.range(0)) session.driver.click(w.zoomin);
        for (auto _ : state) {
            w.DrawExtruderView();
            benchmark::DoNotOptimize(w.displayList().size());
        }
        state.counters["operations"] = static_cast<double>(w.displayList().size());
        state.counters["scale"] = w.view().scale;
        shared::resetSharedState();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(ExtruderRepaint)->Arg(1)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
