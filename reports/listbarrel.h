#pragma once
// "View Barrel File": one barrel file for reading, a grid of its blocks with
// the axial location of every opening and the barrel's L/D. The grid and the
// window are sized to the file's record count. Reads the file named by
// BarrelFile once, in its load; writes nothing.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class listbarrel : public ui::Form {
public:
    listbarrel();

    ui::Grid bflexgrid{*this, "bflexgrid"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::CommandButton Command1{*this, "Command1"};

    void Form_Load();
    void Command1_Click();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
};
