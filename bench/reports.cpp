// Converting a result file into its text columns: read, checked, the profile
// table built and the text file written, as Convert Result File does.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "platform/io/files.h"
#include "records/design_files.h"
#include "records/result_file.h"
#include "reports/profile_export.h"
#include "reports/result_input.h"

namespace {

// nE element rows one radius unit long, every other one starved half way;
// melting from row nE / 4 to nE / 2 with `rows` profile points; two ports.
records::ResultData largeResult(int elements, int rows) {
    records::ResultData d;
    d.header.Code = "LAB30";
    d.header.Marker = records::markerFor(records::FileKind::Analysis);
    d.header.RunConditions.MeltEndElement = static_cast<std::int16_t>(elements / 2);
    for (int e = 1; e <= elements; ++e) {
        const auto f = static_cast<float>(e);
        records::ElementRecord r;
        r.Kind = "s";
        r.SegmentStart = f - 1.0f;
        r.SegmentLength = 1.0f;
        r.StarvationPoint = e % 2 == 0 ? 0.5f : 0.0f;
        r.PressureStart = 0.01f * f;
        r.PressureStarvation = 0.01f * f;
        r.TempStart = r.TempStarvation = 150.0f + 0.1f * f;
        r.ResTimeStart = r.ResTimeStarvation = 0.01f * f;
        r.PowerStart = r.PowerStarvation = 0.02f * f;
        d.elements.push_back(r);
    }
    d.runState.MeltStartElement = static_cast<std::int16_t>(elements / 4);
    d.runState.MeltEndElement = static_cast<std::int16_t>(elements / 2);
    d.runState.LastProfileRow = static_cast<std::int16_t>(rows - 1);
    for (int j = 0; j < rows; ++j) {
        records::MeltProfileRow p;
        p.AxialPosition = static_cast<float>(elements / 4) + 0.5f * static_cast<float>(j) * 0.5f;
        p.SolidFraction = 1.0f - static_cast<float>(j) / static_cast<float>(rows);
        p.Pressure = 1.0f;
        p.AverageTemperature = 160.0f;
        p.CumulativePower = 2.0f;
        d.profile.push_back(p);
    }
    d.ports.resize(2);
    d.screw.push_back(records::screwFileHeader("LAB30", 30.0f, {}));
    return d;
}

void ConvertResultFile(benchmark::State& state) {
    const std::string base = "/tmp/velkor_bench_" + std::to_string(::getpid());
    const std::string flw = base + ".flw", txt = base + ".txt";
    records::writeResultFile(flw, largeResult(400, 200), records::ResultExtent::WithExtruder);
    for (auto _ : state) {
        records::ResultData result;
        if (reports::readResultInput(flw, result) != records::ResultCheck::Ok) {
            state.SkipWithError("not a result file");
            break;
        }
        reports::writeProfileFile(txt, reports::profileTable(result));
    }
    io::kill(flw);
    io::kill(txt);
}
BENCHMARK(ConvertResultFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
