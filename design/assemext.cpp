#include "design/assemext.h"

#include "design/extruder_assembly.h"
#include "design/fitext.h"
#include "platform/rt/error.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "records/files.h"
#include "state/state.h"

assemext::assemext() : ui::Form("assemext") {
    fscrew.onClick = [this] { fscrew_Click(); };
    fbarrel.onClick = [this] { fbarrel_Click(); };
    fdie.onClick = [this] { fdie_Click(); };
    make.onClick = [this] { make_Click(); };
}

void assemext::design() {
    setCaption("Extruder Assembly");
    setSize(7560, 3720);
    Label1.create(240, 240, 5160, 255, "Select Screw Path / Filename :");
    Text1.create(240, 510, 5160, 315);
    fscrew.create(5640, 480, 1575, 375, "Find Screw");
    Label2.create(240, 1020, 5160, 255, "Select Barrel Path /Filename :");
    Text2.create(240, 1290, 5160, 315);
    fbarrel.create(5640, 1260, 1575, 375, "Find Barrel");
    Label3.create(240, 1800, 5160, 255, "Select Die Path/Filename :");
    Text3.create(240, 2070, 5160, 315);
    fdie.create(5640, 2040, 1575, 375, "Find Die");
    make.create(2760, 2640, 2040, 435, "Make Extruder !");
    dlgcommon.create();
}

void assemext::onLoad() {
    code_ = shared::ExtruderCategory;
    forgetChoices();
}

void assemext::forgetChoices() {
    screw_.clear();
    screwPath_.clear();
    barrel_.clear();
    barrelPath_.clear();
    die_.reset();
    diePath_.clear();
}

std::string assemext::chooseFile(const std::string& pattern, const std::string& filter) {
    dlgcommon.preset(pattern, shared::AppDir, filter);
    dlgcommon.showOpen();
    return dlgcommon.fileName();
}

void assemext::message(const std::string& text) {
    ui::msgBox(text, ui::kOkOnly, ui::kNoIcon, "Extruder Assembly");
}

// A cancelled dialog hands back the pattern, which no file can be opened as:
// each Find then ends quietly, as it does on any failed read. A refused file
// leaves the earlier choice of its kind.
void assemext::fscrew_Click() {
    rt::endQuietlyOnError([&] {
        const std::string path = chooseFile("*.srw", "screw file(*.srw)|*.srw");
        auto recs = records::readScrewFile(path);
        const std::string fault = design::screwFileFault(recs, code_);
        if (!fault.empty()) return message(fault);
        screw_ = std::move(recs);
        screwPath_ = path;
        Text1.setText(path);
    });
}

void assemext::fbarrel_Click() {
    rt::endQuietlyOnError([&] {
        const std::string path = chooseFile("*.brl", "barrel file(*.brl)|*.brl");
        auto recs = records::readBarrelFile(path);
        const std::string fault = design::barrelFileFault(recs, code_);
        if (!fault.empty()) return message(fault);
        barrel_ = std::move(recs);
        barrelPath_ = path;
        Text2.setText(path);
    });
}

void assemext::fdie_Click() {
    rt::endQuietlyOnError([&] {
        const std::string path = chooseFile("*.die", "die file(*.die)|*.die");
        records::RecordFile file(path, records::DieRec::kSize, records::OpenMode::ReadOnly);
        const int count = file.recordCount();
        const auto die = file.read<records::DieRec>(1);
        file.close();
        const std::string fault = design::dieFileFault(die, count, code_);
        if (!fault.empty()) return message(fault);
        die_ = die;
        diePath_ = path;
        Text3.setText(path);
    });
}

// Make: places the screw, refuses one that stops short of the last opening,
// writes the chosen .ext from its first byte and opens the fitting on it. A
// cancelled or failed save leaves the window with its choices and the
// current extruder file as they were.
void assemext::make_Click() {
    if (screw_.empty()) return message("You must Select Screw!");
    if (barrel_.empty()) return message("You must Select Barrel!");
    rt::endQuietlyOnError([&] {
        const design::Assembly a =
            design::assemble(code_, screw_, barrel_, die_, {screwPath_, barrelPath_, diePath_});
        if (!a.placement.screwReachesLastOpening())
            return message(
                " Screw too short or vents are incorrectly located. You may have to re-design the screw ro barrel.");
        dlgcommon.preset("*.ext", shared::AppDir, "Extruder file(*.ext)|*.ext");
        dlgcommon.showSave();
        const std::string path = dlgcommon.fileName();
        records::writeExtruderFile(path, a.file, records::ExtruderWrite::OverExisting);

        shared::ExtScrewRecs = a.file.screw;
        shared::ExtBarrelRecs = a.file.barrel;
        shared::ScrewRadius = a.screw.radius;
        shared::PortCount = a.barrel.portCount();
        shared::ExtScrewOffset = a.placement.screwOffset;
        shared::ExtOverhang = a.placement.overhang;
        shared::ExtruderFile = path;
        // A fitting left open on an earlier extruder gives way to this one.
        fitext& fitting = ui::form<fitext>();
        fitting.unload();
        fitting.show();
        unload();
    });
}
