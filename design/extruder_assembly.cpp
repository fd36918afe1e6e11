#include "design/extruder_assembly.h"

#include <cmath>

#include "platform/rt/convert.h"
#include "records/files.h"
#include "state/header_code.h"

namespace design {

namespace {

template <class Rec>
Rec firstOrBlank(const std::vector<Rec>& recs) {
    return recs.empty() ? records::blankRecord<Rec>() : recs.front();
}

// The die's code, read as the screw and barrel codes are: up to the first
// blank of its 8 characters.
std::string codeOfDie(const records::DieRec& die) {
    const std::string field = die.Code.str();
    return field.substr(0, field.find(' '));
}

}  // namespace

// ---- Checks ----------------------------------------------------------------------

std::string screwFileFault(const std::vector<records::ScrewRec>& recs, const std::string& category) {
    const records::ScrewRec header = firstOrBlank(recs);
    if (shared::codeOfScrewHeader(header) != category) return "Screw is not in the given category!";
    if (!records::hasMarker(header)) return kIncorrectFileFormat;
    if (recs.size() < 3) return "Incomplete screw file";
    // The head is found through the element count; it must be the last record.
    if (static_cast<std::size_t>(header.headerElementCount()) + 3 != recs.size() ||
        !(header.headerScrewDiameter() > 0.0f))
        return kIncorrectFileFormat;
    return {};
}

std::string barrelFileFault(const std::vector<records::BarrelRec>& recs, const std::string& category) {
    const records::BarrelRec header = firstOrBlank(recs);
    if (shared::codeOfBarrelHeader(header) != category) return "barrel is not in the given category!";
    if (!records::hasMarker(header)) return kIncorrectFileFormat;
    if (recs.size() <= 1) return "Incomplete barrel file";
    const int hoppers = rt::cint(header.headerHopperCount());
    if (hoppers == 0) return "Barrel has any hopper! Redesign barrel!";
    const int vents = rt::cint(header.headerVentCount());
    const int blocks = rt::cint(header.headerBlockCount());
    // The opening table and the block loop are sized by these counts.
    if (vents < 0 || hoppers < 0 || static_cast<std::size_t>(blocks) + 1 != recs.size()) return kIncorrectFileFormat;
    int openings = 0;
    for (std::size_t i = 1; i < recs.size(); ++i)
        if (recs[i].blockType() != records::kPlaneBlock) ++openings;
    if (openings != hoppers + vents) return kIncorrectFileFormat;
    return {};
}

std::string dieFileFault(const records::DieRec& die, int recordCount, const std::string& category) {
    if (codeOfDie(die) != category) return "die is not in the given category!";
    if (!records::hasMarker(die)) return kIncorrectFileFormat;
    if (recordCount <= 0) return "Incomplete die file";
    return {};
}

// ---- Screw, barrel and die ---------------------------------------------------------

ScrewLengths screwLengths(const std::vector<records::ScrewRec>& screw) {
    const records::ScrewRec& header = screw.at(0);
    ScrewLengths s;
    s.radius = header.headerScrewDiameter() / 2.0f;
    s.elementCount = header.headerElementCount();
    s.elementLength = header.headerTotalLength();
    s.headLength = screw.at(static_cast<std::size_t>(s.elementCount) + 2).Length;
    s.lengthNoRoot = s.elementLength + s.headLength;
    s.length = screw.at(1).Length + s.elementLength + s.headLength;
    return s;
}

BarrelLayout layOutBarrel(const std::vector<records::BarrelRec>& barrelFile, float radius) {
    BarrelLayout b;
    b.recs = barrelFile;
    const records::BarrelRec& header = barrelFile.at(0);
    b.hopperCount = rt::cint(header.headerHopperCount());
    b.ventCount = rt::cint(header.headerVentCount());
    b.elementCount = rt::cint(header.headerBlockCount());
    float p = 0.0f;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(b.elementCount) && i < b.recs.size(); ++i) {
        records::BarrelRec& block = b.recs[i];
        block = block.inRadiusUnits(radius);
        // Every block but a plain one has an opening, located from its start.
        if (block.blockType() != records::kPlaneBlock) {
            b.openingWidths.push_back(block.OpeningWidth);
            b.openingCentres.push_back(p + block.OpeningLocation);
        }
        p = p + block.Length;
    }
    b.length = p;
    if (!b.openingCentres.empty()) b.firstOpeningStart = b.openingCentres.front() - 0.5f * b.openingWidths.front();
    b.feedLength = b.length - b.firstOpeningStart;
    return b;
}

