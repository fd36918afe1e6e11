#pragma once
// "Build Barrel Elements": edits the barrel blocks (hopper, plane, vent) of
// the current extruder code, brlkgeo/<code>.gb. The records live in memory
// until "Done !" rewrites the whole file.
#include <string>
#include <vector>

#include "elements/element_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"

class BuildBarrel : public ui::Form {
public:
    BuildBarrel();

    ui::Frame Frame2{*this, "Frame2"};
    ui::ListBox List1{*this, "List1"};
    ui::Label Label8{*this, "Label8"};
    ui::Label Label7{*this, "Label7"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text7{*this, "Text7"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label6{*this, "Label6"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::Frame Barrlframe2{*this, "Barrlframe2"};
    ui::Shape Shape1{*this, "Shape1"};
    ui::Shape Shape2{*this, "Shape2"};
    ui::LineControl Line1{*this, "Line1"};
    ui::LineControl Line2{*this, "Line2"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text5{*this, "Text5"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text2{*this, "Text2"};
    ui::TextBox Text1{*this, "Text1"};
    ui::CommandButton Accept{*this, "Accept"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void FillBarrelList();
    void List1_Click();
    void Accept_Click();
    void Command1_Click();  // Edit
    void Command3_Click();  // Add
    void Command4_Click();  // Delete
    void Command5_Click();  // Done
    void Command2_Click();  // Cancel

    const std::vector<records::BarrelRec>& elements() const { return list_.records(); }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    void showRecord(int r);

    elements::ElementList<records::BarrelRec> list_{List1, Label7, Accept, Command3, Command1};
    std::string path_;
};
