#pragma once
// Files for the geometry views, written with the record writers: a screw
// element file and the laboratory extruder of the demo set (LAB30, D 30 mm):
// a 606 mm screw of 16 elements, a 600 mm barrel of hopper, two plain blocks, vent and plain
// block, a die of 20, 4, 12 and 40 mm, and the extruder assembled from them
// as the assembly makes it (screw records as they are, blocks and die in
// radius units, offset 0, gap 0, overhang 3.977 radii).
#include <string>
#include <vector>

#include "records/design_files.h"
#include "records/design_records.h"
#include "records/markers.h"

namespace viewdata {

inline constexpr float kDiameter = 30;

inline records::ScrewRec conveying(float lengthR, float helix, std::int16_t hand) {
    records::ScrewRec e;
    e.Code = "SE";
    e.Kind = "s";
    e.Hand = hand;
    e.Length = lengthR;
    e.HelixAngle = helix;
    e.Disks = records::kNoDisks;
    return e;
}

inline records::ScrewRec kneading(float lengthR, std::int16_t disks, float stagger, std::int16_t hand) {
    records::ScrewRec e = conveying(lengthR, 0, hand);
    e.Kind = "k";
    e.Disks = disks;
    e.StaggerAngle = stagger;
    return e;
}

inline void writeScrewGeo(const std::string& path, float diameter) {
    records::ScrewGeoRec g;
    g.Code = "SE42/42";
    g.Diameter = diameter;
    records::writeScrewGeoFile(path, {g});
}

// 606 mm of elements: 4 × (2.8 + 2.8 + 2 + 2.5) = 40.4 radii; flights of
// 42 and 28 mm lead, disks at 45 and 90 degrees, one left-handed element.
inline std::vector<records::ScrewRec> labScrew() {
    std::vector<records::ScrewRec> s;
    for (int i = 0; i < 4; ++i)
        s.insert(s.end(), {conveying(2.8f, 0.4187f, 1), conveying(2.8f, 0.2890f, 1),
                           kneading(2, 5, i == 1 ? 90 : 45, i == 1 ? 0 : 1), conveying(2.5f, 0.2090f, i == 2 ? -1 : 1)});
    return s;
}

inline records::BarrelRec block(char type, float length, float width = 0, float location = 0) {
    records::BarrelRec b;
    b.BoreDiameter = kDiameter;
    b.Type = std::string(1, type);
    b.Length = length;
    b.OpeningWidth = width;
    b.OpeningLocation = location;
    return b;
}

inline std::vector<records::BarrelRec> labBarrel() {
    return {block('H', 120, 60, 60), block('P', 120), block('P', 120), block('V', 120, 40, 60), block('P', 120)};
}

inline records::DieRec labDie(const std::string& code = "LAB30") {
    records::DieRec d;
    d.Code = code;
    d.Marker = records::markerFor(records::FileKind::Die);
    d.EntranceDiameter = 20;
    d.CapillaryDiameter = 4;
    d.CapillaryZoneLength = 12;
    d.TotalLength = 40;
    d.Holes = 2;
    return d;
}

inline void writeLabScrew(const std::string& path, const std::string& code = "LAB30") {
    const auto elements = labScrew();
    records::writeScrewFile(path, records::screwFileHeader(code, kDiameter, elements), elements);
}

inline void writeLabBarrel(const std::string& path, const std::string& code = "LAB30",
                           std::vector<records::BarrelRec> blocks = labBarrel()) {
    records::writeBarrelFile(path, records::barrelFileHeader(code, kDiameter, blocks), blocks);
}

// The extruder of the lab screw, barrel and (unless diePath is empty) die.
inline records::ExtruderFileContent labExtruder(const std::string& diePath = "demo.die",
                                                const std::string& code = "LAB30") {
    const float R = kDiameter / 2;
    const auto elements = labScrew();
    records::ExtruderFileContent x;
    x.screw.push_back(records::screwFileHeader(code, kDiameter, elements));
    x.screw.push_back(records::screwRootRecord());
    x.screw.insert(x.screw.end(), elements.begin(), elements.end());
    x.screw.push_back(records::screwHeadRecord());
    const auto blocks = labBarrel();
    x.barrel.push_back(records::barrelFileHeader(code, kDiameter, blocks));
    for (const auto& b : blocks) x.barrel.push_back(b.inRadiusUnits(R));
    if (!diePath.empty()) {  // 20, 4, 12 and 40 mm
        x.barrel.push_back(records::BarrelRec{});
        records::BarrelRec& die = x.barrel.back();
        die.Type = "D";
        die.dieEntranceDiameter() = 20 / R;
        die.dieCapillaryDiameter() = 4 / R;
        die.dieCapillaryZoneLength() = 12 / R;
        die.dieTotalLength() = 40 / R;
        die.dieHoles() = 2;
    }
    x.header.Code = code;
    x.header.Marker = records::markerFor(records::FileKind::Extruder);
    x.header.ScrewFile = "demo.srw";
    x.header.BarrelFile = "demo.brl";
    x.header.DieFile = diePath;
    x.header.ScrewCount = static_cast<std::int16_t>(x.screw.size());
    x.header.BarrelCount = static_cast<std::int16_t>(x.barrel.size());
    x.header.BarrelOverhang = 3.977f;
    x.header.TotalLength = 43.977f + (diePath.empty() ? 0 : 40 / R);
    return x;
}

}  // namespace viewdata
