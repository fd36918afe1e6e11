// The result view headless: the six chart clicks on one result, each
// reading the file again and building the window's whole drawing.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "results/dispresult.h"
#include "state/state.h"
#include "tests/support/result_builder.h"

namespace {

// 400 element rows, 200 screw elements, 200 profile rows.
void SixChartClicks(benchmark::State& state) {
    const std::string path = "/tmp/velkor_bench_" + std::to_string(::getpid()) + ".flw";
    records::writeResultFile(path, resulttest::sampleRun(400, 200, 200), records::ResultExtent::WithExtruder);
    headless::Session session;
    shared::ResultFile = path;
    dispresult& view = ui::form<dispresult>();
    ui::app().dispatch([&] { view.show(); });
    for (auto _ : state) {
        for (ui::CommandButton* b :
             {&view.Command1, &view.Command2, &view.Command3, &view.Command4, &view.Command6, &view.Command5})
            session.driver.click(*b);
        benchmark::DoNotOptimize(view.displayList().size());
    }
    state.counters["ops"] = static_cast<double>(view.displayList().size());
    std::remove(path.c_str());
}
BENCHMARK(SixChartClicks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
