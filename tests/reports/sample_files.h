#pragma once
// Files of every kind as the designers and the calculation write them, for
// the listings, the reports and the export to read.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "records/design_files.h"
#include "records/result_file.h"
#include "tests/support/result_builder.h"

namespace reporttest {

// A run of blanks.
inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A screw element as the designer stores it (lengths in radius units).
inline records::ScrewRec screwElement(const std::string& code, char kind, std::int16_t tips, std::int16_t hand,
                                      float length, float helix, std::int16_t disks, float stagger) {
    records::ScrewRec e;
    e.Code = code;
    e.Kind = std::string(1, kind);
    e.CenterlineRatio = 1.7333f;
    e.Tips = tips;
    e.Hand = hand;
    e.Length = length;
    e.HelixAngle = helix;
    e.Disks = disks;
    e.StaggerAngle = stagger;
    return e;
}

inline records::BarrelRec barrelBlock(const std::string& code, char type, float length, float opening,
                                      float location) {
    records::BarrelRec b;
    b.Code = code;
    b.Type = std::string(1, type);
    b.BoreDiameter = 30.0f;
    b.CenterlineSpacing = 26.0f;
    b.Length = length;
    b.OpeningWidth = opening;
    b.OpeningLocation = location;
    return b;
}

// A result of D = 30 mm (R = 15) with five element rows starting at 0, 2, 4,
// 6, 8 radius units, two long each, of kinds s, s, k and the end-zone and die
// rows p, d, starvation points 0.5, 0, 1, 0, 0; row e holds pressure 0.1 e /
// 0.05 e (start / starvation point), temperature 150 + e / 151 + e,
// residence time 0.1 e / 0.12 e, power 0.5 e / 0.6 e, and at its end
// pressure 3 / 2.5 / 0 (rows 3 to 5), temperature 160 + e, residence time
// 0.2 e, power 0.7 e. Profile rows 0..2 at 4 + 0.4 j with solid fraction
// 1 - 0.5 j, pressure 1 + j, temperature 170 + j, power 2 + j. Melting starts
// and ends in row 3 (S = 0.9); two ports.
inline records::ResultData sampleResult() {
    resulttest::ResultBuilder b;
    b.data.header.ExtruderFile = "C:\\work\\line.ext";
    b.run().ScrewSpeed = 200.0f;
    b.run().DiePressure = 0.0f;
    b.run().MeltEndElement = 3;
    b.run().TotalThroughput = 12.5f;
    b.withDie(1.333f, 0.267f, 2.0f, 0.8f);
    for (int e = 1; e <= 3; ++e) b.element(2.0f * static_cast<float>(e - 1), 2.0f);
    b.data.elements[2].Kind = "k";
    const float starvation[] = {0.5f, 0.0f, 1.0f, 0.0f, 0.0f};
    const float pressureEnd[] = {0.2f, 0.3f, 3.0f, 2.5f, 0.0f};
    for (int e = 1; e <= 5; ++e) {
        const auto f = static_cast<float>(e);
        records::ElementRecord& r = b.data.elements[static_cast<std::size_t>(e - 1)];
        r.Code = std::string("E").append(std::to_string(e));
        r.SegmentStart = 2.0f * (f - 1.0f);
        r.SegmentLength = 2.0f;
        r.ElementLength = 2.0f;
        r.StarvationPoint = starvation[e - 1];
        r.FillLeft = 0.5f;
        r.FillRight = 1.0f;
        r.PressureStart = 0.1f * f;
        r.PressureStarvation = 0.05f * f;
        r.PressureEnd = pressureEnd[e - 1];
        r.TempStart = 150.0f + f;
        r.TempStarvation = 151.0f + f;
        r.TempEnd = 160.0f + f;
        r.ResTimeStart = 0.1f * f;
        r.ResTimeStarvation = 0.12f * f;
        r.ResTimeEnd = 0.2f * f;
        r.PowerStart = 0.5f * f;
        r.PowerStarvation = 0.6f * f;
        r.PowerEnd = 0.7f * f;
    }
    b.data.runState.MeltStartElement = 3;
    b.data.runState.MeltEndElement = 3;
    b.data.runState.MeltEndPosition = 0.9f;
    b.data.runState.LastProfileRow = 2;
    for (std::size_t j = 0; j <= 2; ++j) {
        const auto f = static_cast<float>(j);
        records::MeltProfileRow& row = b.row(j);
        row.AxialPosition = 4.0f + 0.4f * f;
        row.SolidFraction = 1.0f - 0.5f * f;
        row.Pressure = 1.0f + f;
        row.AverageTemperature = 170.0f + f;
        row.CumulativePower = 2.0f + f;
    }
    b.data.solids = {0.55f, 1.8f, 0.25f, 0.3f, 0.25f, 500.0f, 400.0f, 200.0f, 190.0f, 25.0f};
    b.data.melting = {0.8f, 2.1f, 165.0f, 120.0f};
    for (int k = 1; k <= 2; ++k) {
        const auto f = static_cast<float>(k);
        records::PortRecord p;
        p.FlowRate = 10.0f * f;
        p.ViscositySensitivity = 0.0125f;
        p.ReferenceTemperature = 200.0f + f;
        p.Consistency = 5.5f;
        p.PowerLawIndex = 0.35f;
        p.Density = 0.75f;
        p.HeatCapacity = 2.4f;
        p.BarrelHtc = 300.0f;
        p.ScrewHtc = 250.0f;
        p.BarrelTemperature = 210.0f;
        p.ScrewTemperature = 205.0f;
        b.data.ports.push_back(p);
    }
    return b.data;
}

// A screw of D = 30 mm with a conveying element (22.50 mm, 30 degrees), a
// left-handed kneading block (30.00 mm, 5 disks, 45 degrees), a record of
// kind "K" and a conveying element with a 16-character code; the header
// counts 4 elements, 2 conveying, 2 kneading, 2.5 left-handed, L/R 6.5.
inline void writeSampleScrew(const std::string& path) {
    records::ScrewRec header = records::screwFileHeader("LAB30", 30.0f, {});
    header.headerElementCount() = 4;
    header.headerConveyingCount() = 2;
    header.headerKneadingCount() = 2;
    header.headerLeftHandedCount() = 2.5f;
    header.headerTotalLength() = 6.5f;
    records::writeScrewFile(path, header,
                            {screwElement("RSE45/45", 's', 2, 1, 1.5f, 0.5236f, -999, -999.0f),
                             screwElement("KB45/5/30", 'k', 2, -1, 2.0f, 0.0f, 5, 45.0f),
                             screwElement("KB90/5/30", 'K', 2, 1, 2.0f, 0.0f, 5, 90.0f),
                             screwElement("ABCDEFGHIJKLMNOP", 's', 2, 1, 1.0f, 0.2618f, -999, -999.0f)});
}

// Blocks P, H, V of 100 mm with openings 0, 40, 40 mm wide at 0, 20, 30 mm,
// the header counting `count` blocks under the given marker.
inline void writeSampleBarrel(const std::string& path, float count = 3.0f, char marker = 2) {
    records::BarrelRec header;
    header.Code = "LAB30";
    header.Type = std::string(1, marker);
    header.headerScrewDiameter() = 30.0f;
    header.headerTotalLength() = 300.0f;
    header.headerBlockCount() = count;
    records::writeBarrelFile(path, header,
                             {barrelBlock("PLANE120", 'P', 100.0f, 0.0f, 0.0f),
                              barrelBlock("HOPPER120", 'H', 100.0f, 40.0f, 20.0f),
                              barrelBlock("VENT120", 'V', 100.0f, 40.0f, 30.0f)});
}

inline void writeSampleDie(const std::string& path) {
    records::DieRec die;
    die.Code = "LAB30";
    die.Marker = records::markerFor(records::FileKind::Die);
    die.EntranceDiameter = 40.0f;
    die.CapillaryDiameter = 10.0f;
    die.CapillaryZoneLength = 15.0f;
    die.TotalLength = 60.0f;
    die.Holes = 8;
    records::writeDieFile(path, die);
}

// An extruder of 50 radius units whose barrel header gives D = 40 mm (R =
// 20): a screw of one conveying element of 1.5 radius units, a plain block of
// 10 and a vent block of 5 with its opening at 0.5, and, with a die, the die
// record (entrance 1, capillary 0.2, total 2, zone 0.6, 2 holes) whose code
// holds the 15 zero bytes of a field never set. The paths stand in the header
// with a leading blank.
inline void writeSampleExtruder(const std::string& path, const std::string& dir, bool withDie,
                                float bore = 40.0f) {
    records::ExtruderFileContent ext;
    ext.header.Code = "LAB30";
    ext.header.Marker = records::markerFor(records::FileKind::Extruder);
    ext.header.ScrewFile = " " + dir + "/demo.srw";
    ext.header.BarrelFile = " " + dir + "/demo.brl";
    ext.header.DieFile = withDie ? " " + dir + "/demo.die" : std::string();
    ext.header.TotalLength = 50.0f;
    records::ScrewRec screwHeader = records::screwFileHeader("LAB30", 30.0f, {});
    screwHeader.headerElementCount() = 1;
    screwHeader.headerConveyingCount() = 1;
    screwHeader.headerTotalLength() = 1.5f;
    ext.screw = {screwHeader, records::screwRootRecord(),
                 screwElement("RSE45/45", 's', 2, 1, 1.5f, 0.5236f, -999, -999.0f), records::screwHeadRecord()};
    records::BarrelRec barrelHeader;
    barrelHeader.Code = "LAB30";
    barrelHeader.Type = records::markerFor(records::FileKind::Barrel);
    barrelHeader.headerScrewDiameter() = bore;
    barrelHeader.headerTotalLength() = 300.0f;
    barrelHeader.headerBlockCount() = 2.0f;
    ext.barrel = {barrelHeader, barrelBlock("PLANE120", 'P', 10.0f, 0.0f, 0.0f),
                  barrelBlock("VENT120", 'V', 5.0f, 1.0f, 0.5f)};
    if (withDie) {
        records::BarrelRec die;  // code left unset
        die.Type = "D";
        die.dieEntranceDiameter() = 1.0f;
        die.dieCapillaryDiameter() = 0.2f;
        die.dieTotalLength() = 2.0f;
        die.dieCapillaryZoneLength() = 0.6f;
        die.dieHoles() = 2.0f;
        ext.barrel.push_back(die);
    }
    ext.header.ScrewCount = static_cast<std::int16_t>(ext.screw.size());
    ext.header.BarrelCount = static_cast<std::int16_t>(ext.barrel.size());
    records::writeExtruderFile(path, ext);
}

inline void writeResult(const std::string& path, const records::ResultData& d) {
    records::writeResultFile(path, d, records::ResultExtent::WithExtruder);
}

}  // namespace reporttest
