// The desktop backend on the offscreen platform: controls and drawings on
// screen, MDI geometry, menus, message boxes, unloading from a handler,
// typing, pauses and printouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeView>

#include "platform/rt/error.h"
#include "platform/ui/printer.h"
#include "support.h"

namespace {

using qttest::pump;
using qttest::pumpUntil;

const gfx::Color kRed = gfx::rgb(200, 0, 0);
const gfx::Color kBlue = gfx::rgb(0, 0, 220);

// One control of each kind, and a drawing.
struct Sampler : ui::Form {
    Sampler() : Form("Sampler") {}
    ui::CommandButton Command1{*this, "Command1"};
    ui::TextBox Text1{*this, "Text1"};
    ui::Label Label1{*this, "Label1"};
    ui::ListBox List1{*this, "List1"};
    ui::ComboBox Combo1{*this, "Combo1"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::Label Label2{*this, "Label2"};
    ui::Image Image1{*this, "Image1"};
    ui::Shape Shape1{*this, "Shape1"};
    ui::LineControl Line1{*this, "Line1"};
    ui::Grid fGrid1{*this, "fGrid1"};
    std::vector<std::string> log;

    void design() override {
        Command1.create(120, 120, 1200, 375, "Accept");
        Text1.create(1500, 120, 1500, 300, "12.5");
        Label1.create(3200, 120, 1500, 300, "Screw speed");
        List1.create(120, 700, 1800, 1200);
        Combo1.create(2100, 700, 1800, 315);
        Frame1.create(4200, 700, 2400, 1200, "Die");
        Label2.create(120, 300, 1800, 300, "Holes").setContainer(Frame1);
        gfx::Picture picture;
        picture.width = 900;
        picture.height = 600;
        gfx::DrawOp fill;
        fill.kind = gfx::OpKind::FilledBox;
        fill.x2 = 900;
        fill.y2 = 600;
        fill.color = kBlue;
        picture.drawing.add(fill);
        Image1.create(6900, 120, 900, 600, picture);
        Shape1.create(6900, 900, 900, 600);
        Shape1.setFill(true, kRed);
        Line1.create(120, 2100, 3000, 2100);
        fGrid1.create(120, 2300, 4000, 900, 3, 3);
        Text1.onKeyPress = [this](int& k) { log.push_back("Text1_KeyPress " + std::to_string(k)); };
        List1.onClick = [this] { log.push_back("List1_Click " + std::to_string(List1.listIndex())); };
        List1.onDblClick = [this] { log.push_back("List1_DblClick"); };
        Combo1.onClick = [this] { log.push_back("Combo1_Click " + std::to_string(Combo1.listIndex())); };
    }
    void onLoad() override {
        List1.addItem("ZSK30");
        List1.addItem("ZSK40");
        Combo1.addItem("hopper");
        Combo1.addItem("vent");
        Combo1.setListIndex(1);
        fGrid1.setTextMatrix(0, 1, "Length");
        fGrid1.setTextMatrix(1, 1, "45.00");
        setSize(9000, 4500);
    }
};

std::set<QRgb> coloursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return colours;
}

class Screen : public qttest::QtTest {};

TEST_F(Screen, EveryControlKindAndTheDrawingRender) {
    Sampler& f = ui::form<Sampler>();
    f.show();
    f.line(60, 3400, 3000, 3400, kRed, gfx::LineStyle::FilledBox);  // a flat filled box
    f.line(4500, 3300, 6000, 3300, kBlue, gfx::LineStyle::Box);     // a box of zero height
    f.line(4500, 3600, 6000, 3900, kRed);
    f.printText(6300, 3300, "fixed");
    QWidget* surface = backend->surfaceOf(f);
    ASSERT_NE(surface, nullptr);
    pumpUntil([&] { return surface->isVisible(); });

    // Controls sit where the design put them, at 15 twips a pixel.
    EXPECT_EQ(backend->widgetOf(f.Command1)->geometry(), QRect(8, 8, 80, 25));
    EXPECT_EQ(backend->widgetOf(f.Label2)->parentWidget(), backend->widgetOf(f.Frame1));
    EXPECT_EQ(static_cast<QPushButton*>(backend->widgetOf(f.Command1))->text(), "Accept");
    EXPECT_EQ(static_cast<QLineEdit*>(backend->widgetOf(f.Text1))->text(), "12.5");
    EXPECT_EQ(static_cast<QListWidget*>(backend->widgetOf(f.List1))->count(), 2);
    EXPECT_EQ(static_cast<QComboBox*>(backend->widgetOf(f.Combo1))->currentText(), "vent");
    auto* grid = static_cast<QTableWidget*>(backend->widgetOf(f.fGrid1));
    pumpUntil([&] { return grid->item(1, 1) && grid->item(1, 1)->text() == "45.00"; });
    EXPECT_EQ(grid->item(0, 1)->text(), "Length");
    EXPECT_EQ(surface->size(), QSize(600 - 8, 300 - 27));

    QImage image = surface->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(coloursOf(image).size(), 6u);
    EXPECT_EQ(QColor(image.pixel(100, qRound(3400 / 15.0))), QColor(200, 0, 0));  // the flat filled box
    EXPECT_EQ(QColor(image.pixel(350, 3300 / 15)), QColor(0, 0, 220));  // the flat box
    EXPECT_EQ(QColor(image.pixel(6900 / 15 + 30, 900 / 15 + 20)), QColor(200, 0, 0));  // the shape
    EXPECT_EQ(QColor(image.pixel(6900 / 15 + 30, 120 / 15 + 20)), QColor(0, 0, 220));  // the picture
}

TEST_F(Screen, TypedKeysGoThroughTheWindowsHandlers) {
    Sampler& f = ui::form<Sampler>();
    f.show();
    f.log.clear();
    f.Text1.setFocus();
    f.Text1.setSelStart(0);
    f.Text1.setSelLength(4);
    auto* edit = static_cast<QLineEdit*>(backend->widgetOf(f.Text1));
    pumpUntil([&] { return edit->hasFocus() || !QApplication::focusWidget(); });
    QKeyEvent seven(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7");
    QCoreApplication::sendEvent(edit, &seven);
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &back);
    QKeyEvent nine(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, "9");
    QCoreApplication::sendEvent(edit, &nine);
    ASSERT_TRUE(pumpUntil([&] { return f.log.size() == 3; }));
    EXPECT_EQ(f.log, (std::vector<std::string>{"Text1_KeyPress 55", "Text1_KeyPress 8", "Text1_KeyPress 57"}));
    EXPECT_EQ(f.Text1.text(), "9");
    EXPECT_EQ(edit->text(), "9");
}

TEST_F(Screen, ListAndComboChoicesReachTheirHandlers) {
    Sampler& f = ui::form<Sampler>();
    f.show();
    f.log.clear();
    auto* list = static_cast<QListWidget*>(backend->widgetOf(f.List1));
    QPoint second = list->visualItemRect(list->item(1)).center();
    QMouseEvent press(QEvent::MouseButtonPress, second, list->viewport()->mapToGlobal(second), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &press);
    QMouseEvent twice(QEvent::MouseButtonDblClick, second, list->viewport()->mapToGlobal(second), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &twice);
    auto* combo = static_cast<QComboBox*>(backend->widgetOf(f.Combo1));
    emit combo->activated(0);  // the user's pick from the drop-down list
    ASSERT_TRUE(pumpUntil([&] { return f.log.size() == 3; }));
    // A double-click clicks once, as the headless driver's double-click does.
    EXPECT_EQ(f.log, (std::vector<std::string>{"List1_Click 1", "List1_DblClick", "Combo1_Click 0"}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(combo->currentText(), "hopper");
    EXPECT_EQ(f.Combo1.text(), "hopper");
}

// ---- the main window and its children -------------------------------------------

struct Main : ui::Form {
    Main() : Form("Mainprog") { setMdiParent(true); }
    ui::MenuItem mnuFiles{*this, "mnuFiles"};
    ui::MenuItem mnuExtchoose{*this, "mnuExtchoose"};
    ui::MenuItem mnuSep1{*this, "mnuSep1"};
    ui::MenuItem mnuExit{*this, "mnuExit"};
    ui::MenuItem mnuSimul{*this, "mnuSimul"};
    ui::MenuItem mnuAnalyse{*this, "mnuAnalyse"};
    std::vector<std::string> log;

    void design() override {
        mnuFiles.create("Files");
        mnuExtchoose.create(mnuFiles, "Select/Edit Extruder Category");
        mnuSep1.create(mnuFiles, "-");
        mnuExit.create(mnuFiles, "Exit");
        mnuSimul.create("Simulation");
        mnuAnalyse.create(mnuSimul, "Analyse Extruder", false);
        mnuExtchoose.onClick = [this] { log.push_back("mnuExtchoose_Click"); };
        mnuExit.onClick = [] { ui::app().end(); };
        mnuSimul.onClick = [this] {
            log.push_back("mnuSimul_Click");
            mnuAnalyse.setEnabled(true);
        };
        setSize(12000, 9000);
    }
};

struct Child : ui::Form {
    Child() : Form("viewscrew") {}
    ui::CommandButton Command1{*this, "Command1"};
    int resizes = 0;
    void design() override {
        Command1.create(120, 120, 1200, 375, "Close");
        Command1.onClick = [this] { unload(); };
    }
    void onResize() override { ++resizes; }
};

TEST_F(Screen, AMissingSerifFaceFallsBackToTheSerifOfItsWidths) {
    Sampler& f = ui::form<Sampler>();
    f.show();
    f.Label1.setFont("Times New Roman", 12);
    f.Label2.setFont("MS Sans Serif", 8.25f);
    EXPECT_EQ(QFontInfo(backend->widgetOf(f.Label1)->font()).family().toStdString(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(backend->widgetOf(f.Label2)->font()).family().toStdString(), "Liberation Sans");
}

TEST_F(Screen, MdiChildFrameMapsOuterSizeToDrawingArea) {
    Main& m = ui::form<Main>();
    m.show();
    Child& c = ui::form<Child>();
    c.setSize(10000, 3000);
    c.show();
    auto* sub = qobject_cast<QMdiSubWindow*>(backend->windowOf(c));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->mdiArea(), backend->mdiArea());
    pumpUntil([&] { return sub->isVisible(); });
    EXPECT_EQ(c.scaleWidth(), 9885);
    EXPECT_EQ(backend->surfaceOf(c)->size(), QSize(659, 173));
    EXPECT_EQ(sub->size(), QSize(667, 200));

    // The user's resize reaches the window as its new outer size.
    int before = c.resizes;
    sub->resize(700, 300);
    ASSERT_TRUE(pumpUntil([&] { return c.width() == 700 * 15; }));
    EXPECT_EQ(c.height(), 300 * 15);
    EXPECT_GT(c.resizes, before);
}

TEST_F(Screen, MenuCommandsAndOpeningAMenu) {
    Main& m = ui::form<Main>();
    m.show();
    QAction* choose = backend->actionOf(m.mnuExtchoose);
    ASSERT_NE(choose, nullptr);
    choose->trigger();
    EXPECT_TRUE(m.log.empty());  // never run inside Qt's own handler
    ASSERT_TRUE(pumpUntil([&] { return !m.log.empty(); }));
    EXPECT_EQ(m.log.front(), "mnuExtchoose_Click");

    // The top menu's Click runs as it opens, before it drops down.
    QAction* analyse = backend->actionOf(m.mnuAnalyse);
    EXPECT_FALSE(analyse->isEnabled());
    QMenu* simulation = backend->actionOf(m.mnuSimul)->menu();
    ASSERT_NE(simulation, nullptr);
    simulation->popup(QPoint(0, 0));
    EXPECT_EQ(m.log.back(), "mnuSimul_Click");
    EXPECT_TRUE(analyse->isEnabled());
    simulation->hide();
    EXPECT_TRUE(backend->actionOf(m.mnuSep1)->isSeparator());
}

TEST_F(Screen, UnloadFromItsOwnHandlerAndReload) {
    Main& m = ui::form<Main>();
    m.show();
    Child& c = ui::form<Child>();
    c.show();
    QPointer<QWidget> window = backend->windowOf(c);
    static_cast<QPushButton*>(backend->widgetOf(c.Command1))->click();
    ASSERT_TRUE(pumpUntil([&] { return !c.isLoaded(); }));
    ASSERT_TRUE(pumpUntil([&] { return window.isNull(); }));
    c.show();
    ASSERT_NE(backend->windowOf(c), nullptr);
    EXPECT_EQ(backend->mdiArea()->subWindowList().size(), 1);

    // The close box unloads the window through the program.
    backend->windowOf(c)->close();
    EXPECT_TRUE(c.isLoaded());
    EXPECT_TRUE(pumpUntil([&] { return !c.isLoaded(); }));
}

// ---- dialogs, errors, pauses -----------------------------------------------------

TEST_F(Screen, MessageBoxShowsTextTitleAndIconAndIsAnswered) {
    qttest::MessageAnswerer answerer({QMessageBox::No, QMessageBox::Ok});
    EXPECT_EQ(ui::msgBox("Overwrite the file?", ui::kYesNo, ui::kInformation, "Caution", true), ui::kNo);
    EXPECT_EQ(ui::msgBox("You have to select Parameters.", ui::kOkOnly, ui::kNoIcon, "Caution"), ui::kOk);
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].text, "Overwrite the file?");
    EXPECT_EQ(answerer.seen()[0].title, "Caution");
    EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Information);
    EXPECT_EQ(answerer.seen()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(answerer.seen()[1].icon, QMessageBox::NoIcon);
}

TEST_F(Screen, InputBoxCancelGivesEmptyText) {
    std::vector<std::string> prompts;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        prompts.push_back(dialog->labelText().toStdString() + "|" + dialog->textValue().toStdString());
        if (prompts.size() == 1)
            dialog->reject();
        else
            dialog->done(QDialog::Accepted);
    });
    poll.start();
    EXPECT_EQ(ui::inputBox("New extruder code:", "Catalog", "ZSK30"), "");
    EXPECT_EQ(ui::inputBox("New extruder code:", "Catalog", "ZSK40"), "ZSK40");
    EXPECT_EQ(prompts, (std::vector<std::string>{"New extruder code:|ZSK30", "New extruder code:|ZSK40"}));
}

