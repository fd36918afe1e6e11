#pragma once
// Builders of element lists, materials and ports for the simulation core
// tests, and a watchdog that ends the test program when a call never returns.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "simulation/core.h"

namespace coretest {

using records::ElementRecord;
using records::MeltingBlock;
using records::MeltProfileRow;
using records::PortRecord;
using records::RunState;
using records::SolidsBlock;

inline ElementRecord conveying(float start, float length, float helix = 0.45f, std::int16_t hand = 1) {
    ElementRecord e;
    e.Kind = "s";
    e.Tips = 2;
    e.Hand = hand;
    e.HelixAngle = helix;
    e.Disks = -999;
    e.StaggerAngle = -999;
    e.SegmentStart = start;
    e.SegmentLength = length;
    e.ElementLength = length;
    e.RegionCode = 0;
    e.PortIndex = 1;
    e.StarvationPoint = length;
    e.FillLeft = 0.4f;
    e.FillRight = 0.4f;
    e.TableValue1 = -2.0f;
    e.TableValue2 = 0.3f;
    e.TempStart = e.TempStarvation = e.TempEnd = 160;
    return e;
}

inline ElementRecord kneading(float start, float length, float blockLength, std::int16_t disks, float stagger,
                              std::int16_t hand = 1) {
    ElementRecord e = conveying(start, length, 0, hand);
    e.Kind = "k";
    e.HelixAngle = 0;
    e.Disks = disks;
    e.StaggerAngle = stagger;
    e.ElementLength = blockLength;
    return e;
}

inline ElementRecord endZone(float start, float diePressure) {
    ElementRecord e;
    e.Kind = "p";
    e.SegmentStart = start;
    e.SegmentLength = 1;
    e.RegionCode = 2;
    e.PortIndex = 1;
    e.StarvationPoint = 0;
    e.FillLeft = e.FillRight = 1;
    e.PressureStart = diePressure;
    e.PressureEnd = diePressure;
    return e;
}

inline SolidsBlock solids() { return SolidsBlock{0.5f, 1.8f, 0.2f, 0.5f, 0.3f, 200, 100, 220, 200, 25}; }
inline MeltingBlock melting() { return MeltingBlock{0.9f, 2.0f, 160, 200}; }
inline PortRecord port(float flow = 20) { return PortRecord{flow, 0.01f, 200, 5, 0.4f, 0.75f, 2.2f, 300, 100, 220, 200}; }

// Everything one call of the core takes.
struct CoreCall {
    float speed = 5;    // rev/s
    float radius = 15;  // mm
    float centerline = 1.7f;
    sim::OneBasedList<ElementRecord> elements;
    SolidsBlock solidsBlock = solids();
    MeltingBlock meltingBlock = melting();
    sim::OneBasedList<PortRecord> ports{port()};
    RunState state;
    std::vector<MeltProfileRow> profile = std::vector<MeltProfileRow>(1);

    sim::CoreStatus call(bool finalCall = false) {
        sim::CenterlineRatio = centerline;
        const auto portCount = static_cast<std::int16_t>(ports.count());
        const auto elementCount = static_cast<std::int16_t>(elements.count());
        return sim::SimulateFillAndMelting(speed, radius, portCount, elements, solidsBlock, meltingBlock, ports,
                                           elementCount, state, profile, finalCall);
    }
    // A call as the calculation makes it: a negative melt-end position is raised to 0.
    sim::CoreStatus iterate(bool finalCall = false) {
        const sim::CoreStatus s = call(finalCall);
        if (state.MeltEndPosition < 0) state.MeltEndPosition = 0;
        return s;
    }
};

// A conveying screw of `count` elements of two radii each, with a kneading
// block every `kneadEvery` elements (0: none), fed in a hopper over the first
// two, and the end zone at the die pressure.
inline CoreCall screw(int count, int kneadEvery = 0, float diePressure = 5) {
    CoreCall r;
    for (int i = 1; i <= count; ++i) {
        const float start = 2.0f * static_cast<float>(i - 1);
        ElementRecord e = (kneadEvery > 0 && i % kneadEvery == 0) ? kneading(start, 2, 2, 5, 45) : conveying(start, 2);
        if (i <= 2) e.RegionCode = records::kHopperRegion;
        r.elements.push_back(e);
    }
    r.elements.push_back(endZone(2.0f * static_cast<float>(count), diePressure));
    return r;
}

// Element `first` as the backward pass leaves it in phase "S": the melting
// profile is one point, at the end of the conveying element after it.
inline ElementRecord afterSolidsPhase(const ElementRecord& first) {
    CoreCall r;
    r.elements.push_back(first);
    r.elements.push_back(conveying(2, 2));
    r.elements.push_back(endZone(4, 0));
    r.state.MeltEndElement = 2;
    r.state.LastProfileRow = 0;
    r.profile[0].AxialPosition = 4;
    EXPECT_TRUE(r.call(true).ok());
    return r.elements.at(1);
}

// Runs `body` on a thread; a body that does not return within the limit
// means the core hangs, and the test program ends at once.
inline void withWatchdog(const std::function<void()>& body, std::chrono::seconds limit = std::chrono::seconds(20)) {
    auto done = std::async(std::launch::async, body);
    if (done.wait_for(limit) != std::future_status::ready) {
        std::fprintf(stderr, "watchdog: the simulation core did not return\n");
        std::fflush(stderr);
        std::_Exit(3);
    }
    done.get();
}

}  // namespace coretest
