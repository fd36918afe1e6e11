#include "catalog/selet.h"

#include "catalog/adet.h"
#include "catalog/catalog_files.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"
#include "state/state.h"

using catalog::entryText;

selet::selet() : ui::Form("selet") {
    Combo1.onClick = [this] { Combo1_Click(); };
    List1.onDblClick = [this] { List1_DblClick(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command7.onClick = [this] { Command7_Click(); };
    Command8.onClick = [this] { Command8_Click(); };
}

void selet::design() {
    setCaption("Select Extruder");
    setSize(5760, 5040);
    Label1.create(240, 300, 1560, 255, "Extruder Series :");
    Combo1.create(1800, 240, 3480, 315);
    Label2.create(240, 780, 1560, 255, "Extruder Codes:");
    List1.create(240, 1080, 2520, 3240);
    const gfx::Twips x = 3000, w = 2280, h = 375, step = 420;
    Command1.create(x, 1080 + 0 * step, w, h, "Select");
    Command2.create(x, 1080 + 1 * step, w, h, "Add Extruder");
    Command3.create(x, 1080 + 2 * step, w, h, "Delete Extruder");
    Command4.create(x, 1080 + 3 * step, w, h, "Edit Extruder");
    Command5.create(x, 1080 + 4 * step, w, h, "Add Series");
    Command6.create(x, 1080 + 5 * step, w, h, "Delete Series");
    Command7.create(x, 1080 + 6 * step, w, h, "Edit Series");
    Command8.create(x, 1080 + 7 * step + 180, w, h, "Close");
}

void selet::Form_Load() {
    Combo1.clear();
    series_ = catalog::readSeriesTable(catalog::seriesFilePath());
    for (const auto& s : series_) Combo1.addItem(entryText(s.SeriesName));
    codes_ = catalog::readCodeTable(catalog::codeFilePath());
}

records::FixedText<64> selet::chosenSeries() const { return records::FixedText<64>(Combo1.text()); }

bool selet::selectedCode(records::FixedText<8>& code) const {
    int i = List1.listIndex();
    if (i < 0 || i >= static_cast<int>(listed_.size())) return false;
    code = listed_[static_cast<std::size_t>(i)];
    return true;
}

void selet::fillCodeList() {
    List1.clear();
    listed_ = catalog::codesOfSeries(codes_, chosenSeries());
    for (const auto& c : listed_) List1.addItem(entryText(c));
}

void selet::writeCodes() { catalog::writeCodeTable(catalog::codeFilePath(), codes_); }

void selet::Combo1_Click() { fillCodeList(); }

void selet::selectCode() {
    std::string text = List1.text();
    if (text.empty()) {
        ui::msgBox("Select Extruder Code please!", ui::kOkOnly, ui::kNoIcon, "Select Extruder");
        return;
    }
    std::string code = rt::trim(text);
    shared::ExtruderCategory = code;
    ui::msgBox("Current Extruder Code is " + code + " !", ui::kOkOnly, ui::kNoIcon, "Select extruder");
    series_.clear();
    codes_.clear();
    listed_.clear();
    unload();
}

void selet::Command1_Click() { selectCode(); }
void selet::List1_DblClick() { selectCode(); }

void selet::Command2_Click() {
    ui::form<adet>().show();
    unload();
}

// Delete Extruder: removes exactly the records of the chosen series with the
// selected code; a file whose only record is that code keeps it.
void selet::Command3_Click() {
    records::FixedText<8> code;
    if (!selectedCode(code)) {
        ui::msgBox("Select Extruder Code!", ui::kOkOnly, ui::kNoIcon, "Delete Extruder code");
        return;
    }
    if (ui::msgBox("Is delete this Extruder Code?", ui::kYesNo, ui::kNoIcon, "Delete code") != ui::kYes) return;
    if (catalog::removeCodes(codes_, chosenSeries(), code) > 0) writeCodes();
    fillCodeList();
}

// Edit Extruder: renames the selected code of the chosen series.
void selet::Command4_Click() {
    records::FixedText<8> code;
    if (!selectedCode(code)) {
        ui::msgBox("Select Extruder Code!", ui::kOkOnly, ui::kNoIcon, "Edit Extruder code");
        return;
    }
    std::string answer =
        rt::ucase(ui::inputBox("Input New Name", "Edit Extruder Code", rt::trim(entryText(code))));
    if (answer.empty()) {
        ui::msgBox("You must input New Name");
        return;
    }
    if (!catalog::typedCodeFault(answer).empty()) {
        ui::msgBox(catalog::refusedCodeMessage(answer), ui::kOkOnly, ui::kNoIcon, "Edit Extruder Code");
        return;
    }
    if (catalog::renameCodes(codes_, chosenSeries(), code, answer) > 0) writeCodes();
    fillCodeList();
}

// Add Series: appended, then the window loads again.
void selet::Command5_Click() {
    std::string answer = rt::ucase(ui::inputBox("Input New Series Name", "Add Extruder Series", ""));
    if (answer.empty()) {
        ui::msgBox("You must input New Series Name", ui::kOkOnly, ui::kNoIcon, "Add Series");
        return;
    }
    catalog::appendSeries(catalog::seriesFilePath(), answer);
    Form_Load();
}

// Delete Series: the codes filed under it stay in maincode.dat. Deleting the
// last series leaves an empty maincat.dat.
void selet::Command6_Click() {
    if (Combo1.listIndex() < 0) {
        ui::msgBox("You must select Extruder Series!", ui::kOkOnly, ui::kNoIcon, "Delete Extruder Series");
        return;
    }
    // The chosen record itself names the series, so an entry that was never
    // written (zero bytes) can be deleted as well.
    catalog::removeSeries(series_, series_.at(static_cast<std::size_t>(Combo1.listIndex())).SeriesName);
    catalog::writeSeriesTable(catalog::seriesFilePath(), series_);
    Form_Load();
}

// Edit Series: the codes keep the old series name.
void selet::Command7_Click() {
    if (Combo1.listIndex() < 0) {
        ui::msgBox("You must select Extruder Series!", ui::kOkOnly, ui::kNoIcon, "Edit Extruder Series");
        return;
    }
    std::string answer =
        rt::ucase(ui::inputBox("Input New Series Name", "Edit Extruder Code", rt::trim(Combo1.text())));
    if (answer.empty()) {
        ui::msgBox("You must input New Series Name");
        return;
    }
    catalog::renameSeries(series_, series_.at(static_cast<std::size_t>(Combo1.listIndex())).SeriesName, answer);
    catalog::writeSeriesTable(catalog::seriesFilePath(), series_);
    Form_Load();
}

void selet::Command8_Click() { unload(); }
