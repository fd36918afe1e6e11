#include "elements/build_screw.h"

#include "catalog/catalog_files.h"
#include "elements/element_db.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "shell/state.h"

namespace {
constexpr const char* kTitle = "Build Screw Elements";
}

BuildScrew::BuildScrew() : ui::Form("BuildScrew") {
    List1.onClick = [this] { List1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void BuildScrew::design() {
    setCaption("Build Screw Elements");
    setSize(8880, 5700);
    Frame1.create(120, 120, 3240, 4920, "Screw codes");
    List1.create(120, 300, 3000, 4500).setContainer(Frame1);

    const gfx::Twips lx = 3600, lw = 2760, bx = 6480, bw = 2160, h = 315, step = 480;
    gfx::Twips y = 240;
    Label1.create(lx, y, lw, h, "Record Number");
    Label9.create(bx, y, bw, h, "");
    y += step;
    Label2.create(lx, y, lw, h, "Elementcode (16 characters)");
    Text7.create(bx, y, bw, h);
    y += step;
    Label3.create(lx, y, lw, h, "Screw Diameter");
    Text2.create(bx, y, bw, h);
    y += step;
    Label4.create(lx, y, lw, h, "Center Line Distance (mm)");
    Text3.create(bx, y, bw, h);
    y += step;
    Label5.create(lx, y, lw, h, "Number of Tips");
    Text6.create(bx, y, bw, h);
    y += step;
    Label6.create(lx, y, lw, h, "Screw Lead(mm)");
    Text4.create(bx, y, bw, h);
    y += step;
    Label7.create(lx, y, lw, h, "Element Length (mm)");
    Text5.create(bx, y, bw, h);
    y += step;
    Label8.create(lx, y, lw, h, "Handness (Select Handness)");
    Combo1.create(bx, y, bw, h, "Type");
    Combo1.addItem("Left");
    Combo1.addItem("Right");

    const gfx::Twips cy = 4320, cw = 1560, ch = 375;
    Command1.create(3600, cy, cw, ch, "Accept");
    Command1.setEnabled(false);
    Command6.create(5340, cy, cw, ch, "Edit");
    Command3.create(7080, cy, cw, ch, "Add");
    Command4.create(3600, cy + 480, cw, ch, "Delete");
    Command5.create(5340, cy + 480, cw, ch, "Done !");
    Command2.create(7080, cy + 480, cw, ch, "Cancel");
}

void BuildScrew::Form_Load() {
    recs_.clear();
    if (!catalog::codeNameFault(shared::ExtruderCategory).empty()) {
        ui::msgBox(catalog::refusedCodeMessage(shared::ExtruderCategory), ui::kOkOnly, ui::kNoIcon, kTitle);
        unload();
        return;
    }
    path_ = elements::screwElementPath();
    recs_ = records::readScrewGeoFile(path_);
    setCaption("Build Screw Elements - " + shared::ExtruderCategory);
    FillScrewList();
}

void BuildScrew::FillScrewList() {
    List1.clear();
    for (std::size_t i = 0; i < recs_.size(); ++i)
        List1.addItem(elements::listItem(static_cast<int>(i + 1), recs_[i].Code));
}

void BuildScrew::setEditing(bool editing) {
    Command1.setEnabled(editing);
    Command3.setEnabled(!editing);
    Command6.setEnabled(!editing);
}

// Shows record r (1-based) in the label and the six boxes.
void BuildScrew::showRecord(int r) {
    const records::ScrewGeoRec& g = recs_[static_cast<std::size_t>(r - 1)];
    Label9.setCaption(std::to_string(r));
    Text7.setText(catalog::entryText(g.Code));
    Text2.setText(elements::numberText(g.Diameter));
    Text3.setText(elements::numberText(g.CenterlineDistance));
    Text6.setText(elements::numberText(g.Tips));
    Text4.setText(elements::numberText(g.Lead));
    Text5.setText(elements::numberText(g.Length));
}

void BuildScrew::List1_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) return;
    showRecord(i + 1);
    const auto hand = recs_[static_cast<std::size_t>(i)].Hand;
    if (hand == records::kLeftHanded) Combo1.setText("Left");
    else if (hand == records::kRightHanded) Combo1.setText("Right");
}

// Accept: every number is read before anything is stored, so a box holding
// no number leaves the record as it was.
void BuildScrew::Command1_Click() {
    const int r = elements::shownRecord(Label9.caption());
    if (r < 1 || r > static_cast<int>(recs_.size())) return;
    float diameter = 0, centerline = 0, lead = 0, length = 0;
    std::int16_t tips = 0;
    for (const std::string& fault : {elements::readSingle(Text2.text(), "Screw Diameter", diameter),
                                     elements::readSingle(Text3.text(), "Center Line Distance", centerline),
                                     elements::readInteger(Text6.text(), "Number of Tips", tips),
                                     elements::readSingle(Text4.text(), "Screw Lead", lead),
                                     elements::readSingle(Text5.text(), "Element Length", length)}) {
        if (!fault.empty()) {
            ui::msgBox(fault, ui::kOkOnly, ui::kNoIcon, kTitle);
            return;
        }
    }
    records::ScrewGeoRec& g = recs_[static_cast<std::size_t>(r - 1)];
    g.Code = rt::ucase(Text7.text());
    g.Diameter = diameter;
    g.CenterlineDistance = centerline;
    g.Tips = tips;
    g.Lead = lead;
    g.Length = length;
    switch (Combo1.listIndex()) {
    case 0: g.Hand = records::kLeftHanded; break;
    case 1: g.Hand = records::kRightHanded; break;
    default:
        ui::msgBox("Select Screw Sign", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    FillScrewList();
    setEditing(false);
}

void BuildScrew::Command6_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) {
        ui::msgBox("Select Screw Code", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    showRecord(i + 1);
    setEditing(true);
    FillScrewList();
}

void BuildScrew::Command3_Click() {
    if (recs_.size() >= 32767) return;  // record numbers are 16-bit
    recs_.emplace_back();
    showRecord(static_cast<int>(recs_.size()));
    setEditing(true);
    FillScrewList();
}

// Delete: the record label keeps naming the record the boxes came from;
// when that record is the one deleted, the label is cleared and editing ends.
void BuildScrew::Command4_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) {
        ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, kTitle);
        return;
    }
    recs_.erase(recs_.begin() + i);
    const int shown = elements::shownRecord(Label9.caption());
    if (shown > 0) {
        const int now = elements::shownAfterDelete(shown, i + 1);
        Label9.setCaption(now > 0 ? std::to_string(now) : std::string());
        if (now == 0) setEditing(false);
    }
    FillScrewList();
}

void BuildScrew::Command5_Click() {
    if (ui::msgBox("Building Screw Elements are sucessful. Exit to Mainmenu?", ui::kYesNo, ui::kInformation,
                   kTitle) != ui::kYes)
        return;
    records::writeScrewGeoFile(path_, recs_);
    unload();
}

void BuildScrew::Command2_Click() { unload(); }
