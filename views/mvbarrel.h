#pragma once
// "Form1": the preview of the barrel being designed, drawn from the design in
// memory (BarrelDesign and its totals), never from a file. Every drawing
// reads the design afresh; "reload" and "Fit Screen" fit it again.
#include <span>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"
#include "views/navigation.h"

class mvbarrel : public ui::Form {
public:
    mvbarrel();

    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command3{*this, "Command3"};
    ui::CommandButton Command4{*this, "Command4"};
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command6{*this, "Command6"};
    ui::CommandButton Command7{*this, "Command7"};
    ui::CommandButton Command8{*this, "Command8"};
    ui::CommandButton Command9{*this, "Command9"};

    void Form_Load();
    void DrawBarrelPreview();
    void PrintBarrelPreview();

    const views::ViewNavigation& view() const { return nav_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { DrawBarrelPreview(); }

private:
    // The blocks drawn: the first BarrelDesignCount that the design holds.
    static std::span<const records::BarrelRec> blocks();

    views::ViewNavigation nav_;
};
