// The calculation on the desktop backend: the demo run paints the progress
// window, its captions and values, during the pause between iterations and
// ends at the save question.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "simulation/calculate.h"
#include "simulation/progress.h"
#include "state/state.h"
#include "support/qt_app_dir.h"
#include "tools/demo_model.h"

namespace {

namespace fs = std::filesystem;
using qttest::pumpUntil;

class CalculationWindows : public qttest::AppDirTest {
protected:
    CalculationWindows() : AppDirTest(qttest::kDataFolders) {}
    std::string text(const ui::Control& c) const {
        if (auto* edit = qobject_cast<QLineEdit*>(backend->widgetOf(c))) return edit->text().toStdString();
        return qobject_cast<QLabel*>(backend->widgetOf(c))->text().toStdString();
    }
    static std::string shot(const std::string& name) { return std::string(VELKOR_BINARY_DIR) + "/" + name + ".png"; }

};

// Some pixel of the window's inside differs from its background.
bool painted(const QImage& image) {
    if (image.isNull()) return false;
    const QRgb background = image.pixel(2, 2);
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixel(x, y) != background) return true;
    return false;
}

TEST_F(CalculationWindows, TheDemoRunPaintsTheProgressWindowDuringAPauseAndEndsAtTheSaveQuestion) {
    const std::string app = dir_.string();
    for (const auto& problem : demo::writeDemoData(app)) ADD_FAILURE() << problem;
    for (const auto& problem : demo::prepareDemoRun(app, shared::TempDir, app + "/demo.prm")) ADD_FAILURE() << problem;
    shared::ParameterFile = app + "/demo.prm";

    // During the first pause the progress window is up, painted, and shows
    // the iteration and its residual beside their labels.
    QImage picture;
    std::vector<std::string> shown;
    QTimer grabber;
    grabber.setInterval(20);
    QObject::connect(&grabber, &QTimer::timeout, [&] {
        progress& p = ui::form<progress>();
        QWidget* w = p.isLoaded() ? backend->windowOf(p) : nullptr;
        if (!picture.isNull() || !w || !w->isVisible()) return;
        picture = w->grab().toImage();
        shown = {w->windowTitle().toStdString(), text(p.Label1), text(p.Text1), text(p.Label2), text(p.Text2)};
        EXPECT_LT(p.Label1.left() + p.Label1.width(), p.Text1.left());
        EXPECT_EQ(p.Label2.top() - p.Label1.top(), p.Text2.top() - p.Text1.top());
    });
    grabber.start();
    qttest::MessageAnswerer answers({QMessageBox::No, QMessageBox::Ok});
    ui::form<calculate>().show();
    grabber.stop();

    EXPECT_TRUE(painted(picture));
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], "Calculating.....");
    EXPECT_EQ(shown[1], "Iteration");
    EXPECT_EQ(shown[2], "1");
    EXPECT_EQ(shown[3], "Residual");
    EXPECT_GT(std::stod(shown[4]), 0.0001);
    EXPECT_TRUE(picture.save(QString::fromStdString(shot("progress_during_run"))));
    ASSERT_EQ(answers.seen().size(), 2u);
    EXPECT_EQ(answers.seen()[0].text, "Calculations are finished. Do You want to save result?");
    EXPECT_EQ(answers.seen()[0].title, "Calculation");
    EXPECT_EQ(answers.seen()[0].icon, QMessageBox::Information);
    EXPECT_EQ(answers.seen()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(answers.seen()[1].text, "Flow file was not saved!");
    EXPECT_EQ(answers.seen()[1].icon, QMessageBox::Critical);
    EXPECT_FALSE(ui::form<calculate>().isLoaded());
    EXPECT_FALSE(ui::form<progress>().isLoaded());
    EXPECT_TRUE(fs::exists(dir_ / "temp" / "flow.tmp"));
}

}  // namespace
