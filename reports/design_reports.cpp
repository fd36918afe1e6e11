#include "reports/design_reports.h"

#include "platform/rt/columns.h"
#include "platform/rt/convert.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "reports/rows.h"

namespace reports {

namespace {

using records::BarrelRec;
using records::ScrewRec;

constexpr const char* kMm = "##0.00";
constexpr const char* kStars = "***************";

void banner(rt::ColumnWriter& out, const std::string& name, std::size_t room) {
    out.text(rt::lineWithPath(std::string(kStars) + " ", name, std::string(" ") + kStars, room)).endLine();
}

void screwTable(rt::ColumnWriter& out, const std::vector<ScrewRec>& screw, float radius) {
    printRow(out, kScrewPrintHeading, kScrewPrintTabs);
    for (long i = 3; i <= static_cast<long>(screw.size()) - 1; ++i) {
        const ScrewElementRow row =
            screwElementRow(static_cast<int>(i - 2), record(screw, i), radius, IntegerStyle::NumberItem);
        if (row.listed) printRow(out, row.cells, kScrewPrintTabs);
    }
}

void screwTotals(rt::ColumnWriter& out, const ScrewRec& header, const char* leftHandedLabel) {
    out.text("Number of elements : " + std::to_string(header.headerElementCount())).endLine();
    out.text("Screw L/D ratio : " + rt::format(header.headerTotalLength() / 2.0f, kMm)).endLine();
    out.text("Number of screw elements : " + std::to_string(header.headerConveyingCount())).endLine();
    out.text("Number of kneading disk elements : " + std::to_string(header.headerKneadingCount())).endLine();
    out.text(leftHandedLabel + rt::generalForm(header.headerLeftHandedCount())).endLine();
}

}  // namespace

std::vector<std::string> screwReport(const std::string& path, std::size_t room) {
    const std::vector<ScrewRec> screw =
        records::readScrewFile(path, records::OpenMode::ReadOnly, records::ReadCount::ZeroAsOne);
    const ScrewRec& header = record(screw, 1);
    rt::ColumnWriter out;
    banner(out, path, room);
    out.endLine();
    screwTable(out, screw, header.headerScrewDiameter() * 0.5f);
    out.endLine();
    screwTotals(out, header, "Number of left handed elements : ");
    return out.takeLines();
}

std::vector<std::string> barrelReport(const std::string& path, std::size_t room) {
    const std::vector<BarrelRec> barrel =
        records::readBarrelFile(path, records::OpenMode::ReadOnly, records::ReadCount::ZeroAsOne);
    const BarrelRec& header = record(barrel, 1);
    const long blocks = rt::cint(header.headerBlockCount());
    const std::optional<float> scale = blockScale(header, BarrelSource::BarrelFile);
    rt::ColumnWriter out;
    banner(out, path, room);
    out.endLine();
    printRow(out, kBarrelPrintHeading, kBarrelPrintTabs);
    BarrelBlockRows rows(scale);
    for (long i = 2; i <= blocks + 1 && i <= static_cast<long>(barrel.size()); ++i) {
        const auto cells = rows.next(static_cast<int>(i - 1), record(barrel, i), IntegerStyle::NumberItem);
        if (scale) printRow(out, cells, kBarrelPrintTabs);
    }
    out.endLine();
    out.text("Barrel Length (mm) : ").number(rows.position() * scale.value_or(1.0f)).endLine();
    return out.takeLines();
}

std::vector<std::string> dieReport(const std::string& path, std::size_t room) {
    const records::DieRec die = records::readDieFile(path);
    rt::ColumnWriter out;
    out.text(rt::lineWithPath(kStars, path, kStars, room)).endLine();
    out.endLine();
    out.text("Enterance Diameter (mm) : " + rt::format(die.EntranceDiameter, kMm)).endLine();
    out.text("Exit Diameter (mm) : " + rt::format(die.CapillaryDiameter, kMm)).endLine();
    out.text("Die Length (mm) : " + rt::format(die.TotalLength, kMm)).endLine();
    out.text("Converge Zone Length (mm) : " + rt::format(die.CapillaryZoneLength, kMm)).endLine();
    out.text("Number of Holes : " + std::to_string(die.Holes)).endLine();
    return out.takeLines();
}

std::vector<std::string> extruderReport(const records::ExtruderFileContent& extruder, std::size_t room) {
    const records::ExtHeader& h = extruder.header;
    const std::vector<ScrewRec>& screw = extruder.screw;
    const std::vector<BarrelRec>& barrel = extruder.barrel;
    const BarrelRec& barrelHeader = record(barrel, 1);
    const float radius = barrelHeader.headerScrewDiameter() * 0.5f;

    rt::ColumnWriter out;
    out.endLine().endLine();
    out.text("*************** General Information of Extruder ***************").endLine();
    out.endLine();
    out.text("Extruder Category : " + rt::trim(shownText(h.Code))).endLine();
    out.text("Extruder Length : " + rt::format(h.TotalLength * 0.5f, kMm)).endLine();
    out.endLine().endLine();

    banner(out, rt::trim(shownText(h.ScrewFile)), room);
    out.endLine();
    screwTable(out, screw, radius);
    screwTotals(out, record(screw, 1), "Number of left handed elemensts : ");
    out.endLine().endLine();

    banner(out, rt::trim(shownText(h.BarrelFile)), room);
    out.endLine();
    printRow(out, kBarrelPrintHeading, kBarrelPrintTabs);
    const std::optional<float> scale = blockScale(barrelHeader, BarrelSource::ExtruderFile);
    BarrelBlockRows rows(scale);
    for (long j = 2; j <= static_cast<long>(barrel.size()); ++j) {
        const auto cells = rows.next(static_cast<int>(j - 1), record(barrel, j), IntegerStyle::NumberItem);
        if (scale) printRow(out, cells, kBarrelPrintTabs);
    }
    out.text("Barrel Length : " +
             rt::format(ratio(barrelHeader.headerTotalLength(), barrelHeader.headerScrewDiameter()), kMm))
        .endLine();

    const BarrelRec& last = record(barrel, static_cast<long>(barrel.size()));
    if (last.blockType() == records::kDieBlock) {
        out.endLine().endLine();
        banner(out, rt::trim(shownText(h.DieFile)), room);
        out.text("Enterance Diameter(mm) : " + rt::generalForm(radius * last.dieEntranceDiameter())).endLine();
        out.text("Exit Diameter (mm) : " + rt::generalForm(radius * last.dieCapillaryDiameter())).endLine();
        out.text("Die Length (mm) : " + rt::generalForm(radius * last.dieTotalLength())).endLine();
        out.text("Converge zone Length : " + rt::generalForm(radius * last.dieCapillaryZoneLength())).endLine();
        out.text("Nember of Holes : " + rt::generalForm(last.dieHoles())).endLine();
    }
    return out.takeLines();
}

}  // namespace reports
