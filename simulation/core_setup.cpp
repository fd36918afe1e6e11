// Entry, set-up, the exits of the forward pass and the hand-back of the
// simulation core.
#include <cmath>
#include <utility>

#include "simulation/core_internal.h"

namespace sim {

float ScrewSpeedRps = 0;
float SimScrewRadius = 0;
float CenterlineRatio = 0;

namespace core {

std::int16_t roundToInt16(float x, int element) {
    if (!std::isfinite(x)) halt(CoreStop::NoSoundValue, element);
    const float r = std::nearbyint(x);  // the default rounding mode: halves to even
    if (r < -32768.0f || r > 32767.0f) halt(CoreStop::NoSoundValue, element);
    return static_cast<std::int16_t>(r);
}

CoreRun::CoreRun(float speedRps, float radius, int portCount, OneBasedList<records::ElementRecord>& elements,
                 const records::SolidsBlock& solids, const records::MeltingBlock& melting,
                 const OneBasedList<records::PortRecord>& ports, int elementCount, records::RunState& state,
                 std::vector<records::MeltProfileRow>& profile, bool finalCall)
    : speedRps_(speedRps),
      radius_(radius),
      portCount_(portCount),
      elements_(elements),
      solids_(solids),
      melting_(melting),
      ports_(ports),
      elementCount_(elementCount),
      state_(state),
      profile_(profile),
      finalCall_(finalCall) {}

void CoreRun::run() {
    ScrewSpeedRps = speedRps_;
    SimScrewRadius = radius_;
    checkArguments();
    copyElements();
    mixPorts();
    copyMaterials();
    copyPreviousProfile();

    // The starvation points at which the element temperatures were computed.
    std::vector<float> heatedAt;
    if (finalCall_)
        for (int i = 1; i <= elementCount_; ++i) heatedAt.push_back(element(i).StarvationPoint);

    backwardPass();

    // The backward pass supplies the pressures of the previous call's profile.
    for (int k = 0; k <= EntryProfileLast; ++k) {
        profile_[static_cast<std::size_t>(k)].Pressure = ProfilePressure[static_cast<std::size_t>(k)];
    }

    if (finalCall_) {
        finalCallTemperatures(heatedAt);
        return;
    }

    findFirstFilledElement();
    startForwardPass();
    int endElement = 0;
    float endPosition = 0;
    switch (forwardPass(endElement, endPosition)) {
        case ForwardEnd::DieRecord:
            dieRecordExit(endElement);
            return;
        case ForwardEnd::MeltingComplete:
            meltingCompleteExit(endElement, endPosition);
            return;
        case ForwardEnd::RanOut:
            handBack();
            return;
    }
}

// What the core relies on of its caller, checked so that no index leaves the
// lists: the counts agree with the lists, and the run state points into them.
void CoreRun::checkArguments() {
    if (elementCount_ < 1 || elementCount_ > elements_.count()) halt(CoreStop::BadArguments, 0);
    if (portCount_ < 1 || portCount_ > ports_.count()) halt(CoreStop::BadArguments, 0);
    if (state_.LastProfileRow < 0 || state_.LastProfileRow >= static_cast<int>(profile_.size()))
        halt(CoreStop::BadArguments, 0);
    if (state_.MeltEndElement < 0 || state_.MeltEndElement > elementCount_)
        halt(CoreStop::BadArguments, state_.MeltEndElement);
}

void CoreRun::copyElements() {
    EntryStarvation.assign(static_cast<std::size_t>(elementCount_) + 1, 0.0f);
    EntryGradient.assign(static_cast<std::size_t>(elementCount_) + 1, 0.0f);
    for (int i = 1; i <= elementCount_; ++i) {
        const records::ElementRecord& e = element(i);
        EntryStarvation[static_cast<std::size_t>(i)] = e.StarvationPoint;
        EntryGradient[static_cast<std::size_t>(i)] = e.TableValue1;
    }
}

// The mixture fed through ports 1..j: its density (mass over volume) and its
// throughput made dimensionless by the volume the screw sweeps per second.
void CoreRun::mixPorts() {
    if (!(speedRps_ > 0.0f) || !std::isfinite(speedRps_) || !(radius_ > 0.0f) || !std::isfinite(radius_))
        halt(CoreStop::BadPortStream, 0);
    PortDensity.assign(static_cast<std::size_t>(portCount_) + 1, 0.0f);
    PortThroughput.assign(static_cast<std::size_t>(portCount_) + 1, 0.0f);
    float volumeFlow = 0;
    float massFlow = 0;
    const double radiusCubed = std::pow(static_cast<double>(radius_), 3);
    for (int j = 1; j <= portCount_; ++j) {
        const records::PortRecord& p = ports_.at(j);
        const auto jj = static_cast<std::size_t>(j);
        // A port that feeds nothing adds nothing, whatever its density.
        if (p.FlowRate != 0.0f) {
            if (!(p.Density > 0.0f)) halt(CoreStop::BadPortStream, 0);
            volumeFlow = volumeFlow + p.FlowRate / p.Density;
        }
        massFlow = massFlow + p.FlowRate;
        MassFlow = massFlow;
        if (!(volumeFlow > 0.0f)) halt(CoreStop::BadPortStream, 0);
        PortDensity[jj] = massFlow / volumeFlow;
        const double sweptVolume = 3.6 * kTwoPi * speedRps_ * radiusCubed * PortDensity[jj];
        PortThroughput[jj] = single(1000.0 * static_cast<double>(MassFlow) / sweptVolume);
        if (!(PortDensity[jj] > 0.0f) || !std::isfinite(PortDensity[jj]) || !std::isfinite(PortThroughput[jj]))
            halt(CoreStop::BadPortStream, 0);
    }
}

void CoreRun::copyMaterials() {
    SolidBulkDensity = solids_.BulkDensity;
    SolidHeatCapacity = solids_.HeatCapacity;
    SolidConductivity = solids_.ThermalConductivity;
    BarrelFriction = solids_.BarrelFriction;
    ScrewFriction = solids_.ScrewFriction;
    SolidBarrelHtc = solids_.BarrelHtc;
    SolidScrewHtc = solids_.ScrewHtc;
    SolidBarrelTemperature = solids_.BarrelTemperature;
    SolidScrewTemperature = solids_.ScrewTemperature;
    FeedTemperature = solids_.FeedTemperature;
    MeltRegionDensity = melting_.Density;
    MeltRegionHeatCapacity = melting_.HeatCapacity;
    MeltingTemperature = melting_.MeltingTemperature;
    HeatOfFusion = melting_.HeatOfFusion;
}

void CoreRun::copyPreviousProfile() {
    EntryProfileLast = state_.LastProfileRow;
    const auto rows = static_cast<std::size_t>(EntryProfileLast) + 1;
    ProfilePosition.assign(rows, 0.0f);
    ProfileUnmelted.assign(rows, 0.0f);
    ProfileFilm.assign(rows, 0.0f);
    ProfilePressure.assign(rows, 0.0f);
    for (std::size_t k = 0; k < rows; ++k) {
        ProfilePosition[k] = profile_[k].AxialPosition;
        ProfileUnmelted[k] = profile_[k].SolidFraction;
        ProfileFilm[k] = profile_[k].AverageTemperature;
    }
}

// The final call turns the film values of the profile into average
// temperatures: solid at the start temperature of the melt-start element,
// melt at the melting temperature.
//
// The backward pass of this call may have moved a starvation point after the
// last forward pass computed the row's temperatures at the old one: the row's
// starvation temperature is taken again where the point now lies. Where
// melting ended, the calculation balanced the row where it ended from the
// melt end on, and that row takes it by its own rule.
void CoreRun::finalCallTemperatures(const std::vector<float>& heatedAt) {
    const bool meltingEnded = !(profile_[static_cast<std::size_t>(EntryProfileLast)].SolidFraction > 0);
    for (int i = 1; i <= MeltEndElement && i <= elementCount_; ++i) {
        records::ElementRecord& e = element(i);
        if (samePoint(e.StarvationPoint, heatedAt[static_cast<std::size_t>(i - 1)])) continue;
        if (i == MeltEndElement && meltingEnded)
            e.TempStarvation = meltEndStarvationTemperature(e, MeltEndPosition);
        else
            e.TempStarvation = temperatureAtStarvation(i);
    }
    // Melting that completed before a recorded onset leaves no melt-start
    // element; the first element carries the feed temperature then.
    int start = state_.MeltStartElement;
    if (start < 1) start = 1;
    const float t0 = element(start).TempStart;
    std::vector<records::MeltProfileRow> profile = profile_;
    profile[0].AverageTemperature = t0;
    for (int k = 1; k <= EntryProfileLast; ++k) {
        records::MeltProfileRow& row = profile[static_cast<std::size_t>(k)];
        row.AverageTemperature = t0 * row.SolidFraction + MeltingTemperature * (1 - row.SolidFraction);
    }
    handOver(state_, std::move(profile));
}

void CoreRun::findFirstFilledElement() {
    FirstFilledElement = 1;
    for (int i = 1; i <= elementCount_; ++i) {
        const records::ElementRecord& e = element(i);
        if (e.StarvationPoint < e.SegmentLength) {
            FirstFilledElement = i;
            break;
        }
    }
}

void CoreRun::startForwardPass() {
    ProfileCapacity = 20;
    const auto rows = static_cast<std::size_t>(ProfileCapacity) + 1;
    ProfilePosition.assign(rows, 0.0f);
    ProfileUnmelted.assign(rows, 0.0f);
    ProfileFilm.assign(rows, 0.0f);
    ProfileLast = 0;
    ProfileUnmelted[0] = 1;
    CurrentPort = 0;
    port = nullptr;
    MeltStartElement = 0;
    MeltStartPosition = -1;
    MeltEndPosition = -1;
    element(1).TempStart = FeedTemperature;
    SolidTemperature = FeedTemperature;
    SolidMeanTemperature = FeedTemperature;
    UnmeltedArea = 1.0f;
    PoolDepth = 0;
    FilmThickness = 0;
    FilmVelocity = 0;
    MixedFilm = 0;
    if (FeedTemperature >= MeltingTemperature) {
        MeltStartElement = 1;
        MeltStartPosition = 0;
    }
}

// The forward pass reached the end-zone record i while solid was left. The
// melting region is handed back as ending in the last real element, at its
// end, so that the next backward pass starts inside the list and the melt-end
// position lies within that element's segment (the end zone's start is a
// position along the whole screw, not within the element).
void CoreRun::dieRecordExit(int i) {
    records::ElementRecord& endZone = element(i);
    if (i > 1) endZone.TempStart = element(i - 1).TempEnd;
    endZone.TempStarvation = endZone.TempStart;
    endZone.TempEnd = endZone.TempStart;

    int lastElement = i;
    float lastEnd = 0;
    if (i > 1) {
        lastElement = i - 1;
        lastEnd = element(i - 1).SegmentLength;
    }
    if (ProfileLast == 0) {
        std::vector<records::MeltProfileRow> profile = profile_;
        records::MeltProfileRow& row0 = profile[0];
        row0.AxialPosition = endZone.SegmentStart;
        row0.SolidFraction = 1;
        row0.Pressure = endZone.PressureStart;
        const auto index = static_cast<std::int16_t>(i);
        records::RunState state = state_;
        state.MeltStartElement = index;
        state.AuxElementIndex = index;
        state.MeltEndElement = static_cast<std::int16_t>(lastElement);
        state.MeltStartPosition = 0;
        state.MeltEndPosition = lastEnd;
        state.LastProfileRow = 0;
        handOver(state, std::move(profile));
        return;
    }
    // Melting started but did not complete before the end zone.
    MeltEndElement = lastElement;
    MeltEndPosition = lastEnd;
    handBack();
}

void CoreRun::meltingCompleteExit(int i, float x) {
    ProfileUnmelted[static_cast<std::size_t>(ProfileLast)] = 0;
    records::ElementRecord& e = element(i);
    if (samePoint(e.SegmentLength, x) && element(i + 1).kind() != records::kEndZoneKind) {
        MeltEndElement = i + 1;
        MeltEndPosition = 0;
    } else {
        MeltEndElement = i;
        MeltEndPosition = x;
    }
    e.TempStarvation = temperatureAtStarvation(i);
    handBack();
}

void CoreRun::handBack() {
    const std::int16_t meltStart = roundToInt16(MeltStartElement, 0);
    const auto rows = static_cast<std::size_t>(ProfileLast) + 1;
    std::vector<records::MeltProfileRow> profile(rows);
    for (std::size_t k = 0; k < rows; ++k) {
        profile[k].AxialPosition = ProfilePosition[k];
        profile[k].SolidFraction = ProfileUnmelted[k];
        profile[k].AverageTemperature = ProfileFilm[k];
    }
    records::RunState state = state_;
    state.MeltStartElement = meltStart;
    state.AuxElementIndex = static_cast<std::int16_t>(FirstFilledElement);
    state.MeltEndElement = static_cast<std::int16_t>(MeltEndElement);
    state.MeltStartPosition = MeltStartPosition;
    state.MeltEndPosition = MeltEndPosition;
    state.LastProfileRow = static_cast<std::int16_t>(ProfileLast);
    handOver(state, std::move(profile));
}

// Every call that finishes ends here, and nothing leaves the core that is not
// a finite number: a value without one in the run state, in the profile or in
// a field that the core writes in any row stops the call. The run state is
// then as it was at entry, and so is the profile but for its pressures, which
// the backward pass has already written.
void CoreRun::handOver(const records::RunState& state, std::vector<records::MeltProfileRow> profile) {
    for (int i = 1; i <= elementCount_; ++i) {
        const records::ElementRecord& e = element(i);
        for (float v : {e.StarvationPoint, e.FillLeft, e.FillRight, e.TempStart, e.TempStarvation, e.TempEnd})
            requireFinite(v, i);
    }
    requireFinite(state.MeltStartPosition, 0);
    requireFinite(state.MeltEndPosition, 0);
    for (const records::MeltProfileRow& row : profile) {
        for (float v : {row.AxialPosition, row.SolidFraction, row.Pressure, row.AverageTemperature})
            requireFinite(v, 0);
    }
    state_ = state;
    profile_ = std::move(profile);
}

}  // namespace core

CoreStatus SimulateFillAndMelting(const float& SpeedRps, const float& Radius, const std::int16_t& PortCount,
                                  OneBasedList<records::ElementRecord>& Elements,
                                  const records::SolidsBlock& Solids, const records::MeltingBlock& Melting,
                                  const OneBasedList<records::PortRecord>& Ports,
                                  const std::int16_t& ElementCount, records::RunState& State,
                                  std::vector<records::MeltProfileRow>& Profile, bool FinalCall) {
    CoreStatus status;
    try {
        core::CoreRun run(SpeedRps, Radius, PortCount, Elements, Solids, Melting, Ports, ElementCount, State,
                          Profile, FinalCall);
        run.run();
    } catch (const core::Halt& h) {
        status.stop = h.stop;
        status.element = static_cast<std::int16_t>(h.element);
    } catch (const rt::Error&) {
        status.stop = CoreStop::BadArguments;
    }
    return status;
}

}  // namespace sim
