#pragma once
// The barrel designer: composes a barrel from the barrel blocks of an
// extruder code (brlkgeo/<code>.gb), with the screw diameter of the code
// (record 1 of screwgeo/<code>.gs) as the L/D divisor. The design, blocks in
// mm in axial order, is published in the shared state for the barrel
// preview with its length and block count; "Done" saves it as a barrel file.
//
// The window takes the extruder code and the edited file (EditBarrelFile) at
// its load and keeps them for its reloads and for the saved header.
#include <string>
#include <vector>

#include "design/design_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"
#include "state/state.h"

class DNBarrel : public ui::Form {
public:
    DNBarrel();

    // The most blocks a barrel file can hold: N + 1 records numbered by a
    // 16-bit count.
    static constexpr int kMostBlocks = 32766;

    ui::Label Label1{*this, "Label1"};
    ui::ListBox List1{*this, "List1"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::Label Label2{*this, "Label2"};
    ui::ListBox List3{*this, "List3"};
    ui::Label Label3{*this, "Label3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text2{*this, "Text2"};
    ui::Label Label6{*this, "Label6"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox Text5{*this, "Text5"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommonDialog dlgbarrel{*this, "dlgbarrel"};

    void Form_Load();
    void Command1_Click();  // add the selected block
    void Command3_Click();  // remove the selected design block
    void Command2_Click();  // View barrel
    void Command4_Click();  // Done: save and close
    void Command5_Click();  // Cancel
    void List1_DblClick() { Command1_Click(); }
    void List3_DblClick() { Command3_Click(); }
    void List1_KeyPress(int& keyAscii);
    void List3_KeyPress(int& keyAscii);
    void UpdateBarrelTotals();

    // The library as listed: entry i is item i of List1.
    const std::vector<records::BarrelRec>& barrelLibrary() const { return barrelLibrary_; }
    // D, mm: record 1 of the code's screw element file.
    float designDiameter() const { return designDiameter_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    static std::string designItem(int position, const records::BarrelRec& block);
    // The load with the code and file taken at the window's load; false
    // (after telling the user) when the window cannot show a design.
    bool LoadDesign();
    void Save();

    std::string code_;
    std::string editFile_;
    std::vector<records::BarrelRec> barrelLibrary_;
    float designDiameter_ = 0;
    // Sum over the design of block length / D.
    float accumulatedLD_ = 0;
    design::DesignList<records::BarrelRec> design_{shared::BarrelDesign, List3, &DNBarrel::designItem, kMostBlocks};
};
