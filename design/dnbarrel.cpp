#include "design/dnbarrel.h"

#include <cmath>

#include "catalog/catalog_files.h"
#include "elements/element_list.h"
#include "platform/rt/numtext.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "views/mvbarrel.h"

namespace {
constexpr const char* kTitle = "Design Barrel";
}

DNBarrel::DNBarrel() : ui::Form("DNBarrel") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    List1.onDblClick = [this] { List1_DblClick(); };
    List3.onDblClick = [this] { List3_DblClick(); };
    List1.onKeyPress = [this](int& k) { List1_KeyPress(k); };
    List3.onKeyPress = [this](int& k) { List3_KeyPress(k); };
}

void DNBarrel::design() {
    setCaption("Design Barrel");
    setSize(7635 + 120, 6375 + 405);  // the client area and the window frame
    Label1.create(120, 120, 3015, 255, "Barrel Elements");
    List1.create(120, 480, 3015, 4155);
    Command1.create(3255, 1800, 615, 375, ">>");
    Command3.create(3255, 2400, 615, 375, "||<<");
    Label2.create(3990, 120, 3525, 255, "Edit window");
    List3.create(3990, 480, 3525, 3345);
    Label3.create(3990, 3960, 3525, 255, ">>|| Die adapter");
    Command4.create(3990, 4320, 3525, 375, "Done");

    Frame1.create(120, 4800, 7395, 975, "");
    design::placeTotal(Frame1, Label4, Text1, 120, 2700, 240, 735, "Acumulated Length (L/D) :");
    design::placeTotal(Frame1, Label5, Text2, 120, 2700, 600, 735, "Number of hoppers");
    design::placeTotal(Frame1, Label6, Text4, 3600, 6540, 240, 735, "Number of Elements Selected :");
    design::placeTotal(Frame1, Label7, Text5, 3600, 6540, 600, 735, "Number of Vents");

    Command2.create(120, 5880, 1455, 375, "View barrel");
    Command5.create(6060, 5880, 1455, 375, "Cancel");
    dlgbarrel.create();
}

void DNBarrel::Form_Load() {
    code_ = shared::ExtruderCategory;
    editFile_ = shared::EditBarrelFile;
    if (elements::refuseExtruderCode(kTitle) || !LoadDesign()) unload();
}

bool DNBarrel::LoadDesign() {
    List1.clear();
    List3.clear();
    barrelLibrary_.clear();
    setCaption("Design New barrel - " + code_);

    // The edited file first: nothing that is not a barrel design is read
    // into one.
    std::vector<records::BarrelRec> edited;
    if (!editFile_.empty() &&
        !design::readEditedDesign(
            editFile_, 1, kTitle, [](const std::string& p) { return records::readBarrelFile(p); }, edited))
        return false;

    // Every L/D divides by the diameter of record 1 of the screw elements.
    const std::string screwPath = shared::screwElementPath(code_);
    std::vector<records::ScrewGeoRec> screws;
    if (!design::readOrTell(screwPath, kTitle, [](const std::string& p) { return records::readScrewGeoFile(p); },
                            screws))
        return false;
    if (screws.empty() || screws.front().Diameter == 0.0f || !std::isfinite(screws.front().Diameter)) {
        ui::msgBox("The screw element file " + design::shownPath(screwPath) +
                       " gives no screw diameter to design with: its record 1 is missing, or its diameter is 0 or no "
                       "number.",
                   ui::kOkOnly, ui::kNoIcon, kTitle);
        return false;
    }
    // A code may have no barrel blocks yet: its list is then empty.
    if (!design::readOrTell(shared::barrelElementPath(code_), kTitle, records::readBarrelLibrary, barrelLibrary_))
        return false;
    designDiameter_ = screws.front().Diameter;
    for (const records::BarrelRec& b : barrelLibrary_) List1.addItem(catalog::entryText(b.Code));

    if (editFile_.empty()) {
        shared::BarrelDesign.clear();
    } else {
        setCaption("Edit Existing barrel - " + code_ + " - " + editFile_);
        shared::BarrelDesign.items().assign(edited.begin() + 1, edited.end());  // after the header
    }
    design_.fill();

    design::selectIfPresent(List1, 0);
    design::selectIfPresent(List3, 0);
    UpdateBarrelTotals();
    return true;
}

