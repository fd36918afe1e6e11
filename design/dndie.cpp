#include "design/dndie.h"

#include "design/design_list.h"
#include "elements/element_db.h"
#include "elements/element_list.h"
#include "platform/rt/numtext.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "records/markers.h"
#include "records/work_files.h"
#include "state/state.h"
#include "views/viewdie.h"

namespace {

constexpr const char* kTitle = "Design Die";

// The die in section along its axis: the channel narrows from the entrance
// to the capillary diameter and runs straight through the capillary zone to
// the exit. Dimension lines lead to the boxes that hold each value.
namespace sketch {
constexpr gfx::Twips kLeft = 1800, kZone = 4200, kRight = 5400;  // entrance face, zone start, exit face
constexpr gfx::Twips kTop = 1560, kBottom = 3360, kAxis = 2460;
constexpr gfx::Twips kEntrance = 600, kCapillary = 150;         // half diameters
constexpr gfx::Twips kTick = 60;

// A dimension line with a slanted tick at each end.
void dimension(gfx::DrawTarget& t, gfx::Twips x1, gfx::Twips y1, gfx::Twips x2, gfx::Twips y2) {
    t.line(x1, y1, x2, y2);
    t.line(x1 - kTick, y1 + kTick, x1 + kTick, y1 - kTick);
    t.line(x2 - kTick, y2 + kTick, x2 + kTick, y2 - kTick);
}

void draw(gfx::DrawTarget& t) {
    // The two walls of the die around the channel (sign -1 above the axis).
    for (int side : {-1, 1}) {
        const gfx::Twips face = side < 0 ? kTop : kBottom;
        t.setCurrentX(kLeft);
        t.setCurrentY(face);
        t.lineTo(kRight, face);
        t.lineTo(kRight, kAxis + side * kCapillary);
        t.lineTo(kZone, kAxis + side * kCapillary);
        t.lineTo(kLeft, kAxis + side * kEntrance);
        t.lineTo(kLeft, face);
    }
    t.line(kLeft - 240, kAxis, kRight + 240, kAxis, gfx::rgb(150, 150, 150));

    // Entrance diameter, on the left.
    t.line(kLeft - 360, kAxis - kEntrance, kLeft - 60, kAxis - kEntrance);
    t.line(kLeft - 360, kAxis + kEntrance, kLeft - 60, kAxis + kEntrance);
    dimension(t, kLeft - 240, kAxis - kEntrance, kLeft - 240, kAxis + kEntrance);
    // Capillary diameter, on the right.
    t.line(kRight + 60, kAxis - kCapillary, kRight + 360, kAxis - kCapillary);
    t.line(kRight + 60, kAxis + kCapillary, kRight + 360, kAxis + kCapillary);
    dimension(t, kRight + 240, kAxis - kCapillary, kRight + 240, kAxis + kCapillary);
    // Capillary zone length, above.
    t.line(kZone, kTop - 60, kZone, kTop - 480);
    t.line(kRight, kTop - 60, kRight, kTop - 480);
    dimension(t, kZone, kTop - 360, kRight, kTop - 360);
    // Total die length, below.
    t.line(kLeft, kBottom + 60, kLeft, kBottom + 480);
    t.line(kRight, kBottom + 60, kRight, kBottom + 480);
    dimension(t, kLeft, kBottom + 360, kRight, kBottom + 360);
}
}  // namespace sketch

}  // namespace

DNdie::DNdie() : ui::Form("DNdie") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
}

