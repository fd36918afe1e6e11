#pragma once
// "View Die File": the one record of a die file in five labelled boxes.
// Reads the file named by DieFile once, in its load; writes nothing.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class listdie : public ui::Form {
public:
    listdie();

    ui::Label label1{*this, "label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox Text2{*this, "Text2"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox Text3{*this, "Text3"};
    ui::Label Label4{*this, "Label4"};
    ui::TextBox Text4{*this, "Text4"};
    ui::Label Label5{*this, "Label5"};
    ui::TextBox Text5{*this, "Text5"};
    ui::LineControl Line1{*this, "Line1"};
    ui::CommandButton Command1{*this, "Command1"};

    void Form_Load();
    void Command1_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
};
