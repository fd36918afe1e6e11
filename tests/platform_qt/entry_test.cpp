// Typing, focus and reading on the desktop, with real key and mouse events
// on the widgets: what the keyboard focus selects, what the editing keys
// tell the core, how set texts and lists look, where child windows open and
// how wide the boxes of the program are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

#include "support.h"

namespace {

using qttest::pump;
using qttest::pumpUntil;

// A series name as the catalog stores it: padded with blanks to 64.
const std::string kSeries = "LABORATORY CO-ROTATING" + std::string(64 - 22, ' ');

struct Boxes : ui::Form {
    Boxes() : Form("Boxes") {}
    ui::TextBox Text1{*this, "Text1"};
    ui::TextBox Text2{*this, "Text2"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::ListBox List1{*this, "List1"};
    ui::CommandButton Command1{*this, "Command1"};
    std::vector<std::string> log;
    void design() override {
        Text1.create(120, 120, 1500, 300, "12.5");
        Text2.create(120, 600, 1500, 300, "300");
        Combo1.create(120, 1080, 1200, 315, "Type");
        List1.create(120, 1560, 1800, 900);
        Command1.create(120, 2640, 1200, 375, "Accept");
        Text2.onKeyPress = [this](int& k) { log.push_back("Text2_KeyPress " + std::to_string(k)); };
        Combo1.onKeyPress = [this](int& k) { log.push_back("Combo1_KeyPress " + std::to_string(k)); };
    }
    void onLoad() override {
        Combo1.addItem("Left");
        Combo1.addItem(kSeries);
        List1.addItem("SE42/42");
        List1.addItem("SE28/28");
        setSize(6000, 4000);
    }
};

class Entry : public qttest::QtTest {
protected:
    // Shows the window with the keyboard's focus in it.
    Boxes& open() {
        Boxes& f = ui::form<Boxes>();
        f.show();
        QWidget* window = backend->windowOf(f);
        window->activateWindow();
        pumpUntil([&] { return QApplication::activeWindow() == window; });
        return f;
    }
    QLineEdit* edit(const ui::Control& c) {
        QWidget* w = backend->widgetOf(c);
        if (auto* box = qobject_cast<QComboBox*>(w)) return box->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    }
    // A key as the keyboard gives it: to the widget with Qt's focus, which
    // must be the control with the program's focus.
    void key(Boxes& f, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = backend->widgetOf(*f.activeControl());
        EXPECT_EQ(QApplication::focusWidget(), target);
        QTest::keyClick(target, k, mods);
        pump();
    }
    void type(Boxes& f, const char* text) {
        QTest::keyClicks(backend->widgetOf(*f.activeControl()), text);
        pump();
    }
};

TEST_F(Entry, KeyboardFocusSelectsTheWholeTextAndAClickPlacesTheCaret) {
    Boxes& f = open();
    // The window's first box.
    ASSERT_EQ(f.activeControl(), &f.Text1);
    EXPECT_EQ(edit(f.Text1)->selectedText(), "12.5");
    EXPECT_EQ(f.Text1.selLength(), 4);

    key(f, Qt::Key_Tab);
    ASSERT_EQ(f.activeControl(), &f.Text2);
    EXPECT_EQ(edit(f.Text2)->selectedText(), "300");
    EXPECT_EQ(f.Text2.selStart(), 0);
    EXPECT_EQ(f.Text2.selLength(), 3);
    type(f, "7");
    EXPECT_EQ(f.Text2.text(), "7");
    EXPECT_EQ(edit(f.Text2)->text(), "7");
    EXPECT_EQ(f.log, (std::vector<std::string>{"Text2_KeyPress 55"}));

    key(f, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(f.activeControl(), &f.Text1);
    EXPECT_EQ(edit(f.Text1)->selectedText(), "12.5");
    // So does the program's SetFocus, and the text shows from its start.
    f.Text2.setText("12345678901234567890123456789012345678901234567890");
    f.Text2.setFocus();
    EXPECT_EQ(f.Text2.selLength(), 50);
    EXPECT_EQ(edit(f.Text2)->cursorPosition(), 0);
    key(f, Qt::Key_Tab);  // on into the combo box
    ASSERT_EQ(f.activeControl(), &f.Combo1);
    EXPECT_EQ(edit(f.Combo1)->selectedText(), "Type");

    // A click puts the caret where it was clicked, here after the last
    // character, and selects nothing.
    f.Text1.setText("300");
    QLineEdit* box = edit(f.Text1);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->width() - 4, box->height() / 2));
    ASSERT_TRUE(pumpUntil([&] { return f.activeControl() == &f.Text1; }));
    pump();
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_EQ(box->cursorPosition(), 3);
    EXPECT_EQ(f.Text1.selStart(), 3);
    EXPECT_EQ(f.Text1.selLength(), 0);
    EXPECT_EQ(QApplication::focusWidget(), box);
}

TEST_F(Entry, EditingShortcutsChangeWhatTheCoreHolds) {
    Boxes& f = open();
    f.Text2.setText("pl-2");
    QLineEdit* box = edit(f.Text2);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->width() - 4, box->height() / 2));
    ASSERT_TRUE(pumpUntil([&] { return f.activeControl() == &f.Text2; }));
    pump();
    key(f, Qt::Key_A, Qt::ControlModifier);
    type(f, "pl/2");
    EXPECT_EQ(f.Text2.text(), "pl/2");
    EXPECT_EQ(f.log.size(), 4u);  // each character through KeyPress
    key(f, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.Text2.text(), "pl-2");
    EXPECT_EQ(box->text(), "pl-2");

    // Copy from one box, paste over the other's whole text, cut it away.
    key(f, Qt::Key_A, Qt::ControlModifier);
    key(f, Qt::Key_C, Qt::ControlModifier);
    key(f, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(f.activeControl(), &f.Text1);
    key(f, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.Text1.text(), "pl-2");
    key(f, Qt::Key_A, Qt::ControlModifier);
    key(f, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(f.Text1.text(), "");

    // In a combo box's text the typed characters replace the selection too.
    QLineEdit* text = edit(f.Combo1);
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, QPoint(4, text->height() / 2));
    ASSERT_TRUE(pumpUntil([&] { return f.activeControl() == &f.Combo1; }));
    pump();
    key(f, Qt::Key_A, Qt::ControlModifier);
    type(f, "Left");
    EXPECT_EQ(f.Combo1.text(), "Left");
    EXPECT_EQ(f.Combo1.listIndex(), 0);
    key(f, Qt::Key_Backspace);
    EXPECT_EQ(f.Combo1.text(), "Lef");
    EXPECT_EQ(f.Combo1.listIndex(), -1);
}

