#include "elements/build_knead.h"

#include "catalog/catalog_files.h"
#include "elements/element_db.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "shell/state.h"

namespace {
constexpr const char* kTitle = "Build Kneading Elements";
}

BuildKnead::BuildKnead() : ui::Form("BuildKnead") {
    List1.onClick = [this] { List1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void BuildKnead::design() {
    setCaption("Build Kneading Disk Elements");
    setSize(8880, 6180);
    Frame1.create(120, 120, 3240, 5400, "Kneading codes");
    List1.create(120, 300, 3000, 4980).setContainer(Frame1);

    const gfx::Twips lx = 3600, lw = 2760, bx = 6480, bw = 2160, h = 315, step = 480;
    gfx::Twips y = 240;
    Label9.create(lx, y, lw, h, "Record Number");
    Label10.create(bx, y, bw, h, "");
    y += step;
    Label1.create(lx, y, lw, h, "Element Code");
    Text8.create(bx, y, bw, h);
    y += step;
    Label2.create(lx, y, lw, h, "Screw Diameter (mm)");
    Text2.create(bx, y, bw, h);
    y += step;
    Label3.create(lx, y, lw, h, "CenterLine Distance (mm)");
    Text3.create(bx, y, bw, h);
    y += step;
    Label4.create(lx, y, lw, h, "Number of Tips (flights)");
    Text6.create(bx, y, bw, h);
    y += step;
    Label5.create(lx, y, lw, h, "Staggering Angle (degree)");
    Text4.create(bx, y, bw, h);
    y += step;
    Label6.create(lx, y, lw, h, "Element Length (mm)");
    Text5.create(bx, y, bw, h);
    y += step;
    Label7.create(lx, y, lw, h, "Number of Disks");
    Text7.create(bx, y, bw, h);
    y += step;
    Label8.create(lx, y, lw, h, "Handness (Select handness)");
    Combo1.create(bx, y, bw, h, "Sign");
    Combo1.addItem("Left");
    Combo1.addItem("Right");

    const gfx::Twips cy = 4800, cw = 1560, ch = 375;
    Command1.create(3600, cy, cw, ch, "Accept");
    Command1.setEnabled(false);
    Command6.create(5340, cy, cw, ch, "Edit");
    Command3.create(7080, cy, cw, ch, "Add");
    Command4.create(3600, cy + 480, cw, ch, "Delete");
    Command5.create(5340, cy + 480, cw, ch, "Done !");
    Command2.create(7080, cy + 480, cw, ch, "Cancel");
}

void BuildKnead::Form_Load() {
    recs_.clear();
    if (!catalog::codeNameFault(shared::ExtruderCategory).empty()) {
        ui::msgBox(catalog::refusedCodeMessage(shared::ExtruderCategory), ui::kOkOnly, ui::kNoIcon, kTitle);
        unload();
        return;
    }
    path_ = elements::kneadElementPath();
    recs_ = records::readKneadGeoFile(path_);
    setCaption("Build Kneading Elements - " + shared::ExtruderCategory);
    FillKneadList();
}

void BuildKnead::FillKneadList() {
    List1.clear();
    for (std::size_t i = 0; i < recs_.size(); ++i)
        List1.addItem(elements::listItem(static_cast<int>(i + 1), recs_[i].Code));
}

void BuildKnead::setEditing(bool editing) {
    Command1.setEnabled(editing);
    Command3.setEnabled(!editing);
    Command6.setEnabled(!editing);
}

void BuildKnead::showRecord(int r) {
    const records::KneadGeoRec& k = recs_[static_cast<std::size_t>(r - 1)];
    Label10.setCaption(std::to_string(r));
    Text8.setText(catalog::entryText(k.Code));
    Text2.setText(elements::numberText(k.Diameter));
    Text3.setText(elements::numberText(k.CenterlineDistance));
    Text6.setText(elements::numberText(k.Tips));
    Text4.setText(elements::numberText(k.StaggerAngle));
    Text5.setText(elements::numberText(k.Length));
    Text7.setText(elements::numberText(k.Disks));
}

void BuildKnead::List1_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) return;
    showRecord(i + 1);
    const auto hand = recs_[static_cast<std::size_t>(i)].Hand;
    if (hand == records::kLeftHanded) Combo1.setText("Left");
    else if (hand == records::kRightHanded) Combo1.setText("Right");
}

// Accept: every number is read before anything is stored.
void BuildKnead::Command1_Click() {
    const int r = elements::shownRecord(Label10.caption());
    if (r < 1 || r > static_cast<int>(recs_.size())) return;
    float diameter = 0, centerline = 0, stagger = 0, length = 0;
    std::int16_t tips = 0, disks = 0;
    for (const std::string& fault : {elements::readSingle(Text2.text(), "Screw Diameter", diameter),
                                     elements::readSingle(Text3.text(), "CenterLine Distance", centerline),
                                     elements::readInteger(Text6.text(), "Number of Tips", tips),
                                     elements::readSingle(Text4.text(), "Staggering Angle", stagger),
                                     elements::readSingle(Text5.text(), "Element Length", length),
                                     elements::readInteger(Text7.text(), "Number of Disks", disks)}) {
        if (!fault.empty()) {
            ui::msgBox(fault, ui::kOkOnly, ui::kNoIcon, kTitle);
            return;
        }
    }
    records::KneadGeoRec& k = recs_[static_cast<std::size_t>(r - 1)];
    k.Code = rt::ucase(Text8.text());
    k.Diameter = diameter;
    k.CenterlineDistance = centerline;
    k.Tips = tips;
    k.StaggerAngle = stagger;
    k.Length = length;
    k.Disks = disks;
    switch (Combo1.listIndex()) {
    case 0: k.Hand = records::kLeftHanded; break;
    case 1: k.Hand = records::kRightHanded; break;
    default:
        ui::msgBox("Select Handness of Element.", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    FillKneadList();
    setEditing(false);
}

void BuildKnead::Command6_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) {
        ui::msgBox("Select Kneading Code", ui::kOkOnly, ui::kNoIcon, "Build Kneading Disk Elements");
        return;
    }
    showRecord(i + 1);
    setEditing(true);
    FillKneadList();
}

void BuildKnead::Command3_Click() {
    if (recs_.size() >= 32767) return;  // record numbers are 16-bit
    recs_.emplace_back();
    showRecord(static_cast<int>(recs_.size()));
    setEditing(true);
    FillKneadList();
}

// Delete: the record label keeps naming the record the boxes came from.
void BuildKnead::Command4_Click() {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(recs_.size())) {
        ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, kTitle);
        return;
    }
    recs_.erase(recs_.begin() + i);
    const int shown = elements::shownRecord(Label10.caption());
    if (shown > 0) {
        const int now = elements::shownAfterDelete(shown, i + 1);
        Label10.setCaption(now > 0 ? std::to_string(now) : std::string());
        if (now == 0) setEditing(false);
    }
    FillKneadList();
}

void BuildKnead::Command5_Click() {
    if (ui::msgBox("Building kneading Elements are sucessful. Exit to Mainmenu?", ui::kYesNo, ui::kInformation,
                   kTitle) != ui::kYes)
        return;
    records::writeKneadGeoFile(path_, recs_);
    unload();
}

void BuildKnead::Command2_Click() { unload(); }
