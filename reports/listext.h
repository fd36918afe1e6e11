#pragma once
// "View Extruder File": one assembled extruder file for reading, in four
// framed sections: general information, the screw (totals and a grid of its
// elements), the barrel (L/D and a grid of its blocks with the location of
// every opening) and the die. Reads the file named by ExtruderFile once, in
// its load; writes nothing.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class listext : public ui::Form {
public:
    listext();

    ui::Frame Frame1{*this, "Frame1"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};

    ui::Frame Frame2{*this, "Frame2"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text5{*this, "Text5"};
    ui::Label Label6{*this, "Label6"};
    ui::TextBox Text6{*this, "Text6"};
    ui::Label Label7{*this, "Label7"};
    ui::TextBox Text7{*this, "Text7"};
    ui::Grid fGrid1{*this, "fGrid1"};

    ui::Frame Frame3{*this, "Frame3"};
    ui::Label Label8{*this, "Label8"};
    ui::TextBox Text8{*this, "Text8"};
    ui::Grid fGrid2{*this, "fGrid2"};

    ui::Frame Frame4{*this, "Frame4"};
    ui::Label Label9{*this, "Label9"};
    ui::TextBox Text9{*this, "Text9"};
    ui::Label Label10{*this, "Label10"};
    ui::TextBox Text10{*this, "Text10"};
    ui::Label Label11{*this, "Label11"};
    ui::TextBox Text11{*this, "Text11"};
    ui::Label Label12{*this, "Label12"};
    ui::TextBox Text12{*this, "Text12"};
    ui::Label Label13{*this, "Label13"};
    ui::TextBox Text13{*this, "Text13"};

    ui::CommandButton Command1{*this, "Command1"};

    void Form_Load();
    void Command1_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
};
