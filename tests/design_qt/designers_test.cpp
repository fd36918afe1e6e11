// The three designers on the desktop backend: each opens with its controls
// as widgets carrying their captions. Each window is also saved as a PNG
// under the build folder (screenshots/) for a look at the layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "design/dnbarrel.h"
#include "design/dndie.h"
#include "design/dnscrew.h"
#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "records/design_files.h"
#include "state/state.h"

namespace {

class Designers : public ::testing::Test {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-dnqt-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp"}) std::filesystem::create_directory(dir_ / sub);
        backend_ = std::make_unique<qtui::Backend>();
        ui::app().setTitle("Velkor test");
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
        shared::ExtruderCategory = "LAB30";

        records::ScrewGeoRec s;
        s.Code = "SE42/42";
        s.Diameter = 30;
        s.CenterlineDistance = 26;
        s.Tips = 2;
        s.Lead = 42;
        s.Length = 42;
        s.Hand = 1;
        records::writeScrewGeoFile((dir_ / "screwgeo/LAB30.gs").string(), {s});
        records::KneadGeoRec k;
        k.Code = "KB45/5/30";
        k.Diameter = 30;
        k.Length = 30;
        records::writeKneadGeoFile((dir_ / "kneadgeo/LAB30.gk").string(), {k});
        records::BarrelRec b;
        b.Code = "HOPPER120";
        b.Type = "H";
        b.Length = 120;
        records::writeBarrelGeoFile((dir_ / "brlkgeo/LAB30.gb").string(), {b});
    }
    void TearDown() override {
        ui::app().reset();
        backend_.reset();
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    void show(ui::Form& f, const std::string& caption) {
        f.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(f.isVisible()) << f.className();
        QWidget* w = backend_->windowOf(f);
        ASSERT_NE(w, nullptr) << f.className();
        EXPECT_EQ(w->windowTitle().toStdString(), caption);
        const std::filesystem::path shots = std::filesystem::path(VELKOR_BINARY_DIR) / "screenshots";
        std::filesystem::create_directories(shots);
        w->grab().save(QString::fromStdString((shots / (f.className() + ".png")).string()));
    }
    template <class W>
    W* widget(const ui::Control& c) {
        auto* w = qobject_cast<W*>(backend_->widgetOf(c));
        EXPECT_NE(w, nullptr) << c.name();
        return w;
    }
    void button(const ui::CommandButton& c, const std::string& caption) {
        if (auto* b = widget<QPushButton>(c)) {
            EXPECT_EQ(b->text().toStdString(), caption) << c.name();
        }
    }
    void label(const ui::Label& c, const std::string& caption) {
        if (auto* l = widget<QLabel>(c)) {
            EXPECT_EQ(l->text().toStdString(), caption) << c.name();
        }
    }
    void box(const ui::TextBox& c, const std::string& text) {
        if (auto* e = widget<QLineEdit>(c)) {
            EXPECT_EQ(e->text().toStdString(), text) << c.name();
        }
    }
    void list(const ui::ListBox& c, int count) {
        if (auto* l = widget<QListWidget>(c)) {
            EXPECT_EQ(l->count(), count) << c.name();
        }
    }

    std::unique_ptr<qtui::Backend> backend_;
    std::filesystem::path dir_;
};

TEST_F(Designers, ScrewDesigner) {
    DNScrew& w = ui::form<DNScrew>();
    show(w, "Design New Screw - LAB30");
    w.Command1_Click();
    w.Command2_Click();
    QCoreApplication::processEvents();
    show(w, "Design New Screw - LAB30");
    label(w.Label1, "Screw Elements");
    label(w.Label2, "Kneading Elements");
    label(w.Label3, "Edit window");
    label(w.Label10, ">>|| Screw Head");
    box(w.Text7, "||<< Screw Root");
    list(w.List1, 1);
    list(w.List2, 1);
    list(w.List3, 2);
    button(w.Command1, ">>");
    button(w.Command2, ">>");
    button(w.Command3, "||<<");
    button(w.Command4, "Done");
    button(w.Command5, "View Screw");
    button(w.Command6, "Cancel");
    label(w.Label4, "Acumulated Length (L/D) :");
    label(w.Label5, "Number of screw Elements :");
    label(w.Label6, "Number of LH Elements :");
    label(w.Label7, "Number of Elements Selected :");
    label(w.Label8, "Number of Kneading Blocks :");
    label(w.Label9, "Screw Diameter :");
    box(w.Text1, "2.40");  // (42 / 15 + 30 / 15) / 2
    box(w.Text6, "30.00");
    widget<QGroupBox>(w.Frame1);
}

TEST_F(Designers, BarrelDesigner) {
    DNBarrel& w = ui::form<DNBarrel>();
    show(w, "Design New barrel - LAB30");
    w.Command1_Click();
    QCoreApplication::processEvents();
    show(w, "Design New barrel - LAB30");
    label(w.Label1, "Barrel Elements");
    label(w.Label2, "Edit window");
    label(w.Label3, ">>|| Die adapter");
    list(w.List1, 1);
    list(w.List3, 1);
    button(w.Command1, ">>");
    button(w.Command3, "||<<");
    button(w.Command2, "View barrel");
    button(w.Command4, "Done");
    button(w.Command5, "Cancel");
    label(w.Label4, "Acumulated Length (L/D) :");
    label(w.Label5, "Number of hoppers");
    label(w.Label6, "Number of Elements Selected :");
    label(w.Label7, "Number of Vents");
    box(w.Text1, "4.00");  // 120 / 30
    box(w.Text2, "1");
    box(w.Text4, "1");
    box(w.Text5, "0");
}

TEST_F(Designers, DieDesigner) {
    shared::DieFile = "noname";
    DNdie& w = ui::form<DNdie>();
    show(w, "Design Die");
    if (auto* g = widget<QGroupBox>(w.Frame1)) {
        EXPECT_EQ(g->title().toStdString(), "Extruder Code");
    }
    box(w.Text1, "LAB30");
    for (const ui::TextBox* t : {&w.Text3, &w.Text4, &w.Text5, &w.Text6, &w.Text7}) box(*t, "0");
    label(w.Label1, "Diameter");
    label(w.Label2, "(mm)");
    label(w.Label3, "Diameter");
    label(w.Label4, "(mm)");
    label(w.Label5, "mm");
    label(w.Label6, "mm");
    label(w.Label7, "Num of Holes :");
    button(w.Command2, "View");
    button(w.Command3, "Done");
    button(w.Command1, "Cancel");
    EXPECT_FALSE(w.displayList().empty());  // the die drawing behind the boxes
}

}  // namespace
