#pragma once
// Files for the geometry views, written with the record writers: a screw
// element file and the laboratory extruder of the demo set (LAB30, D 30 mm):
// a 606 mm screw, a 600 mm barrel of hopper, two plain blocks, vent and plain
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
    e.CenterlineRatio = 26.0f / 15;
    e.Tips = 2;
    e.Hand = hand;
    e.Length = lengthR;
    e.HelixAngle = helix;
    e.Disks = records::kNoDisks;
    e.StaggerAngle = records::kNoStagger;
    return e;
}

inline records::ScrewRec kneading(float lengthR, std::int16_t disks, float stagger, std::int16_t hand) {
    records::ScrewRec e = conveying(lengthR, 0, hand);
    e.Code = "KB";
    e.Kind = "k";
    e.Disks = disks;
    e.StaggerAngle = stagger;
    return e;
}

inline void writeScrewGeo(const std::string& path, float diameter) {
    records::ScrewGeoRec g;
    g.Code = "SE42/42";
    g.Diameter = diameter;
    g.CenterlineDistance = 26;
    g.Tips = 2;
    g.Lead = 42;
    g.Length = 42;
    g.Hand = 1;
    records::writeScrewGeoFile(path, {g});
}

// 606 mm of elements: 40.4 radii.
inline std::vector<records::ScrewRec> labScrew() {
    const float lead42 = 0.4187f, lead28 = 0.2890f, lead20 = 0.2090f;  // atan(lead / (pi D))
    std::vector<records::ScrewRec> s(5, conveying(2.8f, lead42, 1));
    s.push_back(conveying(28.0f / 15, lead28, 1));
    s.push_back(kneading(2, 5, 45, 1));
    s.push_back(kneading(2, 5, 60, 1));
    s.push_back(kneading(2, 5, 90, 0));
    s.push_back(conveying(20.0f / 15, lead20, -1));
    for (int i = 0; i < 3; ++i) s.push_back(conveying(2.8f, lead42, 1));
    for (int i = 0; i < 4; ++i) s.push_back(conveying(28.0f / 15, lead28, 1));
    s.push_back(conveying(20.0f / 15, lead20, 1));
    return s;
}

inline records::BarrelRec block(char type, float length, float width = 0, float location = 0) {
    records::BarrelRec b;
    b.Code = std::string(1, type) + "120";
    b.BoreDiameter = kDiameter;
    b.CenterlineSpacing = 26;
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
    if (!diePath.empty()) {
        const records::DieRec d = labDie(code);
        records::BarrelRec die;
        die.Type = "D";
        die.dieEntranceDiameter() = d.EntranceDiameter / R;
        die.dieCapillaryDiameter() = d.CapillaryDiameter / R;
        die.dieCapillaryZoneLength() = d.CapillaryZoneLength / R;
        die.dieTotalLength() = d.TotalLength / R;
        die.dieHoles() = d.Holes;
        x.barrel.push_back(die);
    }
    x.header.Code = code;
    x.header.Marker = records::markerFor(records::FileKind::Extruder);
    x.header.ScrewFile = "demo.srw";
    x.header.BarrelFile = "demo.brl";
    x.header.DieFile = diePath;
    x.header.ScrewCount = static_cast<std::int16_t>(x.screw.size());
    x.header.BarrelCount = static_cast<std::int16_t>(x.barrel.size());
    x.header.ScrewOffset = 0;
    x.header.Gap = 0;
    x.header.BarrelOverhang = 3.977f;
    x.header.TotalLength = 43.977f + (diePath.empty() ? 0 : 40 / R);
    return x;
}

}  // namespace viewdata
