#include "reports/listscrew.h"

#include "platform/rt/numtext.h"
#include "records/design_files.h"
#include "reports/listing_grid.h"
#include "reports/rows.h"
#include "state/state.h"

namespace {
constexpr std::array<reports::GridColumn, 9> kColumns = {{{"Number", 800},
                                                          {"Code", 1200},
                                                          {"Type", 590},
                                                          {"NT", 590},
                                                          {"Sign", 670},
                                                          {"Length", 930},
                                                          {"Phi", 930},
                                                          {"Nd", 600},
                                                          {"StagAng", 760}}};
}  // namespace

listscrew::listscrew() : ui::Form("listscrew") { Command1.onClick = [this] { Command1_Click(); }; }

void listscrew::design() {
    setCaption("View Screw File");
    setSize(8400, 5460);
    sflexgrid.create(0, 0, 7420, 3600, 2, 9);
    // Two rows of totals under the grid, each box right of its label.
    Label1.create(120, 3750, 1800, 255, "Number of elements :");
    Text1.create(1920, 3720, 615, 315);
    Label2.create(2700, 3750, 1500, 255, "Screw L/D ratio :");
    Text2.create(4200, 3720, 735, 315);
    Label3.create(5040, 3750, 2460, 255, "Number of Screw Elements :");
    Text3.create(7500, 3720, 615, 315);
    Label4.create(120, 4170, 3000, 255, "Number of kneading disk elements :");
    Text4.create(3120, 4140, 615, 315);
    Label5.create(3900, 4170, 2880, 255, "Number of left handed elements :");
    Text5.create(6780, 4140, 615, 315);
    Command1.create(6900, 4620, 1215, 375, "Close");
}

// A file that cannot be listed ends the load where it failed: the window
// shows its caption and what was filled so far.
void listscrew::Form_Load() {
    setCaption("View Screw File - " + shared::ScrewFile);
    rt::endQuietlyOnError([&] {
        records::RecordFile file(shared::ScrewFile, records::ScrewRec::kSize, records::OpenMode::ReadOnly);
        const int count = file.recordCount();
        sflexgrid.setRows(count - 2);
        reports::setGridColumns(sflexgrid, kColumns);
        sflexgrid.setWidth(7420);
        const auto header = file.read<records::ScrewRec>(1);
        const float radius = header.headerScrewDiameter() * 0.5f;
        Text1.setText(std::to_string(header.headerElementCount()));
        Text2.setText(rt::format(header.headerTotalLength() / 2.0f, "##0.00"));
        Text3.setText(std::to_string(header.headerConveyingCount()));
        Text4.setText(std::to_string(header.headerKneadingCount()));
        Text5.setText(rt::generalForm(header.headerLeftHandedCount()));
        for (int i = 3; i <= count - 1; ++i) {
            const auto row = reports::screwElementRow(i - 2, file.read<records::ScrewRec>(i), radius,
                                                      reports::IntegerStyle::Plain);
            reports::setGridRow(sflexgrid, i - 2, row.cells);
        }
        sflexgrid.refresh();
    });
}

void listscrew::Command1_Click() { unload(); }
