#include "design/fitext.h"

#include "design/extruder_assembly.h"
#include "design/fitting_drawing.h"
#include "platform/io/files.h"
#include "platform/rt/error.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/header_code.h"
#include "state/state.h"

namespace {

constexpr int kStepMm = 3;
constexpr gfx::Twips kScrewStartX = 1400;

// A black arrow along a button, pointing left (towards the feed end) or right.
gfx::Picture arrowPicture(bool left) {
    gfx::Picture p;
    p.width = 600;
    p.height = 360;
    const gfx::Twips tip = left ? 90 : 510, tail = left ? 510 : 90, barb = left ? 240 : 360;
    auto stroke = [&](gfx::Twips x1, gfx::Twips y1, gfx::Twips x2, gfx::Twips y2) {
        gfx::DrawOp op;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.lineWidth = 3;
        p.drawing.add(op);
    };
    stroke(tail, 180, tip, 180);
    stroke(tip, 180, barb, 60);
    stroke(tip, 180, barb, 300);
    return p;
}

}  // namespace

fitext::fitext() : ui::Form("fitext") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
}

void fitext::design() {
    setCaption("Fitting Extruder");
    Command1.create(1400, 360, 720, 480, "");
    Command1.setPicture(arrowPicture(true));
    Command2.create(2280, 360, 720, 480, "");
    Command2.setPicture(arrowPicture(false));
    Command3.create(8640, 360, 1335, 480, "Done !");
    Label1.create(3240, 480, 1200, 255, "");
}

std::string fitext::readExtruder() {
    const std::string empty = "Extruder file is not exist or empty !";
    records::ExtruderFileContent c;
    try {
        if (!io::fileExists(file_) || io::fileLen(file_) == 0) return empty;
        c = records::readExtruderFile(file_);
    } catch (const rt::Error& e) {
        // Records announced past the end of the file, or a negative count.
        if (e.number() == rt::kInputPastEndOfFile || e.number() == rt::kBadRecordLength)
            return design::kIncorrectFileFormat;
        return empty;
    }
    const float radius = c.screw.empty() ? 0.0f : c.screw.front().headerScrewDiameter() / 2.0f;
    if (!records::hasMarker(c.header) || !design::canDrawFitting(c.barrel, c.screw, radius))
        return design::kIncorrectFileFormat;

    header_ = c.header;
    FitScrewRecs = std::move(c.screw);
    FitBarrelRecs = std::move(c.barrel);
    radius_ = radius;
    gap_ = header_.Gap;
    overhang_ = header_.BarrelOverhang;
    return {};
}

// Reads the file the assembly wrote. A file that is missing, empty or not
// a drawable extruder closes the window after its message.
void fitext::Form_Load() {
    loaded_ = false;
    file_ = shared::ExtruderFile;
    const std::string fault = readExtruder();
    if (!fault.empty()) {
        ui::msgBox(fault, ui::kOkOnly, ui::kNoIcon, "Fit Extruder");
        unload();
        return;
    }
    shared::ExtruderHeader = header_;
    shared::ExtruderCategory = shared::headerCode(header_.Code);
    shared::ScrewFile = header_.ScrewFile.rtrimmed();
    shared::BarrelFile = header_.BarrelFile.rtrimmed();
    shared::DieFile = header_.DieFile.rtrimmed();
    shared::ExtScrewOffset = header_.ScrewOffset;
    shared::ExtGap = header_.Gap;
    shared::ExtOverhang = header_.BarrelOverhang;
    Label1.setCaption("0 (mm)");
    setSize(11100, 5580);
    FitLeftMargin = 1200;
    FitScrewX = kScrewStartX;
    FitShift = 0;
    loaded_ = true;
    DrawFitting();
}

void fitext::Command1_Click() {
    FitScrewX = FitScrewX - kStepMm * FitScale;
    FitShift = FitShift + kStepMm;
    showShift();
}

void fitext::Command2_Click() {
    FitScrewX = FitScrewX + kStepMm * FitScale;
    FitShift = FitShift - kStepMm;
    if (FitShift < 0) {
        FitShift = 0;
        FitScrewX = kScrewStartX;
    }
    showShift();
}

void fitext::showShift() {
    Label1.setCaption(std::to_string(FitShift) + " (mm)");
    Label1.refresh();
    DrawFitting();
}

// "Done !": the shift applied to the placement read at load, the whole file
// rewritten. A failed write keeps the old file whole and the window open
// with its shift.
void fitext::Command3_Click() {
    if (!loaded_) return;
    const design::FittedPlacement f = design::fitScrew(FitShift, radius_, gap_, overhang_, FitBarrelRecs);
    records::ExtruderFileContent c{header_, FitScrewRecs, FitBarrelRecs};
    c.header.ScrewOffset = f.screwOffset;
    c.header.Gap = f.gap;
    c.header.BarrelOverhang = f.overhang;
    c.header.TotalLength = f.totalLength;
    const bool written = rt::endQuietlyOnError(
        [&] { records::writeExtruderFile(file_, c, records::ExtruderWrite::Replace); });
    if (!written) {
        ui::msgBox("Extruder file could not be written!", ui::kOkOnly, ui::kNoIcon, "Fit Extruder");
        return;
    }
    shared::ExtruderHeader = c.header;
    shared::ExtOverhang = f.overhang;
    ui::msgBox("Extruder File is created sucessfully!", ui::kOkOnly, ui::kNoIcon, "Creat Extruder");
    unload();
}

void fitext::Form_Resize() {
    if (loaded_) DrawFitting();
}

void fitext::Form_Unload() {
    shared::DisplayExtruderFile.clear();
    loaded_ = false;
    FitScrewRecs.clear();
    FitBarrelRecs.clear();
}

void fitext::DrawFitting() {
    if (!loaded_) return;
    design::FittingView view;
    view.screwX = FitScrewX;
    view.leftMargin = FitLeftMargin;
    view.radius = radius_;
    view.overhang = overhang_;
    view.gap = gap_;
    view.windowHeight = height();
    const design::FittingLayout layout = design::drawFitting(*this, FitBarrelRecs, FitScrewRecs, view);
    FitScale = layout.scale;
    Label1.move(layout.labelLeft, layout.labelTop, Label1.width(), Label1.height());
}
