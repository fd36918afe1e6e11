#include "views/viewdie.h"

#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/printer.h"
#include "views/painters.h"
#include "views/view_files.h"

viewdie::viewdie() : ui::Form("viewdie"), nav_({600, 200, false, false}, [this] { DrawDieView(); }) {
    Command1.onClick = [this] { Command1_Click(); };
}

void viewdie::design() {
    setCaption("Display Die");
    setSize(10000, 3000);
    nav_.placeButtons(zoomin, zoomout, lleft, left, right, rright);
    Command1.create(4560, 0, 975, views::kButtonHeight, "Print");
}

void viewdie::showFile(const std::string& path, gfx::Twips width) {
    path_ = path;
    setSize(width, 3000);  // a first showing loads the window, which draws path_
    show();
    DrawDieView();
}

void viewdie::Form_Load() {
    nav_.scale = 9.0f;
    nav_.setOffset(200);
    DrawDieView();
}

// The last record of the die file, its block five entrance diameters high.
// A file that cannot be read leaves the window blank under its last caption.
void viewdie::DrawDieView() {
    cls();
    rt::endQuietlyOnError([&] {
        const records::DieRec die = views::lastDieRecord(path_);
        setCaption(die.Code.str() + "   " + path_);
        const float s = nav_.scale;
        views::PaintDie(*this, s, nav_.offset(), height() / 2 - 200, die, 5 * die.EntranceDiameter * s / 2);
    });
}

// Print: record 1 of the die file at the window's zoom and pan, under its
// path (shortened in the middle of its folders when too long for the line).
void viewdie::Command1_Click() {
    cls();
    rt::endQuietlyOnError([&] {
        const records::DieRec die = views::firstDieRecord(path_);
        ui::Printer& page = ui::printer();
        page.text(" ******************** Die View ******************** ").endLine();
        page.text(rt::lineWithPath(" Die file : ", path_, "", page.charactersPerLine())).endLine();
        page.endLine();
        const float s = nav_.scale;
        views::PaintDie(page, s, nav_.offset(), height() / 2 - 200, die, 5 * die.EntranceDiameter * s / 2);
        page.endDoc();
        DrawDieView();
    });
}
