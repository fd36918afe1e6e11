// Backward pass of the simulation core: from the element where the melting
// region ended towards the feed, the melt pressure at every point of the
// previous call's melting profile, and per element the starvation point and
// the fill degrees on either side of it.
#include <algorithm>
#include <cmath>

#include "simulation/core_internal.h"

namespace sim::core {

namespace {

// A fill from 0 to 1 is a share of the channel; one outside comes from an
// element fed beyond what it conveys, or one that conveys backwards.
bool isChannelShare(float fill) { return fill >= 0.0f && fill <= 1.0f; }

}  // namespace

void CoreRun::backwardPass() {
    MeltEndElement = state_.MeltEndElement;
    MeltEndPosition = state_.MeltEndPosition;
    phase = Phase::Melt;
    ProfileCursor = EntryProfileLast;
    CurrentPort = 0;
    port = nullptr;
    UpstreamFilledElement = MeltEndElement;

    // Each element is visited once, and one of them once more (where the
    // profile's first point lies), so the walk has a fixed bound.
    long visitsLeft = 2L * MeltEndElement + 1;
    int i = MeltEndElement;
    while (i >= 1) {
        if (--visitsLeft < 0) halt(CoreStop::NoSoundValue, i);
        const records::ElementRecord& e = element(i);
        if (e.PortIndex < 1 || e.PortIndex > portCount_) halt(CoreStop::BadElement, i);
        if (e.PortIndex != CurrentPort) {
            loadBackwardPort(i);
            if (i == MeltEndElement) setBoundaryPressure(i);
            CurrentPort = e.PortIndex;
        }
        const char kind = e.kind();
        if (kind == 's' || kind == 'k') {
            elementGeometry(i);
            const BackwardElement body = kind == 's' ? conveyingQuantities(i) : kneadingQuantities(i);
            if (phase == Phase::Melt) {
                meltPhaseBody(i, i, body);
            } else {
                solidsPhaseBody(i, body);
            }
        }
        --i;
    }
}

// Melt terms of the element's feed port, at the melting temperature: the
// pressure gradient in MPa per radius is ViscosityShift * gradient / ViscosityScale.
void CoreRun::loadBackwardPort(int i) {
    const int p = element(i).PortIndex;
    if (p < 1 || p > portCount_) halt(CoreStop::BadElement, i);
    port = &ports_.at(p);
    const float b = port->ViscositySensitivity;
    const float powerLawIndex = port->PowerLawIndex;
    ViscosityShift = single(std::exp(static_cast<double>(-b * (MeltingTemperature - port->ReferenceTemperature))));
    ViscosityScale = single(1000.0 / (std::pow(kTwoPi * speedRps_, static_cast<double>(powerLawIndex)) * port->Consistency));
    BulkDensityRatio = SolidBulkDensity / PortDensity[static_cast<std::size_t>(p)];
    if (!std::isfinite(ViscosityShift) || !std::isfinite(ViscosityScale) || ViscosityScale == 0.0f ||
        !std::isfinite(BulkDensityRatio))
        halt(CoreStop::BadMaterial, i);
}

// Pressure where melting ended on the previous call: the die pressure when the
// end zone follows, none in a port region or in a starved stretch, otherwise
// the element's end pressure carried back along its gradient.
void CoreRun::setBoundaryPressure(int i) {
    const records::ElementRecord& e = element(i);
    const records::ElementRecord& next = element(i + 1);
    const bool endZoneNext = next.kind() == records::kEndZoneKind;
    if (endZoneNext) {
        CarriedPressure = next.PressureStart;
    } else if (e.inPortRegion()) {
        CarriedPressure = 0;
    } else if (MeltEndPosition < entryStarvation(i)) {
        CarriedPressure = 0;
    } else {
        CarriedPressure = e.PressureEnd - (e.SegmentLength - MeltEndPosition) * ViscosityShift *
                                              EntryGradient[static_cast<std::size_t>(i)] / ViscosityScale;
        if (CarriedPressure < 0) CarriedPressure = 0;
    }
    requireFinite(CarriedPressure, i);
    ProfilePressure[static_cast<std::size_t>(EntryProfileLast)] = CarriedPressure;
    RightEndPressure = endZoneNext ? next.PressureStart : e.PressureEnd;
    LeftEndPressure = CarriedPressure;
    UpstreamFilledElement = i;
}

// A channel without area or span (too many tips for the centre-line ratio)
// has no sound fills or melting either.
void CoreRun::elementGeometry(int i) {
    if (!ComputeChannelGeometry(CenterlineRatio, element(i).Tips, geo) || !(geo.ChannelArea > 0.0f) ||
        !(geo.ChannelSpan > 0.0f) || !std::isfinite(geo.MeanChannelDepth))
        halt(CoreStop::BadGeometry, i);
}

// Sine of a conveying element's helix angle. An element without length, or
// whose angle gives its sub-steps no finite down-channel length (a zero angle,
// or one so small that L / (10 sin) overflows), has no sound stepping.
double CoreRun::helixSine(int i) {
    const records::ElementRecord& e = element(i);
    const double sine = std::sin(static_cast<double>(e.HelixAngle));
    if (!(e.SegmentLength > 0.0f) || !std::isfinite(e.SegmentLength) || !std::isfinite(sine) ||
        !std::isfinite(downChannelStep(e.SegmentLength, sine)))
        halt(CoreStop::BadElement, i);
    return sine;
}

BackwardElement CoreRun::conveyingQuantities(int i) {
    const records::ElementRecord& e = element(i);
    const float helixAngle = e.HelixAngle;
    const double sinHelix = helixSine(i);
    const auto p = static_cast<std::size_t>(e.PortIndex);
    const int tips = e.Tips;
    BackwardElement body;
    body.kneading = false;
    body.helixAngle = helixAngle;
    body.dragTerm = single(e.Hand * std::cos(static_cast<double>(helixAngle)));
    body.flowTerm = single(static_cast<double>(PortThroughput[p] * PortDensity[p]) /
                           ((2 * tips - 1) * sinHelix * geo.ChannelArea));
    body.subStepLength = e.SegmentLength / 10;
    requireFinite(body.flowTerm, i);
    return body;
}

// Fill of a partly filled element: the throughput over the drag capacity of
// its 2n - 1 channels. The kneading block divides in its own order.
float CoreRun::partialFill(int i, int tips, float q, bool kneading) {
    const float capacity = element(i).TableValue2;
    if (capacity == 0.0f || !std::isfinite(capacity)) halt(CoreStop::BadCapacity, i);
    const auto channels = static_cast<float>(2 * tips - 1);
    const float fill = kneading ? q / capacity / channels : q / (capacity * channels);
    requireFinite(fill, i);
    return fill;
}

void CoreRun::setFilled(int i) {
    records::ElementRecord& e = element(i);
    e.StarvationPoint = 0;
    entryStarvation(i) = 0;
    e.FillLeft = 1.0f;
    e.FillRight = 1.0f;
}

// Partly filled up to `starvationPoint`. An element whose partial fill comes
// out above 1 (fed beyond its drag capacity) or below 0 (left-handed) cannot
// run partly filled: it consumes pressure and is filled throughout.
void CoreRun::setPartlyFilled(int i, float starvationPoint, float fillLeft, float fillRight) {
    if (!isChannelShare(fillLeft)) {
        setFilled(i);
        return;
    }
    records::ElementRecord& e = element(i);
    e.StarvationPoint = starvationPoint;
    entryStarvation(i) = starvationPoint;
    e.FillLeft = fillLeft;
    e.FillRight = fillRight;
}

// Pressure gradient in the melting region at profile point k, from the melt
// pool (drag less throughput) and the melt film.
float CoreRun::meltGradient(int k, const BackwardElement& body, int i) {
    const auto kk = static_cast<std::size_t>(k);
    const float powerLawIndex = port->PowerLawIndex;
    const float H = geo.MeanChannelDepth;
    const float film = ProfileFilm[kk];
    const float pool = (1 - ProfileUnmelted[kk]) * H - film;
    const float poolFactor = single(std::pow(static_cast<double>(pool), static_cast<double>(1 - powerLawIndex)) * ViscosityShift);
    const float filmShear = body.flowTerm / film;
    const float filmFactor =
        single(std::pow(static_cast<double>(filmShear), static_cast<double>(powerLawIndex - 1)) * ViscosityShift);
    const float poolTerm = (body.dragTerm - body.flowTerm) * poolFactor / pool;
    const float filmTerm = filmShear * filmFactor;
    const float gradient = 2 * (poolTerm - filmTerm) / (2 * H - pool);
    requireFinite(gradient, i);
    return gradient;
}

// Phase "M": step through the element from profile point to profile point,
// then set the starvation point and fills from the pressures at its ends.
void CoreRun::meltPhaseBody(int i, int& loopIndex, const BackwardElement& body) {
    records::ElementRecord& e = element(i);
    const float q = PortThroughput[static_cast<std::size_t>(e.PortIndex)];
    const int tips = e.Tips;
    const float step = body.subStepLength;
    const bool portRegion = e.inPortRegion();

    float x = (ProfilePosition[static_cast<std::size_t>(ProfileCursor)] - e.SegmentStart) / step;
    if (x > static_cast<float>(ProfileCursor)) x = static_cast<float>(ProfileCursor);
    if (std::isnan(x)) halt(CoreStop::NoSoundValue, i);
    // Far upstream of the element walks nothing, as any count below 1 does.
    const int subSteps = x < -32768.0f ? 0 : roundToInt16(x, i);

    for (int s = subSteps; s >= 1 && ProfileCursor >= 1; --s) {
        const int k = ProfileCursor;
        const auto kk = static_cast<std::size_t>(k);
        // A step that starts in the element before is walked there, so that
        // its starvation point lies inside the element that reports it; one
        // that starts a rounding before this element starts at its start.
        const float stepStart = ProfilePosition[kk - 1] - e.SegmentStart;
        if (!reaches(stepStart, 0.0f)) break;
        const float distance = std::max(stepStart, 0.0f);
        if (portRegion) {
            ProfilePressure[kk - 1] = 0;
        } else {
            const float G = meltGradient(k, body, i);
            const float P = ProfilePressure[kk];
            float next;
            if (body.kneading) {
                next = P - (G / ViscosityScale) * step;
            } else {
                next = single(static_cast<double>(P) - static_cast<double>((G / ViscosityScale) * step) /
                                                           std::sin(static_cast<double>(body.helixAngle)));
            }
            requireFinite(next, i);
            if (P > 0 && next <= 0) {
                // The pressure falls to zero within this sub-step: the starvation point.
                ProfilePressure[kk - 1] = 0;
                UpstreamFilledElement = i;
                setPartlyFilled(i, distance, partialFill(i, tips, q, body.kneading), 1.0f);
            } else if (P <= 0 && next < 0) {
                ProfilePressure[kk - 1] = 0;
            } else if (!body.kneading && P <= 0 && next > 0 && e.StarvationPoint == e.SegmentLength) {
                // A conveying element starved to its end builds no pressure
                // again; a kneading block does.
                ProfilePressure[kk - 1] = 0;
            } else if (next > 0) {
                ProfilePressure[kk - 1] = next;
                UpstreamFilledElement = i;
                if (distance < entryStarvation(i)) {
                    // The channel is full from here on.
                    entryStarvation(i) = distance;
                    e.StarvationPoint = distance;
                    e.FillRight = 1.0f;
                }
            }
        }
        LeftEndPressure = ProfilePressure[kk - 1];
        ProfileCursor = k - 1;
        if (ProfileCursor == 0) {
            phase = Phase::Solids;
            ProfilePressure[0] = 0;
            LeftEndPressure = 0;
        }
    }

    // End of the element.
    if (portRegion) {
        e.StarvationPoint = e.SegmentLength;
        entryStarvation(i) = e.SegmentLength;
        if (e.Hand == -1) e.FillRight = kPortMarkFill;
        if (RightEndPressure > 0) e.FillRight = kPortMarkFill;
        e.FillLeft = e.FillRight;
        LeftEndPressure = 0;
    } else if (RightEndPressure == 0 && LeftEndPressure == 0) {
        // No pressure at either end: partly filled throughout.
        const float fill = partialFill(i, tips, q, body.kneading);
        setPartlyFilled(i, e.SegmentLength, fill, fill);
    } else if (RightEndPressure > 0 && LeftEndPressure > 0) {
        // Pressurised throughout.
        setFilled(i);
    }

    // The next element upstream ends at the pressure where this one begins.
    // When the profile's first point lies in this element, its upstream part
    // conveys solids: visit it once more, in phase "S". A walk that starts at
    // the profile's first point switches phase here, as no sub-step did.
    RightEndPressure = LeftEndPressure;
    if (ProfileCursor == 0) {
        phase = Phase::Solids;
        ++loopIndex;
    }
}

// Phase "S": the fill of the solids that the element conveys by friction.
void CoreRun::solidsPhaseBody(int i, const BackwardElement& body) {
    records::ElementRecord& e = element(i);
    const float q = PortThroughput[static_cast<std::size_t>(e.PortIndex)];
    const int tips = e.Tips;
    const float helixAngle = body.helixAngle;
    const double sinHelix = std::sin(static_cast<double>(helixAngle));

    if (i < UpstreamFilledElement) {
        e.StarvationPoint = e.SegmentLength;
        entryStarvation(i) = e.SegmentLength;
    }

    const float frictionRatio = ScrewFriction / BarrelFriction;
    if (!(frictionRatio > 0.0f && frictionRatio <= 1.0f)) halt(CoreStop::BadFriction, i);

    const float frictionAngle = single(std::atan(static_cast<double>(ScrewFriction)));
    const float conveyingAngle = single(kPi / 2.0 - frictionAngle - helixAngle);
    const float conveyingFactor = single(std::sin(static_cast<double>(conveyingAngle)) * sinHelix /
                                         std::sin(static_cast<double>(conveyingAngle + helixAngle)));
    const auto channels = static_cast<float>(2 * tips - 1);
    const float solidArea = geo.FreeArea - channels * geo.ChannelArea;
    const float capacity = body.kneading ? BulkDensityRatio * solidArea * channels * conveyingFactor
                                         : solidArea * BulkDensityRatio * channels * conveyingFactor;

    const double ratio = frictionRatio;
    float limitAngle = single(std::atan(std::sqrt(1.0 - ratio * ratio) / ratio) - helixAngle);
    if (limitAngle < 0) limitAngle = single(std::atan(std::sqrt(1.0 - 0.85 * 0.85) / 0.85) - helixAngle);
    const float limitFactor = single(std::sin(static_cast<double>(limitAngle)) * sinHelix /
                                     std::sin(static_cast<double>(limitAngle + helixAngle)));

    float fill;
    if (!body.kneading) {
        if (capacity >= q) {
            fill = q / (geo.FreeArea * BulkDensityRatio * conveyingFactor);
        } else {
            // The throughput above the friction capacity is conveyed at the limit angle.
            fill = capacity / (geo.FreeArea * BulkDensityRatio * conveyingFactor) +
                   (q - capacity) / (geo.FreeArea * BulkDensityRatio * limitFactor);
        }
    } else {
        // A kneading block averages the friction fill with the table's fill.
        const float conveyingCapacity = BulkDensityRatio * geo.FreeArea * conveyingFactor;
        const float tableCapacity = e.TableValue2;
        if (tableCapacity == 0.0f || !std::isfinite(tableCapacity)) halt(CoreStop::BadCapacity, i);
        const float tableFill = q / tableCapacity;
        if (capacity >= q) {
            fill = (q / conveyingCapacity + tableFill) / 2;
        } else {
            const float limitCapacity = BulkDensityRatio * geo.FreeArea * limitFactor;
            fill = (capacity / conveyingCapacity + (q - capacity) / limitCapacity + tableFill) / 2;
        }
    }
    requireFinite(fill, i);
    const float fillRight = i < UpstreamFilledElement ? fill : e.FillRight;
    if (!e.inPortRegion()) {
        // Partly filled up to the starvation point the walk left, or filled
        // throughout, by the melt phase's rule.
        setPartlyFilled(i, e.StarvationPoint, fill, fillRight);
        return;
    }
    // Under an opening the channel carries no pressure: a fill outside 0 to 1
    // is a full channel there, and the marks apply as in the melt phase.
    e.FillLeft = isChannelShare(fill) ? fill : 1.0f;
    if (i < UpstreamFilledElement) e.FillRight = e.FillLeft;
    if (e.Hand == -1) e.FillRight = kPortMarkFill;
    if (element(i + 1).FillLeft >= 1.0f) e.FillRight = kPortMarkFill;
    e.FillLeft = e.FillRight;
}

}  // namespace sim::core
