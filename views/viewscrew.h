#pragma once
// "Display Screw": draws a screw file, chosen with Display > Screw Display,
// in side view and prints the drawing. The load takes the extruder code and
// the screw's totals from the file's header and fits the screw to the
// window; every painting copies the file's elements into the work file
// vscrew.tmp and draws them, with the radius of the code's screw elements.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "views/navigation.h"

class viewscrew : public ui::Form {
public:
    viewscrew();

    ui::CommandButton zoomin{*this, "zoomin"};
    ui::CommandButton zoomout{*this, "zoomout"};
    ui::CommandButton lleft{*this, "lleft"};
    ui::CommandButton left{*this, "left"};
    ui::CommandButton right{*this, "right"};
    ui::CommandButton rright{*this, "rright"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void DrawScrewView();
    void Command1_Click();
    void Command2_Click();

    const views::ViewNavigation& view() const { return nav_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { DrawScrewView(); }
    void onActivate() override { DrawScrewView(); }
    void onUnload() override;

private:
    // The scale at which L radii of elements, the root and the head span
    // the given extent.
    float fitted(double extent) const;

    views::ViewNavigation nav_;
    std::string path_;        // the screw file of the last load
    bool showing_ = false;    // the last load read a screw
    float totalLength_ = 0;   // L, the header's sum of element lengths, radius units
    float diameter_ = 0;      // Dh, the header's screw diameter, mm
    float radius_ = 0;        // R the screw is drawn with, mm
};
