#pragma once
// "Design Screw": composes a screw from the element database of an extruder
// code, conveying elements (screwgeo/<code>.gs) and kneading blocks
// (kneadgeo/<code>.gk), each converted to radius units when the window
// loads. The design, in axial order without root and head, is published in
// the shared state for the screw preview together with its radius, length
// and element count; "Done" saves it as a screw file.
//
// The window takes the extruder code and the edited file (EditScrewFile) at
// its load and keeps them: they name the libraries of every reload and the
// code that the saved header carries, whatever other commands change
// meanwhile.
#include <string>
#include <vector>

#include "design/design_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"
#include "state/state.h"

class DNScrew : public ui::Form {
public:
    DNScrew();

    // The most elements a screw file can hold: N + 3 records numbered by a
    // 16-bit count.
    static constexpr int kMostElements = 32764;

    ui::Label Label1{*this, "Label1"};
    ui::ListBox List1{*this, "List1"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::Label Label2{*this, "Label2"};
    ui::ListBox List2{*this, "List2"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text7{*this, "Text7"};
    ui::ListBox List3{*this, "List3"};
    ui::Label Label10{*this, "Label10"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text2{*this, "Text2"};
    ui::Label Label6{*this, "Label6"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label8{*this, "Label8"};
    ui::TextBox Text5{*this, "Text5"};
    ui::Label Label9{*this, "Label9"};
    ui::TextBox Text6{*this, "Text6"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command6{*this, "Command6"};
    ui::CommonDialog dlgscrew{*this, "dlgscrew"};

    void Form_Load();
    void Command1_Click();  // add the selected screw element
    void Command2_Click();  // add the selected kneading block
    void Command3_Click();  // remove the selected design element
    void Command4_Click();  // Done: save and close
    void Command5_Click();  // View Screw
    void Command6_Click();  // Cancel
    void List1_DblClick() { Command1_Click(); }
    void List2_DblClick() { Command2_Click(); }
    void List3_DblClick() { Command3_Click(); }
    void List1_KeyPress(int& keyAscii);
    void List2_KeyPress(int& keyAscii);
    void List3_KeyPress(int& keyAscii);
    void UpdateScrewTotals();

    // The libraries as listed: entry i is item i of List1 / List2.
    const std::vector<records::ScrewRec>& screwLibrary() const { return screwLibrary_; }
    const std::vector<records::ScrewRec>& kneadLibrary() const { return kneadLibrary_; }
    // D, mm: the diameter of the last usable screw element record.
    float designDiameter() const { return designDiameter_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }

private:
    static std::string designItem(int position, const records::ScrewRec& element);
    // The load with the code and file taken at the window's load; false
    // (after telling the user) when the window cannot show a design.
    bool LoadDesign();
    void addFrom(const ui::ListBox& list, const std::vector<records::ScrewRec>& library, const char* noSelection);
    void Save();

    std::string code_;
    std::string editFile_;
    std::vector<records::ScrewRec> screwLibrary_;
    std::vector<records::ScrewRec> kneadLibrary_;
    float designDiameter_ = 0;
    // The records left out of the libraries have been named since the load.
    bool leftOutShown_ = false;
    // The screw file header of the design as it stands: its totals.
    records::ScrewRec totals_;
    design::DesignList<records::ScrewRec> design_{shared::ScrewDesign, List3, &DNScrew::designItem, kMostElements};
};
