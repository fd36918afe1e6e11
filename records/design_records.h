#pragma once
// Element and design records: the element database of an extruder code
// (screw elements, kneading-disk blocks, barrel blocks), the designed screw,
// barrel and die, and the header of an assembled extruder file.
//
// Element, barrel and die files hold lengths in mm. Screw files and the screw
// and barrel parts of an extruder file hold lengths divided by a screw radius
// ("radius units"). Helix angles are radians, stagger angles degrees.
#include <cstddef>
#include <cstdint>

#include "records/layout.h"
#include "records/markers.h"
#include "records/packed.h"

namespace records {

// Hand field of element, screw and analysis records.
inline constexpr std::int16_t kRightHanded = 1;
inline constexpr std::int16_t kLeftHanded = -1;

// A screw conveying element of the element database (screwgeo/<code>.gs).
struct ScrewGeoRec {
    FixedText<16> Code;              // element code, upper case
    float Diameter = 0;              // screw diameter D, mm
    float CenterlineDistance = 0;    // distance between the two screw axes, mm
    std::int16_t Tips = 0;           // number of tips (flights)
    float Lead = 0;                  // mm
    float Length = 0;                // element length, mm
    std::int16_t Hand = 0;           // 1 right, -1 left, 0 never accepted

    static constexpr std::size_t kSize = 36;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&ScrewGeoRec::Code);
        f(&ScrewGeoRec::Diameter);
        f(&ScrewGeoRec::CenterlineDistance);
        f(&ScrewGeoRec::Tips);
        f(&ScrewGeoRec::Lead);
        f(&ScrewGeoRec::Length);
        f(&ScrewGeoRec::Hand);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const ScrewGeoRec&) const = default;
};

// A kneading-disk block of the element database (kneadgeo/<code>.gk).
struct KneadGeoRec {
    FixedText<16> Code;              // element code, upper case
    float Diameter = 0;              // screw diameter D, mm
    float CenterlineDistance = 0;    // mm
    std::int16_t Tips = 0;
    float StaggerAngle = 0;          // between successive disks, degrees
    float Length = 0;                // block length, mm
    std::int16_t Disks = 0;          // number of disks
    std::int16_t Hand = 0;

    static constexpr std::size_t kSize = 38;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&KneadGeoRec::Code);
        f(&KneadGeoRec::Diameter);
        f(&KneadGeoRec::CenterlineDistance);
        f(&KneadGeoRec::Tips);
        f(&KneadGeoRec::StaggerAngle);
        f(&KneadGeoRec::Length);
        f(&KneadGeoRec::Disks);
        f(&KneadGeoRec::Hand);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const KneadGeoRec&) const = default;
};

// Block types of a barrel record.
inline constexpr char kHopperBlock = 'H';
inline constexpr char kPlaneBlock = 'P';
inline constexpr char kVentBlock = 'V';
inline constexpr char kDieBlock = 'D';

// One record type in four roles. The field names are those of a barrel block
// (element file and barrel file, mm); the accessors name the other roles:
//
//   field              header of a barrel file   block in an extruder   die in an extruder
//   Code               extruder code             block code             15 zero bytes
//   BoreDiameter       screw diameter D, mm      bore / R               entrance diameter / R
//   CenterlineSpacing  hopper count (Single)     spacing / R            capillary diameter / R
//   Type               marker Chr(2)             block type             "D"
//   Length             total barrel length, mm   length / R             total die length / R
//   OpeningWidth       vent count (Single)       width / R              capillary zone length / R
//   OpeningLocation    block count N (Single)    location / R           number of holes (Single)
//
// The header keeps its mm values and counts unchanged inside an extruder file.
struct BarrelRec {
    FixedText<15> Code;              // block code, upper case
    float BoreDiameter = 0;          // mm
    float CenterlineSpacing = 0;     // mm
    FixedText<1> Type;               // "H" hopper, "P" plane, "V" vent, "D" die
    float Length = 0;                // block length, mm
    float OpeningWidth = 0;          // mm
    float OpeningLocation = 0;       // block start to opening centre, mm

