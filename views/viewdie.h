#pragma once
// "Display Die": draws a die file in side view at 9 twips per mm and prints
// the drawing. Both openers (Display > Die Display and the die designer's
// View button) hand the window the path to draw; the window keeps it, so an
// activation redraws that die whatever DieFile has become since.
#include <string>

#include "platform/gfx/types.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "views/navigation.h"

class viewdie : public ui::Form {
public:
    viewdie();

    ui::CommandButton zoomin{*this, "zoomin"};
    ui::CommandButton zoomout{*this, "zoomout"};
    ui::CommandButton lleft{*this, "lleft"};
    ui::CommandButton left{*this, "left"};
    ui::CommandButton right{*this, "right"};
    ui::CommandButton rright{*this, "rright"};
    ui::CommandButton Command1{*this, "Command1"};

    // Shows the window, width × 3000 twips, drawing the die file at path.
    void showFile(const std::string& path, gfx::Twips width);

    void Form_Load();
    void DrawDieView();
    void Command1_Click();

    const views::ViewNavigation& view() const { return nav_; }
    const std::string& path() const { return path_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { DrawDieView(); }
    void onActivate() override { DrawDieView(); }

private:
    views::ViewNavigation nav_;
    std::string path_;  // the die file drawn
};
