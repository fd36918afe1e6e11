// One call of the simulation core on a screw whose melting region comes from a
// previous call, as on the calculation's second iteration: the backward pass
// walks the melting profile, the forward pass heats and melts it again.
// The same screw length is cut into 40 or 400 elements, so the profile points
// per element stay alike and the cost per element can be compared.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "simulation/core.h"

namespace {

using records::ElementRecord;

struct Inputs {
    sim::OneBasedList<ElementRecord> elements;
    records::SolidsBlock solids{0.5f, 1.8f, 0.2f, 0.5f, 0.3f, 200, 100, 220, 200, 25};
    records::MeltingBlock melting{0.9f, 2.0f, 160, 200};
    sim::OneBasedList<records::PortRecord> ports{
        records::PortRecord{20, 0.01f, 200, 5, 0.4f, 0.75f, 2.2f, 300, 100, 220, 200}};
    records::RunState state;
    std::vector<records::MeltProfileRow> profile = std::vector<records::MeltProfileRow>(1);
    float speed = 5, radius = 15;

    sim::CoreStatus call(bool finalCall = false) {
        const auto portCount = static_cast<std::int16_t>(ports.count());
        const auto elementCount = static_cast<std::int16_t>(elements.count());
        sim::CoreStatus s = sim::SimulateFillAndMelting(speed, radius, portCount, elements, solids, melting, ports,
                                                        elementCount, state, profile, finalCall);
        if (state.MeltEndPosition < 0) state.MeltEndPosition = 0;
        return s;
    }
};

// A screw of 80 radii in `count` elements; every `kneadEvery`-th element a
// kneading block of five disks (0: none). The last quarter is full and under
// pressure, as the calculation's own pass leaves it.
Inputs screw(int count, int kneadEvery) {
    sim::CenterlineRatio = 1.7f;
    Inputs in;
    const float length = 80.0f / static_cast<float>(count);
    for (int i = 1; i <= count; ++i) {
        ElementRecord e;
        const bool block = kneadEvery > 0 && i % kneadEvery == 0;
        e.Kind = block ? "k" : "s";
        e.Tips = 2;
        e.Hand = 1;
        e.HelixAngle = block ? 0 : 0.45f;
        e.Disks = block ? 5 : -999;
        e.StaggerAngle = block ? 45 : -999;
        e.SegmentStart = length * static_cast<float>(i - 1);
        e.SegmentLength = length;
        e.ElementLength = length;
        e.RegionCode = e.SegmentStart < 4 ? 11 : 0;
        e.PortIndex = 1;
        const bool full = i > count * 3 / 4;
        e.StarvationPoint = full ? 0 : length;
        e.FillLeft = e.FillRight = full ? 1.0f : 0.4f;
        e.PressureStart = full ? 0.05f * static_cast<float>(i - count * 3 / 4) : 0;
        e.PressureEnd = full ? 0.05f * static_cast<float>(i + 1 - count * 3 / 4) : 0;
        e.TableValue1 = -2.0f;
        e.TableValue2 = 0.3f;
        e.TempStart = e.TempStarvation = e.TempEnd = 160;
        in.elements.push_back(e);
    }
    ElementRecord end;
    end.Kind = "p";
    end.SegmentStart = 80;
    end.SegmentLength = 1;
    end.RegionCode = 2;
    end.PortIndex = 1;
    end.FillLeft = end.FillRight = 1;
    end.PressureStart = end.PressureEnd = 5;
    in.elements.push_back(end);
    in.call();  // the first iteration: the melting region and profile to start from
    return in;
}

void runCore(benchmark::State& st, int count, int kneadEvery) {
    const Inputs start = screw(static_cast<int>(count), kneadEvery);
    Inputs work = start;
    for (auto _ : st) {
        st.PauseTiming();
        work.elements = start.elements;
        work.state = start.state;
        work.profile = start.profile;
        st.ResumeTiming();
        const sim::CoreStatus s = work.call();
        benchmark::DoNotOptimize(s);
        if (!s.ok()) st.SkipWithError("core stopped");
    }
    st.counters["elements"] = count;
    st.counters["profile_points"] = start.state.LastProfileRow + 1;
    st.counters["per_element"] =
        benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void BM_CoreConveying(benchmark::State& st) { runCore(st, static_cast<int>(st.range(0)), 0); }
void BM_CoreWithKneadingBlocks(benchmark::State& st) { runCore(st, static_cast<int>(st.range(0)), 4); }

BENCHMARK(BM_CoreConveying)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CoreWithKneadingBlocks)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
