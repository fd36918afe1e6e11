#pragma once
// Result files for tests, written with the result writer. A ResultBuilder
// starts from the smallest result the result view accepts (one element row,
// one profile row, the screw header, root and head, the barrel header; the
// listings, the printed report and the export also want a port) and the
// test adds what it needs; sampleRun() is a plausible run of a whole
// extruder for pictures and benchmarks.
#include <cmath>
#include <string>

#include "records/markers.h"
#include "records/result_file.h"

namespace resulttest {

using records::BarrelRec;
using records::ElementRecord;
using records::MeltProfileRow;
using records::ScrewRec;

class ResultBuilder {
public:
    // A screw of diameter 30 mm on a total length of 40 radii, gap 0,
    // overhang 1; element row 1 is the die-pressure row until elements are
    // added in front of it.
    ResultBuilder() {
        data.header.Code = "LAB30";
        data.header.Marker = records::markerFor(records::FileKind::Analysis);
        extruder().DieFile = "";  // no die
        extruder().TotalLength = 40;
        extruder().BarrelOverhang = 1;
        ScrewRec header;
        header.Code = "LAB30";
        header.Kind = records::markerFor(records::FileKind::Screw);
        header.headerScrewDiameter() = 30;
        data.screw = {header, screwRecord("Screw Root", "r", 3.0f), screwRecord("Screw Head", "h", 0.577f)};
        BarrelRec barrelHeader;
        barrelHeader.Code = "LAB30";
        barrelHeader.Type = records::markerFor(records::FileKind::Barrel);
        barrelHeader.headerScrewDiameter() = 30;
        data.barrel = {barrelHeader};
        data.profile = {MeltProfileRow{}};
        ElementRecord endZone;
        endZone.Kind = "p";
        data.elements = {endZone};
    }

    records::ExtHeader& extruder() { return data.header.ExtruderHeader; }
    records::ParameterFileHeader& run() { return data.header.RunConditions; }

    // A conveying element row inserted before the die-pressure row (and the
    // die row, when there is one).
    ElementRecord& element(float start, float length) {
        ElementRecord e;
        e.Kind = "s";
        e.SegmentStart = start;
        e.SegmentLength = length;
        e.ElementLength = length;
        const std::size_t trailing = extruder().DieFile.trimmed().empty() ? 1 : 2;
        return *data.elements.insert(data.elements.end() - static_cast<long>(std::min(trailing, data.elements.size())), e);
    }
    // The last row, the die-pressure row.
    ElementRecord& endRow() { return data.elements.back(); }
    // Profile row j (0 .. M), added as needed.
    MeltProfileRow& row(std::size_t j) {
        if (data.profile.size() <= j) data.profile.resize(j + 1);
        return data.profile[j];
    }

    // A die after the barrel blocks and its row after the die-pressure row.
    ResultBuilder& withDie(float entrance, float capillary, float length, float capillaryZone) {
        extruder().DieFile = "C:\\work\\demo.die";
        BarrelRec die;
        die.Type = "D";
        die.dieEntranceDiameter() = entrance;
        die.dieCapillaryDiameter() = capillary;
        die.dieTotalLength() = length;
        die.dieCapillaryZoneLength() = capillaryZone;
        die.dieHoles() = 2;
        data.barrel.push_back(die);
        ElementRecord dieRow;
        dieRow.Kind = "d";
        data.elements.push_back(dieRow);
        return *this;
    }
    ResultBuilder& block(const char* type, float length, float bore, float width = 0, float location = 0) {
        BarrelRec b;
        b.Type = type;
        b.Length = length;
        b.BoreDiameter = bore;
        b.OpeningWidth = width;
        b.OpeningLocation = location;
        const bool die = data.barrel.size() >= 2 && data.barrel.back().Type == "D";
        data.barrel.insert(data.barrel.end() - (die ? 1 : 0), b);
        return *this;
    }
    ScrewRec& screwElement(const char* kind, float length, std::int16_t hand = 1) {
        ScrewRec e = screwRecord("E", kind, length);
        e.Hand = hand;
        return *data.screw.insert(data.screw.end() - 1, e);
    }

    void write(const std::string& path) {
        data.runState.LastProfileRow = static_cast<std::int16_t>(data.profile.size() - 1);
        records::writeResultFile(path, data, records::ResultExtent::WithExtruder);
    }

