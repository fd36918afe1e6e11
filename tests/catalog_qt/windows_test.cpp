// The catalog windows and the element editors on the desktop backend: each
// opens with its controls as widgets carrying their captions, and takes a
// record typed with the keyboard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "catalog/adet.h"
#include "catalog/selet.h"
#include "elements/build_barrel.h"
#include "elements/build_knead.h"
#include "elements/build_screw.h"
#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"
#include "state/state.h"
#include "support/qt_app_dir.h"

namespace {

class Windows : public qttest::AppDirTest {
protected:
    Windows() : AppDirTest({"screwgeo", "kneadgeo", "brlkgeo", "temp"}) { shared::ExtruderCategory = "ZX40"; }

    void show(ui::Form& f) {
        f.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(f.isVisible()) << f.className();
        QWidget* w = backend->windowOf(f);
        ASSERT_NE(w, nullptr) << f.className();
        EXPECT_EQ(w->windowTitle().toStdString(), f.caption());
    }
    template <class W>
    W* widget(const ui::Control& c) {
        auto* w = qobject_cast<W*>(backend->widgetOf(c));
        EXPECT_NE(w, nullptr) << c.name();
        return w;
    }
    void button(const ui::CommandButton& c, const std::string& caption, bool enabled = true) {
        if (auto* b = widget<QPushButton>(c)) {
            EXPECT_EQ(b->text().toStdString(), caption) << c.name();
            EXPECT_EQ(b->isEnabled(), enabled) << c.name();
        }
    }
    void label(const ui::Label& c, const std::string& caption) {
        if (auto* l = widget<QLabel>(c)) {
            EXPECT_EQ(l->text().toStdString(), caption) << c.name();
        }
    }
    void frame(const ui::Frame& c, const std::string& caption) {
        if (auto* g = widget<QGroupBox>(c)) {
            EXPECT_EQ(g->title().toStdString(), caption) << c.name();
        }
    }
    void combo(const ui::ComboBox& c, const std::string& text, const std::vector<std::string>& items) {
        auto* b = widget<QComboBox>(c);
        if (!b) return;
        EXPECT_EQ(b->currentText().toStdString(), text) << c.name();
        std::vector<std::string> got;
        for (int i = 0; i < b->count(); ++i) got.push_back(b->itemText(i).toStdString());
        EXPECT_EQ(got, items) << c.name();
    }
    void boxes(const std::vector<const ui::TextBox*>& list) {
        for (const ui::TextBox* t : list) widget<QLineEdit>(*t);
    }
};

TEST_F(Windows, CatalogWindows) {
    selet& s = ui::form<selet>();
    show(s);
    EXPECT_EQ(s.caption(), "Select Extruder");
    label(s.Label1, "Extruder Series :");
    label(s.Label2, "Extruder Codes:");
    combo(s.Combo1, "", {""});
    widget<QListWidget>(s.List1);
    button(s.Command1, "Select");
    button(s.Command2, "Add Extruder");
    button(s.Command3, "Delete Extruder");
    button(s.Command4, "Edit Extruder");
    button(s.Command5, "Add Series");
    button(s.Command6, "Delete Series");
    button(s.Command7, "Edit Series");
    button(s.Command8, "Close");

    adet& a = ui::form<adet>();
    show(a);
    EXPECT_EQ(a.caption(), "Add Extruder");
    label(a.Label1, "Extruder Series :");
    label(a.Label2, "Extruder Code :");
    widget<QLineEdit>(a.Text1);
    button(a.Command1, "Accept");
    button(a.Command2, "Cancel");
}

TEST_F(Windows, ScrewEditor) {
    BuildScrew& w = ui::form<BuildScrew>();
    show(w);
    EXPECT_EQ(w.caption(), "Build Screw Elements - ZX40");
    frame(w.Frame1, "Screw codes");
    widget<QListWidget>(w.List1);
    label(w.Label1, "Record Number");
    label(w.Label9, "");
    label(w.Label2, "Elementcode (16 characters)");
    label(w.Label3, "Screw Diameter");
    label(w.Label4, "Center Line Distance (mm)");
    label(w.Label5, "Number of Tips");
    label(w.Label6, "Screw Lead(mm)");
    label(w.Label7, "Element Length (mm)");
    label(w.Label8, "Handness (Select Handness)");
    boxes({&w.Text7, &w.Text2, &w.Text3, &w.Text6, &w.Text4, &w.Text5});
    combo(w.Combo1, "Type", {"Left", "Right"});
    button(w.Command1, "Accept", false);
    button(w.Command6, "Edit");
    button(w.Command3, "Add");
    button(w.Command4, "Delete");
    button(w.Command5, "Done !");
    button(w.Command2, "Cancel");
}

TEST_F(Windows, KneadingEditor) {
    BuildKnead& w = ui::form<BuildKnead>();
    show(w);
    EXPECT_EQ(w.caption(), "Build Kneading Elements - ZX40");
    frame(w.Frame1, "Kneading codes");
    widget<QListWidget>(w.List1);
    label(w.Label9, "Record Number");
    label(w.Label1, "Element Code");
    label(w.Label2, "Screw Diameter (mm)");
    label(w.Label3, "CenterLine Distance (mm)");
    label(w.Label4, "Number of Tips (flights)");
    label(w.Label5, "Staggering Angle (degree)");
    label(w.Label6, "Element Length (mm)");
    label(w.Label7, "Number of Disks");
    label(w.Label8, "Handness (Select handness)");
    boxes({&w.Text8, &w.Text2, &w.Text3, &w.Text6, &w.Text4, &w.Text5, &w.Text7});
    combo(w.Combo1, "Sign", {"Left", "Right"});
    button(w.Command1, "Accept", false);
    button(w.Command6, "Edit");
    button(w.Command3, "Add");
    button(w.Command4, "Delete");
    button(w.Command5, "Done !");
    button(w.Command2, "Cancel");
}

TEST_F(Windows, BarrelEditor) {
    BuildBarrel& w = ui::form<BuildBarrel>();
    show(w);
    EXPECT_EQ(w.caption(), "Build Barrel Elements - ZX40");
    widget<QGroupBox>(w.Frame2);
    widget<QListWidget>(w.List1);
    label(w.Label8, "Record Number");
    label(w.Label1, "Element Code : ");
    frame(w.Frame1, "Diameters");
    label(w.Label2, "Bore Diameter (mm)  :");
    label(w.Label3, "Center Line Spacing (mm)  :");
    frame(w.Barrlframe2, "Barrel Layout");
    label(w.Label4, "Length (mm)");
    label(w.Label5, "  Opening");
    label(w.Label6, "Barrel Block Type (H : hopper, P: plane , V: vent) : ");
    boxes({&w.Text7, &w.Text3, &w.Text4, &w.Text5, &w.Text2, &w.Text1});
    combo(w.Combo1, "Type", {"Hopper", "Plane", "Vent"});
    button(w.Accept, "Accept", false);
    button(w.Command1, "Edit");
    button(w.Command3, "Add");
    button(w.Command4, "Delete");
    button(w.Command5, "Done !");
    button(w.Command2, "Cancel");
}

// Add, then Tab and Shift+Tab into number boxes that hold "0": what is
// typed replaces the 0, and Accept stores the typed values.
TEST_F(Windows, NumbersTypedAfterTabAreStoredAsTyped) {
    BuildScrew& w = ui::form<BuildScrew>();
    show(w);
    backend->windowOf(w)->activateWindow();
    auto pump = [] {
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    };
    auto keys = [&](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(backend->widgetOf(*w.activeControl()), key, mods);
        pump();
    };
    auto type = [&](const char* text) {
        QTest::keyClicks(backend->widgetOf(*w.activeControl()), text);
        pump();
    };
    QTest::mouseClick(backend->widgetOf(w.Command3), Qt::LeftButton);  // Add
    pump();
    ASSERT_EQ(w.elements().size(), 1u);
    ASSERT_EQ(w.Text2.text(), "0");
    QTest::mouseClick(backend->widgetOf(w.Text7), Qt::LeftButton);
    pump();
    ASSERT_EQ(w.activeControl(), &w.Text7);
    type("se30/30");
    keys(Qt::Key_Tab);  // the diameter
    ASSERT_EQ(w.activeControl(), &w.Text2);
    type("2");
    keys(Qt::Key_Tab);
    keys(Qt::Key_Tab);  // the number of tips
    keys(Qt::Key_Tab, Qt::ShiftModifier);  // back to the centre line distance
    ASSERT_EQ(w.activeControl(), &w.Text3);
    type("42");
    w.Combo1.setListIndex(1);
    QTest::mouseClick(backend->widgetOf(w.Command1), Qt::LeftButton);  // Accept
    pump();
    const records::ScrewGeoRec& g = w.elements().front();
    EXPECT_EQ(catalog::entryText(g.Code).substr(0, 7), "SE30/30");
    EXPECT_EQ(g.Diameter, 2.0f);
    EXPECT_EQ(g.CenterlineDistance, 42.0f);
    EXPECT_EQ(g.Tips, 0);
    EXPECT_EQ(g.Hand, 1);
}

}  // namespace
