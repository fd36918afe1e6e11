#pragma once
// Analysis records: the flat list of screw element parts that the extruder
// analysis hands to the calculation (temp/Analysis.TMP, temp/DiffElem.TMP) and
// the header of the analysis hand-over (temp/Calc2.TMP), of the flow work file
// and of every result file. Lengths and positions in radius units.
#include <cstddef>
#include <cstdint>

#include "records/design_records.h"
#include "records/layout.h"
#include "records/markers.h"
#include "records/packed.h"
#include "records/parameter_records.h"

namespace records {

// Region codes of analysed parts and element rows.
inline constexpr std::int16_t kClosedRegion = 0;
inline constexpr std::int16_t kHopperRegion = 11;
inline constexpr std::int16_t kOtherPortRegion = 12;
inline constexpr std::int16_t kEndZoneRegion = 2;  // set by the calculation
inline constexpr std::int16_t kDieRegion = 3;      // set by the calculation

// Kind letters that the calculation adds to its element rows.
inline constexpr char kEndZoneKind = 'p';
inline constexpr char kDieKind = 'd';

// One analysed part of one screw element. The first eight fields are the
// screw record's own fields (its length left out); positions and tags follow.
struct AnalysisRecord {
    FixedText<16> Code;
    FixedText<1> Kind;               // "s" conveying, "k" kneading ("p", "d" in element rows)
    float CenterlineRatio = 0;       // CL/R
    std::int16_t Tips = 0;
    std::int16_t Hand = 0;           // -1 left-handed
    float HelixAngle = 0;            // radians
    std::int16_t Disks = 0;          // -999 for a conveying element
    float StaggerAngle = 0;          // degrees, -999 for a conveying element
    float SegmentStart = 0;          // from the upstream edge of the first hopper's region
    float SegmentLength = 0;         // length of this part
    float ElementLength = 0;         // length of the whole element
    std::int16_t RegionCode = 0;     // kClosedRegion, kHopperRegion, kOtherPortRegion, ...
    std::int16_t PortIndex = 0;      // 1-based feed port

    static constexpr std::size_t kSize = 51;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&AnalysisRecord::Code);
        f(&AnalysisRecord::Kind);
        f(&AnalysisRecord::CenterlineRatio);
        f(&AnalysisRecord::Tips);
        f(&AnalysisRecord::Hand);
        f(&AnalysisRecord::HelixAngle);
        f(&AnalysisRecord::Disks);
        f(&AnalysisRecord::StaggerAngle);
        f(&AnalysisRecord::SegmentStart);
        f(&AnalysisRecord::SegmentLength);
        f(&AnalysisRecord::ElementLength);
        f(&AnalysisRecord::RegionCode);
        f(&AnalysisRecord::PortIndex);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const AnalysisRecord&) const = default;

    char kind() const { return Kind[0]; }
    // Under a barrel opening: a hopper's region or another port's.
    bool inPortRegion() const { return RegionCode == kHopperRegion || RegionCode == kOtherPortRegion; }
    // The end zone or the die, the rows the calculation adds after the screw.
    bool isEndRow() const { return kind() == kEndZoneKind || kind() == kDieKind; }
};

// Header of the analysis hand-over, the flow work file and the result file
// (marker Chr(5)).
struct AnalysisHeader {
    FixedText<8> Code;
    FixedText<1> Marker;
    FixedText<64> ExtruderFile;
    std::int16_t PortCount = 0;
    std::int16_t ElementCount = 0;       // element rows of the calculation
    ExtHeader ExtruderHeader;            // copy in the analysis's coordinates
    ParameterFileHeader RunConditions;   // zero until the calculation fills it

    static constexpr std::size_t kSize = 327;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&AnalysisHeader::Code);
        f(&AnalysisHeader::Marker);
        f(&AnalysisHeader::ExtruderFile);
        f(&AnalysisHeader::PortCount);
        f(&AnalysisHeader::ElementCount);
        f(&AnalysisHeader::ExtruderHeader);
        f(&AnalysisHeader::RunConditions);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const AnalysisHeader&) const = default;
};

static_assert(layout::packedSize<AnalysisRecord>() == AnalysisRecord::kSize);
static_assert(layout::packedSize<AnalysisHeader>() == AnalysisHeader::kSize);

}  // namespace records
