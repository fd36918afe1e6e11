// Forward pass of the simulation core: from the feed towards the die, the
// heating of the solid bed by barrel and screw, the onset of melting, the growth
// of the melt pool and the melt film, the melting profile and the element
// temperatures. Conveying elements here; kneading blocks in core_kneading.cpp.
#include <algorithm>
#include <cmath>

#include "simulation/core_internal.h"

namespace sim::core {

ForwardEnd CoreRun::forwardPass(int& endElement, float& endPosition) {
    for (int i = 1; i <= elementCount_; ++i) {
        const records::ElementRecord& e = element(i);
        const char kind = e.kind();
        if (kind == records::kEndZoneKind) {
            endElement = i;
            return ForwardEnd::DieRecord;
        }
        if (e.PortIndex < 1 || e.PortIndex > portCount_) halt(CoreStop::BadElement, i);
        if (e.PortIndex != CurrentPort) {
            loadForwardPort(i);
            CurrentPort = e.PortIndex;
        }
        if (kind == 's' || kind == 'k') {
            elementGeometry(i);
            float x = 0;
            const bool complete = kind == 's' ? conveyingForward(i, x) : kneadingForward(i, x);
            if (complete) {
                endElement = i;
                endPosition = x;
                return ForwardEnd::MeltingComplete;
            }
        }
        elementEnd(i);
    }
    return ForwardEnd::RanOut;
}

// Heat and melt terms of the element's feed port.
void CoreRun::loadForwardPort(int i) {
    const int p = element(i).PortIndex;
    if (p < 1 || p > portCount_) halt(CoreStop::BadElement, i);
    port = &ports_.at(p);
    const float powerLawIndex = port->PowerLawIndex;
    const float Tm = MeltingTemperature;
    const double N = speedRps_;
    const double R = radius_;
    const float density = PortDensity[p];
    const float throughput = PortThroughput[p];

    MeltingEnthalpy = port->HeatCapacity * (Tm - FeedTemperature) + HeatOfFusion;
    DissipationFactor = single(port->Consistency * 0.001 * std::pow(kTwoPi * N, static_cast<double>(powerLawIndex)) /
                               (MeltingEnthalpy * density));
    ViscosityShift =
        single(std::exp(static_cast<double>(-port->ViscositySensitivity * (Tm - port->ReferenceTemperature))));
    DensityRatio = density / MeltRegionDensity;
    MeltHeatScale = single(kTwoPi * N * R * density * MeltingEnthalpy * 1000);
    BarrelMeltFlux = port->BarrelHtc * (port->BarrelTemperature - Tm) / MeltHeatScale;
    ScrewMeltFlux = port->ScrewHtc * (port->ScrewTemperature - Tm) / MeltHeatScale;
    BiotNumber = radius_ * SolidBarrelHtc / (1000 * SolidConductivity);
    SolidHeatingRate =
        single(SolidBarrelHtc / (kTwoPi * SolidBulkDensity * SolidHeatCapacity * R * N * 1000));
    const double heatGainScale = static_cast<double>(2 * throughput * density) * kPi * R * N * 1000 * SolidHeatCapacity;
    BarrelHeatGain = single(SolidBarrelHtc / heatGainScale);
    ScrewHeatGain = single(SolidScrewHtc / heatGainScale);

    for (float v : {MeltingEnthalpy, DissipationFactor, ViscosityShift, DensityRatio, MeltHeatScale, BarrelMeltFlux,
                    ScrewMeltFlux, BiotNumber, SolidHeatingRate, BarrelHeatGain, ScrewHeatGain}) {
        if (!std::isfinite(v)) halt(CoreStop::BadMaterial, i);
    }
}

// Surface temperature of the solid bed heated by the barrel for the heating
// parameter z: 1 - e^z erfc(sqrt z) of the way from the feed to the barrel.
float CoreRun::surfaceTemperature(float z) {
    if (!(z >= 0.0f) || !std::isfinite(z)) halt(CoreStop::NoSoundValue, 0);
    const float erfcValue = ErfcSingle(static_cast<float>(std::sqrt(static_cast<double>(z))));
    // e^z overflows only far beyond the point where the single-precision erfc
    // has become 0; the product's limit there is 0.
    const double product = erfcValue == 0.0f ? 0.0 : std::exp(static_cast<double>(z)) * erfcValue;
    return single(FeedTemperature + (SolidBarrelTemperature - FeedTemperature) * (1.0 - product));
}

// Melting begins at `start` within element i: profile point 0.
void CoreRun::recordOnset(int i, float start, float segmentStart) {
    MeltStartPosition = start;
    MeltStartElement = static_cast<float>(i);
    ProfilePosition[0] = MeltStartPosition + segmentStart;
    ProfileUnmelted[0] = 1;
}

// A melting step is starved (partly filled channel) unless it ends past the
// starvation point, at a point of its own.
bool CoreRun::isStarved(float x, float entryStarvation) const {
    return !(x >= entryStarvation && !samePoint(x, entryStarvation));
}

// Melting is forced to begin where the first filled element fills: at the
// start of the first step whose end reaches the starvation point.
bool CoreRun::forcedStart(int i, float x, float starvationPoint) const {
    return reaches(x, starvationPoint) && FirstFilledElement == i &&
           static_cast<float>(FirstFilledElement) == MeltStartElement && MeltStartPosition < 0;
}

// The melt film grows by the heat dissipated in it and what the screw adds.
void CoreRun::growFilm(int i, float v, float step, bool starved, float fillLeft) {
    const float powerLawIndex = port->PowerLawIndex;
    const float filmViscosity =
        single(std::pow(static_cast<double>(v / FilmThickness), static_cast<double>(powerLawIndex - 1)) * ViscosityShift);
    float filmHeat = single(std::pow(static_cast<double>(v), 2.0) * DissipationFactor * filmViscosity / FilmThickness);
    if (starved) filmHeat = filmHeat * fillLeft;
    const float filmVelocity = starved ? v / fillLeft : v;
    FilmThickness = FilmThickness + step * (filmHeat + std::max(ScrewMeltFlux, 0.0f)) / filmVelocity;
    requireFinite(FilmThickness, i);
}

void CoreRun::appendProfilePoint(float position, float unmelted, float film, int i) {
    ++ProfileLast;
    if (ProfileLast > kMaxIndex) halt(CoreStop::ProfileTooLong, i);
    if (ProfileLast > ProfileCapacity) {
        ProfileCapacity += 10;
        const auto rows = static_cast<std::size_t>(ProfileCapacity) + 1;
        ProfilePosition.resize(rows, 0.0f);
        ProfileUnmelted.resize(rows, 0.0f);
        ProfileFilm.resize(rows, 0.0f);
    }
    const auto k = static_cast<std::size_t>(ProfileLast);
    ProfilePosition[k] = position;
    ProfileUnmelted[k] = unmelted;
    ProfileFilm[k] = film;
}

// Ten sub-steps of a conveying element. True when the melting completed, with
// x the position within the segment where it did.
bool CoreRun::conveyingForward(int i, float& x) {
    records::ElementRecord& e = element(i);
    const float helixAngle = e.HelixAngle;
    const double sinHelix = helixSine(i);
    const int p = e.PortIndex;
    const int tips = e.Tips;
    const float Tm = MeltingTemperature;
    const float A = geo.ChannelArea;
    const float H = geo.MeanChannelDepth;
    const float W = geo.ChannelSpan;
    const float powerLawIndex = port->PowerLawIndex;
    // The starved part heats and carries as at most one full channel: a port
    // row stores its fill uncapped, or the mark 1.2, for the fill strip.
    const float fillLeft = e.heldFill();
    const float segmentStart = e.SegmentStart;

    x = 0;
    const float v = single(static_cast<double>(PortThroughput[p] * DensityRatio) / ((2 * tips - 1) * sinHelix * A));
    const float channelStep = downChannelStep(e.SegmentLength, sinHelix);
    const double advance = static_cast<double>(channelStep) * sinHelix;  // one sub-step along the axis
    const float shearFactor = single(std::pow(e.Hand * std::cos(static_cast<double>(helixAngle)), 2.0) +
                                     4 * std::pow(e.Hand * sinHelix, 2.0));
    requireFinite(v, i);
    if (MeltStartPosition < 0) UnmeltedArea = A;
    PoolDepth = (1 - UnmeltedArea / A) * H - FilmThickness;
    if (MeltStartElement == 0 && FirstFilledElement == i) MeltStartElement = static_cast<float>(i);

    for (int k = 1; k <= 10; ++k) {
        // Where melting begins in this sub-step it begins at its start, the
        // position before the step: never a rounding below the element's start,
        // which would read as not begun.
        const float stepStart = x;
        x = single(x + advance);
        const float starvationPoint = entryStarvation(i);
        if (forcedStart(i, x, starvationPoint)) {
            MeltStartPosition = stepStart;
            SolidTemperature = Tm;
            ProfilePosition[0] = MeltStartPosition + segmentStart;
            ProfileUnmelted[0] = 1;
        }
        if (SolidTemperature < Tm) {
            const float z =
                single(static_cast<double>((x + segmentStart) * SolidHeatingRate * BiotNumber) / (v * sinHelix));
            SolidTemperature = surfaceTemperature(z);
            if (BarrelHeatGain == 0 && ScrewHeatGain == 0) {
                SolidMeanTemperature = FeedTemperature;
            } else {
                const float gain = (BarrelHeatGain * (SolidBarrelTemperature - SolidMeanTemperature) +
                                    ScrewHeatGain * (SolidScrewTemperature - SolidMeanTemperature)) *
                                   fillLeft * W * channelStep;
                SolidMeanTemperature = single(SolidMeanTemperature + gain * sinHelix);
            }
            // Onset when the surface reaches the melting temperature, as the
            // heating test above stops heating there.
            if (SolidTemperature >= Tm) recordOnset(i, stepStart, segmentStart);
        } else if (PoolDepth <= 0) {
            // First melting sub-step: seed the pool and the film.
            PoolDepth = single(0.05 * H);
            FilmThickness = single(0.1 * H);
        } else if (FilmThickness <= 0) {
            // A pool carried into a wider channel before any film formed.
            FilmThickness = single(0.1 * H);
        } else {
            const bool starved = isStarved(x, starvationPoint);
            if (starved && fillLeft == 0) halt(CoreStop::NoSoundValue, i);
            const float poolViscosity =
                single(std::pow(static_cast<double>(PoolDepth), static_cast<double>(1 - powerLawIndex)) * ViscosityShift);
            const float viscousHeat = shearFactor * poolViscosity * DissipationFactor / PoolDepth;
            float pressureFlowHeat = 0;
            if (!starved) {
                const double gradient = EntryGradient[static_cast<std::size_t>(i)] * sinHelix;
                pressureFlowHeat = single(std::pow(static_cast<double>(PoolDepth), 3.0) * poolViscosity *
                                          DissipationFactor * (gradient * gradient) / 12);
            }
            const float poolVelocity = starved ? v / fillLeft : v;
            PoolDepth = PoolDepth + channelStep * (BarrelMeltFlux + viscousHeat + pressureFlowHeat) / poolVelocity;
            requireFinite(PoolDepth, i);
            growFilm(i, v, channelStep, starved, fillLeft);
        }

        UnmeltedArea = (1 - (PoolDepth + FilmThickness) / H) * A;
        const float unmelted = UnmeltedArea / A;
        requireFinite(unmelted, i);
        if (unmelted < 1) appendProfilePoint(x + segmentStart, unmelted, FilmThickness, i);
        if (unmelted < 0.05 || SolidMeanTemperature >= Tm) return true;
    }
    return false;
}

// Temperatures of a completed element: the area-weighted mean of solid and
// melt at its end, the next element's start, and the value at the starvation
// point interpolated along the segment.
void CoreRun::elementEnd(int i) {
    records::ElementRecord& e = element(i);
    const float A = geo.ChannelArea;
    e.TempEnd = (SolidMeanTemperature * UnmeltedArea + MeltingTemperature * (A - UnmeltedArea)) / A;
    requireFinite(e.TempEnd, i);
    if (i < elementCount_) element(i + 1).TempStart = e.TempEnd;
    e.TempStarvation = temperatureAtStarvation(i);
}

// The temperature at row i's starvation point: its start or end temperature
// where the point lies there, else interpolated along the segment.
float CoreRun::temperatureAtStarvation(int i) {
    const records::ElementRecord& e = element(i);
    if (atStart(e.StarvationPoint)) return e.TempStart;
    if (reaches(e.StarvationPoint, e.SegmentLength)) return e.TempEnd;
    const float T = e.TempStart + (e.TempEnd - e.TempStart) * e.StarvationPoint / e.SegmentLength;
    requireFinite(T, i);
    return T;
}

}  // namespace sim::core

namespace sim {

MoltenPart moltenPartOf(const records::ElementRecord& row, float meltEnd) {
    MoltenPart part;
    part.length = samePoint(meltEnd, row.SegmentLength) ? 0.0f : row.SegmentLength - meltEnd;
    if (!reaches(meltEnd, row.StarvationPoint)) part.starved = std::min(row.StarvationPoint - meltEnd, part.length);
    return part;
}

float meltEndStarvationTemperature(const records::ElementRecord& row, float meltEnd) {
    const MoltenPart part = moltenPartOf(row, meltEnd);
    if (part.starved <= 0) return row.TempStart;
    return row.TempStart + (row.TempEnd - row.TempStart) * (part.starved / part.length);
}

}  // namespace sim
