// Every window of the program on the desktop backend, loaded on the demo
// data set: each label's caption fits its label in the label's font, each
// button's caption fits the button and the button lies inside its window,
// and the window's title bar shows its caption within the bar, the file's
// name whole, wherever the files lie. (The calculation window holds no
// control; its load runs a whole calculation.) A picture of each window
// with its title bar goes to screenshots/captions/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPaintEngine>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionTitleBar>
#include <QTimer>

#include "catalog/adet.h"
#include "platform/rt/error.h"
#include "catalog/selet.h"
#include "design/assemext.h"
#include "design/dnbarrel.h"
#include "design/dndie.h"
#include "design/dnscrew.h"
#include "design/fitext.h"
#include "elements/build_barrel.h"
#include "elements/build_knead.h"
#include "elements/build_screw.h"
#include "reports/listbarrel.h"
#include "reports/listdie.h"
#include "reports/listext.h"
#include "reports/listresult.h"
#include "reports/listresult1.h"
#include "reports/listscrew.h"
#include "results/dispresult.h"
#include "shell/logo.h"
#include "shell/mainprog.h"
#include "simulation/gparameter.h"
#include "simulation/progress.h"
#include "state/state.h"
#include "support/qt_app_dir.h"
#include "tools/demo_model.h"
#include "views/mvbarrel.h"
#include "views/mvscrew.h"
#include "views/viewbarrel.h"
#include "views/viewdie.h"
#include "views/viewext.h"
#include "views/viewscrew.h"

namespace {

// The texts a widget paints, by their baseline; nothing is drawn.
class PaintedTexts : public QPaintDevice, public QPaintEngine {
public:
    explicit PaintedTexts(QSize size) : QPaintEngine(AllFeatures), size_(size) {}
    std::map<qreal, QString> lines;

    QPaintEngine* paintEngine() const override { return const_cast<PaintedTexts*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& at, const QTextItem& item) override { lines[at.y()] += item.text(); }
    Type type() const override { return User; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 96;  // dots per inch; the sizes in millimetres go unused
        }
    }

private:
    QSize size_;
};

class Captions : public qttest::AppDirTest {
protected:
    Captions() : AppDirTest(qttest::kDataFolders) {}

