#include "elements/build_barrel.h"

#include "catalog/catalog_files.h"
#include "elements/element_db.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/state.h"

namespace {
constexpr const char* kTitle = "Build Barrel Elements";
}

BuildBarrel::BuildBarrel() : ui::Form("BuildBarrel") {
    List1.onClick = [this] { List1_Click(); };
    Accept.onClick = [this] { Accept_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void BuildBarrel::design() {
    setCaption("Build Barrel Elements");
    setSize(9720, 6420);
    Frame2.create(120, 120, 3000, 5640, "");
    List1.create(120, 300, 2760, 5220).setContainer(Frame2);

    const gfx::Twips x = 3360;
    Label8.create(x, 240, 1440, 315, "Record Number");
    Label7.create(x + 1500, 240, 1200, 315, "");
    Label1.create(x, 720, 1440, 315, "Element Code : ");
    Text7.create(x + 1500, 720, 2160, 315);

    Frame1.create(x, 1140, 6000, 1080, "Diameters");
    Label2.create(120, 300, 2400, 315, "Bore Diameter (mm)  :").setContainer(Frame1);
    Text3.create(2640, 300, 1440, 315).setContainer(Frame1);
    Label3.create(120, 660, 2400, 315, "Center Line Spacing (mm)  :").setContainer(Frame1);
    Text4.create(2640, 660, 1440, 315).setContainer(Frame1);

    Label6.create(x, 2340, 4200, 315, "Barrel Block Type (H : hopper, P: plane , V: vent) : ");
    Combo1.create(x + 4320, 2340, 1680, 315, "Type");
    Combo1.addItem("Hopper");
    Combo1.addItem("Plane");
    Combo1.addItem("Vent");

    // A barrel block seen from the side: its opening at the top, the opening
    // width above it, the block length below, and the distance from the
    // block's start to the opening centre on the dimension line.
    Barrlframe2.create(x, 2760, 6000, 2160, "Barrel Layout");
    Shape1.create(600, 900, 4200, 600).setContainer(Barrlframe2);
    Shape2.create(2400, 840, 600, 120).setContainer(Barrlframe2);
    Shape2.setFill(true, gfx::kWhite);
    Shape2.setBorderColor(gfx::kWhite);
    Line1.create(600, 1700, 2700, 1700).setContainer(Barrlframe2);
    Line2.create(2700, 700, 2700, 1700).setContainer(Barrlframe2);
    Label5.create(1200, 300, 1080, 315, "  Opening").setContainer(Barrlframe2);
    Text2.create(2400, 300, 1080, 315).setContainer(Barrlframe2);
    Text1.create(1080, 1780, 1080, 315).setContainer(Barrlframe2);
    Label4.create(3120, 1780, 1080, 315, "Length (mm)").setContainer(Barrlframe2);
    Text5.create(4260, 1780, 1080, 315).setContainer(Barrlframe2);

    const gfx::Twips cy = 5040, cw = 1560, ch = 375;
    Accept.create(x, cy, cw, ch, "Accept");
    Accept.setEnabled(false);
    Command1.create(x + 2040, cy, cw, ch, "Edit");
    Command3.create(x + 4080, cy, cw, ch, "Add");
    Command4.create(x, cy + 480, cw, ch, "Delete");
    Command5.create(x + 2040, cy + 480, cw, ch, "Done !");
    Command2.create(x + 4080, cy + 480, cw, ch, "Cancel");
}

void BuildBarrel::Form_Load() {
    list_.assign({});
    if (elements::refuseExtruderCode(kTitle)) {
        unload();
        return;
    }
    path_ = shared::barrelElementPath(shared::ExtruderCategory);
    list_.assign(records::readBarrelGeoFile(path_, records::OpenMode::CreateIfMissing));
    setCaption("Build Barrel Elements - " + shared::ExtruderCategory);
    FillBarrelList();
}

void BuildBarrel::FillBarrelList() { list_.fill(); }

// Shows record r in the record label and the six boxes.
void BuildBarrel::showRecord(int r) {
    const records::BarrelRec& b = list_.record(r);
    list_.showNumber(r);
    Text7.setText(catalog::entryText(b.Code));
    Text3.setText(elements::numberText(b.BoreDiameter));
    Text4.setText(elements::numberText(b.CenterlineSpacing));
    Text5.setText(elements::numberText(b.Length));
    Text2.setText(elements::numberText(b.OpeningWidth));
    Text1.setText(elements::numberText(b.OpeningLocation));
}

void BuildBarrel::List1_Click() {
    const int r = list_.selected();
    if (r == 0) return;
    showRecord(r);
    switch (rt::ucase(std::string(1, list_.record(r).blockType()))[0]) {
    case records::kHopperBlock: Combo1.setText("Hopper"); break;
    case records::kPlaneBlock: Combo1.setText("Plane"); break;
    case records::kVentBlock: Combo1.setText("Vent"); break;
    default: break;
    }
}

// Accept: every number is read before anything is stored.
void BuildBarrel::Accept_Click() {
    const int r = list_.shown();
    if (r == 0) return;
    float bore = 0, spacing = 0, length = 0, width = 0, location = 0;
    if (!elements::allNumbers({elements::readSingle(Text3.text(), "Bore Diameter", bore),
                               elements::readSingle(Text4.text(), "Center Line Spacing", spacing),
                               elements::readSingle(Text5.text(), "Length", length),
                               elements::readSingle(Text2.text(), "Opening width", width),
                               elements::readSingle(Text1.text(), "Opening location", location)},
                              kTitle))
        return;
    records::BarrelRec& b = list_.record(r);
    b.Code = rt::ucase(Text7.text());
    b.BoreDiameter = bore;
    b.CenterlineSpacing = spacing;
    b.Length = length;
    b.OpeningWidth = width;
    b.OpeningLocation = location;
    static constexpr char kTypes[] = {records::kHopperBlock, records::kPlaneBlock, records::kVentBlock};
    const int t = Combo1.listIndex();
    if (t < 0 || t > 2) {
        ui::msgBox("Select Barrel Block Type.", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    b.Type = std::string_view(&kTypes[t], 1);
    FillBarrelList();
    list_.setEditing(false);
}

void BuildBarrel::Command1_Click() {
    const int r = list_.selected();
    if (r == 0) {
        ui::msgBox("Select Barrel Code", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildBarrel::Command3_Click() {
    if (const int r = list_.add(kTitle)) list_.edit(r, [this](int shown) { showRecord(shown); });
}

void BuildBarrel::Command4_Click() {
    if (!list_.removeSelected()) ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, kTitle);
}

void BuildBarrel::Command5_Click() {
    if (ui::msgBox("Building barrel Elements are sucessful. Exit to Mainmenu?", ui::kYesNo, ui::kInformation,
                   kTitle) != ui::kYes)
        return;
    records::writeBarrelGeoFile(path_, list_.records());
    unload();
}

void BuildBarrel::Command2_Click() { unload(); }
