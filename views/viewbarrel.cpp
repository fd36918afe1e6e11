#include "views/viewbarrel.h"

#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/printer.h"
#include "records/work_files.h"
#include "state/header_code.h"
#include "state/state.h"
#include "views/painters.h"
#include "views/view_files.h"

viewbarrel::viewbarrel()
    : ui::Form("viewbarrel"), nav_({600, 200, false, true}, [this] { DrawBarrelView(); }) {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void viewbarrel::design() {
    setCaption("Display Barrel");
    setSize(10000, 3000);
    nav_.placeButtons(zoomin, zoomout, lleft, left, right, rright);
    Command1.create(4560, 0, 975, views::kButtonHeight, "Print");
    Command2.create(5640, 0, 975, views::kButtonHeight, "Fit screen");
}

// With a file chosen: its blocks become the work file. Without: the work
// file of this window's earlier load is shown again, untitled. A file that
// cannot be read leaves the window empty and everything else as it was.
void viewbarrel::Form_Load() {
    const std::string chosen = shared::DisplayBarrelFile;
    if (!chosen.empty()) {
        showing_ = false;
        path_.clear();
        if (!rt::endQuietlyOnError([&] { loadFile(chosen); })) return;
    } else {
        path_.clear();
        setCaption("");
    }
    nav_.scale = views::fittedScale(9500, totalLength_);
    nav_.setOffset(100);
    DrawBarrelView();
}

void viewbarrel::loadFile(const std::string& path) {
    const records::BarrelRec header =
        views::copyBarrelBlocks(path, views::workFilePath(records::workfile::kTempBarrel));
    totalLength_ = header.headerTotalLength();
    // Only a barrel file's own code becomes the current one.
    if (records::hasMarker(header)) views::adoptExtruderCode(shared::headerCode(header.Code));
    setCaption(header.Code.str() + path);
    path_ = path;
    showing_ = true;
}

void viewbarrel::DrawBarrelView() {
    cls();
    if (!showing_) return;
    rt::endQuietlyOnError([&] {
        const auto blocks = views::readBarrelBlocks(views::workFilePath(records::workfile::kTempBarrel));
        views::PaintBarrel(*this, blocks, nav_.scale, nav_.offset(), height() / 2 - 200,
                           views::BarrelOrder::OutlineFirst);
    });
}

// Print: the drawing as the window shows it, under the code and the file
// (a path too long for the page's line loses the middle of its folders).
void viewbarrel::Command1_Click() {
    if (!showing_) return;
    cls();
    rt::endQuietlyOnError([&] {
        const auto blocks = views::readBarrelBlocks(views::workFilePath(records::workfile::kTempBarrel));
        ui::Printer& page = ui::printer();
        page.text(views::starLine(shared::ExtruderCategory)).endLine();
        page.text(rt::lineWithPath(" barrel file : ", path_, "", page.charactersPerLine())).endLine();
        page.endLine();
        views::PaintBarrel(page, blocks, nav_.scale, nav_.offset(), height() / 2 - 200,
                           views::BarrelOrder::TypeFirst);
        page.endDoc();
        DrawBarrelView();
    });
}

// Fit screen: the barrel over 95 % of the window's width, 100 twips in.
void viewbarrel::Command2_Click() {
    nav_.scale = views::fittedScale(width() * 0.95, totalLength_);
    nav_.setOffset(100);
    DrawBarrelView();
}

void viewbarrel::onUnload() { shared::DisplayBarrelFile.clear(); }
