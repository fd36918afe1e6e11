// The result view on the desktop backend: its controls as widgets, each
// chart as a picture (saved under screenshots/ in the build folder) whose
// curve shows where the drawing says, and Print without a printer writing
// one new PDF.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "results/dispresult.h"
#include "results/result_frame.h"
#include "state/state.h"
#include "support/qt_app_dir.h"
#include "tests/support/result_builder.h"
#include "tools/demo_model.h"

namespace {

namespace fs = std::filesystem;

class ResultScreens : public qttest::AppDirTest {
protected:
    ResultScreens() : AppDirTest(qttest::kDataFolders) {}

    int pdfCount() const {
        int n = 0;
        for (const fs::directory_entry& e : fs::directory_iterator(dir_))
            if (e.path().extension() == ".pdf") ++n;
        return n;
    }

    void press(const ui::CommandButton& button) {
        auto* b = qobject_cast<QPushButton*>(backend->widgetOf(button));
        ASSERT_NE(b, nullptr) << button.name();
        b->click();
        qttest::pump(10);
    }

    // The window's controls with their captions, then every chart of the
    // file: a picture of the window saved as
    // screenshots/<stem>-<chart>.png, whose curve is near white within a
    // pixel of each segment's midpoint inside the chart and at its highest
    // point, under the chart's title and exponent too; then one PDF printed
    // of the chart shown.
    void showEveryChart(const std::string& file, const std::string& stem) {
        qttest::MessageAnswerer answers({QMessageBox::Ok});  // a vent-flushing warning, if any
        shared::ResultFile = file;
        dispresult& v = ui::form<dispresult>();
        ui::app().dispatch([&] { v.show(); });
        qttest::pump(10);
        QWidget* window = backend->windowOf(v);
        QWidget* surface = backend->surfaceOf(v);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(window->windowTitle().toStdString(), "LAB30     " + file);
        const std::vector<std::pair<ui::CommandButton*, std::string>> buttons = {
            {&v.Command1, "pressure Profile "}, {&v.Command2, "Temperature Profile"}, {&v.Command3, "Melting Profile"},
            {&v.Command4, "Residence Time"},     {&v.Command6, "Power Consumption"},   {&v.Command5, "Torque"},
            {&v.Command7, "Print"}};
        for (const auto& [button, caption] : buttons)
            EXPECT_EQ(qobject_cast<QPushButton*>(backend->widgetOf(*button))->text().toStdString(), caption);
        auto* title = qobject_cast<QLabel*>(backend->widgetOf(v.Label22));
        EXPECT_EQ(title->text().toStdString(), "VELKOR-TWIN SCREW EXTRUDER VERSION 3A");
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        EXPECT_EQ(qobject_cast<QLabel*>(backend->widgetOf(v.Label21))->palette().color(QPalette::WindowText),
                  QColor(255, 255, 255));
        EXPECT_EQ(surface->grab().toImage().pixelColor(5, 300), QColor(0, 0, 97));
        // Before any chart the grid line under the place of the title shows.
        EXPECT_EQ(window->grab().toImage().pixelColor(surface->mapTo(window, QPoint(100, 193))), QColor(128, 0, 0));

        const fs::path shots = fs::path(VELKOR_BINARY_DIR) / "screenshots";
        fs::create_directories(shots);
        const std::vector<std::pair<ui::CommandButton*, std::string>> charts = {
            {&v.Command1, "pressure"}, {&v.Command2, "temperature"}, {&v.Command3, "melting"},
            {&v.Command4, "residence"}, {&v.Command6, "power"},       {&v.Command5, "torque"}};
        for (const auto& [button, name] : charts) {
            SCOPED_TRACE(name);
            press(*button);
            QImage image = window->grab().toImage();
            ASSERT_FALSE(image.isNull());
            EXPECT_TRUE(image.save(QString::fromStdString((shots / (stem + "-" + name + ".png")).string())));

            std::set<QRgb> colours;
            for (int y = 0; y < image.height(); y += 3)
                for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
            EXPECT_GT(colours.size(), 8u);

            for (ui::Control* c : v.controls()) {
                if (c->kind() != ui::ControlKind::Label || !c->visible()) continue;
                // Every text fits its box.
                auto* l = qobject_cast<QLabel*>(backend->widgetOf(*c));
                EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->width()) << c->name();
            }
            auto whiteNear = [&](double x, double y) {
                const QPoint at = surface->mapTo(window, QPoint(qRound(x / 15), qRound(y / 15)));
                bool white = false;
                for (int dy = -1; dy <= 1 && !white; ++dy)
                    for (int dx = -1; dx <= 1 && !white; ++dx) {
                        const QColor c = image.pixelColor(at + QPoint(dx, dy));
                        // Near white: the brightest pixel across a smoothed
                        // line one pixel wide is at least half covered.
                        white = c.red() >= 120 && c.green() >= 120 && c.blue() >= 120;
                    }
                return white;
            };
            int checked = 0;
            float peakX = 0, peakY = 4100;
            for (const gfx::DrawOp& op : v.displayList()) {
                if (op.kind != gfx::OpKind::Segment || op.color != gfx::kWhite) continue;
                const double mx = (op.x1 + op.x2) / 2.0, my = (op.y1 + op.y2) / 2.0;
                if (mx < 1290 || mx > 9715 || my < 2640 || my > 4100) continue;
                EXPECT_TRUE(whiteNear(mx, my)) << gfx::dump(op);
                ++checked;
                if (op.y1 < peakY) peakX = op.x1, peakY = op.y1;
                if (op.y2 < peakY) peakX = op.x2, peakY = op.y2;
            }
            EXPECT_GT(checked, 0);
            EXPECT_TRUE(whiteNear(peakX, peakY)) << peakX << "," << peakY;
        }