TEST_F(Entry, SetTextsShowFromTheirStartAndListsShowWhatIsChosen) {
    Boxes& f = open();
    auto* combo = static_cast<QComboBox*>(backend->widgetOf(f.Combo1));
    f.Combo1.setListIndex(1);
    EXPECT_EQ(combo->lineEdit()->text().toStdString(), kSeries);
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);
    // The user's choice from the drop-down list as well.
    f.Combo1.setFocus();
    f.Combo1.setListIndex(0);
    emit combo->activated(1);
    ASSERT_TRUE(pumpUntil([&] { return f.Combo1.listIndex() == 1; }));
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);
    // The list drops down wide enough for the longest name, unshortened.
    combo->showPopup();
    pump();
    const int name = combo->view()->fontMetrics().horizontalAdvance("LABORATORY CO-ROTATING");
    EXPECT_GT(combo->view()->viewport()->width(), name);
    EXPECT_EQ(combo->view()->textElideMode(), Qt::ElideNone);
    combo->hidePopup();

    // With ListIndex -1 no item is current, also once the list has focus;
    // the focus then shows on the list itself.
    auto* list = static_cast<QListWidget*>(backend->widgetOf(f.List1));
    f.List1.setFocus();
    pumpUntil([&] { return list->hasFocus(); });
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    key(f, Qt::Key_Down);
    EXPECT_EQ(f.List1.listIndex(), 0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->item(0)->isSelected());

    // A button reached by the keyboard is drawn with the focus.
    f.Command1.setFocus();
    auto* button = static_cast<QPushButton*>(backend->widgetOf(f.Command1));
    QStyleOptionButton option;
    option.initFrom(button);
    EXPECT_TRUE(option.state & QStyle::State_HasFocus);
    EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange);
}

