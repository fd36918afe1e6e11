// Kneading blocks in both passes of the simulation core. A block has no helix:
// the backward pass uses an equivalent helix angle made from the disk width and
// the stagger angle; both passes step one disk width at a time.
#include <cmath>

#include "simulation/core_internal.h"

namespace sim::core {

namespace {

// Disk width, the number of disks in the segment (fractional, at least 1)
// by which the backward pass steps, and the disks the forward pass walks. A
// fractional last disk is not walked; but a segment that is a whole number of
// disks, to within the same place and less than half a disk, walks every one
// of them, though its quotient may round just below, and a segment shorter
// than one disk walks one disk. In both cases the last disk ends at the
// segment's end: no disk ends past its part. (The half-disk bound decides only
// for disks narrower than twice the same place: a segment an exact half disk
// off walks its whole disks only.) A block without disks, without length or
// with more disks than a 16-bit counter walks has no sound stepping.
struct Disks {
    float width;
    float count;
    int walked;
    bool lastToEnd;
};

Disks blockDisks(const records::ElementRecord& e, int i) {
    if (e.Disks < 1 || !(e.SegmentLength > 0.0f) || !std::isfinite(e.SegmentLength)) halt(CoreStop::BadElement, i);
    Disks d;
    d.width = e.ElementLength / static_cast<float>(e.Disks);
    if (!(d.width > 0.0f) || !std::isfinite(d.width)) halt(CoreStop::BadElement, i);
    d.count = e.SegmentLength / d.width;
    const bool shorterThanADisk = d.count < 1;
    if (shorterThanADisk) d.count = 1;
    if (!(d.count <= static_cast<float>(kMaxIndex))) halt(CoreStop::BadElement, i);
    const float whole = std::nearbyint(e.SegmentLength / d.width);
    const float wholeLength = whole * d.width;
    const bool isWhole = whole >= 1 && samePlace(e.SegmentLength, wholeLength) &&
                         std::fabs(e.SegmentLength - wholeLength) < d.width / 2;
    d.walked = static_cast<int>(isWhole ? whole : std::floor(d.count));
    d.lastToEnd = isWhole || shorterThanADisk;
    return d;
}

// Stagger angle in radians; a zero angle gives no equivalent helix.
float staggerRadians(const records::ElementRecord& e, int i) {
    const float stagger = single(e.StaggerAngle * kPi / 180);
    if (stagger == 0.0f || !std::isfinite(stagger)) halt(CoreStop::BadElement, i);
    return stagger;
}

}  // namespace

BackwardElement CoreRun::kneadingQuantities(int i) {
    const records::ElementRecord& e = element(i);
    const Disks disks = blockDisks(e, i);
    const float stagger = staggerRadians(e, i);
    const float equivalentHelixAngle = single(std::atan(static_cast<double>(disks.width / stagger)));
    const int p = e.PortIndex;
    const int tips = e.Tips;
    BackwardElement body;
    body.kneading = true;
    body.helixAngle = equivalentHelixAngle;
    body.dragTerm = single(e.Hand * std::cos(static_cast<double>(equivalentHelixAngle)));
    body.flowTerm = single(static_cast<double>(PortThroughput[p] * PortDensity[p]) /
                           ((2 * tips - 1) * std::sin(static_cast<double>(equivalentHelixAngle)) * geo.ChannelArea));
    body.subStepLength = e.SegmentLength / disks.count;
    requireFinite(body.flowTerm, i);
    return body;
}

// A kneading block in the forward pass, disk by disk: one heating step per
// disk, or ten melting sub-steps refined, where the block is filled, by a
// ten-round iteration of the pool depth blended by the stagger angle.
bool CoreRun::kneadingForward(int i, float& x) {
    records::ElementRecord& e = element(i);
    const int p = e.PortIndex;
    const int tips = e.Tips;
    const float Tm = MeltingTemperature;
    const float A = geo.ChannelArea;
    const float H = geo.MeanChannelDepth;
    const float W = geo.ChannelSpan;
    const float powerLawIndex = port->PowerLawIndex;
    // At most one full channel, whatever fill a port row stores (see the
    // conveying element's step).
    const float fillLeft = e.heldFill();
    const float segmentStart = e.SegmentStart;
    const float gradient = EntryGradient[static_cast<std::size_t>(i)];

    x = 0;
    const float v = PortThroughput[p] * DensityRatio / (static_cast<float>(2 * tips - 1) * A);
    const float shearFactor = single(4 * std::pow(static_cast<double>(e.Hand), 2.0));
    requireFinite(v, i);
    if (MeltStartPosition < 0) UnmeltedArea = A;
    float kneadFilm = (1 - UnmeltedArea / A) * H - FilmThickness;
    if (MeltStartElement == 0 && FirstFilledElement == i) MeltStartElement = static_cast<float>(i);
    const Disks disks = blockDisks(e, i);
    const float w = disks.width;
    const float stagger = staggerRadians(e, i);

    // Heat terms of the pool at depth `pool`, never starved.
    auto poolHeat = [&](float pool, float& viscousHeat, float& pressureFlowHeat) {
        const float poolViscosity =
            single(std::pow(static_cast<double>(pool), static_cast<double>(1 - powerLawIndex)) * ViscosityShift);
        viscousHeat = shearFactor * poolViscosity * DissipationFactor / pool;
        pressureFlowHeat = single(std::pow(static_cast<double>(pool), 3.0) * poolViscosity * DissipationFactor *
                                  std::pow(static_cast<double>(gradient), 2.0) / 12);
    };

    for (int d = 1; d <= disks.walked; ++d) {
        // Melting that begins at this disk begins at its start.
        const float diskStart = x;
        float length = w;
        x = x + w;
        if ((d == disks.walked && disks.lastToEnd) || x > e.SegmentLength) {
            x = e.SegmentLength;
            length = x - diskStart;
        }
        const float diskSubStep = length / 10;
        const float starvationPoint = entryStarvation(i);
        if (forcedStart(i, x, starvationPoint)) {
            MeltStartPosition = diskStart;
            SolidTemperature = Tm;
            ProfileUnmelted[0] = 1;
            ProfilePosition[0] = MeltStartPosition + segmentStart;
        }
        if (SolidTemperature < Tm) {
            const float z = (x + segmentStart) * SolidHeatingRate * BiotNumber / v;
            SolidTemperature = surfaceTemperature(z);
            if (BarrelHeatGain == 0 && ScrewHeatGain == 0) {
                SolidMeanTemperature = FeedTemperature;
            } else {
                SolidMeanTemperature = SolidMeanTemperature +
                                       (BarrelHeatGain * (SolidBarrelTemperature - SolidMeanTemperature) +
                                        ScrewHeatGain * (SolidScrewTemperature - SolidMeanTemperature)) *
                                           fillLeft * W * length;
            }
            if (SolidTemperature >= Tm) recordOnset(i, diskStart, segmentStart);
        } else {
            float firstStepFilm = 0;
            for (int m = 1; m <= 10; ++m) {
                if (kneadFilm <= 0) {
                    kneadFilm = single(0.05 * H);
                    FilmThickness = single(0.1 * H);
                } else if (FilmThickness <= 0) {
                    // A pool carried into a wider channel before any film formed.
                    FilmThickness = single(0.1 * H);
                } else {
                    const bool starved = isStarved(x, starvationPoint);
                    if (starved && fillLeft == 0) halt(CoreStop::NoSoundValue, i);
                    float viscousHeat, pressureFlowHeat;
                    poolHeat(kneadFilm, viscousHeat, pressureFlowHeat);
                    float poolVelocity = v;
                    if (starved) {
                        pressureFlowHeat = 0;
                        viscousHeat = viscousHeat * fillLeft;
                        poolVelocity = v / fillLeft;
                    }
                    kneadFilm = kneadFilm + diskSubStep * (BarrelMeltFlux + viscousHeat + pressureFlowHeat) / poolVelocity;
                    requireFinite(kneadFilm, i);
                    growFilm(i, v, diskSubStep, starved, fillLeft);
                }
                if (m == 1) firstStepFilm = kneadFilm;
                if (kneadFilm > H) kneadFilm = H;
                if (FilmThickness > H) FilmThickness = H;
            }

            if (isStarved(x, starvationPoint)) {
                // Partly filled stretch, as its melting sub-steps were: the
                // marched pool depth.
                MixedFilm = kneadFilm;
            } else {
                float iterated = firstStepFilm;
                if (FilmVelocity == 0) FilmVelocity = v;
                float sum = 0;
                float first = 0;
                bool converged = true;
                for (int j = 1; j <= 10; ++j) {
                    // An iterate at or below zero has no pool to heat: give up the
                    // iteration and keep the marched depth.
                    if (!(iterated > 0.0f)) {
                        converged = false;
                        break;
                    }
                    float viscousHeat, pressureFlowHeat;
                    poolHeat(iterated, viscousHeat, pressureFlowHeat);
                    iterated = iterated + diskSubStep * (BarrelMeltFlux + viscousHeat + pressureFlowHeat) / FilmVelocity;
                    if (!std::isfinite(iterated)) {
                        converged = false;
                        break;
                    }
                    sum = sum + iterated;
                    if (j == 1) first = iterated;
                    if (iterated > H) iterated = H;
                }
                if (converged) {
                    const float mean = sum / 10;
                    const float last = iterated;
                    if (last != mean && first != H && last != first && mean != H) {
                        float velocity = single(FilmVelocity * (1 - std::pow(static_cast<double>(mean / last), 3.0)) /
                                                (1 - std::pow(static_cast<double>(first / last), 3.0)));
                        velocity = velocity * (1 - first / H) / (1 - mean / H);
                        // A correction that rounds to no finite, non-zero speed is not taken.
                        if (std::isfinite(velocity) && velocity != 0.0f) FilmVelocity = velocity;
                    }
                    MixedFilm = ((W - stagger) * kneadFilm + stagger * iterated) / W;
                } else {
                    MixedFilm = kneadFilm;
                }
            }
            if (MixedFilm > 0.95 * H) MixedFilm = H;
            kneadFilm = MixedFilm;
        }

        UnmeltedArea = (1 - (MixedFilm + FilmThickness) / H) * A;
        const float unmelted = UnmeltedArea / A;
        requireFinite(unmelted, i);
        if (unmelted < 1) appendProfilePoint(x + segmentStart, unmelted, FilmThickness, i);
        if (unmelted < 0.05 || SolidMeanTemperature >= Tm) return true;
    }
    return false;
}

}  // namespace sim::core