struct Failing : ui::Form {
    Failing() : Form("Failing") {}
    ui::CommandButton Command1{*this, "Command1"};
    bool ran = false;
    void design() override {
        Command1.create(120, 120, 1200, 375, "Open");
        Command1.onClick = [this] {
            ran = true;
            rt::raise(rt::kFileNotFound);
        };
    }
};

TEST_F(Screen, UntrappedErrorIsShownAndTheProgramGoesOn) {
    Failing& f = ui::form<Failing>();
    f.show();
    qttest::MessageAnswerer answerer({QMessageBox::Ok});
    static_cast<QPushButton*>(backend->widgetOf(f.Command1))->click();
    ASSERT_TRUE(pumpUntil([&] { return answerer.seen().size() == 1; }));
    EXPECT_EQ(answerer.seen()[0].text.rfind("Run-time error 53", 0), 0u);
    EXPECT_NE(answerer.seen()[0].text.find("File not found"), std::string::npos);
    EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(f.isLoaded());
}

TEST_F(Screen, InputWaitsWhileTheProgramSleeps) {
    Failing& f = ui::form<Failing>();
    f.Command1.onClick = nullptr;
    f.show();
    f.Command1.onClick = [&f] { f.ran = true; };
    static_cast<QPushButton*>(backend->widgetOf(f.Command1))->click();
    f.refresh();
    ui::sleep(30);
    EXPECT_FALSE(f.ran);
    EXPECT_TRUE(pumpUntil([&] { return f.ran; }));
}