std::string DNBarrel::designItem(int position, const records::BarrelRec& block) {
    return std::to_string(position) + ": " + catalog::entryText(block.Code);
}

// The totals are those of the header that the save writes: hoppers and
// vents by the upper-cased block type, the length as the sum of each
// block's L/D times D. The L/D shown is that sum itself: divided back out of
// the length it can read one hundredth lower.
void DNBarrel::UpdateBarrelTotals() {
    const records::BarrelRec totals = records::barrelFileHeader(code_, designDiameter_, design_.elements());
    accumulatedLD_ = records::barrelLengthOverD(designDiameter_, design_.elements());
    Text1.setText(rt::format(accumulatedLD_, "##0.00"));
    Text2.setText(std::to_string(static_cast<int>(totals.headerHopperCount())));
    Text4.setText(std::to_string(design_.count()));
    Text5.setText(std::to_string(static_cast<int>(totals.headerVentCount())));
    shared::BarrelDesignLength = totals.headerTotalLength();
    shared::BarrelDesignCount = static_cast<std::int16_t>(design_.count());
}

void DNBarrel::Command1_Click() {
    const int i = List1.listIndex();
    if (i < 0) {
        ui::msgBox("Select Barrel element!", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    if (design_.full()) {
        ui::msgBox("A barrel holds at most " + std::to_string(kMostBlocks) + " blocks.", ui::kOkOnly, ui::kNoIcon,
                   kTitle);
        return;
    }
    design_.add(barrelLibrary_[static_cast<std::size_t>(i)]);
    UpdateBarrelTotals();
}

void DNBarrel::Command3_Click() {
    const int libraryItem = List1.listIndex();
    switch (design_.remove()) {
    case design::DesignList<records::BarrelRec>::Removal::NoneSelected:
        ui::msgBox("Select Barrel Element!", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    case design::DesignList<records::BarrelRec>::Removal::Removed:
        UpdateBarrelTotals();
        return;
    case design::DesignList<records::BarrelRec>::Removal::OnlyElement:
        // Loads again: an empty new design, or the blocks of the edited file.
        if (!LoadDesign()) {
            unload();
            return;
        }
        design::selectIfPresent(List1, libraryItem);
        return;
    }
}

void DNBarrel::Command2_Click() {
    if (List3.listCount() == 0 || !(accumulatedLD_ > 0)) {
        ui::msgBox("You must select elements!", ui::kOkOnly, ui::kNoIcon, "Design barrel");
        return;
    }
    // The preview reads the design published by UpdateBarrelTotals.
    mvbarrel& preview = ui::form<mvbarrel>();
    preview.setSize(8000, 5000);
    preview.show();
}

void DNBarrel::Command4_Click() { Save(); }

void DNBarrel::Command5_Click() {
    if (ui::msgBox("Barrel not saved. Save it?", ui::kYesNo, ui::kNoIcon, "Save Barrel") == ui::kYes)
        Save();
    else
        unload();
}

// A cancelled dialog or a failed write ends the save quietly: the old file
// stays whole and the window stays open with its design.
void DNBarrel::Save() {
    rt::endQuietlyOnError([&] {
        // The doubled asterisk is the filter as the program has always shown it.
        shared::EditBarrelFile =
            design::chooseSaveFile(dlgbarrel, "*.brl", "barrel Files|**.brl|All files|*.*", true);
        records::writeBarrelFile(shared::EditBarrelFile,
                                 records::barrelFileHeader(code_, designDiameter_, design_.elements()),
                                 design_.elements());
        barrelLibrary_.clear();
        shared::BarrelDesign.clear();
        shared::EditBarrelFile.clear();
        unload();
    });
}

// The keys pass on unchanged; Enter also runs the list's command.
void DNBarrel::List1_KeyPress(int& keyAscii) {
    if (keyAscii == ui::kKeyReturn) Command1_Click();
}
void DNBarrel::List3_KeyPress(int& keyAscii) {
    if (keyAscii == ui::kKeyReturn) Command3_Click();
}