void DNdie::design() {
    using namespace sketch;
    setCaption("Design Die");
    setSize(7080 + 120, 5295 + 405);  // the client area and the window frame
    sketch::draw(*this);

    const gfx::Twips boxW = 1095, boxH = 285, labelH = 255;
    Frame1.create(120, 120, 2400, 720, "Extruder Code");
    Text1.create(120, 300, 2160, boxH).setContainer(Frame1);

    Label1.create(120, kAxis - 540, boxW, labelH, "Diameter");
    Text3.create(120, kAxis - boxH / 2, boxW, boxH);
    Label2.create(120, kAxis + 195, boxW, labelH, "(mm)");
    Label3.create(kRight + 480, kAxis - 540, boxW, labelH, "Diameter");
    Text4.create(kRight + 480, kAxis - boxH / 2, boxW, boxH);
    Label4.create(kRight + 480, kAxis + 195, boxW, labelH, "(mm)");
    const gfx::Twips zoneMid = (kZone + kRight) / 2;
    Text5.create(zoneMid - boxW / 2, kTop - 360 - 120 - boxH, boxW, boxH);
    Label5.create(zoneMid + boxW / 2 + 60, kTop - 360 - 120 - boxH + 30, 360, labelH, "mm");
    const gfx::Twips dieMid = (kLeft + kRight) / 2;
    Text6.create(dieMid - boxW / 2, kBottom + 480, boxW, boxH);
    Label6.create(dieMid + boxW / 2 + 60, kBottom + 510, 360, labelH, "mm");

    Label7.create(120, 4380, 1335, labelH, "Num of Holes :");
    Text7.create(1500, 4350, boxW, boxH);

    Command2.create(3000, 4800, 1215, 375, "View");
    Command3.create(4320, 4800, 1215, 375, "Done");
    Command1.create(5640, 4800, 1215, 375, "Cancel");
    dlgcommon.create();
}

void DNdie::Form_Load() {
    code_ = shared::ExtruderCategory;
    Text1.setText(code_);
    if (elements::refuseExtruderCode(kTitle)) {
        unload();
        return;
    }
    shown_ = records::DieRec{};
    if (shared::DieFile != "noname") {
        try {
            shown_ = records::readDieFile(shared::DieFile);
        } catch (const rt::Error& e) {
            design::tellUnreadable(shared::DieFile, e, kTitle);
            unload();
            return;
        }
        if (!records::hasMarker(shown_)) {
            design::tellIncorrectFormat(kTitle);
            unload();
            return;
        }
    }
    ShowDieRecord();
}

void DNdie::ShowDieRecord() {
    Text3.setText(elements::numberText(shown_.EntranceDiameter));
    Text4.setText(elements::numberText(shown_.CapillaryDiameter));
    Text5.setText(elements::numberText(shown_.CapillaryZoneLength));
    Text6.setText(elements::numberText(shown_.TotalLength));
    Text7.setText(elements::numberText(shown_.Holes));
}

bool DNdie::DieFromBoxes(records::DieRec& die) {
    die.Code = code_;
    die.Marker = records::markerFor(records::FileKind::Die);
    return elements::allNumbers(
        {elements::readSingle(Text3.text(), "Entrance Diameter", die.EntranceDiameter),
         elements::readSingle(Text4.text(), "Capillary Diameter", die.CapillaryDiameter),
         elements::readSingle(Text5.text(), "Capillary Zone Length", die.CapillaryZoneLength),
         elements::readSingle(Text6.text(), "Total Die Length", die.TotalLength),
         elements::readInteger(Text7.text(), "Number of Holes", die.Holes)},
        kTitle);
}

void DNdie::Command2_Click() {
    records::DieRec die;
    if (!DieFromBoxes(die)) return;
    rt::endQuietlyOnError([&] {
        const std::string preview = shared::TempDir + std::string(records::workfile::kTempDie);
        records::writeDieFile(preview, die);
        shared::DieFile = preview;
        ui::form<viewdie>().showFile(preview, 9000);
    });
}

// The dialog reports no cancel: a cancel hands back "*.die", which names no
// file, so nothing is written and the window stays.
void DNdie::Command3_Click() {
    records::DieRec die;
    if (!DieFromBoxes(die)) return;
    rt::endQuietlyOnError([&] {
        records::writeDieFile(design::chooseSaveFile(dlgcommon, "*.die", "die file(*.die)|*.die", false), die);
        unload();
    });
}

void DNdie::Command1_Click() { unload(); }
