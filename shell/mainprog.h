#pragma once
// The main window: a multiple-document window holding every other window of
// the program. Its menu bar is where the user starts everything; its commands
// choose a file with the one file dialog, store it in the shared state and
// show the window that reads it.
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class Mainprog : public ui::Form {
public:
    Mainprog();

    // The window's title.
    static constexpr const char* kCaption = "Velkor-Twin Screw Extruder";
    // The title of message boxes that have none of their own.
    static constexpr const char* kApplicationTitle = "Velkor";

    // The file dialog of the main window. Its settings, the cancel-error
    // switch included, stay as the last command left them.
    ui::CommonDialog dlgCMDialog{*this, "dlgCMDialog"};

    ui::MenuItem mnuFiles{*this, "mnuFiles"};
    ui::MenuItem mnuExtchoose{*this, "mnuExtchoose"};
    ui::MenuItem mnuSep1{*this, "mnuSep1"};
    ui::MenuItem mnuPsetup{*this, "mnuPsetup"};
    ui::MenuItem mnuSep2{*this, "mnuSep2"};
    ui::MenuItem mnuExit{*this, "mnuExit"};

    ui::MenuItem mnuDesign{*this, "mnuDesign"};
    ui::MenuItem mnuSdesign{*this, "mnuSdesign"};
    ui::MenuItem mnuNscrew{*this, "mnuNscrew"};
    ui::MenuItem mnuEscrew1{*this, "mnuEscrew1"};
    ui::MenuItem mnuBdesign{*this, "mnuBdesign"};
    ui::MenuItem mnuDbarrel{*this, "mnuDbarrel"};
    ui::MenuItem mnuEbarrel{*this, "mnuEbarrel"};
    ui::MenuItem mnuDdesign{*this, "mnuDdesign"};
    ui::MenuItem mnuDdie{*this, "mnuDdie"};
    ui::MenuItem mnuEdie{*this, "mnuEdie"};
    ui::MenuItem mnuSep3{*this, "mnuSep3"};
    ui::MenuItem mnuExtassem{*this, "mnuExtassem"};

    ui::MenuItem mnuSimul{*this, "mnuSimul"};
    ui::MenuItem mnuExtspecify{*this, "mnuExtspecify"};
    ui::MenuItem mnuAnalyse{*this, "mnuAnalyse"};
    ui::MenuItem mnuParameter{*this, "mnuParameter"};
    ui::MenuItem mnuNewparameter{*this, "mnuNewparameter"};
    ui::MenuItem mnuOldparameters{*this, "mnuOldparameters"};
    ui::MenuItem mnuSep5{*this, "mnuSep5"};
    ui::MenuItem mnuCalculation{*this, "mnuCalculation"};

    ui::MenuItem mnuDisplay{*this, "mnuDisplay"};
    ui::MenuItem mnuSdisplay{*this, "mnuSdisplay"};
    ui::MenuItem mnuBdiaplay{*this, "mnuBdiaplay"};
    ui::MenuItem mnuDdisplay{*this, "mnuDdisplay"};
    ui::MenuItem mnuExtdisplay{*this, "mnuExtdisplay"};
    ui::MenuItem mnuPdisplay{*this, "mnuPdisplay"};

    ui::MenuItem mnuView{*this, "mnuView"};
    ui::MenuItem mnuSview{*this, "mnuSview"};
    ui::MenuItem mnuBview{*this, "mnuBview"};
    ui::MenuItem mnuDview{*this, "mnuDview"};
    ui::MenuItem mnuEview{*this, "mnuEview"};
    ui::MenuItem mnuRview{*this, "mnuRview"};

    ui::MenuItem mnuPrint{*this, "mnuPrint"};
    ui::MenuItem mnuSprint{*this, "mnuSprint"};
    ui::MenuItem mnuBprint{*this, "mnuBprint"};
    ui::MenuItem mnuDprint{*this, "mnuDprint"};
    ui::MenuItem mnuExtprint{*this, "mnuExtprint"};
    ui::MenuItem mnuRprint{*this, "mnuRprint"};
    ui::MenuItem mnuSep6{*this, "mnuSep6"};
    ui::MenuItem mnuRconvert{*this, "mnuRconvert"};

    ui::MenuItem mnuData{*this, "mnuData"};
    ui::MenuItem mnuSbuild{*this, "mnuSbuild"};
    ui::MenuItem mnuSep7{*this, "mnuSep7"};
    ui::MenuItem mnuKbuild{*this, "mnuKbuild"};
    ui::MenuItem mnuSep8{*this, "mnuSep8"};
    ui::MenuItem mnuBbuild{*this, "mnuBbuild"};

    // Simulation procedures of the main window.
    void SpecifyExtruder();
    void AnalyseExtruder();

protected:
    void design() override;
    void onLoad() override { MDIForm_Load(); }
    void onActivate() override { MDIForm_Activate(); }

private:
    void MDIForm_Load();
    void MDIForm_Activate();

    void mnuExtchoose_Click();
    void mnuPsetup_Click();
    void mnuExit_Click();
    void mnuNscrew_Click();
    void mnuEscrew1_Click();
    void mnuDbarrel_Click();
    void mnuEbarrel_Click();
    void mnuDdie_Click();
    void mnuEdie_Click();
    void mnuExtassem_Click();
    void mnuSimul_Click();
    void mnuExtspecify_Click();
    void mnuAnalyse_Click();
    void mnuNewparameter_Click();
    void mnuOldparameters_Click();
    void mnuCalculation_Click();
    void mnuSdisplay_Click();
    void mnuBdiaplay_Click();
    void mnuDdisplay_Click();
    void mnuExtdisplay_Click();
    void mnuPdisplay_Click();
    void mnuSview_Click();
    void mnuBview_Click();
    void mnuDview_Click();
    void mnuEview_Click();
    void mnuRview_Click();
    void mnuSprint_Click();
    void mnuBprint_Click();
    void mnuDprint_Click();
    void mnuExtprint_Click();
    void mnuRprint_Click();
    void mnuRconvert_Click();
    void mnuSbuild_Click();
    void mnuKbuild_Click();
    void mnuBbuild_Click();

    // Presets the dialog (file name, initial directory AppDir, filter) and
    // opens it; returns the dialog's file name. Raises the cancel error when
    // the user cancels with the cancel-error switch on.
    std::string openFile(const std::string& pattern, const std::string& filter);
    // The Database commands need an extruder code; false (after telling the
    // user) when none is chosen.
    bool extruderCategoryChosen();
    // Edit Existing: the designer loads with the code of the chosen file's
    // header as the current one, which stays current only when the designer
    // opens on that file. A file the designer refuses, a load ended by an
    // error, or a designer that is already open and only comes to the front,
    // leaves the code as it was.
    static void editWithCode(ui::Form& designer, const std::string& code);
};