    // A caption fits when, wrapped at blanks as the label wraps it, it needs
    // no more room than the label has.
    void expectCaptionsFit(ui::Form& f) {
        expectButtonsFit(f);
        expectTitleFits(f);
        for (ui::Control* c : f.controls()) {
            if (c->kind() != ui::ControlKind::Label) continue;
            auto* label = qobject_cast<QLabel*>(backend->widgetOf(*c));
            ASSERT_NE(label, nullptr) << f.className() << "." << c->name();
            const QRect room = label->contentsRect();
            const QRect needed = QFontMetrics(label->font())
                                     .boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
            EXPECT_TRUE(needed.width() <= room.width() && needed.height() <= room.height())
                << f.className() << "." << c->name() << " \"" << label->text().toStdString() << "\" needs "
                << needed.width() << " x " << needed.height() << " pixels, has " << room.width() << " x "
                << room.height();
        }
    }
    // A button's caption fits the room its style leaves for it, and the
    // button lies wholly inside the control that holds it.
    void expectButtonsFit(ui::Form& f) {
        for (ui::Control* c : f.controls()) {
            if (c->kind() != ui::ControlKind::CommandButton) continue;
            auto* button = qobject_cast<QPushButton*>(backend->widgetOf(*c));
            ASSERT_NE(button, nullptr) << f.className() << "." << c->name();
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), room.width())
                << f.className() << "." << c->name();
            EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry()))
                << f.className() << "." << c->name() << " ends at " << button->geometry().right() << " of "
                << button->parentWidget()->width() << " pixels";
        }
    }
    // A child window keeps its whole caption; its title bar shows it within
    // the bar's label room, with the file's name (the caption's end) whole.
    // A picture of the window is kept.
    void expectTitleFits(ui::Form& f) {
        auto* window = qobject_cast<QMdiSubWindow*>(backend->windowOf(f));
        if (!window) return;
        const std::filesystem::path shots = std::filesystem::path(VELKOR_BINARY_DIR) / "screenshots" / "captions";
        std::filesystem::create_directories(shots);
        window->grab().save(QString::fromStdString((shots / (f.className() + ".png")).string()));
        QStyleOptionTitleBar option = titleBar(window);
        option.text = paintedTitle(window);
        QStyle* style = window->style();
        const QRect room = style->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, window);
        const QString caption = window->windowTitle();
        EXPECT_EQ(caption.toStdString(), f.caption());
        EXPECT_LE(QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(option.text),
                  room.width())
            << f.className() << " \"" << option.text.toStdString() << "\"";
        EXPECT_TRUE(option.text.endsWith(caption.mid(caption.lastIndexOf(u'/') + 1)))
            << f.className() << " \"" << option.text.toStdString() << "\"";
    }
    static QStyleOptionTitleBar titleBar(QMdiSubWindow* window) {
        QStyleOptionTitleBar option;
        option.initFrom(window);
        option.titleBarFlags = window->windowFlags();
        option.titleBarState = window->windowState();
        option.subControls = QStyle::SC_All;
        option.rect =
            QRect(0, 0, window->width(), window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window));
        return option;
    }
    // The title as the window's title bar paints it.
    static QString paintedTitle(QMdiSubWindow* window) {
        PaintedTexts bar(window->size());
        window->render(&bar, QPoint(), QRegion(titleBar(window).rect), QWidget::DrawWindowBackground);
        // The style may paint the title twice, its shadow one pixel lower.
        return bar.lines.empty() ? QString() : bar.lines.begin()->second;
    }
    void expectCaptionsFitWhenShown(ui::Form& f) {
        SCOPED_TRACE(f.className());
        try {
            // The die display shows the file handed to it, as Die Display does.
            if (auto* die = dynamic_cast<viewdie*>(&f))
                die->showFile(shared::DieFile, 10000);
            else
                f.show();
        } catch (const rt::Error& e) {
            ADD_FAILURE() << "the load failed: " << e.what();
            return;
        }
        qttest::pump(10);
        ASSERT_TRUE(f.isLoaded());
        expectCaptionsFit(f);
        f.unload();
        qttest::pump(5);
    }

    // The main window, which shows the splash modally in its load.
    void showMainWindow() {
        QTimer splash;
        QObject::connect(&splash, &QTimer::timeout, [&] {
            logo& l = ui::form<logo>();
            if (!l.isLoaded()) return;
            splash.stop();
            expectCaptionsFit(l);
            l.unload();
        });
        splash.start(10);
        ui::form<Mainprog>().show();
        qttest::pump(10);
        expectCaptionsFit(ui::form<Mainprog>());
    }
};

TEST_F(Captions, EveryLabelCaptionOfEveryWindowFitsItsLabel) {
    ASSERT_TRUE(demo::writeDemoData(dir_.string()).empty());
    qttest::MessageAnswerer answers({});  // a message box would be a failed load: closed, and the load checked
    showMainWindow();

    // The demo files again before each window: some loads replace them.
    const auto demoFiles = [&] {
        shared::ExtruderCategory = demo::kCode;
        shared::ScrewFile = shared::DisplayScrewFile = path("demo.srw");
        shared::BarrelFile = shared::DisplayBarrelFile = path("demo.brl");
        shared::DieFile = path("demo.die");
        shared::ExtruderFile = shared::DisplayExtruderFile = path("demo.ext");
        shared::ResultFile = path("demo.flw");
        shared::PortCount = 2;
    };
    ui::form<listresult1>().resultFile = path("demo.flw");  // shown by the result listing's button
    std::vector<ui::Form*> windows = {
        &ui::form<selet>(),       &ui::form<adet>(),        &ui::form<BuildScrew>(),  &ui::form<BuildKnead>(),
        &ui::form<BuildBarrel>(), &ui::form<DNScrew>(),     &ui::form<DNBarrel>(),    &ui::form<DNdie>(),
        &ui::form<assemext>(),    &ui::form<fitext>(),      &ui::form<viewscrew>(),   &ui::form<viewbarrel>(),
        &ui::form<viewdie>(),     &ui::form<viewext>(),     &ui::form<mvscrew>(),     &ui::form<mvbarrel>(),
        &ui::form<listscrew>(),   &ui::form<listbarrel>(),  &ui::form<listdie>(),     &ui::form<listext>(),
        &ui::form<listresult>(),  &ui::form<listresult1>(), &ui::form<dispresult>(),  &ui::form<Gparameter1>(),
        &ui::form<Gparameter2>(), &ui::form<Gparameter3>(), &ui::form<Gparameter4>(), &ui::form<progress>()};
    for (ui::Form* f : windows) {
        demoFiles();
        expectCaptionsFitWhenShown(*f);
    }
    for (const qttest::SeenMessage& m : answers.seen()) ADD_FAILURE() << m.title << ": " << m.text;
}