        const int before = pdfCount();
        press(v.Command7);
        EXPECT_EQ(pdfCount(), before + 1);
        EXPECT_EQ(v.Label12.caption(), "M");  // the window shows the torque chart again
    }

};

TEST_F(ResultScreens, EveryChartOfASampleRunShowsItsCurve) {
    resulttest::ResultBuilder sample;
    sample.data = resulttest::sampleRun();
    sample.write((dir_ / "sample.flw").string());
    showEveryChart((dir_ / "sample.flw").string(), "dispresult-sample");

    // Its temperatures moved to 46.4 .. 90 C: e = 1 and the top tick (90 +
    // 0.25 x 43.6) / 10 has five characters. Every tick shows whole and ends
    // left of the chart's left border.
    auto warmer = [](float& t) { t = 46.4f + (t - 25) * 43.6f / 205; };
    for (records::ElementRecord& e : sample.data.elements) {
        warmer(e.TempStart);
        warmer(e.TempStarvation);
        warmer(e.TempEnd);
    }
    for (records::MeltProfileRow& r : sample.data.profile) warmer(r.AverageTemperature);
    sample.write(path("warm.flw"));
    shared::ResultFile = path("warm.flw");
    dispresult& v = ui::form<dispresult>();
    const int border = qRound(results::kStripLeft / gfx::kTwipsPerPixel);
    auto everyTickWhole = [&] {
        for (ui::Label* tick : {&v.Label5, &v.Label6, &v.Label7, &v.Label8, &v.Label9, &v.Label10, &v.Label11}) {
            auto* l = qobject_cast<QLabel*>(backend->widgetOf(*tick));
            const int advance = QFontMetrics(l->font()).horizontalAdvance(l->text());
            EXPECT_LE(advance, l->width()) << tick->caption();
            EXPECT_LT(l->x() + advance, border) << tick->caption();
        }
    };
    press(v.Command2);
    EXPECT_EQ(v.Label5.caption(), "10.09");
    EXPECT_EQ(v.Label5.left(), 840);
    everyTickWhole();

    // A flat 200 C has no range: its axis runs one unit up from 200, and
    // ticks of six characters start earlier to show whole; the next chart's
    // ticks stand where they always do.
    for (records::ElementRecord& e : sample.data.elements) e.TempStart = e.TempStarvation = e.TempEnd = 200;
    for (records::MeltProfileRow& r : sample.data.profile) r.AverageTemperature = 200;
    sample.write(path("flat.flw"));
    shared::ResultFile = path("flat.flw");
    press(v.Command2);
    EXPECT_EQ(v.Label5.caption(), "201.00");
    everyTickWhole();
    press(v.Command1);
    EXPECT_EQ(v.Label5.left(), 840);
    everyTickWhole();
}