TEST_F(Screen, ExitEndsAtOnceWithoutClosingLogic) {
    bool exited = false;
    backend->setExitHandler([&] { exited = true; });
    Main& m = ui::form<Main>();
    m.show();
    backend->actionOf(m.mnuExit)->trigger();
    ASSERT_TRUE(pumpUntil([&] { return exited; }));
    EXPECT_FALSE(m.isLoaded());
}

// ---- printing ---------------------------------------------------------------------

class Printing : public qttest::QtTest {
protected:
    Printing() {
        dir = std::filesystem::temp_directory_path() / ("velkor-qt-print-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        ui::app().setAppDir(dir);
    }
    ~Printing() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

std::string head(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::string s(5, '\0');
    in.read(s.data(), 5);
    return s;
}

TEST_F(Printing, WithoutPrinterEachPrintoutIsANewPdf) {
    ui::PrintJob job;
    gfx::DisplayList page;
    page.add({gfx::OpKind::Text, 0, 0, 0, 0, gfx::kBlack, false, 1, 10, "Screw file report"});
    gfx::DrawOp rule;
    rule.kind = gfx::OpKind::Box;
    rule.y1 = rule.y2 = 400;
    rule.x2 = 11185;
    page.add(rule);
    job.pages = {page, page};
    backend->print(job);
    backend->print(job);
    EXPECT_EQ(head(dir / "printout-001.pdf"), "%PDF-");
    EXPECT_EQ(head(dir / "printout-002.pdf"), "%PDF-");
    EXPECT_GT(std::filesystem::file_size(dir / "printout-001.pdf"), 500u);
}

TEST_F(Printing, PrinterDocumentGoesToPdfThroughTheCore) {
    ui::PrinterSettings none;  // no printer configured
    ui::printer().setSettings(none);
    ui::printer().text("Barrel file report").endLine();
    ui::printer().endDoc();
    EXPECT_TRUE(std::filesystem::exists(dir / "printout-001.pdf"));
}

}  // namespace

namespace {

using qttest::pumpUntil;

void mouseClick(QWidget* w, QPoint at = QPoint(3, 3)) {
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

struct Entry : ui::Form {
    Entry() : Form("Gparameter1") {}
    ui::TextBox Text1{*this, "Text1"};
    ui::TextBox Text2{*this, "Text2"};
    ui::CommandButton Command1{*this, "Command1"};
    std::vector<std::string> log;
    void design() override {
        Text1.create(120, 120, 1500, 300, "bad");
        Text2.create(120, 600, 1500, 300);
        Command1.create(120, 1100, 1200, 375, "Next");
        Text1.onLostFocus = [this] {
            if (Text1.text() != "bad") return;
            ui::msgBox("Screw speed out of range");
            Text1.setFocus();
        };
        Text2.onGotFocus = [this] { log.push_back("Text2_GotFocus"); };
        Command1.onClick = [this] { log.push_back("Command1_Click"); };
    }
};

class Focus : public qttest::QtTest {};

TEST_F(Focus, ValidationPutsTheFocusBackAndDropsTheClick) {
    Entry& f = ui::form<Entry>();
    f.show();
    ASSERT_EQ(f.activeControl(), &f.Text1);
    qttest::MessageAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok});

