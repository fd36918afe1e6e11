#include "catalog/adet.h"

#include "catalog/catalog_files.h"
#include "catalog/selet.h"
#include "platform/rt/text.h"
#include "platform/ui/application.h"

adet::adet() : ui::Form("adet") {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void adet::design() {
    setCaption("Add Extruder");
    setSize(5760, 2700);
    Label1.create(240, 300, 1560, 255, "Extruder Series :");
    Combo1.create(1800, 240, 3480, 315);
    Label2.create(240, 840, 1560, 255, "Extruder Code :");
    Text1.create(1800, 780, 1800, 315);
    Command1.create(1200, 1500, 1440, 375, "Accept");
    Command2.create(3000, 1500, 1440, 375, "Cancel");
}

void adet::Form_Load() {
    Combo1.clear();
    series_ = catalog::readSeriesTable(catalog::seriesFilePath());
    for (const auto& s : series_) Combo1.addItem(catalog::entryText(s.SeriesName));
}

// Accept: appends the code under the chosen series unless a code of that
// name exists in any series or the code cannot name a file.
void adet::Command1_Click() {
    if (Text1.text().empty()) {
        ui::msgBox("Input Extruder code please!", ui::kOkOnly, ui::kNoIcon, "Add Extruder Category");
        return;
    }
    int s = Combo1.listIndex();
    if (s < 0 || s >= static_cast<int>(series_.size())) {
        ui::msgBox("Input Select Extruder series!", ui::kOkOnly, ui::kNoIcon, "Add Extruder Category");
        return;
    }
    std::string code = rt::ucase(Text1.text());
    if (!catalog::typedCodeFault(code).empty()) {
        ui::msgBox(catalog::refusedCodeMessage(code), ui::kOkOnly, ui::kNoIcon, "Add Extruder Category");
        return;
    }
    const std::string path = catalog::codeFilePath();
    if (catalog::codeExists(catalog::readCodeTable(path), code)) {
        ui::msgBox("This Extruder Code is Exist!", ui::kOkOnly, ui::kNoIcon, "Add Extruder code");
        return;
    }
    catalog::appendCode(path, catalog::SeriesName(Combo1.list(s)), code);
    Command2_Click();
}

void adet::Command2_Click() {
    unload();
    ui::form<selet>().show();
}
