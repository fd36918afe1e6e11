// Packing and unpacking of records and reading them back from record files.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "platform/io/files.h"
#include "records/design_records.h"
#include "records/files.h"
#include "records/packed.h"

namespace {

records::ScrewRec sampleElement(int i) {
    records::ScrewRec r;
    r.Code = "SE-" + std::to_string(i);
    r.Kind = "s";
    r.CenterlineRatio = 1.6f;
    r.Tips = 2;
    r.Hand = 1;
    r.Length = 1.5f + static_cast<float>(i);
    r.HelixAngle = 0.3f;
    r.Disks = 0;
    r.StaggerAngle = 0;
    return r;
}

void PackScrewRecord(benchmark::State& state) {
    records::ScrewRec r = sampleElement(7);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = records::pack(r);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * records::ScrewRec::kSize));
}
BENCHMARK(PackScrewRecord);

void UnpackScrewRecord(benchmark::State& state) {
    std::vector<std::uint8_t> bytes = records::pack(sampleElement(7));
    for (auto _ : state) {
        records::ScrewRec r = records::unpack<records::ScrewRec>(bytes);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * records::ScrewRec::kSize));
}
BENCHMARK(UnpackScrewRecord);

// Reads every record of a screw file of n records, one read per record, as
// the design readers do.
void ReadScrewFile(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    std::string path = "/tmp/velkor_bench_" + std::to_string(::getpid()) + ".srw";
    std::vector<records::ScrewRec> recs;
    for (int i = 0; i < n; ++i) recs.push_back(sampleElement(i));
    records::rewriteRecords(path, records::ScrewRec::kSize, recs);
    for (auto _ : state) {
        records::RecordFile f(path, records::ScrewRec::kSize, records::OpenMode::ReadOnly);
        int count = f.recordCount();
        float sum = 0;
        for (int k = 1; k <= count; ++k) sum += f.read<records::ScrewRec>(k).Length;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * n);
    io::kill(path);
}
BENCHMARK(ReadScrewFile)->Arg(10)->Arg(1000);

// Rewrites a screw file of n records whole.
void RewriteScrewFile(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    std::string path = "/tmp/velkor_bench_w_" + std::to_string(::getpid()) + ".srw";
    std::vector<records::ScrewRec> recs;
    for (int i = 0; i < n; ++i) recs.push_back(sampleElement(i));
    for (auto _ : state) records::rewriteRecords(path, records::ScrewRec::kSize, recs);
    state.SetItemsProcessed(state.iterations() * n);
    io::kill(path);
}
BENCHMARK(RewriteScrewFile)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
