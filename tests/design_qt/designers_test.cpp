// The three designers on the desktop backend: each opens with its caption
// and every control as a widget, labels, buttons and frames with their texts.
// Each window is also saved as a PNG under the build folder (screenshots/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "design/dnbarrel.h"
#include "design/dndie.h"
#include "design/dnscrew.h"
#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/state.h"
#include "support/qt_app_dir.h"

namespace {

class Designers : public qttest::AppDirTest {
protected:
    Designers() : AppDirTest({"screwgeo", "kneadgeo", "brlkgeo", "temp"}) {}
    void SetUp() override {
        shared::ExtruderCategory = "LAB30";
        shared::DieFile = "noname";
        records::ScrewGeoRec s;
        s.Code = "SE42/42";
        s.Diameter = 30;
        records::writeScrewGeoFile((dir_ / "screwgeo/LAB30.gs").string(), {s});
        records::BarrelRec b;
        b.Code = "HOPPER120";
        records::writeBarrelGeoFile((dir_ / "brlkgeo/LAB30.gb").string(), {b});
    }

    void check(ui::Form& f, const std::string& caption) {
        f.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(f.isVisible()) << f.className();
        QWidget* window = backend->windowOf(f);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle().toStdString(), caption);
        for (const ui::Control* c : f.controls()) {
            if (c->kind() == ui::ControlKind::CommonDialog) continue;
            QWidget* w = backend->widgetOf(*c);
            ASSERT_NE(w, nullptr) << c->name();
            QString shown;
            if (auto* b = qobject_cast<QPushButton*>(w)) shown = b->text();
            if (auto* l = qobject_cast<QLabel*>(w)) shown = l->text();
            if (auto* g = qobject_cast<QGroupBox*>(w)) shown = g->title();
            if (!shown.isEmpty()) captions.push_back(shown.toStdString());
        }
        const std::filesystem::path shots = std::filesystem::path(VELKOR_BINARY_DIR) / "screenshots";
        std::filesystem::create_directories(shots);
        window->grab().save(QString::fromStdString((shots / (f.className() + ".png")).string()));
    }

    // The captions shown on labels, buttons and frames, in creation order.
    std::vector<std::string> captions;
};

TEST_F(Designers, EachOpensWithItsControls) {
    DNScrew& screw = ui::form<DNScrew>();
    screw.show();
    screw.Command1_Click();
    check(screw, "Design New Screw - LAB30");
    EXPECT_EQ(screw.controls().size(), 28u);
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "Screw Elements", ">>", "Kneading Elements", ">>", "||<<", "Edit window",
                            ">>|| Screw Head", "Done", "Acumulated Length (L/D) :", "Number of screw Elements :",
                            "Number of LH Elements :", "Number of Elements Selected :", "Number of Kneading Blocks :",
                            "Screw Diameter :", "View Screw", "Cancel"}));
    EXPECT_EQ(screw.Text7.text(), "||<< Screw Root");
    EXPECT_EQ(screw.List2.listCount(), 0);  // the code has no kneading blocks yet
    EXPECT_FALSE(std::filesystem::exists(dir_ / "kneadgeo/LAB30.gk"));

    captions.clear();
    DNBarrel& barrel = ui::form<DNBarrel>();
    barrel.show();
    barrel.Command1_Click();
    check(barrel, "Design New barrel - LAB30");
    EXPECT_EQ(barrel.controls().size(), 20u);
    EXPECT_EQ(captions, (std::vector<std::string>{"Barrel Elements", ">>", "||<<", "Edit window", ">>|| Die adapter",
                                                  "Done", "Acumulated Length (L/D) :", "Number of hoppers",
                                                  "Number of Elements Selected :", "Number of Vents", "View barrel",
                                                  "Cancel"}));

    captions.clear();
    DNdie& die = ui::form<DNdie>();
    check(die, "Design Die");
    EXPECT_EQ(die.controls().size(), 18u);
    EXPECT_EQ(captions, (std::vector<std::string>{"Extruder Code", "Diameter", "(mm)", "Diameter", "(mm)", "mm", "mm",
                                                  "Num of Holes :", "View", "Done", "Cancel"}));
    EXPECT_EQ(die.Text1.text(), "LAB30");
    EXPECT_FALSE(die.displayList().empty());  // the die drawn behind the boxes
}

}  // namespace
