#pragma once
// Working data of one call of the simulation core, shared by its set-up, its
// backward pass (frame, conveying and kneading bodies) and its forward pass.
// Everything here lives for one call only.
#include <cmath>
#include <cstdint>
#include <vector>

#include "simulation/core.h"
#include "simulation/numerics.h"

namespace sim::core {

using sim::kPi;
using sim::atStart;
using sim::kTwoPi;
using sim::reaches;
using sim::samePoint;
using sim::single;
using records::kPortMarkFill;
// 16-bit indices of the run state and the profile.
inline constexpr int kMaxIndex = 32767;

// Leaves the call; SimulateFillAndMelting catches it and reports the reason.
struct Halt {
    CoreStop stop;
    int element;
};
[[noreturn]] inline void halt(CoreStop stop, int element) { throw Halt{stop, element}; }

inline void requireFinite(float v, int element) {
    if (!std::isfinite(v)) halt(CoreStop::NoSoundValue, element);
}

// CInt into a 16-bit integer: nearest whole number, halves to the even one.
// A value that is not a number, infinite or beyond 16 bits stops the call
// rather than being converted.
std::int16_t roundToInt16(float x, int element);

// The down-channel length of one of a conveying element's ten sub-steps.
inline float downChannelStep(float segmentLength, double helixSine) {
    return single(static_cast<double>(segmentLength) / (10 * helixSine));
}

enum class Phase { Melt, Solids };

// Per-visit quantities of an element in the backward pass; the conveying and
// kneading bodies differ only where `kneading` says so.
struct BackwardElement {
    bool kneading = false;
    float helixAngle = 0;     // the helix angle, or the equivalent one of a kneading block
    float dragTerm = 0;
    float flowTerm = 0;
    float subStepLength = 0;  // a tenth of the segment, or one disk width
};

// How the forward pass ended.
enum class ForwardEnd { DieRecord, MeltingComplete, RanOut };

class CoreRun {
public:
    CoreRun(float speedRps, float radius, int portCount, OneBasedList<records::ElementRecord>& elements,
            const records::SolidsBlock& solids, const records::MeltingBlock& melting,
            const OneBasedList<records::PortRecord>& ports, int elementCount, records::RunState& state,
            std::vector<records::MeltProfileRow>& profile, bool finalCall);

    // Runs the whole call; throws Halt or rt::Error when it must stop.
    void run();

    // ---- set-up and hand-back (core_setup.cpp)
    void checkArguments();
    void copyElements();
    void mixPorts();
    void copyMaterials();
    void copyPreviousProfile();
    void finalCallTemperatures(const std::vector<float>& heatedAt);
    void findFirstFilledElement();
    void startForwardPass();
    void dieRecordExit(int i);
    void meltingCompleteExit(int i, float x);
    void handBack();
    void handOver(const records::RunState& state, std::vector<records::MeltProfileRow> profile);

    // ---- backward pass (core_backward.cpp, core_kneading.cpp)
    void backwardPass();
    void loadBackwardPort(int i);
    void setBoundaryPressure(int i);
    void elementGeometry(int i);
    double helixSine(int i);
    BackwardElement conveyingQuantities(int i);
    BackwardElement kneadingQuantities(int i);
    void meltPhaseBody(int i, int& loopIndex, const BackwardElement& body);
    float meltGradient(int k, const BackwardElement& body, int i);
    void solidsPhaseBody(int i, const BackwardElement& body);
    float partialFill(int i, int tips, float q, bool kneading);
    void setFilled(int i);
    void setPartlyFilled(int i, float starvationPoint, float fillLeft, float fillRight);

    // ---- forward pass (core_forward.cpp, core_kneading.cpp)
    ForwardEnd forwardPass(int& endElement, float& endPosition);
    void loadForwardPort(int i);
    bool conveyingForward(int i, float& x);
    bool kneadingForward(int i, float& x);
    float surfaceTemperature(float z);
    void recordOnset(int i, float start, float segmentStart);
    bool isStarved(float x, float entryStarvation) const;
    bool forcedStart(int i, float x, float starvationPoint) const;
    void seedFilm();
    void growFilm(int i, float v, float step, bool starved, float fillLeft);
    void appendProfilePoint(float position, float unmelted, float film, int i);
    void elementEnd(int i);
    float temperatureAtStarvation(int i);

    // ---- element access, checked
    records::ElementRecord& element(int i) {
        if (i < 1 || i > elementCount_) halt(CoreStop::BadArguments, i);
        return elements_.items()[static_cast<std::size_t>(i - 1)];
    }
    float& entryStarvation(int i) {
        if (i < 1 || i > elementCount_) halt(CoreStop::BadArguments, i);
        return EntryStarvation[static_cast<std::size_t>(i)];
    }

    // ---- arguments
    float speedRps_;
    float radius_;
    int portCount_;
    OneBasedList<records::ElementRecord>& elements_;
    const records::SolidsBlock& solids_;
    const records::MeltingBlock& melting_;
    const OneBasedList<records::PortRecord>& ports_;
    int elementCount_;
    records::RunState& state_;
    std::vector<records::MeltProfileRow>& profile_;
    bool finalCall_;

    // ---- working data of the call (index 0 of the 1-based arrays unused)
    std::vector<float> EntryStarvation;
    std::vector<float> EntryGradient;
    std::vector<float> PortDensity;
    std::vector<float> PortThroughput;
    float MassFlow = 0;

    float SolidBulkDensity = 0, SolidHeatCapacity = 0, SolidConductivity = 0;
    float BarrelFriction = 0, ScrewFriction = 0;
    float SolidBarrelHtc = 0, SolidScrewHtc = 0;
    float SolidBarrelTemperature = 0, SolidScrewTemperature = 0, FeedTemperature = 0;
    float MeltRegionDensity = 0, MeltRegionHeatCapacity = 0, MeltingTemperature = 0, HeatOfFusion = 0;

    std::vector<float> ProfilePosition, ProfileUnmelted, ProfileFilm, ProfilePressure;
    int EntryProfileLast = 0;

    float MeltStartElement = 0;  // held in single precision, rounded at the hand-back
    float MeltStartPosition = 0;
    int FirstFilledElement = 0;
    int MeltEndElement = 0;
    float MeltEndPosition = 0;
    int ProfileLast = 0;
    int ProfileCapacity = 0;

    // Material terms of the loaded feed port.
    int CurrentPort = 0;
    const records::PortRecord* port = nullptr;
    float ViscosityShift = 0;
    float ViscosityScale = 0;

    ChannelGeometry geo;

    // ---- backward-pass state
    Phase phase = Phase::Melt;
    int ProfileCursor = 0;
    float BulkDensityRatio = 0;
    float CarriedPressure = 0;
    float RightEndPressure = 0;
    float LeftEndPressure = 0;
    int UpstreamFilledElement = 0;

    // ---- forward-pass state
    float SolidTemperature = 0;
    float SolidMeanTemperature = 0;
    float UnmeltedArea = 0;
    float PoolDepth = 0;
    float FilmThickness = 0;
    float FilmVelocity = 0;
    float MixedFilm = 0;
    float MeltingEnthalpy = 0, DissipationFactor = 0, DensityRatio = 0, MeltHeatScale = 0;
    float BarrelMeltFlux = 0, ScrewMeltFlux = 0, BiotNumber = 0, SolidHeatingRate = 0;
    float BarrelHeatGain = 0, ScrewHeatGain = 0;
};

}  // namespace sim::core
