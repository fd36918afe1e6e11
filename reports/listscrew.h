#pragma once
// "View Screw File": one screw file for reading, a grid of its elements and
// the screw's totals from its header. Reads the file named by ScrewFile once,
// in its load; writes nothing.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class listscrew : public ui::Form {
public:
    listscrew();

    ui::Grid sflexgrid{*this, "sflexgrid"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text5{*this, "Text5"};
    ui::CommandButton Command1{*this, "Command1"};

    void Form_Load();
    void Command1_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
};