    mouseClick(backend->widgetOf(f.Text2));
    ASSERT_TRUE(pumpUntil([&] { return answerer.seen().size() == 1; }));
    EXPECT_EQ(answerer.seen()[0].text, "Screw speed out of range");
    static_cast<QPushButton*>(backend->widgetOf(f.Command1))->click();
    ASSERT_TRUE(pumpUntil([&] { return answerer.seen().size() == 2; }));
    qttest::pump();
    EXPECT_EQ(f.activeControl(), &f.Text1);
    EXPECT_TRUE(f.log.empty());
    if (QApplication::focusWidget()) {
        EXPECT_EQ(QApplication::focusWidget(), backend->widgetOf(f.Text1));
    }
    // The refused value comes back selected, so typing replaces it.
    EXPECT_EQ(static_cast<QLineEdit*>(backend->widgetOf(f.Text1))->selectedText(), "bad");
    EXPECT_EQ(f.Text1.selStart(), 0);
    EXPECT_EQ(f.Text1.selLength(), 3);

    // A valid value lets the focus go.
    f.Text1.setText("120");
    mouseClick(backend->widgetOf(f.Text2));
    ASSERT_TRUE(pumpUntil([&] { return f.activeControl() == &f.Text2; }));
    EXPECT_EQ(f.log, (std::vector<std::string>{"Text2_GotFocus"}));
}

struct Splash : ui::Form {
    Splash() : Form("logo") {}
    ui::Image Image1{*this, "Image1"};
    std::vector<std::string> log;
    void design() override {
        gfx::Picture picture;
        gfx::DrawOp op;
        op.kind = gfx::OpKind::FilledBox;
        op.x2 = 1500;
        op.y2 = 900;
        op.color = gfx::rgb(40, 80, 160);
        picture.drawing.add(op);
        Image1.create(600, 600, 1500, 900, picture);
        Image1.onClick = [this] {
            log.push_back("Image1_Click");
            unload();
        };
    }
    void onClick() override {
        log.push_back("Form_Click");
        unload();
    }
};

// The key script of the headless controls test, typed on the desktop.
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
        Text1.onKeyDown = [this](int& keyCode, int) { log.push_back("Text1_KeyDown " + std::to_string(keyCode)); };
        Command1.onClick = [this] { log.push_back("Command1_Click"); };
    }
    void onLoad() override {
        for (const char* item : {"a", "b", "c"}) {
            List1.addItem(item);
            Combo1.addItem(item);
        }
    }
};

