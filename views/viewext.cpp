#include "views/viewext.h"

#include <cstdint>

#include "platform/rt/convert.h"
#include "platform/rt/error.h"
#include "platform/ui/application.h"
#include "platform/ui/printer.h"
#include "state/header_code.h"
#include "state/state.h"
#include "views/painters.h"
#include "views/view_files.h"

viewext::viewext() : ui::Form("viewext"), nav_({200, 20, true, false}, [this] { DrawExtruderView(); }) {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void viewext::design() {
    setCaption("Display Extruder ");
    setSize(10000, 3000);
    nav_.placeButtons(zoomin, zoomout, lleft, left, right, rright);
    Command1.create(4560, 0, 975, views::kButtonHeight, "Print");
    Command2.create(5640, 0, 975, views::kButtonHeight, "Fit Screen");
}

// The file is read and checked whole before anything is taken from it: a
// rejected file changes nothing but the message it shows. A file chosen for
// display takes its radius from the code's screw elements, the current
// extruder file the radius the system already holds (both fall back on the
// screw header's diameter when that gives none).
void viewext::Form_Load() {
    showing_ = false;
    const bool chosen = !shared::DisplayExtruderFile.empty();
    views::CheckedExtruder file = views::readCheckedExtruder(chosen ? shared::DisplayExtruderFile : shared::ExtruderFile);
    if (file.check == views::ExtruderCheck::MissingOrEmpty) {
        ui::msgBox("Extruder file is not exist or empty !", ui::kOkOnly, ui::kNoIcon, "Caution");
        return;
    }
    if (file.check == views::ExtruderCheck::BadFormat) {
        ui::msgBox("Incorrect file format!", ui::kOkOnly, ui::kNoIcon, "Caution");
        return;
    }

    const records::ExtHeader& header = file.content.header;
    const float headerDiameter = file.content.screw.front().headerScrewDiameter();
    code_ = shared::headerCode(header.Code);
    const bool named = views::adoptExtruderCode(code_);
    if (chosen) {
        const auto geo = named ? views::categoryScrewGeo(code_) : std::nullopt;
        if (geo) shared::CategoryScrewGeo = *geo;
        radius_ = views::drawingRadius(geo ? geo->Diameter : 0.0f, headerDiameter);
        shared::ScrewRadius = radius_;
    } else {
        radius_ = views::drawingRadius(2 * shared::ScrewRadius, headerDiameter);
    }
    shared::ExtruderHeader = header;
    shared::ScrewFile = header.ScrewFile.str();
    shared::BarrelFile = header.BarrelFile.str();
    shared::DieFile = header.DieFile.str();
    shared::ExtScrewRecs = file.content.screw;
    shared::ExtBarrelRecs = file.content.barrel;
    extruder_ = std::move(file.content);
    showing_ = true;

    nav_.setOffset(0);
    setCaption("Display Extruder - " + code_ + "  " + shared::DisplayExtruderFile);
    // 8402.25 = 0.85 of a drawing area 9885 twips wide, the window's at 10000 twips.
    nav_.scale = views::fittedScale(8402.25, views::drawnLength(extruder_, radius_));
    DrawExtruderView();
}

// The screw's top line half the window's height less 200 twips down, the
// root 5 % of the drawing area's width right of the offset.
void viewext::DrawExtruderView() {
    cls();
    if (!showing_) return;
    rt::endQuietlyOnError([&] {
        const std::int32_t margin = rt::cint(scaleWidth() * 0.05);
        const float y0 = rt::cint(height() / 2.0 - 200);
        const float x0 = static_cast<float>(static_cast<std::int32_t>(nav_.offset()) + margin);
        views::PaintExtruder(*this, extruder_, {radius_, nav_.scale, x0, y0, true});
    });
}

// Print: the drawing as zoomed and panned, 1000 twips from the page's left
// edge, flight lines whole, under the code and the placement in mm.
void viewext::Command1_Click() {
    if (!showing_) return;
    rt::endQuietlyOnError([&] {
        const float y0 = rt::cint(height() / 2.0 - 200);
        const float x0 = static_cast<float>(static_cast<std::int32_t>(nav_.offset()) + 1000);
        const records::ExtHeader& h = extruder_.header;
        ui::Printer& page = ui::printer();
        page.text(" ********************  " + code_ + "  ******************** ").endLine();
        page.text(" xb : ").number(h.BarrelOverhang * radius_).text(" (mm)").endLine();
        page.text(" xs : ").number(h.Gap * radius_).text(" (mm)").endLine();
        page.text(" x0 : ").number(h.ScrewOffset * radius_).text(" (mm)").endLine();
        views::PaintExtruder(page, extruder_, {radius_, nav_.scale, x0, y0, false});
        page.endDoc();
    });
}

// Fit Screen: offset 0, the barrel and die over 85 % of the drawing area.
void viewext::Command2_Click() {
    if (!showing_) return;
    nav_.setOffset(0);
    nav_.scale = views::fittedScale(scaleWidth() * 0.85, views::drawnLength(extruder_, radius_));
    DrawExtruderView();
}

void viewext::onUnload() { shared::DisplayExtruderFile.clear(); }
