// The fitting drawing, redrawn at every shift click and resize: a screw of
// 300 elements (conveying elements and kneading blocks of five disks) in a
// barrel of 40 blocks with a die; the painter alone, and a shift click of
// the fitting window on the scripted backend.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "design/fitext.h"
#include "design/fitting_drawing.h"
#include "platform/headless/headless.h"
#include "platform/io/files.h"
#include "records/design_files.h"
#include "records/design_records.h"
#include "state/state.h"

namespace {

constexpr float kRadius = 15;  // mm

std::vector<records::ScrewRec> screw(int elements) {
    std::vector<records::ScrewRec> s(2);
    s[0].headerScrewDiameter() = 2 * kRadius;
    s[1].Length = 3;
    for (int i = 0; i < elements; ++i) {
        records::ScrewRec e;
        e.Tips = 2;
        e.Length = 1.0f + 0.5f * static_cast<float>(i % 3);
        if (i % 4 == 3) {
            e.Kind = "k";
            e.Hand = i % 8 == 7 ? 0 : 1;
            e.Disks = 5;
            e.StaggerAngle = 45;
        } else {
            e.Kind = "s";
            e.Hand = i % 7 == 6 ? -1 : 1;
            // Leads of 0.5, 1 and 1.5 diameters.
            e.HelixAngle = static_cast<float>(std::atan(0.5 * (1 + i % 3) / 3.141592654));
        }
        s.push_back(e);
    }
    records::ScrewRec head;
    head.Length = 0.577f;
    s.push_back(head);
    return s;
}

std::vector<records::BarrelRec> barrel(int blocks) {
    std::vector<records::BarrelRec> b(1);
    b[0].headerTotalLength() = 10.0f * static_cast<float>(blocks) * kRadius;
    for (int i = 0; i < blocks; ++i) {
        records::BarrelRec r;
        r.Type = i % 10 == 0 ? "H" : i % 10 == 6 ? "V" : "P";
        r.BoreDiameter = 2.05f;
        r.Length = 10;
        r.OpeningWidth = 3;
        r.OpeningLocation = 5;
        b.push_back(r);
    }
    records::BarrelRec die;
    die.Type = "D";
    die.dieEntranceDiameter() = 1.3f;
    die.dieCapillaryDiameter() = 0.3f;
    die.dieTotalLength() = 3;
    die.dieCapillaryZoneLength() = 1;
    b.push_back(die);
    return b;
}

void FittingRedraw(benchmark::State& state) {
    const auto s = screw(static_cast<int>(state.range(0)));
    const auto b = barrel(40);
    design::FittingView view;
    view.radius = kRadius;
    view.overhang = 0.4f;
    view.windowHeight = 5580;
    gfx::WindowTarget target;
    for (auto _ : state) {
        design::drawFitting(target, b, s, view);
        benchmark::DoNotOptimize(target.displayList().size());
    }
    state.counters["ops"] = static_cast<double>(target.displayList().size());
}
BENCHMARK(FittingRedraw)->Arg(300)->Unit(benchmark::kMicrosecond);

void FittingShiftClick(benchmark::State& state) {
    records::ExtruderFileContent c;
    c.screw = screw(static_cast<int>(state.range(0)));
    c.barrel = barrel(40);
    c.header.Marker = records::markerFor(records::FileKind::Extruder);
    c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
    c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
    const std::string file = "/tmp/velkor_bench_fit_" + std::to_string(::getpid()) + ".ext";
    records::writeExtruderFile(file, c);
    {
        headless::Session session;
        shared::ExtruderFile = file;
        fitext& f = ui::form<fitext>();
        f.show();
        for (auto _ : state) session.driver.click(f.Command1);
        state.counters["ops"] = static_cast<double>(f.displayList().size());
    }
    io::kill(file);
}
BENCHMARK(FittingShiftClick)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
