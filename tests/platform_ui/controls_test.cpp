// List, combo, grid, menu and common dialog semantics.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "platform/ui/printer.h"

namespace {

struct Catalog : ui::Form {
    Catalog() : Form("selet") {}
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::ListBox List1{*this, "List1"};
    ui::Grid sflexgrid{*this, "sflexgrid"};
    ui::CommonDialog dlgCMDialog{*this, "dlgCMDialog"};
    std::vector<std::string> log;

    void design() override {
        Combo1.create(120, 120, 3000, 315, "Type");
        List1.create(120, 600, 3000, 2000);
        sflexgrid.create(120, 2800, 7420, 2000);
        dlgCMDialog.create();
        Combo1.onClick = [this] { log.push_back("Combo1_Click " + std::to_string(Combo1.listIndex())); };
        List1.onClick = [this] { log.push_back("List1_Click " + std::to_string(List1.listIndex())); };
        List1.onDblClick = [this] { log.push_back("List1_DblClick"); };
        List1.onKeyPress = [this](int& k) { log.push_back("List1_KeyPress " + std::to_string(k)); };
    }
};

struct Main : ui::Form {
    Main() : Form("Mainprog") { setMdiParent(true); }
    ui::MenuItem mnuSimul{*this, "mnuSimul"};
    ui::MenuItem mnuAnalyse{*this, "mnuAnalyse"};
    ui::MenuItem mnuSep5{*this, "mnuSep5"};
    ui::MenuItem mnuParameter{*this, "mnuParameter"};
    ui::MenuItem mnuNewparameter{*this, "mnuNewparameter"};
    std::vector<std::string> log;
    bool haveFile = false;

