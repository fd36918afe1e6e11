#include "design/dnscrew.h"

#include <algorithm>
#include <cmath>

#include "catalog/catalog_files.h"
#include "elements/element_list.h"
#include "platform/rt/numtext.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "views/mvscrew.h"

namespace {

constexpr const char* kTitle = "Design Screw";

// A library record whose diameter is no number, or whose radius (half the
// diameter, the divisor of the conversion) is 0, cannot be converted to
// radius units.
bool usableDiameter(float d) { return std::isfinite(d) && d / 2.0f != 0.0f; }

template <class Geo>
std::vector<records::ScrewRec> libraryOf(const std::vector<Geo>& recs, std::vector<std::string>& leftOut) {
    std::vector<records::ScrewRec> library;
    for (const Geo& g : recs) {
        if (usableDiameter(g.Diameter))
            library.push_back(records::screwElementFrom(g));
        else
            leftOut.push_back(rt::trim(catalog::entryText(g.Code)));
    }
    return library;
}

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : ", ") + (n.empty() ? std::string("(no code)") : n);
    return s;
}

}  // namespace

DNScrew::DNScrew() : ui::Form("DNScrew") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    List1.onDblClick = [this] { List1_DblClick(); };
    List2.onDblClick = [this] { List2_DblClick(); };
    List3.onDblClick = [this] { List3_DblClick(); };
    List1.onKeyPress = [this](int& k) { List1_KeyPress(k); };
    List2.onKeyPress = [this](int& k) { List2_KeyPress(k); };
    List3.onKeyPress = [this](int& k) { List3_KeyPress(k); };
}

void DNScrew::design() {
    setCaption("Design Screw");
    setSize(7335 + 120, 6720 + 405);  // the client area and the window frame
    Label1.create(120, 120, 1815, 255, "Screw Elements");
    List1.create(120, 480, 1815, 4155);
    Command1.create(2040, 1800, 615, 375, ">>");
    Label2.create(2760, 120, 1815, 255, "Kneading Elements");
    List2.create(2760, 480, 1815, 4155);
    Command2.create(4680, 1800, 615, 375, ">>");
    Command3.create(4680, 2400, 615, 375, "||<<");
    Label3.create(5400, 120, 1815, 255, "Edit window");
    Text7.create(5400, 480, 1815, 255, "||<< Screw Root");
    List3.create(5400, 840, 1815, 2985);
    Label10.create(5400, 3960, 1815, 255, ">>|| Screw Head");
    Command4.create(5400, 4320, 1815, 375, "Done");

    Frame1.create(120, 4800, 7095, 1335, "");
    design::placeTotal(Frame1, Label4, Text1, 120, 2280, 240, 1095, "Acumulated Length (L/D) :");
    design::placeTotal(Frame1, Label5, Text2, 120, 2280, 600, 1095, "Number of screw Elements :");
    design::placeTotal(Frame1, Label6, Text3, 120, 2280, 960, 1095, "Number of LH Elements :");
    // The right column's labels start far enough left for "Number of
    // Elements Selected :" to show whole before its box.
    design::placeTotal(Frame1, Label7, Text4, 3480, 5880, 240, 1095, "Number of Elements Selected :");
    design::placeTotal(Frame1, Label8, Text5, 3480, 5880, 600, 1095, "Number of Kneading Blocks :");
    design::placeTotal(Frame1, Label9, Text6, 3480, 5880, 960, 1095, "Screw Diameter :");

    Command5.create(120, 6240, 1455, 375, "View Screw");
    Command6.create(5760, 6240, 1455, 375, "Cancel");
    dlgscrew.create();
}

void DNScrew::Form_Load() {
    code_ = shared::ExtruderCategory;
    editFile_ = shared::EditScrewFile;
    leftOutShown_ = false;
    if (elements::refuseExtruderCode(kTitle) || !LoadDesign()) unload();
}

bool DNScrew::LoadDesign() {
    List1.clear();
    List2.clear();
    List3.clear();
    screwLibrary_.clear();
    kneadLibrary_.clear();
    setCaption("Design New Screw - " + code_);
    shared::ScrewPreviewFlag = -1;

    // The edited file first: nothing that is not a screw design is read
    // into one.
    std::vector<records::ScrewRec> edited;
    if (!editFile_.empty() &&
        !design::readEditedDesign(
            editFile_, 3, kTitle, [](const std::string& p) { return records::readScrewFile(p); }, edited))
        return false;

    const std::string screwPath = shared::screwElementPath(code_);
    std::vector<records::ScrewGeoRec> screws;
    if (!design::readOrTell(screwPath, kTitle, [](const std::string& p) { return records::readScrewGeoFile(p); },
                            screws))
        return false;
    const auto last = std::find_if(screws.rbegin(), screws.rend(),
                                   [](const records::ScrewGeoRec& g) { return usableDiameter(g.Diameter); });
    if (last == screws.rend()) {
        ui::msgBox("The screw element file " + design::shownPath(screwPath) +
                       " holds no element whose diameter is a number other than 0: there is no screw diameter to "
                       "design with.",
                   ui::kOkOnly, ui::kNoIcon, kTitle);
        return false;
    }
    std::vector<records::KneadGeoRec> blocks;
    // A code may have no kneading blocks yet: its list is then empty.
    if (!design::readOrTell(shared::kneadElementPath(code_), kTitle, records::readKneadLibrary, blocks))
        return false;

    std::vector<std::string> leftOut;
    screwLibrary_ = libraryOf(screws, leftOut);
    kneadLibrary_ = libraryOf(blocks, leftOut);
    // Said once per opening: a reload after the only element is removed
    // reads the same libraries again.
    if (!leftOut.empty() && !leftOutShown_) {
        ui::msgBox("Left out, their screw diameter is 0 or no number: " + joined(leftOut) + ".", ui::kOkOnly,
                   ui::kNoIcon, kTitle);
        leftOutShown_ = true;
    }
    for (const records::ScrewRec& e : screwLibrary_) List1.addItem(catalog::entryText(e.Code));
    for (const records::ScrewRec& e : kneadLibrary_) List2.addItem(catalog::entryText(e.Code));

    designDiameter_ = last->Diameter;
    shared::ScrewDesignRadius = designDiameter_ / 2;
    Text6.setText(rt::format(designDiameter_, "#0.00"));

    if (editFile_.empty()) {
        shared::ScrewDesign.clear();
    } else {
        setCaption("Edit Existing Screw - " + code_ + " - " + editFile_);
        // Header and root before the elements, the head after them.
        shared::ScrewDesign.items().assign(edited.begin() + 2, edited.end() - 1);
    }
    design_.fill();

    design::selectIfPresent(List1, 0);
    design::selectIfPresent(List2, 0);
    design::selectIfPresent(List3, 0);
    UpdateScrewTotals();
    return true;
}

