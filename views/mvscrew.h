#pragma once
// "View Screw - Edit window": the preview of the screw being designed, drawn
// from the design in memory (ScrewDesign and its totals), never from a file.
// It keeps the radius, length and element count of its last load until
// "Reload"; every drawing reads the elements afresh.
#include <cstdint>
#include <span>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"
#include "views/navigation.h"

class mvscrew : public ui::Form {
public:
    mvscrew();

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
    void DrawScrewPreview();
    void PrintScrewPreview();
    void Command8_Click();

    const views::ViewNavigation& view() const { return nav_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { Command8_Click(); }
    void onUnload() override;

private:
    // The elements drawn: the first of those counted at the load that the
    // design still holds.
    std::span<const records::ScrewRec> elements() const;

    views::ViewNavigation nav_;
    float radius_ = 0;         // mm, copied at load
    float length_ = 0;         // mm of the elements, copied at load
    std::int16_t count_ = 0;   // elements, copied at load
};
