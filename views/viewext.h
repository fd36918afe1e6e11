#pragma once
// "Display Extruder ": draws a whole extruder file (barrel blocks, die and
// the screw at its fitted place in the bore) and prints the drawing. Opened
// by Display > Extruder Display with DisplayExtruderFile set; with that path
// empty it shows the current ExtruderFile. Its load makes the file the
// extruder of the shared state; the window draws and prints what its own
// load read, whatever other windows put there afterwards. Closing it empties
// DisplayExtruderFile.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_files.h"
#include "views/navigation.h"

class viewext : public ui::Form {
public:
    viewext();

    ui::CommandButton zoomin{*this, "zoomin"};
    ui::CommandButton zoomout{*this, "zoomout"};
    ui::CommandButton lleft{*this, "lleft"};
    ui::CommandButton left{*this, "left"};
    ui::CommandButton right{*this, "right"};
    ui::CommandButton rright{*this, "rright"};
    ui::CommandButton Command1{*this, "Command1"};
    ui::CommandButton Command2{*this, "Command2"};

    void Form_Load();
    void DrawExtruderView();
    void Command1_Click();
    void Command2_Click();

    const views::ViewNavigation& view() const { return nav_; }

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { DrawExtruderView(); }
    void onUnload() override;

private:
    views::ViewNavigation nav_;
    bool showing_ = false;                   // the last load read an extruder
    records::ExtruderFileContent extruder_;  // as the last load read it
    float radius_ = 0;                       // mm
    std::string code_;                       // the file's extruder code
};