// Files in a folder whose path is longer than any title bar: each title bar
// shows the file's name, and the window's caption holds the whole path.
TEST_F(Captions, TitleBarsShowTheFileNameOfALongPath) {
    ASSERT_TRUE(demo::writeDemoData(dir_.string()).empty());
    qttest::MessageAnswerer answers({});
    const std::filesystem::path deep =
        dir_ / "extruder trials of the second compounding line" / "screw and barrel variants for the glass fibre grade";
    ASSERT_GE(deep.string().size(), 100u);
    std::filesystem::create_directories(deep);
    for (const char* name : {"demo.die", "demo.brl", "demo.ext", "demo.flw"})
        std::filesystem::copy_file(dir_ / name, deep / name);
    showMainWindow();
    shared::DieFile = (deep / "demo.die").string();
    shared::BarrelFile = (deep / "demo.brl").string();
    shared::ExtruderFile = (deep / "demo.ext").string();
    shared::ResultFile = (deep / "demo.flw").string();
    const std::vector<std::pair<ui::Form*, std::string>> windows = {
        {&ui::form<listdie>(), "View die File - " + shared::DieFile},
        {&ui::form<listbarrel>(), "View Barrel File - " + shared::BarrelFile},
        {&ui::form<listext>(), "View Extruder File - " + shared::ExtruderFile},
        {&ui::form<listresult>(), "Result listing - " + shared::ResultFile}};
    for (const auto& [f, caption] : windows) {
        expectCaptionsFitWhenShown(*f);
        EXPECT_EQ(f->caption(), caption);
    }
    for (const qttest::SeenMessage& m : answers.seen()) ADD_FAILURE() << m.title << ": " << m.text;
}

// A caption too long for its title bar shows its start, an ellipsis and its
// end. A path keeps its file's name whole with the separator before it, "/"
// or "\\", and room for it, so that only its folders lose their middle: as
// many of their characters stand before the ellipsis as after it. A caption
// without a path, or with a name too long for the bar, loses its own middle.
TEST_F(Captions, ATitleTooLongForItsBarLosesTheMiddleOfItsFoldersOrOfItself) {
    qttest::MessageAnswerer answers({});
    showMainWindow();
    const std::string folders =
        path("extruder trials of the second compounding line") + "/screw and barrel variants for the glass fibre grade";
    const std::string name = "glass fibre trial 12.die";
    std::string words;
    while (words.size() < 150) words += "compounding trial " + std::to_string(words.size()) + " ";
    // Each file, and how many characters at its end stand whole after the
    // ellipsis with the folders' end (0: the caption loses its own middle).
    const std::vector<std::pair<std::string, qsizetype>> files = {
        {words, 0},
        {folders + "/" + words + ".die", 0},
        {folders + "/" + name, static_cast<qsizetype>(name.size() + 1)},
        {"C:\\extruder trials of the second compounding line\\screw and barrel variants\\" + name,
         static_cast<qsizetype>(name.size() + 1)},
    };
    listdie& w = ui::form<listdie>();
    for (const auto& [file, whole] : files) {
        SCOPED_TRACE(file);
        shared::DieFile = file;  // no such file: the window shows its caption all the same
        w.show();
        qttest::pump(10);
        auto* window = qobject_cast<QMdiSubWindow*>(backend->windowOf(w));
        ASSERT_NE(window, nullptr);
        const QString caption = window->windowTitle();
        ASSERT_EQ(caption.toStdString(), "View die File - " + file);
        const QString shown = paintedTitle(window);
        SCOPED_TRACE(shown.toStdString());
        ASSERT_LT(shown.size(), caption.size());
        qsizetype start = 0, end = 0;
        while (shown[start] == caption[start]) ++start;
        while (end < shown.size() - start && shown[shown.size() - 1 - end] == caption[caption.size() - 1 - end]) ++end;
        const QString ellipsis = shown.mid(start, shown.size() - start - end);
        EXPECT_TRUE(ellipsis == QString(QChar(0x2026)) || ellipsis == u"...") << ellipsis.toStdString();
        EXPECT_GE(start, 1);
        EXPECT_GE(end, whole + 1);
        EXPECT_LE(std::abs(start - (end - whole)), 1);
        w.unload();
        qttest::pump(5);
    }
    for (const qttest::SeenMessage& m : answers.seen()) ADD_FAILURE() << m.title << ": " << m.text;
}

}  // namespace
