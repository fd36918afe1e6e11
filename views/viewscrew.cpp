#include "views/viewscrew.h"

#include <string>

#include "platform/rt/error.h"
#include "platform/rt/text.h"
#include "platform/ui/printer.h"
#include "records/work_files.h"
#include "state/header_code.h"
#include "state/state.h"
#include "views/painters.h"
#include "views/view_files.h"

viewscrew::viewscrew()
    : ui::Form("viewscrew"), nav_({600, 200, false, false}, [this] { DrawScrewView(); }) {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void viewscrew::design() {
    setCaption("Display Screw");
    setSize(10000, 3000);
    nav_.placeButtons(zoomin, zoomout, lleft, left, right, rright);
    Command1.create(4560, 0, 975, views::kButtonHeight, "print");
    Command2.create(5640, 0, 1095, views::kButtonHeight, "Fit Screen");
}

float viewscrew::fitted(double extent) const {
    return views::fittedScale(extent, (static_cast<double>(totalLength_) + 3.577) * diameter_ / 2);
}

// The scale follows the header's diameter, the drawing the element file's
// (the header's when the element file gives none). A file that cannot be
// read leaves the window empty and everything else as it was.
void viewscrew::Form_Load() {
    cls();
    showing_ = false;
    path_.clear();
    const std::string chosen = shared::DisplayScrewFile;
    if (chosen.empty()) return;
    rt::endQuietlyOnError([&] {
        const records::ScrewRec header = views::readScrewHeader(chosen);
        const std::string code = shared::headerCode(header.Code);
        // Only a screw file's own code becomes the current one.
        const bool named = records::hasMarker(header) && views::adoptExtruderCode(code);
        const auto geo = named ? views::categoryScrewGeo(code) : std::nullopt;
        radius_ = views::drawingRadius(geo ? geo->Diameter : 0.0f, header.headerScrewDiameter());
        totalLength_ = header.headerTotalLength();
        diameter_ = header.headerScrewDiameter();
        nav_.scale = fitted(9500);
        nav_.setOffset(100);
        setCaption(code + "  " + chosen);
        path_ = chosen;
        showing_ = true;
        DrawScrewView();
    });
}

void viewscrew::DrawScrewView() {
    cls();
    if (!showing_) return;
    rt::endQuietlyOnError([&] {
        const auto elements = views::copyScrewElements(path_, views::workFilePath(records::workfile::kViewScrew));
        views::PaintScrew(*this, radius_, nav_.scale, nav_.offset(), height() / 2 - 200, elements, true);
        refresh();
    });
}

// print: the drawing at the window's zoom and pan, every flight line whole.
// A path too long for the page's line loses the middle of its folders.
void viewscrew::Command1_Click() {
    if (!showing_) return;
    cls();
    rt::endQuietlyOnError([&] {
        const auto elements = views::copyScrewElements(path_, views::workFilePath(records::workfile::kViewScrew));
        ui::Printer& page = ui::printer();
        page.text(views::starLine(shared::ExtruderCategory)).endLine();
        page.text(rt::lineWithPath(" Screw file : ", path_, "", page.charactersPerLine())).endLine();
        page.text(" Number of elements : " + std::to_string(elements.size())).endLine();
        page.endLine();
        views::PaintScrew(page, radius_, nav_.scale, nav_.offset(), height() / 2 - 200, elements, false);
        page.endDoc();
        DrawScrewView();
    });
}

// Fit Screen: the screw with root and head over 95 % of the window's width.
void viewscrew::Command2_Click() {
    nav_.scale = fitted(width() * 0.95);
    nav_.setOffset(100);
    DrawScrewView();
}

void viewscrew::onUnload() { shared::DisplayScrewFile.clear(); }
