#pragma once
// Records that exist only in results: the element rows of a calculation, the
// run state of the melting region and the melting profile.
#include <cstddef>
#include <cstdint>

#include "records/analysis_records.h"
#include "records/layout.h"
#include "records/packed.h"

namespace records {

// The fill that marks a port-region element held under pressure or
// left-handed; not a physical fill.
inline constexpr float kPortMarkFill = 1.2f;

// One element row of a calculation and of a result file: the analysed
// segment followed by 17 results. Positions along the segment in radius units,
// pressure MPa, temperature C, residence time minutes, power kW.
struct ElementRecord : AnalysisRecord {
    float StarvationPoint = 0;     // segment start to the starvation point
    float FillLeft = 0;            // fill of the starved part
    float FillRight = 0;           // fill from the starvation point to the end
    float PressureStart = 0;
    float PressureStarvation = 0;
    float PressureEnd = 0;
    float TempStart = 0;
    float TempStarvation = 0;
    float TempEnd = 0;
    float TableValue1 = 0;         // pressure-gradient coefficient
    float TableValue2 = 0;         // drag capacity (first table row)
    float ResTimeStart = 0;
    float ResTimeStarvation = 0;
    float ResTimeEnd = 0;
    float PowerStart = 0;          // cumulative from the first segment
    float PowerStarvation = 0;
    float PowerEnd = 0;

    // The share of the channel left of the starvation point that holds
    // material: FillLeft, at most 1. A port region stores its fill uncapped,
    // or the mark 1.2, for the fill strip; no channel holds more than itself.
    float heldFill() const { return FillLeft < 1.0f ? FillLeft : 1.0f; }

    static constexpr std::size_t kSize = 119;
    template <class F>
    static constexpr void layout(F&& f) {
        AnalysisRecord::layout(f);
        f(&ElementRecord::StarvationPoint);
        f(&ElementRecord::FillLeft);
        f(&ElementRecord::FillRight);
        f(&ElementRecord::PressureStart);
        f(&ElementRecord::PressureStarvation);
        f(&ElementRecord::PressureEnd);
        f(&ElementRecord::TempStart);
        f(&ElementRecord::TempStarvation);
        f(&ElementRecord::TempEnd);
        f(&ElementRecord::TableValue1);
        f(&ElementRecord::TableValue2);
        f(&ElementRecord::ResTimeStart);
        f(&ElementRecord::ResTimeStarvation);
        f(&ElementRecord::ResTimeEnd);
        f(&ElementRecord::PowerStart);
        f(&ElementRecord::PowerStarvation);
        f(&ElementRecord::PowerEnd);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const ElementRecord&) const = default;
};

// Where the melting region lies in the element list, and how many profile
// rows follow it in a result file.
struct RunState {
    std::int16_t MeltStartElement = 0;   // 1-based row in which melting begins
    std::int16_t AuxElementIndex = 0;    // set by the simulation core, kept as written
    std::int16_t MeltEndElement = 0;     // row in which melting ends
    float MeltStartPosition = 0;         // from the start of MeltStartElement
    float MeltEndPosition = 0;           // from the start of MeltEndElement, never negative
    std::int16_t LastProfileRow = 0;     // profile rows are 0 .. LastProfileRow

    // Melting never started: the region is handed back as starting in the
    // end zone, the row after the screw's last, where it ends, with no
    // profile point past the first.
    bool meltingNeverStarted() const { return MeltStartElement == MeltEndElement + 1 && LastProfileRow == 0; }

    static constexpr std::size_t kSize = 16;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&RunState::MeltStartElement);
        f(&RunState::AuxElementIndex);
        f(&RunState::MeltEndElement);
        f(&RunState::MeltStartPosition);
        f(&RunState::MeltEndPosition);
        f(&RunState::LastProfileRow);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const RunState&) const = default;
};

// One point of the melting profile; row 0 at the start of melting.
struct MeltProfileRow {
    float AxialPosition = 0;       // radius units
    float SolidFraction = 0;       // unmelted
    float Pressure = 0;            // MPa
    float AverageTemperature = 0;  // C in a result; the core keeps the melt-film thickness here between calls
    float CumulativePower = 0;     // kW from the screw start
    float Spare = 0;               // written as found

    static constexpr std::size_t kSize = 24;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&MeltProfileRow::AxialPosition);
        f(&MeltProfileRow::SolidFraction);
        f(&MeltProfileRow::Pressure);
        f(&MeltProfileRow::AverageTemperature);
        f(&MeltProfileRow::CumulativePower);
        f(&MeltProfileRow::Spare);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const MeltProfileRow&) const = default;
};

static_assert(layout::packedSize<ElementRecord>() == ElementRecord::kSize);
static_assert(layout::packedSize<RunState>() == RunState::kSize);
static_assert(layout::packedSize<MeltProfileRow>() == MeltProfileRow::kSize);

}  // namespace records