    static constexpr std::size_t kSize = 36;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&BarrelRec::Code);
        f(&BarrelRec::BoreDiameter);
        f(&BarrelRec::CenterlineSpacing);
        f(&BarrelRec::Type);
        f(&BarrelRec::Length);
        f(&BarrelRec::OpeningWidth);
        f(&BarrelRec::OpeningLocation);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const BarrelRec&) const = default;

    char blockType() const { return Type[0]; }

    // Header role (record 1 of a barrel file).
    float& headerScrewDiameter() { return BoreDiameter; }
    float headerScrewDiameter() const { return BoreDiameter; }
    float& headerHopperCount() { return CenterlineSpacing; }
    float headerHopperCount() const { return CenterlineSpacing; }
    float& headerTotalLength() { return Length; }
    float headerTotalLength() const { return Length; }
    float& headerVentCount() { return OpeningWidth; }
    float headerVentCount() const { return OpeningWidth; }
    float& headerBlockCount() { return OpeningLocation; }
    float headerBlockCount() const { return OpeningLocation; }

    // Die role (last barrel record of an extruder file, type "D").
    float& dieEntranceDiameter() { return BoreDiameter; }
    float dieEntranceDiameter() const { return BoreDiameter; }
    float& dieCapillaryDiameter() { return CenterlineSpacing; }
    float dieCapillaryDiameter() const { return CenterlineSpacing; }
    float& dieTotalLength() { return Length; }
    float dieTotalLength() const { return Length; }
    float& dieCapillaryZoneLength() { return OpeningWidth; }
    float dieCapillaryZoneLength() const { return OpeningWidth; }
    float& dieHoles() { return OpeningLocation; }
    float dieHoles() const { return OpeningLocation; }

    // The block with its five Single fields divided by the screw radius, as
    // a block stands in an extruder file.
    BarrelRec inRadiusUnits(float radius) const {
        BarrelRec b = *this;
        b.BoreDiameter = BoreDiameter / radius;
        b.CenterlineSpacing = CenterlineSpacing / radius;
        b.Length = Length / radius;
        b.OpeningWidth = OpeningWidth / radius;
        b.OpeningLocation = OpeningLocation / radius;
        return b;
    }
};

// Kind letters of a screw record.
inline constexpr char kConveyingKind = 's';
inline constexpr char kKneadingKind = 'k';
inline constexpr char kRootKind = 'r';
inline constexpr char kHeadKind = 'h';

// Disks and stagger of a conveying element, stagger of a screw header.
inline constexpr std::int16_t kNoDisks = -999;
inline constexpr float kNoStagger = -999.0f;

// One record of a screw (screw file, screw part of extruder and result files).
// Lengths in radius units; R and D of an element are those of its own library
// record.
//
//   field            element "s"/"k"          header (marker Chr(1))
//   Code             element code             extruder code
//   CenterlineRatio  centre-line / R          screw diameter D, mm
//   Tips             tips                     N, number of elements
//   Hand             1 right, -1 left         number of elements of kind "s"
//   Length           length / R               sum of the elements' L/R
//   HelixAngle       radians ("k": 0)         left-handed count (Single)
//   Disks            "s": -999, "k": disks    number of elements not "s"
//   StaggerAngle     "s": -999, "k": degrees  -999
//
// Root: "Screw Root", "r", L/R 3.0; head: "Screw Head", "h", L/R 0.577; all
// their other numbers zero.
struct ScrewRec {
    FixedText<16> Code;
    FixedText<1> Kind;
    float CenterlineRatio = 0;
    std::int16_t Tips = 0;
    std::int16_t Hand = 0;
    float Length = 0;
    float HelixAngle = 0;
    std::int16_t Disks = 0;
    float StaggerAngle = 0;

