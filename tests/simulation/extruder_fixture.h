#pragma once
// Extruder files as the tests need them: barrel blocks and screw elements
// given in screw radii, a screw root of 3.0 and a head of 0.577.
#include <cstdint>
#include <string>
#include <vector>

#include "records/design_files.h"

namespace testext {

struct Block {
    char type;  // 'H', 'V', 'P', 'D'
    float length;
    float width = 0;     // opening width (die: capillary zone length)
    float location = 0;  // opening centre from the block start (die: holes)
    float bore = 0, spacing = 0;  // die: entrance and capillary diameters
};

struct Element {
    char kind = 's';
    float length = 2.0f;
    std::int16_t hand = 1;
    std::string code = "SE42";
};

struct Extruder {
    std::vector<Block> blocks;
    std::vector<Element> elements;
    float screwOffset = 0, gap = 0, overhang = 0;
    float diameter = 50;  // mm
    int hoppers = -1, vents = -1;  // header counts; -1: as the blocks have them
};

inline records::ExtruderFileContent content(const Extruder& x) {
    records::ExtruderFileContent c;
    std::vector<records::ScrewRec> elements;
    for (const Element& e : x.elements) {
        records::ScrewRec r;
        r.Code = e.code;
        r.Kind = std::string(1, e.kind);
        r.CenterlineRatio = 1.7333f;
        r.Tips = 2;
        r.Hand = e.hand;
        r.Length = e.length;
        r.HelixAngle = e.kind == 's' ? 0.4f : 0.0f;
        r.Disks = e.kind == 's' ? records::kNoDisks : 5;
        r.StaggerAngle = e.kind == 's' ? records::kNoStagger : 45.0f;
        elements.push_back(r);
    }
    c.screw.push_back(records::screwFileHeader("LAB30", x.diameter, elements));
    c.screw.push_back(records::screwRootRecord());
    c.screw.insert(c.screw.end(), elements.begin(), elements.end());
    c.screw.push_back(records::screwHeadRecord());

    records::BarrelRec header;
    header.Code = "LAB30";
    header.Type = records::markerFor(records::FileKind::Barrel);
    header.headerScrewDiameter() = x.diameter;
    int hoppers = 0, vents = 0;
    bool die = false;
    c.barrel.push_back(header);
    for (const Block& b : x.blocks) {
        records::BarrelRec r;
        r.Type = std::string(1, b.type);
        r.Length = b.length;
        r.OpeningWidth = b.width;
        r.OpeningLocation = b.location;
        r.BoreDiameter = b.bore;
        r.CenterlineSpacing = b.spacing;
        hoppers += b.type == 'H';
        vents += b.type == 'V';
        die = die || b.type == 'D';
        c.barrel.push_back(r);
    }
    c.barrel[0].headerHopperCount() = static_cast<float>(x.hoppers < 0 ? hoppers : x.hoppers);
    c.barrel[0].headerVentCount() = static_cast<float>(x.vents < 0 ? vents : x.vents);

    c.header.Code = "LAB30";
    c.header.Marker = records::markerFor(records::FileKind::Extruder);
    c.header.ScrewFile = "test.srw";
    c.header.BarrelFile = "test.brl";
    c.header.DieFile = die ? "test.die" : "";
    c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
    c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
    c.header.ScrewOffset = x.screwOffset;
    c.header.Gap = x.gap;
    c.header.BarrelOverhang = x.overhang;
    return c;
}

// The worked example of the assembly: R 25 mm, a hopper block of 4 with an
// opening of 2 centred at 2, a plain block of 8, a vent block of 4 with an
// opening of 1.6 centred at 2; eight elements of 2.0; placed with offset 0,
// gap 0 and overhang 3.577.
inline Extruder workedExample() {
    Extruder x;
    x.blocks = {{'H', 4, 2, 2}, {'P', 8}, {'V', 4, 1.6f, 2}};
    x.elements = std::vector<Element>(8);
    x.overhang = 3.577f;
    return x;
}

}  // namespace testext
