// The six listing windows on the desktop backend: each opens on a sample file
// with its controls as widgets carrying their captions and values. Each
// window's picture is saved under the build folder (reports-png/) to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "reports/listbarrel.h"
#include "reports/listdie.h"
#include "reports/listext.h"
#include "reports/listresult.h"
#include "reports/listresult1.h"
#include "reports/listscrew.h"
#include "reports/sample_files.h"
#include "state/state.h"
#include "support/qt_app_dir.h"

namespace {

class Listings : public qttest::AppDirTest {
protected:
    Listings() : AppDirTest({}) {}

    // Shows the window, checks its title and saves its picture.
    void show(ui::Form& f, const std::string& caption) {
        f.show();
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
        ASSERT_TRUE(f.isVisible()) << f.className();
        QWidget* w = backend->windowOf(f);
        ASSERT_NE(w, nullptr) << f.className();
        EXPECT_EQ(w->windowTitle().toStdString(), caption);
        const std::filesystem::path out = std::filesystem::path(VELKOR_BINARY_DIR) / "reports-png";
        std::filesystem::create_directories(out);
        EXPECT_TRUE(w->grab().save(QString::fromStdString((out / (f.className() + ".png")).string())));
    }
    // Every control of the window is a widget showing what the core holds:
    // captions, texts and every grid cell.
    void expectWidgets(const ui::Form& f) {
        for (const ui::Control* c : f.controls()) {
            SCOPED_TRACE(f.className() + "." + c->name());
            QWidget* w = backend->widgetOf(*c);
            ASSERT_NE(w, nullptr);
            switch (c->kind()) {
            case ui::ControlKind::Label:
                EXPECT_EQ(shown<QLabel>(w), static_cast<const ui::Label*>(c)->caption());
                break;
            case ui::ControlKind::CommandButton:
                EXPECT_EQ(shown<QPushButton>(w), static_cast<const ui::CommandButton*>(c)->caption());
                break;
            case ui::ControlKind::Frame:
                EXPECT_EQ(shown<QGroupBox>(w), static_cast<const ui::Frame*>(c)->caption());
                break;
            case ui::ControlKind::TextBox:
                EXPECT_EQ(shown<QLineEdit>(w), static_cast<const ui::TextBox*>(c)->text());
                break;
            case ui::ControlKind::Grid: {
                auto* table = qobject_cast<QTableWidget*>(w);
                ASSERT_NE(table, nullptr);
                const auto& grid = static_cast<const ui::Grid&>(*c);
                ASSERT_EQ(table->rowCount(), grid.rows());
                ASSERT_EQ(table->columnCount(), grid.cols());
                for (int r = 0; r < grid.rows(); ++r)
                    for (int k = 0; k < grid.cols(); ++k)
                        EXPECT_EQ(table->item(r, k) ? table->item(r, k)->text().toStdString() : "",
                                  grid.textMatrix(r, k));
                break;
            }
            default:
                EXPECT_EQ(c->kind(), ui::ControlKind::Line);
            }
        }
    }
    // Every label shows its text whole at its place: in no more lines than
    // its height holds, ending 3 pixels or more before the next label of its
    // row.
    void expectLabelsWhole(const ui::Form& f) {
        for (const ui::Control* c : f.controls()) {
            auto* l = qobject_cast<QLabel*>(backend->widgetOf(*c));
            if (c->kind() != ui::ControlKind::Label || !l) continue;
            EXPECT_LE(l->heightForWidth(l->width()), l->height()) << f.className() << "." << c->name();
            const int end = l->x() + QFontMetrics(l->font()).horizontalAdvance(l->text());
            for (const QLabel* next : l->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
                if (next->y() != l->y() || next->x() <= l->x()) continue;
                EXPECT_LE(end + 3, next->x()) << f.className() << "." << c->name();
            }
        }
    }
    // The text a label, button, frame or text box widget shows.
    template <class W>
    static std::string shown(QWidget* w) {
        auto* widget = qobject_cast<W*>(w);
        if (!widget) return "(not a " + std::string(W::staticMetaObject.className()) + ")";
        if constexpr (std::is_same_v<W, QGroupBox>)
            return widget->title().toStdString();
        else
            return widget->text().toStdString();
    }

};

TEST_F(Listings, EachWindowOpensWithItsControlsAndCaptions) {
    reporttest::writeSampleScrew(path("sample.srw"));
    reporttest::writeSampleBarrel(path("sample.brl"));
    reporttest::writeSampleDie(path("sample.die"));
    reporttest::writeSampleExtruder(path("line.ext"), dir_.string(), true);
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    shared::ScrewFile = path("sample.srw");
    shared::BarrelFile = path("sample.brl");
    shared::DieFile = path("sample.die");
    shared::ExtruderFile = path("line.ext");
    shared::ResultFile = path("run.flw");

    listscrew& s = ui::form<listscrew>();
    show(s, "View Screw File - " + path("sample.srw"));
    EXPECT_EQ(s.controls().size(), 12u);
    EXPECT_EQ(s.Label5.caption(), "Number of left handed elements :");
    expectWidgets(s);

    listbarrel& b = ui::form<listbarrel>();
    show(b, "View Barrel File - " + path("sample.brl"));
    EXPECT_EQ(b.controls().size(), 4u);
    EXPECT_EQ(b.Label1.caption(), "Barrel L/D ratio :");
    expectWidgets(b);

    listdie& d = ui::form<listdie>();
    show(d, "View die File - " + path("sample.die"));
    EXPECT_EQ(d.controls().size(), 12u);
    EXPECT_EQ(d.label1.caption(), "Enterance Diameter (mm) :");
    expectWidgets(d);

    listext& e = ui::form<listext>();
    show(e, "View Extruder File - " + path("line.ext"));
    EXPECT_EQ(e.controls().size(), 33u);
    EXPECT_EQ(e.Frame4.caption(), "Die Information");
    EXPECT_EQ(e.Label9.caption(), "Enterance Diameter : ");
    expectWidgets(e);

    listresult& r = ui::form<listresult>();
    show(r, "Result listing - " + path("run.flw"));
    EXPECT_EQ(r.controls().size(), 67u);
    EXPECT_EQ(r.Label43.caption(), "Heat Capacity of Solids-Melting Region (KJ/Kg.K)");
    EXPECT_EQ(r.Command3.caption(), "Result  /  Melting results");
    expectWidgets(r);
    expectLabelsWhole(r);

    r.Command3_Click();
    listresult1& m = ui::form<listresult1>();
    show(m, "Result listing - " + path("run.flw"));
    EXPECT_EQ(m.controls().size(), 43u);
    EXPECT_EQ(m.Label18.caption(), "Pressure as Right End of the Point (MPa) :");
    EXPECT_EQ(m.Label20.caption(), "Temperatiure at Right End (C) :");
    EXPECT_EQ(m.Label23.caption(), "Cummulative Power at Right End (KW) : ");
    expectWidgets(m);
    expectLabelsWhole(m);
}

}  // namespace
