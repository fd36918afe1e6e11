#pragma once
// "Build Screw Elements": edits the screw (conveying) elements of the
// current extruder code, screwgeo/<code>.gs. The records live in memory
// until "Done !" rewrites the whole file.
#include <string>
#include <vector>

#include "elements/element_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"

class BuildScrew : public ui::Form {
public:
    BuildScrew();

    ui::Frame Frame1{*this, "Frame1"};
    ui::ListBox List1{*this, "List1"};
    ui::Label Label1{*this, "Label1"};
    ui::Label Label9{*this, "Label9"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text7{*this, "Text7"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text2{*this, "Text2"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text6{*this, "Text6"};
    ui::Label Label6{*this, "Label6"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox Text5{*this, "Text5"};
    ui::Label Label8{*this, "Label8"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command6{*this, "Command6"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void FillScrewList();
    void List1_Click();
    void Command1_Click();  // Accept
    void Command6_Click();  // Edit
    void Command3_Click();  // Add
    void Command4_Click();  // Delete
    void Command5_Click();  // Done
    void Command2_Click();  // Cancel

    // The records in memory, in file order.
    const std::vector<records::ScrewGeoRec>& elements() const { return list_.records(); }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    void showRecord(int r);

    elements::ElementList<records::ScrewGeoRec> list_{List1, Label9, Command1, Command3, Command6};
    std::string path_;
};