// ---- child windows and boxes ----------------------------------------------------

struct Main : ui::Form {
    Main() : Form("Mainprog") { setMdiParent(true); }
    void design() override { setSize(12000, 9000); }
};

// Child windows of the element editors' size, and one wider than the main
// window.
template <int N, int Width = 8880, int Height = 5700>
struct Child : ui::Form {
    Child() : Form("Child" + std::to_string(N)) {}
    void design() override { setSize(Width, Height); }
};

TEST_F(Entry, ChildWindowsOpenInsideTheMainWindow) {
    ui::form<Main>().show();
    QMdiArea* area = backend->mdiArea();
    ASSERT_NE(area, nullptr);
    pumpUntil([&] { return area->viewport()->width() > 600; });
    const QRect client = area->viewport()->rect();
    std::vector<QRect> placed;
    for (ui::Form* f : std::vector<ui::Form*>{&ui::form<Child<1>>(), &ui::form<Child<2>>(), &ui::form<Child<3>>()}) {
        f->show();
        pump();
        QRect r = backend->windowOf(*f)->geometry();
        EXPECT_TRUE(client.contains(r)) << f->className();
        EXPECT_EQ(r.size(), QSize(592, 380));
        for (const QRect& before : placed) EXPECT_NE(r.topLeft(), before.topLeft());
        placed.push_back(r);
    }
    // A window wider than the main window's client area opens at its left.
    using Wide = Child<4, 15000, 3000>;
    ui::form<Wide>().show();
    pump();
    EXPECT_EQ(backend->windowOf(ui::form<Wide>())->pos(), QPoint(0, 0));
}

// The room a title needs in a title bar: the title in bold and, beside it,
// the frame's icon and close button, each about two text lines wide.
int titleRoom(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 4 * metrics.height();
}

TEST_F(Entry, BoxesAreAsWideAsTheirTitles) {
    const QString title = "Build Kneading Disk Elements - LAB30";
    int messageWidth = 0, inputWidth = 0;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible()) return;
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            messageWidth = message->width();
            message->button(QMessageBox::Ok)->click();
        } else if (auto* input = qobject_cast<QInputDialog*>(box)) {
            inputWidth = input->width();
            input->reject();
        }
    });
    poll.start();
    ui::msgBox("Select item!", ui::kOkOnly, ui::kCritical, title.toStdString());
    ui::inputBox("Name", title.toStdString(), "");
    EXPECT_GE(messageWidth, titleRoom(title));
    EXPECT_GE(inputWidth, titleRoom(title));
}

TEST_F(Entry, PrinterSetupIsTitledSoAndSaysWherePrintoutsGo) {
    ui::app().setAppDir("/srv/velkor");
    std::vector<std::string> seen;
    bool cancel = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        seen.push_back(dialog->windowTitle().toStdString());
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QPushButton* ok = nullptr;
        for (QAbstractButton* b : buttons->buttons()) {
            seen.push_back(b->text().toStdString());
            if (b->text() == "OK") ok = static_cast<QPushButton*>(b);
        }
        if (auto* note = dialog->findChild<QLabel*>("noPrinterNote")) seen.push_back(note->text().toStdString());
        if (cancel || !ok)
            dialog->reject();
        else
            ok->click();
    });
    poll.start();
    std::optional<ui::PrinterSettings> chosen = backend->printerSetup(ui::PrinterSettings{});
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], "Printer Setup");
    EXPECT_EQ(seen[1], "OK");
    EXPECT_EQ(seen[2], "Cancel");
    ASSERT_TRUE(chosen.has_value());
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        ASSERT_EQ(seen.size(), 4u);
        EXPECT_EQ(seen[3], "No printer is configured.\nEach printout is written as a new PDF file "
                           "(printout-NNN.pdf) in\n/srv/velkor");
        EXPECT_EQ(chosen->name, "");
    }
    cancel = true;
    EXPECT_FALSE(backend->printerSetup(ui::PrinterSettings{}).has_value());
}

}  // namespace