std::string DNScrew::designItem(int position, const records::ScrewRec& element) {
    return std::to_string(position) + ": " + rt::ucase(catalog::entryText(element.Kind)) + ": " +
           catalog::entryText(element.Code);
}

void DNScrew::UpdateScrewTotals() {
    totals_ = records::screwFileHeader(code_, designDiameter_, design_.elements());
    const float lengthRatioSum = totals_.headerTotalLength();
    Text1.setText(rt::format(lengthRatioSum / 2, "##0.00"));
    Text2.setText(std::to_string(totals_.headerConveyingCount()));
    Text3.setText(std::to_string(static_cast<int>(totals_.headerLeftHandedCount())));
    Text4.setText(std::to_string(design_.count()));
    Text5.setText(std::to_string(totals_.headerKneadingCount()));
    shared::ScrewDesignLength = shared::ScrewDesignRadius * lengthRatioSum;
    shared::ScrewDesignCount = static_cast<std::int16_t>(design_.count());
}

void DNScrew::addFrom(const ui::ListBox& list, const std::vector<records::ScrewRec>& library,
                      const char* noSelection) {
    const int i = list.listIndex();
    if (i < 0) {
        ui::msgBox(noSelection, ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    if (design_.full()) {
        ui::msgBox("A screw holds at most " + std::to_string(kMostElements) + " elements.", ui::kOkOnly,
                   ui::kNoIcon, kTitle);
        return;
    }
    design_.add(library[static_cast<std::size_t>(i)]);
    UpdateScrewTotals();
}

void DNScrew::Command1_Click() { addFrom(List1, screwLibrary_, "Select Screw Element!"); }

void DNScrew::Command2_Click() { addFrom(List2, kneadLibrary_, "Select Kneading Element!"); }

void DNScrew::Command3_Click() {
    const int screwItem = List1.listIndex(), kneadItem = List2.listIndex();
    switch (design_.remove()) {
    case design::DesignList<records::ScrewRec>::Removal::NoneSelected:
        ui::msgBox("Select Screw or Kneading Element!", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    case design::DesignList<records::ScrewRec>::Removal::Removed:
        UpdateScrewTotals();
        return;
    case design::DesignList<records::ScrewRec>::Removal::OnlyElement:
        // Loads again: an empty new design, or the design of the edited file.
        if (!LoadDesign()) {
            unload();
            return;
        }
        design::selectIfPresent(List1, screwItem);
        design::selectIfPresent(List2, kneadItem);
        return;
    }
}

void DNScrew::Command4_Click() { Save(); }

void DNScrew::Command5_Click() {
    if (List3.listCount() == 0 || !(totals_.headerTotalLength() > 0)) {
        ui::msgBox("You must select elements!", ui::kOkOnly, ui::kNoIcon, kTitle);
        return;
    }
    // The preview reads the design published by UpdateScrewTotals; sizing an
    // unloaded preview loads it first. The flag follows the showing.
    mvscrew& preview = ui::form<mvscrew>();
    preview.setSize(8000, 5000);
    preview.show();
    shared::ScrewPreviewFlag = 1;
}

void DNScrew::Command6_Click() {
    if (ui::msgBox("Screw not saved. Save it?", ui::kYesNo, ui::kNoIcon, "Save Screw") == ui::kYes)
        Save();
    else
        unload();
}

// A cancelled dialog or a failed write ends the save quietly: the old file
// stays whole and the window stays open with its design.
void DNScrew::Save() {
    rt::endQuietlyOnError([&] {
        shared::EditScrewFile =
            design::chooseSaveFile(dlgscrew, "*.srw", "screw Files|*.srw|All files|*.*", true);
        records::writeScrewFile(shared::EditScrewFile,
                                records::screwFileHeader(code_, designDiameter_, design_.elements()),
                                design_.elements());
        shared::ScrewDesign.clear();
        screwLibrary_.clear();
        kneadLibrary_.clear();
        unload();
    });
}

// The keys pass on unchanged; Enter also runs the list's command.
void DNScrew::List1_KeyPress(int& keyAscii) {
    if (keyAscii == ui::kKeyReturn) Command1_Click();
}
void DNScrew::List2_KeyPress(int& keyAscii) {
    if (keyAscii == ui::kKeyReturn) Command2_Click();
}
void DNScrew::List3_KeyPress(int& keyAscii) {
    if (keyAscii == ui::kKeyReturn) Command3_Click();
}