    records::ResultData data;

private:
    static ScrewRec screwRecord(const char* code, const char* kind, float length) {
        ScrewRec r;
        r.Code = code;
        r.Kind = kind;
        r.Length = length;
        return r;
    }
};

// A plausible run: solids conveyed partly filled from the hopper, melting
// over the fifth of the screw after them, pressure built up before a
// kneading block and a left-handed element, a starved stretch under the
// vent, and pressure built up again before the die. Temperatures rise,
// the solid fraction falls to 0, residence time and power accumulate.
inline records::ResultData sampleRun(int elementRows = 14, int screwElements = 24, int profileRows = 12) {
    constexpr float kScrew = 36, kStart = 3, kDie = 2.667f;
    constexpr double kMeltStart = 0.2, kMeltEnd = 0.4, kRestrictionEnd = 0.5, kBuildUp = 0.75;
    auto pressure = [&](double u) {
        if (u < kMeltStart) return 0.0;
        if (u < kMeltEnd) return 2.5 * (u - kMeltStart) / (kMeltEnd - kMeltStart);
        if (u < kRestrictionEnd) return 2.5 * (kRestrictionEnd - u) / (kRestrictionEnd - kMeltEnd);
        if (u < kBuildUp) return 0.0;
        return 6.0 * (u - kBuildUp) / (1 - kBuildUp);
    };
    auto temperature = [&](double u) {
        if (u < kMeltStart) return 25 + 105 * u / kMeltStart;
        if (u < kMeltEnd) return 130 + 60 * (u - kMeltStart) / (kMeltEnd - kMeltStart);
        return 190 + 40 * (u - kMeltEnd) / (1 - kMeltEnd);
    };
    auto residence = [](double u) { return 1.5 * u; };
    auto power = [](double u) { return 4.2 * u * (0.6 + 0.4 * u); };
    auto filled = [&](double u) { return u >= kMeltStart && u < kRestrictionEnd ? 1.0 : u >= kBuildUp ? 1.0 : 0.35; };

    ResultBuilder b;
    b.extruder().TotalLength = kStart + 40 + kDie;
    b.extruder().Gap = 0;
    b.extruder().BarrelOverhang = 0;
    b.run().ScrewSpeed = 300;
    b.run().TotalThroughput = 12;
    b.withDie(1.333f, 0.267f, kDie, 0.8f);
    b.block("H", 8, 2, 2.4f, 4).block("P", 8, 2).block("P", 8, 2).block("V", 8, 2, 2.67f, 4).block("P", 8, 2);

    const int rows = elementRows - 2;
    const float length = kScrew / static_cast<float>(rows);
    auto at = [&](float position) { return (position - kStart) / kScrew; };
    for (int i = 0; i < rows; ++i) {
        ElementRecord& e = b.element(kStart + length * static_cast<float>(i), length);
        const double u0 = at(e.SegmentStart), u1 = at(e.SegmentStart + length);
        const bool full = filled(u0) >= 1, fullAtEnd = filled(u1 - 1e-6) >= 1;
        // A starved element is starved over its whole length; one that fills
        // up on its way is starved to its middle.
        e.StarvationPoint = full ? 0 : fullAtEnd ? length / 2 : length;
        e.FillLeft = full ? 1.0f : 0.35f;
        e.FillRight = full || fullAtEnd ? 1.0f : 0.35f;
        const double us = at(e.SegmentStart + e.StarvationPoint);
        auto set = [&](float& start, float& starvation, float& end, auto profile) {
            start = static_cast<float>(profile(u0));
            starvation = static_cast<float>(profile(us));
            end = static_cast<float>(profile(u1));
        };
        set(e.PressureStart, e.PressureStarvation, e.PressureEnd, pressure);
        set(e.TempStart, e.TempStarvation, e.TempEnd, temperature);
        set(e.ResTimeStart, e.ResTimeStarvation, e.ResTimeEnd, residence);
        set(e.PowerStart, e.PowerStarvation, e.PowerEnd, power);
        if (u0 <= kMeltStart && kMeltStart < u1) b.data.runState.MeltStartElement = static_cast<std::int16_t>(i + 1);
        if (u0 <= kMeltEnd && kMeltEnd < u1) {
            b.data.runState.MeltEndElement = static_cast<std::int16_t>(i + 1);
            b.data.runState.MeltEndPosition = static_cast<float>((kMeltEnd - u0) * kScrew);
            b.run().MeltEndElement = static_cast<std::int16_t>(i + 1);
        }
    }
    for (ElementRecord* tail : {&b.data.elements[static_cast<std::size_t>(rows)], &b.data.elements.back()}) {
        tail->SegmentLength = kDie;
        tail->FillLeft = tail->FillRight = 1;
        tail->PressureStart = tail->PressureStarvation = tail->PressureEnd = 6;
        tail->TempStart = tail->TempStarvation = tail->TempEnd = 230;
        tail->ResTimeStart = tail->ResTimeStarvation = tail->ResTimeEnd = 1.55f;
        tail->PowerStart = tail->PowerStarvation = tail->PowerEnd = 4.2f;
    }
    for (int j = 0; j < profileRows; ++j) {
        const double t = static_cast<double>(j) / (profileRows - 1);
        const double u = kMeltStart + t * (kMeltEnd - kMeltStart);
        MeltProfileRow& r = b.row(static_cast<std::size_t>(j));
        r.AxialPosition = static_cast<float>(kStart + u * kScrew);
        r.SolidFraction = static_cast<float>(std::pow(1 - t, 1.5));
        r.Pressure = static_cast<float>(pressure(u));
        r.AverageTemperature = static_cast<float>(temperature(u));
        r.CumulativePower = static_cast<float>(power(u));
    }

    const float elementLength = kScrew / static_cast<float>(screwElements);
    for (int i = 0; i < screwElements; ++i) {
        const double u = (i + 0.5) / screwElements;
        ScrewRec& e = u >= kMeltEnd && u < 0.47 ? b.screwElement("k", elementLength)
                      : u >= 0.47 && u < kRestrictionEnd ? b.screwElement("s", elementLength, -1)
                                                         : b.screwElement("s", elementLength);
        e.HelixAngle = u < kMeltStart ? 0.42f : 0.29f;
        e.Disks = 5;
        e.StaggerAngle = 45;
    }
    b.data.runState.LastProfileRow = static_cast<std::int16_t>(profileRows - 1);
    return b.data;
}

}  // namespace resulttest
