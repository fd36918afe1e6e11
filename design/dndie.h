#pragma once
// "Design Die": the five values of a die (entrance and capillary diameters,
// capillary zone length and total die length in mm, number of holes) in
// boxes placed on a section drawing of a die. "View" writes the die to the
// preview file temp/temp.die, "Done" saves it as a die file of one record.
//
// A new die (DieFile "noname") starts from zeros and opens no file; an
// edited die file is read once, at the load, without being changed. The
// code written is the extruder code taken at the load.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"

class DNdie : public ui::Form {
public:
    DNdie();

    ui::Frame Frame1{*this, "Frame1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label2{*this, "Label2"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text5{*this, "Text5"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text6{*this, "Text6"};
    ui::Label Label6{*this, "Label6"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox Text7{*this, "Text7"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommonDialog dlgcommon{*this, "dlgcommon"};

    void Form_Load();
    void ShowDieRecord();
    void Command2_Click();  // View
    void Command3_Click();  // Done
    void Command1_Click();  // Cancel

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    // The die of the boxes; false (after naming the first box that holds no
    // number) when one cannot be read.
    bool DieFromBoxes(records::DieRec& die);

    std::string code_;
    records::DieRec shown_;
};
