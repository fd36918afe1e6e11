#include "reports/listext.h"

#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "records/design_files.h"
#include "reports/listing_grid.h"
#include "reports/rows.h"
#include "state/state.h"

namespace {

constexpr std::array<reports::GridColumn, 9> kScrewColumns = {{{"Number", 800},
                                                               {"Code", 1000},
                                                               {"Type", 600},
                                                               {"NT", 600},
                                                               {"Sign", 700},
                                                               {"Length", 1000},
                                                               {"Phi", 1000},
                                                               {"Nd", 600},
                                                               {"StagAng", 760}}};
constexpr std::array<reports::GridColumn, 7> kBarrelColumns = {{{"Number", 1000},
                                                                {"Code", 1300},
                                                                {"Type", 800},
                                                                {"Length", 800},
                                                                {"Opening", 900},
                                                                {"Location", 1200},
                                                                {"Port Location", 1080}}};
constexpr gfx::Twips kGridWidth = 7420;

// A label and its box on one line of a frame.
void field(ui::Frame& frame, ui::Label& label, ui::TextBox& box, gfx::Twips left, gfx::Twips top,
           gfx::Twips labelWidth, const char* caption, gfx::Twips boxWidth = 975) {
    label.create(left, top + 30, labelWidth, 255, caption).setContainer(frame);
    box.create(left + labelWidth, top, boxWidth, 315).setContainer(frame);
}

}  // namespace

listext::listext() : ui::Form("listext") { Command1.onClick = [this] { Command1_Click(); }; }

void listext::design() {
    setCaption("View Extruder");
    setSize(7800, 9780);
    // Two columns of fields in a frame: labels at 120 and 3720.
    const gfx::Twips left = 120, right = 3720, wide = 2520;
    Frame1.create(120, 60, kGridWidth, 735, "General Extruder Information");
    field(Frame1, Label1, Text1, left, 300, 1680, "Extruder Category :");
    field(Frame1, Label2, Text2, right, 300, 1680, "Extruder Length :");

    Frame2.create(120, 900, kGridWidth, 1575, "Screw Information");
    field(Frame2, Label3, Text3, left, 300, 3240, "Number of elements : ", 615);
    field(Frame2, Label6, Text6, left, 720, 3240, "Number of kneading disk elements : ", 615);
    field(Frame2, Label7, Text7, left, 1140, 3240, "Number of left handed elements : ", 615);
    field(Frame2, Label4, Text4, 4080, 300, 2640, "Screw L/D ratio :", 615);
    field(Frame2, Label5, Text5, 4080, 720, 2640, "Number of screw elements :", 615);
    fGrid1.create(120, 2580, kGridWidth, 2100, 2, 9);

    Frame3.create(120, 4785, kGridWidth, 735, "Barrel Information");
    field(Frame3, Label8, Text8, left, 300, wide, "Barrel L/D ratio : ");
    fGrid2.create(120, 5625, kGridWidth, 1500, 2, 7);

    Frame4.create(120, 7230, kGridWidth, 1575, "Die Information");
    field(Frame4, Label9, Text9, left, 300, wide, "Enterance Diameter : ");
    field(Frame4, Label10, Text10, left, 720, wide, "Capillary Diameter : ");
    field(Frame4, Label11, Text11, right, 300, wide, "Die Length (mm) :");
    field(Frame4, Label12, Text12, right, 720, wide, "Capillary Zone Length (mm) :");
    field(Frame4, Label13, Text13, left, 1140, wide, "Number of Holes : ");
    Command1.create(6325, 8880, 1215, 375, "Close");
}

// A file that cannot be listed ends the load where it failed: the window
// shows its caption and what was filled so far.
void listext::Form_Load() {
    setCaption("View Extruder File - " + shared::ExtruderFile);
    rt::endQuietlyOnError([&] {
        using reports::record;
        const records::ExtruderFileContent ext = records::readExtruderFile(shared::ExtruderFile);
        const std::vector<records::ScrewRec>& screw = ext.screw;
        const std::vector<records::BarrelRec>& barrel = ext.barrel;
        const records::BarrelRec& barrelHeader = record(barrel, 1);
        const float radius = barrelHeader.headerScrewDiameter() * 0.5f;

        const records::ScrewRec& screwHeader = record(screw, 1);
        Text1.setText(rt::trim(reports::shownText(ext.header.Code)));
        Text2.setText(rt::format(ext.header.TotalLength * 0.5f, "##0.00"));
        Text3.setText(std::to_string(screwHeader.headerElementCount()));
        Text4.setText(rt::format(screwHeader.headerTotalLength() / 2.0f, "##0.00"));
        Text5.setText(std::to_string(screwHeader.headerConveyingCount()));
        Text6.setText(std::to_string(screwHeader.headerKneadingCount()));
        Text7.setText(rt::generalForm(screwHeader.headerLeftHandedCount()));

        const int nS = static_cast<int>(screw.size());
        fGrid1.setRows(nS - 2);
        reports::setGridColumns(fGrid1, kScrewColumns);
        fGrid1.setWidth(kGridWidth);
        for (int j = 3; j <= nS - 1; ++j) {
            const auto row = reports::screwElementRow(j - 2, record(screw, j), radius, reports::IntegerStyle::Plain);
            reports::setGridRow(fGrid1, j - 2, row.cells);
        }
        fGrid1.refresh();

        const int nB = static_cast<int>(barrel.size());
        fGrid2.setRows(nB);
        reports::setGridColumns(fGrid2, kBarrelColumns);
        fGrid2.setWidth(kGridWidth);
        Text8.setText(rt::format(
            reports::ratio(barrelHeader.headerTotalLength(), barrelHeader.headerScrewDiameter()), "##0.00"));
        reports::BarrelBlockRows rows(reports::blockScale(barrelHeader, reports::BarrelSource::ExtruderFile));
        for (int j = 2; j <= nB; ++j)
            reports::setGridRow(fGrid2, j - 1, rows.next(j - 1, record(barrel, j), reports::IntegerStyle::Plain));
        // The die has its own frame: its row goes.
        const records::BarrelRec& last = record(barrel, nB);
        const bool hasDie = last.blockType() == records::kDieBlock;
        if (hasDie) fGrid2.setRows(nB - 1);
        fGrid2.refresh();

        if (hasDie) {
            Text9.setText(rt::generalForm(last.dieEntranceDiameter() * radius));
            Text10.setText(rt::generalForm(last.dieCapillaryDiameter() * radius));
            Text11.setText(rt::generalForm(last.dieTotalLength() * radius));
            Text12.setText(rt::generalForm(last.dieCapillaryZoneLength() * radius));
            Text13.setText(rt::generalForm(last.dieHoles()));
        } else {
            for (ui::TextBox* box : {&Text9, &Text10, &Text11, &Text12, &Text13}) box->setText("0");
        }
    });
}

void listext::Command1_Click() { unload(); }
