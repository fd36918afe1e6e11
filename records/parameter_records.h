#pragma once
// Process parameter records: the parameter file (*.prm) holds a header, the
// solids block, the melting block and one port record per feed port; the same
// four types stand again in every result file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/layout.h"
#include "records/markers.h"
#include "records/packed.h"

namespace records {

// First record of a parameter file (marker Chr(6)). Inside a result file it
// holds the run conditions, including where melting ended and the throughput.
struct ParameterFileHeader {
    FixedText<1> Marker;
    FixedText<8> Code;              // extruder code the parameters were made for
    std::int16_t Reserved1 = 0;     // not set by the wizard
    float ScrewSpeed = 0;           // RPM
    float DiePressure = 0;          // MPa; 0 = not given, computed by the calculation
    std::int16_t MeltEndElement = 0;  // result file: element index where melting ends
    float Reserved2 = 0;            // not set by the wizard
    float TotalThroughput = 0;      // result file: kg/hr

    static constexpr std::size_t kSize = 29;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&ParameterFileHeader::Marker);
        f(&ParameterFileHeader::Code);
        f(&ParameterFileHeader::Reserved1);
        f(&ParameterFileHeader::ScrewSpeed);
        f(&ParameterFileHeader::DiePressure);
        f(&ParameterFileHeader::MeltEndElement);
        f(&ParameterFileHeader::Reserved2);
        f(&ParameterFileHeader::TotalThroughput);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const ParameterFileHeader&) const = default;
};

// Ten solids properties.
struct SolidsBlock {
    float BulkDensity = 0;          // g/cm^3
    float HeatCapacity = 0;         // KJ/Kg-K
    float ThermalConductivity = 0;  // W/m-K
    float BarrelFriction = 0;       // friction coefficient at the barrel surface
    float ScrewFriction = 0;        // friction coefficient at the screw surface
    float BarrelHtc = 0;            // heat transfer coefficient at the barrel, W/m^2-K
    float ScrewHtc = 0;             // heat transfer coefficient at the screw, W/m^2-K
    float BarrelTemperature = 0;    // C
    float ScrewTemperature = 0;     // C
    float FeedTemperature = 0;      // solid feed temperature, C

    static constexpr std::size_t kSize = 40;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&SolidsBlock::BulkDensity);
        f(&SolidsBlock::HeatCapacity);
        f(&SolidsBlock::ThermalConductivity);
        f(&SolidsBlock::BarrelFriction);
        f(&SolidsBlock::ScrewFriction);
        f(&SolidsBlock::BarrelHtc);
        f(&SolidsBlock::ScrewHtc);
        f(&SolidsBlock::BarrelTemperature);
        f(&SolidsBlock::ScrewTemperature);
        f(&SolidsBlock::FeedTemperature);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const SolidsBlock&) const = default;
};

// Four melting properties.
struct MeltingBlock {
    float Density = 0;             // density of the solid in the melting region, g/cc
    float HeatCapacity = 0;        // KJ/Kg-K
    float MeltingTemperature = 0;  // C
    float HeatOfFusion = 0;        // J/g

    static constexpr std::size_t kSize = 16;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&MeltingBlock::Density);
        f(&MeltingBlock::HeatCapacity);
        f(&MeltingBlock::MeltingTemperature);
        f(&MeltingBlock::HeatOfFusion);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const MeltingBlock&) const = default;
};

// The melt stream of one feed port. Viscosity follows the power law with
// consistency m0 and index n, shifted by exp(-b (T - Tref)).
struct PortRecord {
    float FlowRate = 0;              // kg/hr
    float ViscositySensitivity = 0;  // b, 1/C
    float ReferenceTemperature = 0;  // Tref, C
    float Consistency = 0;           // m0, KPa-S^n
    float PowerLawIndex = 0;         // n
    float Density = 0;               // g/cm^3
    float HeatCapacity = 0;          // KJ/Kg-K
    float BarrelHtc = 0;             // W/m^2-K
    float ScrewHtc = 0;              // W/m^2-K
    float BarrelTemperature = 0;     // C
    float ScrewTemperature = 0;      // C

    static constexpr std::size_t kSize = 44;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&PortRecord::FlowRate);
        f(&PortRecord::ViscositySensitivity);
        f(&PortRecord::ReferenceTemperature);
        f(&PortRecord::Consistency);
        f(&PortRecord::PowerLawIndex);
        f(&PortRecord::Density);
        f(&PortRecord::HeatCapacity);
        f(&PortRecord::BarrelHtc);
        f(&PortRecord::ScrewHtc);
        f(&PortRecord::BarrelTemperature);
        f(&PortRecord::ScrewTemperature);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const PortRecord&) const = default;
};

static_assert(layout::packedSize<ParameterFileHeader>() == ParameterFileHeader::kSize);
static_assert(layout::packedSize<SolidsBlock>() == SolidsBlock::kSize);
static_assert(layout::packedSize<MeltingBlock>() == MeltingBlock::kSize);
static_assert(layout::packedSize<PortRecord>() == PortRecord::kSize);

// ---------------------------------------------------------------------------
// temp/Calc1.tmp: a record file of 128-byte records, one value at the start of
// each record. A text value is a 2-byte length and that many characters, so at
// most 126 characters fit.

inline constexpr std::size_t kCalc1RecordLength = 128;
inline constexpr std::size_t kCalc1MaxText = kCalc1RecordLength - 2;

// One 128-byte record holding a value; the rest of the record is zero bytes.
std::vector<std::uint8_t> calc1SingleRecord(float v);
std::vector<std::uint8_t> calc1IntegerRecord(std::int16_t v);
// Raises rt::Error kBadRecordLength for a text that does not fit the record,
// rather than writing a value the reader would take apart differently.
std::vector<std::uint8_t> calc1TextRecord(const std::string& text);

float calc1Single(const std::vector<std::uint8_t>& record);
std::int16_t calc1Integer(const std::vector<std::uint8_t>& record);
// Raises rt::Error kBadRecordLength when the stored length does not fit the
// record, kInputPastEndOfFile when the record is shorter than its text.
std::string calc1Text(const std::vector<std::uint8_t>& record);

// The nine values that the wizard hands to the calculation, in record order.
struct Calc1Values {
    float ScrewRadius = 0;      // mm
    float CenterlineRatio = 0;  // CL/R of the first screw element
    std::int16_t TipCount = 0;
    std::int16_t PortCount = 0;
    float EndZoneLength = 0;    // radius units
    std::string ParameterFile;
    std::string ExtruderFile;
    std::string ExtruderCategory;
    std::string DieFile;        // "" when the extruder has no die

    static constexpr int kRecordCount = 9;
    // Records 1..9, each kCalc1RecordLength bytes.
    std::vector<std::vector<std::uint8_t>> toRecords() const;
    static Calc1Values fromRecords(const std::vector<std::vector<std::uint8_t>>& records);
    bool operator==(const Calc1Values&) const = default;
};

}  // namespace records
