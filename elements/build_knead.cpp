#include "elements/build_knead.h"

#include "catalog/catalog_files.h"
#include "elements/element_db.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/state.h"

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
    list_.assign({});
    if (elements::refuseExtruderCode(kTitle)) {
        unload();
        return;
    }
    path_ = shared::kneadElementPath(shared::ExtruderCategory);
    list_.assign(records::readKneadGeoFile(path_, records::OpenMode::CreateIfMissing));
    setCaption("Build Kneading Elements - " + shared::ExtruderCategory);
    FillKneadList();
}

void BuildKnead::FillKneadList() { list_.fill(); }

// Shows record r in the record label and the seven boxes.
void BuildKnead::showRecord(int r) {
    const records::KneadGeoRec& k = list_.record(r);
    list_.showNumber(r);
    Text8.setText(catalog::entryText(k.Code));
    Text2.setText(elements::numberText(k.Diameter));
    Text3.setText(elements::numberText(k.CenterlineDistance));
    Text6.setText(elements::numberText(k.Tips));
    Text4.setText(elements::numberText(k.StaggerAngle));
    Text5.setText(elements::numberText(k.Length));
    Text7.setText(elements::numberText(k.Disks));
}

void BuildKnead::List1_Click() {
    const int r = list_.selected();
    if (r == 0) return;
    showRecord(r);
    elements::showHand(Combo1, list_.record(r).Hand);
}

// Accept: every number is read before anything is stored.
void BuildKnead::Command1_Click() {
    const int r = list_.shown();
    if (r == 0) return;
    float diameter = 0, centerline = 0, stagger = 0, length = 0;
    std::int16_t tips = 0, disks = 0;
    if (!elements::allNumbers({elements::readSingle(Text2.text(), "Screw Diameter", diameter),
                               elements::readSingle(Text3.text(), "CenterLine Distance", centerline),
                               elements::readInteger(Text6.text(), "Number of Tips", tips),
                               elements::readSingle(Text4.text(), "Staggering Angle", stagger),
                               elements::readSingle(Text5.text(), "Element Length", length),
                               elements::readInteger(Text7.text(), "Number of Disks", disks)},
                              kTitle))
        return;
    records::KneadGeoRec& k = list_.record(r);
    k.Code = rt::ucase(Text8.text());
    k.Diameter = diameter;
    k.CenterlineDistance = centerline;
    k.Tips = tips;
    k.StaggerAngle = stagger;
    k.Length = length;
    k.Disks = disks;
    if (!elements::chosenHand(Combo1, k.Hand)) {
        ui::msgBox("Select Handness of Element.", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    FillKneadList();
    list_.setEditing(false);
}

void BuildKnead::Command6_Click() {
    const int r = list_.selected();
    if (r == 0) {
        ui::msgBox("Select Kneading Code", ui::kOkOnly, ui::kNoIcon, "Build Kneading Disk Elements");
        return;
    }
    list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildKnead::Command3_Click() {
    if (const int r = list_.add(kTitle)) list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildKnead::Command4_Click() {
    if (!list_.removeSelected()) ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, kTitle);
}

void BuildKnead::Command5_Click() {
    if (ui::msgBox("Building kneading Elements are sucessful. Exit to Mainmenu?", ui::kYesNo, ui::kInformation,
                   kTitle) != ui::kYes)
        return;
    records::writeKneadGeoFile(path_, list_.records());
    unload();
}

void BuildKnead::Command2_Click() { unload(); }
