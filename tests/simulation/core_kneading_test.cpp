// Kneading blocks in both passes of the core: disk stepping, pressure built
// from zero, the averaged solids fill, the film iteration and the stagger blend,
// and blocks without sound disks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "simulation/core.h"
#include "simulation/core_fixture.h"
#include "simulation/core_internal.h"

namespace {

using namespace coretest;
using sim::CoreStop;

// The core's working data prepared up to the passes, for looking inside a block.
struct Prepared {
    CoreCall call;
    sim::core::CoreRun run;
    explicit Prepared(CoreCall c)
        : call(std::move(c)),
          run(call.speed, call.radius, call.ports.count(), call.elements, call.solidsBlock, call.meltingBlock,
              call.ports, call.elements.count(), call.state, call.profile, false) {
        sim::CenterlineRatio = call.centerline;
        run.checkArguments();
        run.copyElements();
        run.mixPorts();
        run.copyMaterials();
        run.copyPreviousProfile();
    }
    // The forward pass about to enter element 1.
    void enterForwardPass() {
        run.findFirstFilledElement();
        run.startForwardPass();
        run.loadForwardPort(1);
        run.CurrentPort = 1;
        run.elementGeometry(1);
    }
};

CoreCall blockThenEnd(float segmentLength, float blockLength, std::int16_t disks, float stagger) {
    CoreCall r;
    r.elements.push_back(kneading(0, segmentLength, blockLength, disks, stagger));
    r.elements.push_back(endZone(segmentLength, 0));
    return r;
}

TEST(KneadingBackward, SubStepIsOneDiskOrTheWholeShortSegment) {
    // Disk width 0.5: a segment of 0.3 is one sub-step of 0.3.
    Prepared shortSegment(blockThenEnd(0.3f, 2, 4, 45));
    shortSegment.run.elementGeometry(1);
    EXPECT_EQ(shortSegment.run.kneadingQuantities(1).subStepLength, 0.3f);

    // 2.5 disk widths: sub-steps of exactly one disk width, the count not rounded.
    Prepared twoAndAHalf(blockThenEnd(1.25f, 2, 4, 45));
    twoAndAHalf.run.elementGeometry(1);
    EXPECT_EQ(twoAndAHalf.run.kneadingQuantities(1).subStepLength, 0.5f);

    // A stagger of 90 degrees: the equivalent helix angle is atan(2w / pi).
    Prepared square(blockThenEnd(1, 2, 4, 90));
    square.run.elementGeometry(1);
    const sim::core::BackwardElement body = square.run.kneadingQuantities(1);
    EXPECT_NEAR(body.helixAngle, std::atan(2 * 0.5 / 3.141592654), 1e-6);
    EXPECT_GT(body.dragTerm, 0.0f);
    square.call.elements.at(1).Hand = -1;
    EXPECT_LT(square.run.kneadingQuantities(1).dragTerm, 0.0f);
}

TEST(KneadingForward, WalksWholeDisksAndNoneBeyondItsPart) {
    // Melting is forced to begin at the first disk of the first (filled)
    // block; each disk then adds one profile point at its end.
    CoreCall r;
    ElementRecord shortBlock = kneading(0, 0.3f, 2, 4, 45);  // shorter than one disk of 0.5
    shortBlock.StarvationPoint = 0;
    r.elements.push_back(shortBlock);
    r.elements.push_back(kneading(0.3f, 1.25f, 2, 4, 45));  // 2.5 disks
    r.elements.push_back(conveying(1.55f, 2));
    r.elements.push_back(endZone(3.55f, 0));
    ASSERT_TRUE(r.call().ok());
    EXPECT_EQ(r.state.MeltStartElement, 1);
    ASSERT_GE(r.state.LastProfileRow, 4);
    EXPECT_EQ(r.profile[0].AxialPosition, 0.0f);
    EXPECT_FLOAT_EQ(r.profile[1].AxialPosition, 0.3f);  // one disk of the short segment's length
    EXPECT_FLOAT_EQ(r.profile[2].AxialPosition, 0.8f);
    EXPECT_FLOAT_EQ(r.profile[3].AxialPosition, 1.3f);  // the half disk is not walked
    EXPECT_FLOAT_EQ(r.profile[4].AxialPosition, 1.75f);  // first tenth of the conveying element
    for (int k = 1; k <= 3; ++k) EXPECT_LT(r.profile[k].SolidFraction, r.profile[k - 1].SolidFraction);
}

TEST(KneadingForward, AWholeNumberOfDisksWalksEveryDiskTheLastEndingAtThePartsEnd) {
    // The disks a part walks, read from the profile: melting is under way
    // from its start, so every disk adds a point at its end.
    const auto walks = [](float segment, float block, std::int16_t disks, std::size_t count, float lastEnd) {
        Prepared prep(blockThenEnd(segment, block, disks, 45));
        prep.enterForwardPass();
        sim::core::CoreRun& run = prep.run;
        run.MeltStartPosition = 0;
        run.SolidTemperature = run.MeltingTemperature;
        float x = 0;
        EXPECT_FALSE(run.kneadingForward(1, x)) << segment;
        EXPECT_EQ(static_cast<std::size_t>(run.ProfileLast), count) << segment;
        EXPECT_NEAR(run.ProfilePosition[static_cast<std::size_t>(run.ProfileLast)], lastEnd, 1e-6) << segment;
    };
    // Whole blocks whose disk count divides to just below 7, 13 or 14.
    for (float block : {1.0f, 2.0f, 4.0f})
        for (std::int16_t disks : {7, 13, 14}) walks(block, block, disks, disks, block);
    // Parts snapped to a region edge a rounding short of whole disks or past
    // them end at their own end; one cut at 6.5 disks leaves its half disk.
    for (float off : {-0.0009f, -5e-5f, 5e-5f, 0.0009f}) walks(2 + off, 2, 7, 7, 2 + off);
    walks(6.5f * 2 / 7, 2, 7, 6, 6 * 2.0f / 7);
    // Disks narrower than twice the same place: a cut within the same place
    // of whole disks walks them all, but one an exact half disk off walks only
    // its whole disks, as any part with a fractional last disk.
    walks(6.6f * 0.01f / 7, 0.01f, 7, 7, 6.6f * 0.01f / 7);
    const float narrow = 0x1p-10f;
    walks(6.5f * narrow, 8 * narrow, 8, 6, 6 * narrow);
    walks(7.5f * narrow, 8 * narrow, 8, 7, 7 * narrow);
}

TEST(KneadingForward, ADiskCutShortByItsPartIsHeatedAndMeltedOverItsOwnLength) {
    // A part of 0.3 of a block with disks of 0.5, beside a block of one disk
    // of 0.3; heated from a cold feed, and melted from its start.
    for (bool melting : {false, true}) {
        CoreCall cut = blockThenEnd(0.3f, 2, 4, 45);
        CoreCall whole = blockThenEnd(0.3f, 0.3f, 1, 45);
        for (CoreCall* r : {&cut, &whole}) {
            if (melting) r->elements.at(1).StarvationPoint = 0;
            ASSERT_TRUE(r->call().ok());
        }
        EXPECT_EQ(cut.elements.at(1).TempEnd, whole.elements.at(1).TempEnd) << melting;
        EXPECT_EQ(cut.state.LastProfileRow, melting ? 1 : 0);
        EXPECT_EQ(cut.profile.back().SolidFraction, whole.profile.back().SolidFraction) << melting;
    }
}

TEST(KneadingForward, MeltingBeginsAtTheStartOfTheDiskThatHeatsTheSurfaceToMelting) {
    // Five disks of 0.4 cut at `length`, then a filled element, so that
    // melting begins in the block only where the heated surface reaches it.
    const auto blockCutAt = [](float length, float barrel) {
        CoreCall r;
        r.elements.push_back(kneading(0, length, 2, 5, 45));
        ElementRecord filled = conveying(length, 2);
        filled.StarvationPoint = 0;
        r.elements.push_back(filled);
        r.elements.push_back(endZone(length + 2, 0));
        r.solidsBlock.BarrelTemperature = barrel;
        EXPECT_TRUE(r.call().ok());
        return r;
    };
    // Disk starts as the walk sums them: the third, 0.4 + 0.4, is not 1.2 - 0.4.
    std::vector<float> starts{0};
    for (int d = 1; d < 5; ++d) starts.push_back(starts.back() + 0.4f);
    bool third = false;
    for (float barrel = 170; barrel <= 1000; barrel += 10) {
        const CoreCall r = blockCutAt(2, barrel);
        if (r.state.MeltStartElement != 1) continue;
        const float onset = r.state.MeltStartPosition;
        EXPECT_NE(std::find(starts.begin(), starts.end(), onset), starts.end()) << barrel;
        third = third || onset == starts[2];
        // The disks before it leave the surface below melting.
        if (onset > 0) {
            EXPECT_NE(blockCutAt(onset, barrel).state.MeltStartElement, 1) << barrel;
        }
    }
    EXPECT_TRUE(third);
}

// Newtonian melt without temperature shift; a left-handed element whose
// downstream point has no pressure and which is starved to its end.
CoreCall leftHandedAtZeroPressure(bool kneadingBlock) {
    CoreCall r;
    r.speed = 1;
    r.radius = 10;
    records::PortRecord p = port(1);
    p.ViscositySensitivity = 0;
    p.Consistency = 1;
    p.PowerLawIndex = 1;
    p.Density = 1;
    r.ports = sim::OneBasedList<records::PortRecord>{p};
    ElementRecord e = kneadingBlock ? kneading(0, 1, 1, 4, 45, -1) : conveying(0, 1, 0.45f, -1);
    r.elements.push_back(e);
    r.elements.push_back(conveying(1, 1));
    r.elements.push_back(endZone(2, 0));
    r.state.MeltEndElement = 1;
    r.state.MeltEndPosition = 0.5f;  // in the starved stretch: no boundary pressure
    r.state.LastProfileRow = 4;
    r.profile.assign(5, MeltProfileRow{});
    for (int k = 0; k <= 4; ++k) {
        r.profile[k].AxialPosition = 0.25f * static_cast<float>(k);
        r.profile[k].SolidFraction = 0.5f;
        r.profile[k].AverageTemperature = 0.02f;
    }
    return r;
}

TEST(KneadingBackward, BuildsPressureFromZeroWhereAConveyingElementDoesNot) {
    CoreCall screwElement = leftHandedAtZeroPressure(false);
    ASSERT_TRUE(screwElement.call(true).ok());
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(screwElement.profile[k].Pressure, 0.0f) << "point " << k;

    CoreCall block = leftHandedAtZeroPressure(true);
    ASSERT_TRUE(block.call(true).ok());
    EXPECT_EQ(block.profile[4].Pressure, 0.0f);
    EXPECT_GT(block.profile[3].Pressure, 0.0f);
    EXPECT_GT(block.profile[2].Pressure, block.profile[3].Pressure);
    EXPECT_GT(block.profile[1].Pressure, block.profile[2].Pressure);
    EXPECT_EQ(block.profile[0].Pressure, 0.0f);  // the profile's first point
}

// Phase "S" fill of element 1.
float solidsFill(const ElementRecord& first) {
    const ElementRecord e = afterSolidsPhase(first);
    EXPECT_EQ(e.FillRight, e.FillLeft);
    return e.FillLeft;
}

TEST(KneadingBackward, SolidsFillAveragesFrictionAndTableFill) {
    const ElementRecord block = kneading(0, 2, 2, 5, 45);
    const float width = 2.0f / 5.0f;
    const float stagger = static_cast<float>(45 * 3.141592654 / 180);
    const float equivalentHelix = static_cast<float>(std::atan(static_cast<double>(width / stagger)));
    const float frictionFill = solidsFill(conveying(0, 2, equivalentHelix));

    // Port of the fixture: 20 kg/h at 0.75 g/cm^3, 5 rev/s, radius 15 mm.
    const float q = static_cast<float>(1000.0 * 20 / (3.6 * 6.283185308 * 5 * 15.0 * 15 * 15 * 0.75));
    const float tableFill = q / block.TableValue2;
    EXPECT_NEAR(solidsFill(block), (frictionFill + tableFill) / 2, 1e-6);
}

// One filled disk of a block, melting: the pool marched in ten sub-steps, the
// ten-round iteration, the velocity correction and the stagger blend,
// recomputed here in double precision.
struct DiskResult {
    float mixed, velocity, marched;
};

DiskResult meltOneDisk(float staggerDegrees, float entryStarvation, DiskResult* reference) {
    CoreCall c;
    records::PortRecord p = port(20);
    p.PowerLawIndex = 0.6f;
    c.ports = sim::OneBasedList<records::PortRecord>{p};
    c.elements.push_back(kneading(0, 0.5f, 0.5f, 1, staggerDegrees));
    c.elements.push_back(endZone(0.5f, 0));
    Prepared prep(std::move(c));
    prep.enterForwardPass();
    sim::core::CoreRun& run = prep.run;
    const float H = run.geo.MeanChannelDepth, A = run.geo.ChannelArea, W = run.geo.ChannelSpan;
    run.MeltStartElement = 1;
    run.MeltStartPosition = 0;
    run.SolidTemperature = run.MeltingTemperature;
    run.FilmThickness = 0.1f * H;
    run.UnmeltedArea = (1 - 0.3f) * A;  // pool 0.2 H, film 0.1 H
    run.entryStarvation(1) = entryStarvation;
    float x = 0;
    EXPECT_FALSE(run.kneadingForward(1, x));

    if (reference) {
        const double n = 0.6, vs = run.ViscosityShift, df = run.DissipationFactor;
        const double bmf = run.BarrelMeltFlux, smf = std::max(0.0f, run.ScrewMeltFlux);
        const double g = prep.call.elements.at(1).TableValue1;
        const double v = run.PortThroughput[1] * run.DensityRatio / (3 * static_cast<double>(A));
        const double step = 0.05, h = H, sigma = staggerDegrees * 3.141592654 / 180;
        auto poolGain = [&](double pool) {
            const double visc = std::pow(pool, 1 - n) * vs;
            return bmf + 4 * visc * df / pool + pool * pool * pool * visc * df * g * g / 12;
        };
        double pool = (1 - 0.7) * h - 0.1 * h, film = 0.1 * h, first = 0;
        for (int m = 1; m <= 10; ++m) {
            const double filmHeat = v * v * df * std::pow(v / film, n - 1) * vs / film;
            pool += step * poolGain(pool) / v;
            film += step * (filmHeat + smf) / v;
            if (m == 1) first = pool;
            pool = std::min(pool, h);
            film = std::min(film, h);
        }
        double it = first, sum = 0, f1 = 0, vel = v;
        for (int j = 1; j <= 10; ++j) {
            it += step * poolGain(it) / vel;
            sum += it;
            if (j == 1) f1 = it;
            it = std::min(it, h);
        }
        const double mean = sum / 10;
        vel = vel * (1 - std::pow(mean / it, 3)) / (1 - std::pow(f1 / it, 3)) * (1 - f1 / h) / (1 - mean / h);
        double mixed = ((W - sigma) * pool + sigma * it) / W;
        if (mixed > 0.95 * h) mixed = h;
        *reference = DiskResult{static_cast<float>(mixed), static_cast<float>(vel), static_cast<float>(pool)};
    }
    return DiskResult{run.MixedFilm, run.FilmVelocity, 0};
}

TEST(KneadingForward, FilmIterationOfAFilledDisk) {
    DiskResult expected{};
    const DiskResult got = meltOneDisk(45, 0, &expected);
    EXPECT_NEAR(got.mixed, expected.mixed, 1e-4 * expected.mixed);
    EXPECT_NEAR(got.velocity, expected.velocity, 1e-4 * std::fabs(expected.velocity));
    EXPECT_NE(got.velocity, 0.0f);
}

TEST(KneadingForward, StaggerBlendAtItsEndPoints) {
    // A vanishing stagger blends nothing of the iteration in: the marched pool.
    DiskResult expected{};
    meltOneDisk(45, 0, &expected);
    EXPECT_NEAR(meltOneDisk(1e-4f, 0, nullptr).mixed, expected.marched, 1e-4 * expected.marched);
    // A stagger as wide as the channel span takes the iterated pool.
    sim::ChannelGeometry g;
    sim::ComputeChannelGeometry(1.7f, 2, g);
    const float spanDegrees = static_cast<float>(g.ChannelSpan * 180 / 3.141592654);
    const DiskResult full = meltOneDisk(spanDegrees, 0, &expected);
    EXPECT_NEAR(full.mixed, expected.mixed, 1e-4 * expected.mixed);
    EXPECT_GT(full.mixed, expected.marched);
    // A disk in the partly filled stretch is not blended at all.
    EXPECT_EQ(meltOneDisk(45, 10, nullptr).mixed, meltOneDisk(90, 10, nullptr).mixed);
}

TEST(KneadingForward, ADiskEndingAtTheStarvationPointIsTakenAsReachingItWhicheverWayItRounds) {
    // Melting is forced at the disk that ends at the starvation point (the
    // third of 0.4), however the sum of the disks rounds against it.
    for (float starvation : {1.2f, std::nextafter(1.2f, 2.0f)}) {
        CoreCall r = blockThenEnd(2, 2, 5, 45);
        r.elements.at(1).StarvationPoint = starvation;
        ASSERT_TRUE(r.call().ok());
        EXPECT_EQ(r.state.MeltStartPosition, 0.8f) << starvation;
    }
    // A disk ending there lies in the partly filled stretch, as its melting
    // sub-steps do, a rounding either side.
    EXPECT_EQ(meltOneDisk(45, 0.5f, nullptr).mixed, meltOneDisk(45, std::nextafter(0.5f, 1.0f), nullptr).mixed);
}

TEST(KneadingGuards, BlocksWithoutSoundDisksStop) {
    struct Case {
        float segment, block;
        std::int16_t disks;
        float stagger;
    };
    const Case cases[] = {{2, 2, 0, 45}, {2, 0, 5, 45}, {0, 2, 5, 45}, {2, 2, 5, 0}, {2, 1e-6f, 5, 45}, {2, 2, -3, 45}};
    for (const Case& c : cases) {
        // The forward pass of a first call, and the backward pass of a later one.
        CoreCall first = screw(6);
        first.elements.at(3) = kneading(4, c.segment, c.block, c.disks, c.stagger);
        sim::CoreStatus s;
        withWatchdog([&] { s = first.call(); });
        EXPECT_EQ(s.stop, CoreStop::BadElement) << c.segment << " " << c.block << " " << c.disks << " " << c.stagger;
        EXPECT_EQ(s.element, 3);

        CoreCall later = screw(6);
        later.elements.at(3) = kneading(4, c.segment, c.block, c.disks, c.stagger);
        later.state.MeltEndElement = 5;
        later.state.LastProfileRow = 0;
        later.profile[0].AxialPosition = 10;
        withWatchdog([&] { s = later.call(true); });
        EXPECT_EQ(s.stop, CoreStop::BadElement);
    }
}

}  // namespace
