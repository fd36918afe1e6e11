#include "elements/build_screw.h"

#include "catalog/catalog_files.h"
#include "elements/element_db.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/state.h"

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
    list_.assign({});
    if (elements::refuseExtruderCode(kTitle)) {
        unload();
        return;
    }
    path_ = shared::screwElementPath(shared::ExtruderCategory);
    list_.assign(records::readScrewGeoFile(path_, records::OpenMode::CreateIfMissing));
    setCaption("Build Screw Elements - " + shared::ExtruderCategory);
    FillScrewList();
}

void BuildScrew::FillScrewList() { list_.fill(); }

// Shows record r in the record label and the six boxes.
void BuildScrew::showRecord(int r) {
    const records::ScrewGeoRec& g = list_.record(r);
    list_.showNumber(r);
    Text7.setText(catalog::entryText(g.Code));
    Text2.setText(elements::numberText(g.Diameter));
    Text3.setText(elements::numberText(g.CenterlineDistance));
    Text6.setText(elements::numberText(g.Tips));
    Text4.setText(elements::numberText(g.Lead));
    Text5.setText(elements::numberText(g.Length));
}

void BuildScrew::List1_Click() {
    const int r = list_.selected();
    if (r == 0) return;
    showRecord(r);
    elements::showHand(Combo1, list_.record(r).Hand);
}

// Accept: every number is read before anything is stored, so a box holding
// no number leaves the record as it was.
void BuildScrew::Command1_Click() {
    const int r = list_.shown();
    if (r == 0) return;
    float diameter = 0, centerline = 0, lead = 0, length = 0;
    std::int16_t tips = 0;
    if (!elements::allNumbers({elements::readSingle(Text2.text(), "Screw Diameter", diameter),
                               elements::readSingle(Text3.text(), "Center Line Distance", centerline),
                               elements::readInteger(Text6.text(), "Number of Tips", tips),
                               elements::readSingle(Text4.text(), "Screw Lead", lead),
                               elements::readSingle(Text5.text(), "Element Length", length)},
                              kTitle))
        return;
    records::ScrewGeoRec& g = list_.record(r);
    g.Code = rt::ucase(Text7.text());
    g.Diameter = diameter;
    g.CenterlineDistance = centerline;
    g.Tips = tips;
    g.Lead = lead;
    g.Length = length;
    if (!elements::chosenHand(Combo1, g.Hand)) {
        ui::msgBox("Select Screw Sign", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    FillScrewList();
    list_.setEditing(false);
}

void BuildScrew::Command6_Click() {
    const int r = list_.selected();
    if (r == 0) {
        ui::msgBox("Select Screw Code", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildScrew::Command3_Click() {
    if (const int r = list_.add(kTitle)) list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildScrew::Command4_Click() {
    if (!list_.removeSelected()) ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, kTitle);
}

void BuildScrew::Command5_Click() {
    if (ui::msgBox("Building Screw Elements are sucessful. Exit to Mainmenu?", ui::kYesNo, ui::kInformation,
                   kTitle) != ui::kYes)
        return;
    records::writeScrewGeoFile(path_, list_.records());
    unload();
}

void BuildScrew::Command2_Click() { unload(); }