TEST_F(Focus, KeysDoWhatTheyDoInTheCore) {
    Keys& k = ui::form<Keys>();
    k.show();
    auto press = [&](ui::Control& c, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {}) {
        c.setFocus();
        QKeyEvent event(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(backend->widgetOf(c), &event);
        qttest::pump(5);
    };
    press(k.List1, Qt::Key_Down);
    press(k.List1, Qt::Key_Down);
    press(k.List1, Qt::Key_End);
    press(k.List1, Qt::Key_Down);
    press(k.List1, Qt::Key_Up);
    ASSERT_TRUE(pumpUntil([&] { return k.log.size() == 4; }));
    EXPECT_EQ(k.log, (std::vector<std::string>{"List1_Click 0", "List1_Click 1", "List1_Click 2", "List1_Click 1"}));
    EXPECT_EQ(static_cast<QListWidget*>(backend->widgetOf(k.List1))->currentRow(), 1);
    k.log.clear();
    press(k.Combo1, Qt::Key_Down);
    press(k.Combo1, Qt::Key_Down);
    ASSERT_TRUE(pumpUntil([&] { return k.log.size() == 2; }));
    EXPECT_EQ(k.log, (std::vector<std::string>{"Combo1_Click 0", "Combo1_Click 1"}));
    EXPECT_EQ(k.Combo1.text(), "b");
    k.log.clear();

    // "(" is no Down key, though it shares its character code.
    press(k.Text1, Qt::Key_ParenLeft, Qt::ShiftModifier, "(");
    ASSERT_TRUE(pumpUntil([&] { return k.Text1.text() == "("; }));
    EXPECT_EQ(k.log, (std::vector<std::string>{"Text1_KeyDown 57"}));
    EXPECT_EQ(k.activeControl(), &k.Text1);
    k.log.clear();

    press(k.Command1, Qt::Key_Return);
    press(k.Command1, Qt::Key_Space, Qt::NoModifier, " ");
    ASSERT_TRUE(pumpUntil([&] { return k.log.size() == 2; }));
    EXPECT_EQ(k.log, (std::vector<std::string>{"Command1_Click", "Command1_Click"}));
}

TEST_F(Focus, ModalWindowRunsUntilItUnloads) {
    Splash& s = ui::form<Splash>();
    bool rescued = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* surface = backend->surfaceOf(s)) mouseClick(surface);
    });
    QTimer rescue;  // only if the click never arrived; gone with the test
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        if (s.isLoaded()) {
            rescued = true;
            s.unload();
        }
    });
    rescue.start(5000);
    s.showModal();
    EXPECT_FALSE(rescued);
    EXPECT_FALSE(s.isLoaded());
    EXPECT_EQ(s.log, (std::vector<std::string>{"Form_Click"}));
}