    void design() override {
        mnuSimul.create("Simulation");
        mnuAnalyse.create(mnuSimul, "Analyse Extruder", false);
        mnuSep5.create(mnuSimul, "-");
        mnuParameter.create(mnuSimul, "Specify Parameter", false);
        mnuNewparameter.create(mnuParameter, "Specify New Parameters");
        mnuSimul.onClick = [this] {
            log.push_back("mnuSimul_Click");
            if (haveFile) mnuAnalyse.setEnabled(true);
        };
        mnuAnalyse.onClick = [this] {
            log.push_back("mnuAnalyse_Click");
            mnuParameter.setEnabled(true);
        };
        mnuNewparameter.onClick = [this] { log.push_back("mnuNewparameter_Click"); };
    }
};

class Controls : public ::testing::Test {
protected:
    headless::Session s;
    Catalog& c = ui::form<Catalog>();
};

TEST_F(Controls, ListBoxIndexSelectionAndEvents) {
    c.show();
    EXPECT_EQ(c.List1.listIndex(), -1);
    EXPECT_EQ(c.List1.text(), "");
    c.List1.addItem("ZSK30   ");
    c.List1.addItem("ZSK40   ");
    EXPECT_EQ(c.List1.listCount(), 2);
    EXPECT_EQ(c.List1.list(1), "ZSK40   ");
    EXPECT_EQ(c.List1.list(2), "");
    EXPECT_EQ(c.List1.list(-1), "");
    c.List1.setListIndex(1);  // from code: Click runs on a change
    c.List1.setListIndex(1);
    EXPECT_EQ(c.log, (std::vector<std::string>{"List1_Click 1"}));
    EXPECT_EQ(c.List1.text(), "ZSK40   ");
    EXPECT_THROW(c.List1.setListIndex(2), rt::Error);
    EXPECT_THROW(c.List1.setListIndex(-2), rt::Error);
    c.log.clear();
    s.driver.doubleClickItem(c.List1, 0);
    s.driver.pressKey(c.List1, ui::kKeyReturn);
    EXPECT_EQ(c.log, (std::vector<std::string>{"List1_Click 0", "List1_DblClick", "List1_KeyPress 13"}));
    c.List1.clear();
    EXPECT_EQ(c.List1.listIndex(), -1);
    EXPECT_EQ(c.List1.listCount(), 0);
}

TEST_F(Controls, KeysMoveInListsAndTextsAndClickButtons) {
    struct Keys : ui::Form {
        Keys() : Form("Keys") {}
        ui::ListBox List1{*this, "List1"};
        ui::ComboBox Combo1{*this, "Combo1"};
        ui::TextBox Text1{*this, "Text1"};
        ui::CommandButton Command1{*this, "Command1"};
        std::vector<std::string> log;
        void design() override {
            List1.create(0, 0, 2000, 2000);
            Combo1.create(0, 2100, 2000, 315);
            Text1.create(0, 2500, 2000, 285);
            Command1.create(0, 2900, 975, 375, "Accept");
            List1.onClick = [this] { log.push_back("List1_Click " + std::to_string(List1.listIndex())); };
            Combo1.onClick = [this] { log.push_back("Combo1_Click " + std::to_string(Combo1.listIndex())); };
            Command1.onClick = [this] { log.push_back("Command1_Click"); };
        }
        void onLoad() override {
            for (const char* item : {"a", "b", "c"}) {
                List1.addItem(item);
                Combo1.addItem(item);
            }
        }
    };
    Keys& k = ui::form<Keys>();
    k.show();
    s.driver.pressKey(k.List1, ui::kKeyDown);  // from no selection to the first item
    s.driver.pressKey(k.List1, ui::kKeyDown);
    s.driver.pressKey(k.List1, 35);            // End
    s.driver.pressKey(k.List1, ui::kKeyDown);  // already at the end: nothing
    s.driver.pressKey(k.List1, ui::kKeyUp);
    EXPECT_EQ(k.log, (std::vector<std::string>{"List1_Click 0", "List1_Click 1", "List1_Click 2", "List1_Click 1"}));
    k.log.clear();
    s.driver.pressKey(k.Combo1, ui::kKeyDown);
    s.driver.pressKey(k.Combo1, ui::kKeyDown);
    EXPECT_EQ(k.Combo1.text(), "b");
    EXPECT_EQ(k.log, (std::vector<std::string>{"Combo1_Click 0", "Combo1_Click 1"}));
    k.log.clear();

    s.driver.typeText(k.Text1, "12345");
    s.driver.pressKey(k.Text1, 36);  // Home
    s.driver.pressKey(k.Text1, 39);  // Right
    s.driver.pressKey(k.Text1, 46);  // Delete
    EXPECT_EQ(k.Text1.text(), "1345");
    s.driver.pressKey(k.Text1, 39, ui::kShiftMask);
    s.driver.pressKey(k.Text1, 39, ui::kShiftMask);
    EXPECT_EQ(k.Text1.selText(), "34");
    s.driver.pressKey(k.Text1, 37);  // the selection collapses to its start
    EXPECT_EQ(k.Text1.selStart(), 1);
    s.driver.pressKey(k.Text1, 35, ui::kShiftMask);
    s.driver.typeText(k.Text1, "9");
    EXPECT_EQ(k.Text1.text(), "19");

    s.driver.setFocus(k.Command1);
    s.driver.pressKey(k.Command1, ui::kKeyReturn);
    s.driver.pressKey(k.Command1, ' ');
    EXPECT_EQ(k.log, (std::vector<std::string>{"Command1_Click", "Command1_Click"}));
}

TEST_F(Controls, ComboTextSelectsTheItemWithExactlyThatText) {
    c.show();
    EXPECT_EQ(c.Combo1.text(), "Type");
    c.Combo1.addItem("Left");
    c.Combo1.addItem("Right");
    EXPECT_EQ(c.Combo1.listIndex(), -1);
    c.Combo1.setText("Right");
    EXPECT_EQ(c.Combo1.listIndex(), 1);
    c.Combo1.setText("right");
    EXPECT_EQ(c.Combo1.listIndex(), -1);
    EXPECT_TRUE(c.log.empty());  // setting the text runs no Click
    s.driver.pickItem(c.Combo1, "Left");
    EXPECT_EQ(c.Combo1.text(), "Left");
    EXPECT_EQ(c.log, (std::vector<std::string>{"Combo1_Click 0"}));
    s.driver.typeText(c.Combo1, "x");
    EXPECT_EQ(c.Combo1.text(), "Leftx");
    EXPECT_EQ(c.Combo1.listIndex(), -1);
    c.Combo1.clear();
    EXPECT_EQ(c.Combo1.text(), "");
    EXPECT_EQ(c.Combo1.listCount(), 0);
}

TEST_F(Controls, GridRejectsBadSizesAndCellsOutsideIt) {
    c.show();
    ui::Grid& g = c.sflexgrid;
    g.setCols(9);
    g.setRows(1);  // heading row only
    g.setTextMatrix(0, 8, "StagAng");
    g.setColWidth(8, 760);
    EXPECT_EQ(g.textMatrix(0, 8), "StagAng");
    EXPECT_FLOAT_EQ(g.colWidth(8), 760);
    EXPECT_FLOAT_EQ(g.colWidth(0), -1);
    EXPECT_THROW(g.setRows(0), rt::Error);
    EXPECT_THROW(g.setRows(-3), rt::Error);
    EXPECT_THROW(g.setTextMatrix(1, 0, "x"), rt::Error);
    EXPECT_THROW(g.textMatrix(0, 9), rt::Error);
    EXPECT_THROW(g.setColWidth(-1, 10), rt::Error);
    g.setRows(3);  // growing keeps the cells
    EXPECT_EQ(g.textMatrix(0, 8), "StagAng");
    EXPECT_EQ(g.textMatrix(2, 8), "");
    EXPECT_EQ(g.fixedRows(), 1);
}

TEST_F(Controls, CancelLeavesThePresetNameOrRaisesTheCancelError) {
    c.show();
    ui::CommonDialog& d = c.dlgCMDialog;
    d.setFileName("*.brl");
    d.setFilter("barrel Files|*.brl|All files|*.*");
    d.setInitDir("/app/");
    s.script.cancelFile(ui::FileDialogKind::Open);
    d.showOpen();
    EXPECT_EQ(d.fileName(), "*.brl");

    d.setCancelError(true);
    s.script.cancelFile();
    try {
        d.showOpen();
        FAIL() << "no cancel error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::kCancelError);
    }
    EXPECT_EQ(d.fileName(), "*.brl");

    s.script.chooseFile("/data/new.brl", ui::FileDialogKind::Save);
    d.showSave();
    EXPECT_EQ(d.fileName(), "/data/new.brl");
    ASSERT_EQ(s.backend.fileDialogs().size(), 3u);
    EXPECT_EQ(s.backend.fileDialogs()[0].filter, "barrel Files|*.brl|All files|*.*");
    EXPECT_EQ(s.backend.fileDialogs()[0].initDir, "/app/");

    // The printer chosen in the setup is the one later printouts use.
    s.script.choosePrinter("Office");
    d.showPrinter();
    EXPECT_EQ(ui::printer().settings().name, "Office");
    s.script.cancelPrinter();
    EXPECT_THROW(d.showPrinter(), rt::Error);
    EXPECT_EQ(ui::printer().settings().name, "Office");
}

TEST_F(Controls, ASavedNameWithoutExtensionGetsTheOneItsFilterNames) {
    c.show();
    ui::CommonDialog& d = c.dlgCMDialog;
    auto save = [&](const std::string& filter, const std::string& typed, const std::string& preset = "*.srw") {
        d.preset(preset, "/app/", filter);
        s.script.chooseFile(typed, ui::FileDialogKind::Save);
        d.showSave();
        return d.fileName();
    };
    EXPECT_EQ(save("screw Files|*.srw|All files|*.*", "/data.v2/mine"), "/data.v2/mine.srw");
    EXPECT_EQ(save("screw Files|*.srw|All files|*.*", "/data/mine.old"), "/data/mine.old");
    EXPECT_EQ(save("barrel Files|**.brl|All files|*.*", "/data/mine"), "/data/mine.brl");
    EXPECT_EQ(save("All files|*.*", "/data/mine"), "/data/mine");
    EXPECT_EQ(save("Lists|*.txt;*.lst", "/data/mine"), "/data/mine");
    // The preset name, with or without a folder, chooses the filter shown.
    EXPECT_EQ(save("screw Files|*.srw|Texts|*.txt", "/data/mine", "*.txt"), "/data/mine.txt");
    EXPECT_EQ(save("screw Files|*.srw|Texts|*.txt", "/data/mine", "/data/*.txt"), "/data/mine.txt");
    // An existing file is asked about under the name written; No is Cancel.
    const std::string mine = std::filesystem::temp_directory_path() / ("velkor-mine-" + std::to_string(::getpid()));
    std::ofstream(mine + ".srw") << "x";
    d.preset("*.srw", "/app/", "screw Files|*.srw");
    s.script.chooseFile(mine).no(mine + ".srw already exists.\nDo you want to replace it?", "Save As");
    d.showSave();
    EXPECT_EQ(d.fileName(), "*.srw");
    std::filesystem::remove(mine + ".srw");
    s.script.chooseFile("/data/mine", ui::FileDialogKind::Open);
    d.showOpen();
    EXPECT_EQ(d.fileName(), "/data/mine");
}

TEST_F(Controls, TopMenuClickRunsWhenItOpensBeforeItsItemsAreChosen) {
    Main& m = ui::form<Main>();
    m.show();
    EXPECT_THROW(s.driver.chooseMenu(m, "mnuAnalyse"), headless::ScriptError);  // disabled
    EXPECT_EQ(m.log, (std::vector<std::string>{"mnuSimul_Click"}));
    m.haveFile = true;
    m.log.clear();
    s.driver.chooseMenu(m, "mnuAnalyse");
    EXPECT_EQ(m.log, (std::vector<std::string>{"mnuSimul_Click", "mnuAnalyse_Click"}));
    m.log.clear();
    s.driver.chooseMenu(m, "mnuNewparameter");
    EXPECT_EQ(m.log, (std::vector<std::string>{"mnuSimul_Click", "mnuNewparameter_Click"}));
    EXPECT_THROW(s.driver.chooseMenu(m, "mnuSep5"), headless::ScriptError);
    ASSERT_EQ(m.menuBar().size(), 1u);
    ASSERT_EQ(m.mnuSimul.children().size(), 3u);
    EXPECT_TRUE(m.mnuSimul.children()[1]->separator());
    // A reload builds the menus afresh with their start states.
    m.unload();
    m.show();
    EXPECT_FALSE(m.mnuAnalyse.enabled());
    EXPECT_EQ(m.mnuSimul.children().size(), 3u);
}

}  // namespace