    static constexpr std::size_t kSize = 39;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&ScrewRec::Code);
        f(&ScrewRec::Kind);
        f(&ScrewRec::CenterlineRatio);
        f(&ScrewRec::Tips);
        f(&ScrewRec::Hand);
        f(&ScrewRec::Length);
        f(&ScrewRec::HelixAngle);
        f(&ScrewRec::Disks);
        f(&ScrewRec::StaggerAngle);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const ScrewRec&) const = default;

    char kind() const { return Kind[0]; }

    // Header role (record 1 of a screw file).
    float& headerScrewDiameter() { return CenterlineRatio; }
    float headerScrewDiameter() const { return CenterlineRatio; }
    std::int16_t& headerElementCount() { return Tips; }
    std::int16_t headerElementCount() const { return Tips; }
    std::int16_t& headerConveyingCount() { return Hand; }
    std::int16_t headerConveyingCount() const { return Hand; }
    float& headerTotalLength() { return Length; }
    float headerTotalLength() const { return Length; }
    float& headerLeftHandedCount() { return HelixAngle; }
    float headerLeftHandedCount() const { return HelixAngle; }
    std::int16_t& headerKneadingCount() { return Disks; }
    std::int16_t headerKneadingCount() const { return Disks; }
};

// The one record of a die file (lengths in mm).
struct DieRec {
    FixedText<8> Code;               // extruder code
    FixedText<1> Marker;             // Chr(3)
    float EntranceDiameter = 0;
    float CapillaryDiameter = 0;     // exit diameter of the die channel
    float CapillaryZoneLength = 0;   // zone that ends at the die exit, part of the total length
    float TotalLength = 0;           // axial length of the die
    std::int16_t Holes = 0;

    static constexpr std::size_t kSize = 27;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&DieRec::Code);
        f(&DieRec::Marker);
        f(&DieRec::EntranceDiameter);
        f(&DieRec::CapillaryDiameter);
        f(&DieRec::CapillaryZoneLength);
        f(&DieRec::TotalLength);
        f(&DieRec::Holes);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const DieRec&) const = default;
};

// First record of an extruder file (marker Chr(4)). The paths are cut to 64
// characters; offsets and lengths are in radius units.
struct ExtHeader {
    FixedText<8> Code;
    FixedText<1> Marker;
    FixedText<64> ScrewFile;
    FixedText<64> BarrelFile;
    FixedText<64> DieFile;           // blank when the extruder has no die
    std::int16_t ScrewCount = 0;     // nS: ScrewRec records after the header
    std::int16_t BarrelCount = 0;    // nB: BarrelRec records after them, die included
    float ScrewOffset = 0;
    float Gap = 0;
    float BarrelOverhang = 0;
    float TotalLength = 0;

    static constexpr std::size_t kSize = 221;
    template <class F>
    static constexpr void layout(F&& f) {
        f(&ExtHeader::Code);
        f(&ExtHeader::Marker);
        f(&ExtHeader::ScrewFile);
        f(&ExtHeader::BarrelFile);
        f(&ExtHeader::DieFile);
        f(&ExtHeader::ScrewCount);
        f(&ExtHeader::BarrelCount);
        f(&ExtHeader::ScrewOffset);
        f(&ExtHeader::Gap);
        f(&ExtHeader::BarrelOverhang);
        f(&ExtHeader::TotalLength);
    }
    void write(PackWriter& w) const { layout::writeFields(*this, w); }
    void read(PackReader& r) { layout::readFields(*this, r); }
    bool operator==(const ExtHeader&) const = default;
};

static_assert(layout::packedSize<ScrewGeoRec>() == ScrewGeoRec::kSize);
static_assert(layout::packedSize<KneadGeoRec>() == KneadGeoRec::kSize);
static_assert(layout::packedSize<BarrelRec>() == BarrelRec::kSize);
static_assert(layout::packedSize<ScrewRec>() == ScrewRec::kSize);
static_assert(layout::packedSize<DieRec>() == DieRec::kSize);
static_assert(layout::packedSize<ExtHeader>() == ExtHeader::kSize);

}  // namespace records
