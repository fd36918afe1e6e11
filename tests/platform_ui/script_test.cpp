// The headless script: dialogs in order with expectations, unexpected and
// unanswered dialogs fail, errors that no handler traps fail the test.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"

namespace {

struct Editor : ui::Form {
    Editor() : Form("BuildScrew") {}
    ui::CommandButton Command5{*this, "Command5"};
    ui::CommandButton Command9{*this, "Command9"};
    int answer = 0;
    std::string name;
    void design() override {
        Command5.create(0, 0, 975, 375, "Done !");
        Command9.create(0, 400, 975, 375, "Broken");
        Command5.onClick = [this] {
            answer = ui::msgBox("Building Screw Elements are sucessful. Exit to Mainmenu?", ui::kYesNo,
                                ui::kInformation, "Build Screw Elements");
            if (answer == ui::kYes) unload();
        };
        Command9.onClick = [] { rt::raise(rt::kFileNotFound, "maincat.dat"); };
    }
};

class Script : public ::testing::Test {
protected:
    headless::Session s;
    Editor& e = ui::form<Editor>();
};

TEST_F(Script, AnswersMessageBoxesInOrderAndRecordsThem) {
    ui::app().setTitle("Velkor-Twin Screw Extruder");
    e.show();
    s.script.no("Building Screw Elements are sucessful. Exit to Mainmenu?", "Build Screw Elements")
        .yes();
    s.driver.click(e.Command5);
    EXPECT_EQ(e.answer, ui::kNo);
    EXPECT_TRUE(e.isLoaded());
    s.driver.click(e.Command5);
    EXPECT_FALSE(e.isLoaded());
    ASSERT_EQ(s.backend.messages().size(), 2u);
    EXPECT_EQ(s.backend.messages()[0].request.icon, ui::kInformation);
    EXPECT_EQ(s.backend.messages()[0].request.buttons, ui::kYesNo);
    // A box without a title of its own shows the application's title.
    s.script.ok();
    ui::msgBox("You must input New Name");
    EXPECT_EQ(s.backend.messages()[2].request.title, "Velkor-Twin Screw Extruder");
    s.script.input("zsk30").cancelInput("Input New Series Name");
    EXPECT_EQ(ui::inputBox("Input New Name", "Edit Extruder Code", "ZSK"), "zsk30");
    EXPECT_EQ(ui::inputBox("Input New Series Name"), "");
    EXPECT_EQ(s.backend.inputBoxes()[0].defaultText, "ZSK");
    s.expectScriptDone();
}

TEST_F(Script, UnexpectedOrUnansweredDialogsFailWithTheirText) {
    e.show();
    try {
        s.driver.click(e.Command5);
        FAIL() << "no failure";
    } catch (const headless::ScriptError& err) {
        EXPECT_NE(std::string(err.what()).find("Exit to Mainmenu?"), std::string::npos);
    }
    s.script.input("x");
    EXPECT_THROW(s.driver.click(e.Command5), headless::ScriptError);  // a message box, not an input box
    s.script.clear();
    s.script.ok("Something else");
    EXPECT_THROW(ui::msgBox("Select item!"), headless::ScriptError);  // text differs
    s.script.clear();
    s.script.answer(ui::kYes);
    EXPECT_THROW(ui::msgBox("Select item!"), headless::ScriptError);  // an OK box has no Yes
    s.script.clear();
    s.script.ok().ok();
    ui::msgBox("one");
    EXPECT_THROW(s.expectScriptDone(), headless::ScriptError);
}

TEST_F(Script, ErrorsThatNoHandlerTrapsFailOrAreRecorded) {
    e.show();
    try {
        s.driver.click(e.Command9);
        FAIL() << "no failure";
    } catch (const headless::UnhandledError& err) {
        EXPECT_EQ(err.number(), rt::kFileNotFound);
    }
    s.recordUnhandledErrors();
    s.driver.click(e.Command9);
    ASSERT_EQ(s.unhandledErrors().size(), 1u);
    EXPECT_EQ(s.unhandledErrors()[0].number(), rt::kFileNotFound);
    EXPECT_TRUE(e.isLoaded());  // the program keeps running
}

TEST_F(Script, DesktopDefaultShowsTheRunTimeErrorAndKeepsRunning) {
    e.show();
    ui::app().setUnhandledErrorHook(nullptr);
    s.script.ok("Run-time error 53\n\nFile not found: maincat.dat");
    s.driver.click(e.Command9);
    EXPECT_EQ(s.backend.messages().back().request.icon, ui::kCritical);
    EXPECT_TRUE(e.isLoaded());
}

}  // namespace