records::BarrelRec dieRecord(const records::DieRec& die, float radius) {
    records::BarrelRec d;
    d.Type = std::string_view("D");
    d.dieEntranceDiameter() = die.EntranceDiameter / radius;
    d.dieCapillaryDiameter() = die.CapillaryDiameter / radius;
    d.dieCapillaryZoneLength() = die.CapillaryZoneLength / radius;
    d.dieTotalLength() = die.TotalLength / radius;
    d.dieHoles() = static_cast<float>(die.Holes);
    return d;
}

bool endsWithDie(const std::vector<records::BarrelRec>& barrel) {
    return barrel.size() > 1 && barrel.back().blockType() == records::kDieBlock;
}

// ---- Placement ---------------------------------------------------------------------

Placement placeScrew(const ScrewLengths& screw, const BarrelLayout& barrel, float dieLength) {
    Placement p;
    // The screw is pushed in until its elements reach the first opening's
    // upstream edge.
    p.screwOffset = screw.lengthNoRoot < barrel.feedLength ? barrel.feedLength - screw.lengthNoRoot : 0.0f;
    if (p.screwOffset + screw.length < barrel.length) {
        p.overhang = 0.0f;
        p.gap = barrel.length - screw.length - p.screwOffset;
    } else {
        p.gap = 0.0f;
        p.overhang = p.screwOffset + screw.length - barrel.length;
    }
    p.totalLength = p.overhang + barrel.length + dieLength;
    p.screwEnd = p.gap + screw.length - screw.headLength;
    if (!barrel.openingCentres.empty()) {
        p.lastOpeningEnd = p.overhang + barrel.openingCentres.back() + 0.5f * barrel.openingWidths.back();
    }
    return p;
}

// ---- The extruder ------------------------------------------------------------------

records::ExtHeader extruderHeader(const std::string& code, const AssemblyPaths& paths, std::int16_t screwCount,
                                  std::int16_t barrelCount, const Placement& placement) {
    records::ExtHeader h;
    h.Code = code;
    h.Marker = records::markerFor(records::FileKind::Extruder);
    h.ScrewFile = paths.screw;
    h.BarrelFile = paths.barrel;
    h.DieFile = paths.die;
    h.ScrewCount = screwCount;
    h.BarrelCount = barrelCount;
    h.ScrewOffset = placement.screwOffset;
    h.Gap = placement.gap;
    h.BarrelOverhang = placement.overhang;
    h.TotalLength = placement.totalLength;
    return h;
}

Assembly assemble(const std::string& code, const std::vector<records::ScrewRec>& screwFile,
                  const std::vector<records::BarrelRec>& barrelFile, const std::optional<records::DieRec>& die,
                  const AssemblyPaths& paths) {
    Assembly a;
    a.screw = screwLengths(screwFile);
    a.barrel = layOutBarrel(barrelFile, a.screw.radius);
    a.file.screw = screwFile;
    a.file.barrel = a.barrel.recs;
    float dieLength = 0.0f;
    AssemblyPaths written = paths;
    if (die) {
        a.file.barrel.push_back(dieRecord(*die, a.screw.radius));
        dieLength = a.file.barrel.back().dieTotalLength();
    } else {
        written.die.clear();
    }
    a.placement = placeScrew(a.screw, a.barrel, dieLength);
    a.file.header = extruderHeader(code, written, rt::toInt16(static_cast<double>(a.file.screw.size())),
                                   rt::toInt16(static_cast<double>(a.file.barrel.size())), a.placement);
    return a;
}

// ---- Fitting -------------------------------------------------------------------------

FittedPlacement fitScrew(int shiftMm, float radius, float gap, float overhang,
                         const std::vector<records::BarrelRec>& barrel) {
    const float shift = static_cast<float>(shiftMm);
    const float half = shift / radius / 2.0f;
    const float grown = overhang + half;
    const float d = gap - half;
    FittedPlacement f;
    if (d <= grown) {
        f.overhang = std::fabs(d - grown);
        f.gap = 0.0f;
    } else {
        f.gap = std::fabs(d - grown);
        f.overhang = 0.0f;
    }
    f.screwOffset = shift / radius;
    const bool die = endsWithDie(barrel);
    const std::size_t blocksEnd = die ? barrel.size() - 1 : barrel.size();
    float blocks = 0.0f;
    for (std::size_t i = 1; i < blocksEnd; ++i) blocks = blocks + barrel[i].Length;
    f.totalLength = f.overhang + blocks + (die ? barrel.back().dieTotalLength() : 0.0f);
    return f;
}

}  // namespace design
