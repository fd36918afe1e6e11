#pragma once
// "Display Barrel": draws a barrel file, chosen with Display > Barrel
// Display, as its row of blocks, and prints the drawing. The load copies the
// file's blocks into the work file temp1.brl and fits the barrel to 95 % of
// the window; every painting reads the work file afresh.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "views/navigation.h"

class viewbarrel : public ui::Form {
public:
    viewbarrel();

    ui::CommandButton zoomin{*this, "zoomin"};
    ui::CommandButton zoomout{*this, "zoomout"};
    ui::CommandButton lleft{*this, "lleft"};
    ui::CommandButton left{*this, "left"};
    ui::CommandButton right{*this, "right"};
    ui::CommandButton rright{*this, "rright"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void DrawBarrelView();
    void Command1_Click();
    void Command2_Click();

    const views::ViewNavigation& view() const { return nav_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { DrawBarrelView(); }
    void onActivate() override { DrawBarrelView(); }
    void onUnload() override;

private:
    void loadFile(const std::string& path);

    views::ViewNavigation nav_;
    float totalLength_ = 0;  // mm, the header's length of the last file loaded
    std::string path_;       // the barrel file the drawing comes from
    bool showing_ = false;   // the work file holds this window's barrel
};
