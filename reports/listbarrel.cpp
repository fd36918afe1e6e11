#include "reports/listbarrel.h"

#include "platform/rt/convert.h"
#include "platform/rt/numtext.h"
#include "records/design_files.h"
#include "reports/listing_grid.h"
#include "reports/rows.h"
#include "state/state.h"

namespace {
constexpr std::array<reports::GridColumn, 7> kColumns = {{{"Number", 1030},
                                                          {"Code", 1360},
                                                          {"Type", 820},
                                                          {"Length", 800},
                                                          {"Opening", 900},
                                                          {"Location", 1200},
                                                          {"Port Location", 1200}}};
// Height of one grid row; the grid is as high as its rows.
constexpr gfx::Twips kRowHeight = 247;
}  // namespace

listbarrel::listbarrel() : ui::Form("listbarrel") { Command1.onClick = [this] { Command1_Click(); }; }

void listbarrel::design() {
    setCaption("View barrel File");
    setSize(7680, 2988);
    bflexgrid.create(0, 0, 7420, 1988, 2, 7);
    Label1.create(120, 2138, 1560, 255, "Barrel L/D ratio :");
    Text1.create(1680, 2138, 1215, 315);
    Command1.create(6120, 2138, 1215, 375, "Close");
}

// A file that cannot be listed ends the load where it failed: the window
// shows its caption and what was filled so far.
void listbarrel::Form_Load() {
    setCaption("View Barrel File - " + shared::BarrelFile);
    rt::endQuietlyOnError([&] {
        records::RecordFile file(shared::BarrelFile, records::BarrelRec::kSize, records::OpenMode::ReadOnly);
        bflexgrid.setRows(file.recordCount());
        const gfx::Twips gridHeight = kRowHeight * static_cast<gfx::Twips>(bflexgrid.rows());
        bflexgrid.setHeight(gridHeight);
        Text1.setTop(gridHeight + 150);
        Label1.setTop(gridHeight + 150);
        Command1.setTop(gridHeight + 150);
        setHeight(gridHeight + 1000);
        reports::setGridColumns(bflexgrid, kColumns);
        bflexgrid.setWidth(7420);

        const auto header = file.read<records::BarrelRec>(1);
        Text1.setText(rt::generalForm(reports::ratio(header.headerTotalLength(), header.headerScrewDiameter())));
        const int blocks = rt::cint(header.headerBlockCount());
        reports::BarrelBlockRows rows(reports::blockScale(header, reports::BarrelSource::BarrelFile));
        for (int i = 2; i <= blocks + 1; ++i) {
            const auto cells = rows.next(i - 1, file.read<records::BarrelRec>(i), reports::IntegerStyle::Plain);
            reports::setGridRow(bflexgrid, i - 1, cells);
        }
        bflexgrid.refresh();
    });
}

void listbarrel::Command1_Click() { unload(); }