// The demo run with its die four times as long, so that the outline runs
// past its frame (screenshots/dispresult-cut.png): the cut lines end on the
// frame's border, not a pixel beyond it, and the exponent and unit and,
// beside them, the chart's title stand above the chart's top line, where no
// grid or frame line crosses them.
TEST_F(ResultScreens, TheOutlineEndsOnItsFrameAndTheUnitAndTitleStandAboveTheChart) {
    ASSERT_TRUE(demo::writeDemoData(dir_.string()).empty());
    records::ResultData r;
    ASSERT_EQ(records::readResultFile(path("demo.flw"), records::ResultExtent::WithExtruder, r),
              records::ResultCheck::Ok);
    r.barrel.back().dieTotalLength() *= 4;
    records::writeResultFile(path("long.flw"), r, records::ResultExtent::WithExtruder);
    shared::ResultFile = path("long.flw");
    qttest::MessageAnswerer answers({QMessageBox::Ok});  // a vent-flushing warning, if any
    dispresult& v = ui::form<dispresult>();
    ui::app().dispatch([&] { v.show(); });
    press(v.Command1);
    const QImage image = backend->surfaceOf(v)->grab().toImage();
    const fs::path shot = fs::path(VELKOR_BINARY_DIR) / "screenshots" / "dispresult-cut.png";
    fs::create_directories(shot.parent_path());
    EXPECT_TRUE(image.save(QString::fromStdString(shot.string())));

    const QRect frame = backend->widgetOf(v.Shape4)->geometry();
    int whiteOnBorder = 0;
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        EXPECT_NE(image.pixelColor(frame.right() + 1, y).name().toStdString(), "#ffffff") << "row " << y;
        if (image.pixelColor(frame.right() - 2, y) == QColor(Qt::white)) ++whiteOnBorder;
    }
    EXPECT_GT(whiteOnBorder, 0);  // the cut lines reach the border

    const QRect unit = backend->widgetOf(v.Label13)->geometry();
    const QRect title = backend->widgetOf(v.Label20)->geometry();
    const int chartTop = qRound(results::kChartTop / gfx::kTwipsPerPixel);
    EXPECT_TRUE(v.Label13.visible());
    EXPECT_EQ(v.Label20.caption(), "Pressure");
    EXPECT_LT(unit.right(), title.left());
    // The title stands on the unit's line, at the left where the page
    // prints it (2280 twips).
    EXPECT_EQ(title.top(), unit.top());
    EXPECT_EQ(title.left(), 2280 / 15);
    for (const QRect& label : {unit, title}) {
        EXPECT_LT(label.bottom(), chartTop);
        for (int x = label.left(); x <= label.right(); ++x)
            EXPECT_EQ(image.pixelColor(x, chartTop).name().toStdString(), "#ffff00") << "column " << x;
    }
}

// The demo data set holds the calculation's result of the demo extruder.
TEST_F(ResultScreens, EveryChartOfTheDemoRunShowsItsCurve) {
    ASSERT_TRUE(demo::writeDemoData(dir_.string()).empty());
    ASSERT_TRUE(fs::exists(dir_ / "demo.flw"));
    showEveryChart((dir_ / "demo.flw").string(), "dispresult");
}

}  // namespace
