#include "reports/listdie.h"

#include "platform/rt/numtext.h"
#include "records/design_files.h"
#include "state/state.h"

listdie::listdie() : ui::Form("listdie") { Command1.onClick = [this] { Command1_Click(); }; }

void listdie::design() {
    setCaption("View Die Element");
    setSize(5040, 3390);
    const gfx::Twips labelLeft = 240, labelWidth = 2520, boxLeft = 2880, boxWidth = 1695;
    label1.create(labelLeft, 270, labelWidth, 255, "Enterance Diameter (mm) :");
    Text1.create(boxLeft, 240, boxWidth, 315);
    Label2.create(labelLeft, 690, labelWidth, 255, "Capillary Diameter (mm) :");
    Text2.create(boxLeft, 660, boxWidth, 315);
    Label3.create(labelLeft, 1110, labelWidth, 255, "Die Length :");
    Text3.create(boxLeft, 1080, boxWidth, 315);
    Label4.create(labelLeft, 1530, labelWidth, 255, "Capillary Zone Length (mm) :");
    Text4.create(boxLeft, 1500, boxWidth, 315);
    Label5.create(labelLeft, 1950, labelWidth, 255, "Number of Holes :");
    Text5.create(boxLeft, 1920, boxWidth, 315);
    Line1.create(120, 2400, 4680, 2400);
    Command1.create(3360, 2520, 1215, 375, "Close");
}

// A file that cannot be read ends the load: the window shows its caption.
void listdie::Form_Load() {
    setCaption("View die File - " + shared::DieFile);
    rt::endQuietlyOnError([&] {
        const records::DieRec die = records::readDieFile(shared::DieFile);
        Text1.setText(rt::format(die.EntranceDiameter, "##0.00"));
        Text2.setText(rt::format(die.CapillaryDiameter, "##0.00"));
        Text3.setText(rt::format(die.TotalLength, "##0.00"));
        Text4.setText(rt::format(die.CapillaryZoneLength, "##0.00"));
        Text5.setText(std::to_string(die.Holes));
    });
}

void listdie::Command1_Click() { unload(); }