TEST_F(Focus, FileDialogStartsInTheInitialDirectoryWithTheFilters) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("velkor-qt-dlg-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "a.srw") << std::string(819, 'x');
    QStringList filters;
    QString startDir, startName;
    bool started = false, stayedOpen = false, columnsWhole = false, listed = false;
    QElapsedTimer waited, listedAt;
    waited.start();
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        // The listing fills in from a worker thread; on a machine too busy to
        // list one file in a minute the dialog is closed and the test fails.
        if (waited.elapsed() > 60000) {
            QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        auto* view = dialog->findChild<QTreeView*>("treeView");
        if (!started) {
            started = true;
            filters = dialog->nameFilters();
            startDir = dialog->directory().absolutePath();
            startName = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            QMetaObject::invokeMethod(dialog, "accept");  // the pattern lists files, it names none
            stayedOpen = dialog->isVisible();
            return;
        }
        if (!view || !view->model() || view->model()->rowCount(view->rootIndex()) < 1) return;
        // Each column shows its entry whole ("819 bytes" as well) between the
        // margins the style draws text with, and all of them fit the list.
        // The file details and the header's sizing follow the listing in
        // later passes of the event loop, so a busy machine gets a few
        // seconds before the columns count as cut.
        QHeaderView* header = view->header();
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
        columnsWhole = header->length() <= view->viewport()->width();
        for (int col = 1; col < 4; ++col) {
            const QString text = first.siblingAtColumn(col).data().toString();
            if (header->sectionSize(col) < view->fontMetrics().horizontalAdvance(text) + margins) columnsWhole = false;
        }
        if (!listed) listedAt.start();
        listed = true;
        if (!columnsWhole && listedAt.elapsed() < 5000) return;
        // Typed into the name box, a file that does not exist yet (selectFile
        // leaves the box alone while it has the focus).
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("new.srw");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll.start();
    ui::FileDialogRequest request;
    request.fileName = "*.srw";
    request.filter = "Screw Files|*.srw|All files|*.*";
    request.initDir = dir.string() + "/";
    std::optional<ui::FileDialogChoice> chosen = backend->fileDialog(request);
    poll.stop();
    ASSERT_TRUE(listed) << "the dialog never listed its folder";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->path, (dir / "new.srw").string());
    EXPECT_EQ(chosen->pattern, "*.srw");
    EXPECT_EQ(startDir.toStdString(), dir.string());
    EXPECT_EQ(startName, "*.srw");
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(columnsWhole);
    EXPECT_EQ(filters, (QStringList{"Screw Files (*.srw)", "All files (*.*)"}));
    std::filesystem::remove_all(dir);
}

// A preset name, with its folder, that is the pattern of a later filter
// opens the dialog on that filter, and a name typed then is that filter's.
TEST_F(Focus, FileDialogOpensOnTheFilterOfThePresetName) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    QString shownFilter, startName;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        shownFilter = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        startName = name->text();
        name->setText("new.txt");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll.start();
    ui::FileDialogRequest request;
    request.fileName = (dir / "*.txt").string();
    request.filter = "Screw Files|*.srw|Texts|*.txt";
    std::optional<ui::FileDialogChoice> chosen = backend->fileDialog(request);
    poll.stop();
    EXPECT_EQ(shownFilter.toStdString(), "Texts");
    EXPECT_EQ(startName.toStdString(), "*.txt");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->path, (dir / "new.txt").string());
    EXPECT_EQ(chosen->pattern, "*.txt");
}

}  // namespace
