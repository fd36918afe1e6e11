// Converting a result file into its text columns: read, checked, the profile
// table built and the text file written, as Convert Result File does.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "platform/io/files.h"
#include "records/result_file.h"
#include "reports/profile_export.h"
#include "reports/result_input.h"
#include "tests/support/result_builder.h"

namespace {

void ConvertResultFile(benchmark::State& state) {
    const std::string base = "/tmp/velkor_bench_" + std::to_string(::getpid());
    const std::string flw = base + ".flw", txt = base + ".txt";
    // 400 element rows, 200 profile rows, two ports.
    records::ResultData run = resulttest::sampleRun(400, 200, 200);
    run.ports.resize(2);
    records::writeResultFile(flw, run, records::ResultExtent::WithExtruder);
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
