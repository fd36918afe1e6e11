#pragma once
// "Select Extruder": the catalog of extruder series and codes. The user
// chooses a series and one of its codes and makes it the current extruder
// code, and adds, deletes or renames series and codes. Every change goes to
// maincat.dat / maincode.dat at once.
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/catalog_records.h"

class selet : public ui::Form {
public:
    selet();

    ui::Label Label1{*this, "Label1"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::Label Label2{*this, "Label2"};
    ui::ListBox List1{*this, "List1"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command6{*this, "Command6"};
    ui::CommandButton Command7{*this, "Command7"};
    ui::CommandButton Command8{*this, "Command8"};

    void Form_Load();
    void Combo1_Click();
    void Command1_Click();
    void List1_DblClick();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    void selectCode();
    // The series whose codes are meant: the text of Combo1 (the chosen
    // entry as it shows) padded to 64 characters.
    records::FixedText<64> chosenSeries() const;
    // The code field of the selected List1 entry (none selected: false).
    bool selectedCode(records::FixedText<8>& code) const;
    void fillCodeList();
    void writeCodes();

    std::vector<records::CatalogSeriesRec> series_;
    std::vector<records::CatalogCodeRec> codes_;
    // The code fields behind the List1 entries, in list order.
    std::vector<records::FixedText<8>> listed_;
};
