#pragma once
// "Fitting Extruder": the last step of the assembly. It reads back the
// extruder file that the assembly has just written, draws barrel and screw,
// lets the user push the screw towards the feed end in 3 mm steps and back,
// and "Done !" rewrites the file with the shift applied to its placement.
//
// The file, its records, radius, gap and overhang are the window's own from
// its load on: no other command changes what "Done !" writes or where.
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "records/design_records.h"

class fitext : public ui::Form {
public:
    fitext();

    ui::CommandButton Command1{*this, "Command1"};  // towards the feed end
    ui::CommandButton Command2{*this, "Command2"};  // back
    ui::CommandButton Command3{*this, "Command3"};
    ui::Label Label1{*this, "Label1"};

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Form_Resize();
    void Form_Unload();
    void DrawFitting();

protected:
    void design() override;
    void onLoad() override { Form_Load(); }
    void onResize() override { Form_Resize(); }
    void onUnload() override { Form_Unload(); }

private:
    // Reads the extruder file into the window; the message that refuses it,
    // or empty.
    std::string readExtruder();
    void showShift();

    bool loaded_ = false;
    std::string file_;
    records::ExtHeader header_;
    std::vector<records::ScrewRec> FitScrewRecs;
    std::vector<records::BarrelRec> FitBarrelRecs;
    float radius_ = 0;    // mm, the screw header's diameter / 2
    float gap_ = 0;       // radius units, as read
    float overhang_ = 0;  // radius units, as read

    int FitShift = 0;               // mm towards the feed end; never negative
    gfx::Twips FitScrewX = 1400;    // the screw's drawing origin
    gfx::Twips FitLeftMargin = 1200;
    float FitScale = 0;             // twips per mm, set by the drawing
};
