#pragma once
// Extruder assembly: the checks of a chosen screw, barrel and die file, the
// barrel blocks and the die in screw-radius units, the table of barrel
// openings (hoppers and vents, the feed ports), the axial placement of the
// screw against the barrel, the extruder header, and the shift the fitting
// applies to that placement. No window, no file.
//
// Lengths are in units of the screw radius R unless named otherwise. Every
// value is a Single and every step is rounded to single precision in the
// order written, so a stored offset is reproducible bit for bit.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/design_files.h"
#include "records/design_records.h"

namespace design {

inline constexpr const char* kIncorrectFileFormat = "Incorrect file format!";

// ---- Checks of the chosen files ---------------------------------------------
// Each returns the message that refuses the file, or empty when it is
// accepted. A header code counts up to its field's first blank (the whole
// field when it holds none) and must equal the extruder code exactly.

// All records of a screw file; none for an empty file. Besides the code, the
// marker and at least three records, the header's element count must be the
// record count less 3 and its diameter above 0.
std::string screwFileFault(const std::vector<records::ScrewRec>& recs, const std::string& category);
// All records of a barrel file. Besides the code, the marker, at least one
// block and a hopper, the header's block count must be the record count less
// 1, and its hopper and vent counts must add up to the blocks of any type but
// "P". Counts too large for an Integer raise rt::kOverflow.
std::string barrelFileFault(const std::vector<records::BarrelRec>& recs, const std::string& category);
// Record 1 of a die file and the file's record count.
std::string dieFileFault(const records::DieRec& die, int recordCount, const std::string& category);

// ---- The chosen screw ---------------------------------------------------------

struct ScrewLengths {
    float radius = 0;               // R = the header's diameter / 2, mm
    std::int16_t elementCount = 0;  // N
    float elementLength = 0;        // the header's sum of the elements' L/R
    float headLength = 0;           // L/R of the head record
    float lengthNoRoot = 0;         // elements + head
    float length = 0;               // root + elements + head
};
// Of an accepted screw file.
ScrewLengths screwLengths(const std::vector<records::ScrewRec>& screw);

// ---- The chosen barrel in radius units ----------------------------------------

struct BarrelLayout {
    std::vector<records::BarrelRec> recs;  // the header unchanged, every block / R
    std::int16_t hopperCount = 0;
    std::int16_t ventCount = 0;
    std::int16_t elementCount = 0;
    // Width and axial centre of each opening in barrel order (opening k at
    // index k - 1), measured from the barrel's start.
    std::vector<float> openingWidths;
    std::vector<float> openingCentres;
    float length = 0;             // sum of the block lengths
    float firstOpeningStart = 0;  // upstream edge of the first opening
    float feedLength = 0;         // from that edge to the barrel's end

    std::int16_t portCount() const { return static_cast<std::int16_t>(openingCentres.size()); }
};
// Of an accepted barrel file (header and blocks in mm).
BarrelLayout layOutBarrel(const std::vector<records::BarrelRec>& barrelFile, float radius);

// The die as the "D" record of an extruder: its four lengths / R, the number
// of holes undivided, the code field left as 15 zero bytes.
records::BarrelRec dieRecord(const records::DieRec& die, float radius);

// True when the last barrel record of an extruder is its die.
bool endsWithDie(const std::vector<records::BarrelRec>& barrel);

// ---- Placement -------------------------------------------------------------------

struct Placement {
    float screwOffset = 0;  // the screw pushed in so it reaches the first opening's edge
    float gap = 0;          // screw end short of the barrel end
    float overhang = 0;     // screw end past the barrel end; at most one of the two is not 0
    float totalLength = 0;  // overhang + barrel + die
    float screwEnd = 0;     // where the screw's last element ends
    float lastOpeningEnd = 0;

    // A screw that stops short of the last opening's downstream edge is refused.
    bool screwReachesLastOpening() const { return !(screwEnd < lastOpeningEnd); }
};
Placement placeScrew(const ScrewLengths& screw, const BarrelLayout& barrel, float dieLength);

// ---- The extruder ------------------------------------------------------------------

struct AssemblyPaths {
    std::string screw, barrel, die;  // die empty when the extruder has none
};

// The header of an assembled extruder: the code and the paths cut or padded
// to their fields, the record counts and the placement's four Singles.
records::ExtHeader extruderHeader(const std::string& code, const AssemblyPaths& paths, std::int16_t screwCount,
                                  std::int16_t barrelCount, const Placement& placement);

struct Assembly {
    ScrewLengths screw;
    BarrelLayout barrel;
    Placement placement;
    records::ExtruderFileContent file;  // what Make writes
};
// Joins an accepted screw file, an accepted barrel file and an optional die:
// the screw records unchanged, the barrel converted with the screw's radius,
// the die record last. More barrel records than an Integer counts raise
// rt::kOverflow.
Assembly assemble(const std::string& code, const std::vector<records::ScrewRec>& screwFile,
                  const std::vector<records::BarrelRec>& barrelFile, const std::optional<records::DieRec>& die,
                  const AssemblyPaths& paths);

// ---- Fitting ----------------------------------------------------------------------------

struct FittedPlacement {
    float screwOffset = 0;  // the shift / R
    float gap = 0;
    float overhang = 0;
    float totalLength = 0;
};
// The screw pushed shiftMm towards the feed end: the shift first uses up the
// gap, then adds to the overhang (the new overhang less the new gap is the
// old one plus the shift). The total length is the new overhang, the barrel's
// block lengths and the die's length, summed as the assembly sums them.
FittedPlacement fitScrew(int shiftMm, float radius, float gap, float overhang,
                         const std::vector<records::BarrelRec>& barrel);

}  // namespace design
