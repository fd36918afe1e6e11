// The focus model: tab order, LostFocus validation that puts the focus back,
// and simulated Tab / Shift+Tab keystrokes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/ui/application.h"

namespace {

// A page of boxes in the manner of the parameter wizard: every box selects
// its text on focus, moves with the arrow keys and checks its number when it
// loses the focus.
struct Wizard : ui::Form {
    Wizard() : Form("Gparameter1") {}
    ui::Label Label1{*this, "Label1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::TextBox Text2{*this, "Text2"};
    ui::CommandButton Command2{*this, "Command2"};
    ui::CommandButton Command1{*this, "Command1"};
    std::vector<std::string> log;
    float stored1 = 0;

    void design() override {
        Label1.create(120, 120, 2000, 255, "Screw Speed (RPM)");
        Text1.create(2200, 120, 1200, 285);
        Text2.create(2200, 480, 1200, 285);
        Command2.create(2200, 900, 975, 375, "Next >>");
        // A Cancel that skips the checks, reached by the mouse only; its
        // Click keeps the window open.
        Command1.create(3300, 900, 975, 375, "Cancel").setCausesValidation(false);
        Command1.setTabStop(false);
        Command1.onClick = [this] { log.push_back("Command1_Click"); };
        for (ui::TextBox* box : {&Text1, &Text2}) {
            box->onGotFocus = [this, box] {
                log.push_back(box->name() + "_GotFocus");
                box->setSelStart(0);
                box->setSelLength(static_cast<int>(box->text().size()));
            };
            box->onKeyDown = [box](int& keyCode, int) {
                if (keyCode == ui::kKeyUp) ui::sendKeys(ui::SendKey::ShiftTab);
                if (keyCode == ui::kKeyDown) ui::sendKeys(ui::SendKey::Tab);
                (void)box;
            };
        }
        Text1.onLostFocus = [this] {
            log.push_back("Text1_LostFocus");
            const std::string& t = Text1.text();
            if (t.find_first_not_of("0123456789.") != std::string::npos) {
                ui::msgBox("Illegel number. Standard correction is made.", ui::kOkOnly, ui::kNoIcon, "Input parameter");
                Text1.setFocus();
                return;
            }
            stored1 = t.empty() ? 0 : std::stof(t);
        };
        Text2.onLostFocus = [this] { log.push_back("Text2_LostFocus"); };
        Command2.onClick = [this] { log.push_back("Command2_Click"); };
    }
};

class Focus : public ::testing::Test {
protected:
    headless::Session s;
    Wizard& w = ui::form<Wizard>();
};

TEST_F(Focus, ShowingGivesTheFirstControlInTabOrderTheFocus) {
    w.show();
    EXPECT_EQ(w.activeControl(), &w.Text1);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text1_GotFocus"}));
    // Labels take no focus; disabled and hidden controls are skipped.
    w.Text2.setEnabled(false);
    s.driver.tab(w);
    EXPECT_EQ(w.activeControl(), &w.Command2);
    s.driver.tab(w);
    EXPECT_EQ(w.activeControl(), &w.Text1);  // wraps around
    s.driver.shiftTab(w);
    EXPECT_EQ(w.activeControl(), &w.Command2);
}

TEST_F(Focus, TypingReplacesTheSelectionThatGotFocusMade) {
    w.show();
    w.Text1.setText("120");
    w.Text1.setSelStart(0);
    w.Text1.setSelLength(3);
    s.driver.typeText(w.Text1, "150");
    EXPECT_EQ(w.Text1.text(), "150");
    s.driver.pressKey(w.Text1, ui::kKeyBack);
    EXPECT_EQ(w.Text1.text(), "15");
}

TEST_F(Focus, ValidationPutsTheFocusBackAndDropsTheClick) {
    w.show();
    s.driver.replaceText(w.Text1, "12a");
    w.log.clear();
    s.script.ok("Illegel number. Standard correction is made.", "Input parameter");
    s.driver.click(w.Command2);
    // The button got neither the focus nor the click; Text1 has the focus again.
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text1_LostFocus", "Text1_GotFocus"}));
    EXPECT_EQ(w.activeControl(), &w.Text1);
    EXPECT_EQ(w.Text1.selLength(), 3);
    EXPECT_FLOAT_EQ(w.stored1, 0);
    s.expectScriptDone();

    // A valid value lets the move and the click through.
    s.driver.replaceText(w.Text1, "150");
    w.log.clear();
    s.driver.click(w.Command2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text1_LostFocus", "Command2_Click"}));
    EXPECT_EQ(w.activeControl(), &w.Command2);
    EXPECT_FLOAT_EQ(w.stored1, 150);
}

TEST_F(Focus, ACheckHeldAtCancelRunsAtTheNextControlThatChecksWhileTheBoxCanTakeTheFocus) {
    w.show();
    s.driver.replaceText(w.Text1, "12a");
    w.log.clear();
    s.driver.click(w.Command1);
    s.script.ok("Illegel number. Standard correction is made.");
    s.driver.click(w.Command2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Command1_Click", "Text1_LostFocus", "Text1_GotFocus"}));
    // Dropped when the box is hidden meanwhile, and when the window closes.
    s.driver.click(w.Command1);
    w.Text1.setVisible(false);
    s.driver.click(w.Command2);
    EXPECT_EQ(w.log.back(), "Command2_Click");
    w.Text1.setVisible(true);
    s.driver.setFocus(w.Text1);
    s.driver.click(w.Command1);
    w.unload();
    w.log.clear();
    w.load();
    w.Text2.setFocus();
    w.show();
    s.driver.click(w.Command2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text2_GotFocus", "Text2_LostFocus", "Command2_Click"}));
}

TEST_F(Focus, ArrowKeysSendTabsThatMoveTheFocusAfterTheHandlerReturns) {
    w.show();
    bool focusMovedDuringHandler = false;
    auto keyDown = w.Text1.onKeyDown;
    w.Text1.onKeyDown = [&](int& keyCode, int shift) {
        keyDown(keyCode, shift);
        focusMovedDuringHandler = w.activeControl() != &w.Text1;
    };
    w.log.clear();
    s.driver.pressKey(w.Text1, ui::kKeyDown);
    EXPECT_FALSE(focusMovedDuringHandler);
    EXPECT_EQ(w.activeControl(), &w.Text2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text1_LostFocus", "Text2_GotFocus"}));
    s.driver.pressKey(w.Text2, ui::kKeyUp);
    EXPECT_EQ(w.activeControl(), &w.Text1);

    // A rejected value stops the Tab too.
    s.driver.replaceText(w.Text1, "x");
    s.script.ok("Illegel number. Standard correction is made.");
    w.log.clear();
    s.driver.pressKey(w.Text1, ui::kKeyDown);
    EXPECT_EQ(w.activeControl(), &w.Text1);
    EXPECT_EQ(w.log, (std::vector<std::string>{"Text1_LostFocus", "Text1_GotFocus"}));
}

TEST_F(Focus, TypedPunctuationIsNoArrowKey) {
    // "(" and "&" share their character codes with the Down and Up keys; as
    // typed characters their KeyDown carries the code of the key that types
    // them, so the arrow handling of the box does not move the focus.
    w.show();
    std::vector<std::pair<int, int>> keyDowns;
    auto keyDown = w.Text1.onKeyDown;
    w.Text1.onKeyDown = [&](int& keyCode, int shift) {
        keyDowns.emplace_back(keyCode, shift);
        keyDown(keyCode, shift);
    };
    s.driver.typeText(w.Text1, "(&.a");
    EXPECT_EQ(w.activeControl(), &w.Text1);
    EXPECT_EQ(w.Text1.text(), "(&.a");
    EXPECT_EQ(keyDowns, (std::vector<std::pair<int, int>>{
                            {'9', ui::kShiftMask}, {'7', ui::kShiftMask}, {190, 0}, {'A', 0}}));
}

TEST_F(Focus, SetFocusDuringLoadNamesTheControlFocusedWhenShown) {
    struct F : ui::Form {
        F() : Form("f") {}
        ui::TextBox A{*this, "A"}, B{*this, "B"};
        void design() override {
            A.create(0, 0, 100, 100);
            B.create(0, 200, 100, 100);
        }
        void onLoad() override { B.setFocus(); }
    };
    ui::Application& a = ui::app();
    F& f = a.form<F>();
    f.show();
    EXPECT_EQ(f.activeControl(), &f.B);
    f.B.setEnabled(false);
    EXPECT_THROW(f.B.setFocus(), rt::Error);
}

}  // namespace
