// The assembly and fitting windows on the desktop backend: their controls
// as widgets with their captions, and the fitting drawing of the demo
// extruder painted (saved as fitext.png in the build folder to look at).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "design/assemext.h"
#include "design/fitext.h"
#include "state/state.h"
#include "support/qt_app_dir.h"
#include "tools/demo_model.h"

namespace {

class Windows : public qttest::AppDirTest {
protected:
    Windows() : AppDirTest(qttest::kDataFolders) { shared::ExtruderCategory = demo::kCode; }
    template <class W>
    W* widget(const ui::Control& c) {
        auto* w = qobject_cast<W*>(backend->widgetOf(c));
        EXPECT_NE(w, nullptr) << c.name();
        return w;
    }
    std::string caption(const ui::CommandButton& b) {
        auto* w = widget<QPushButton>(b);
        return w ? w->text().toStdString() : "<none>";
    }
    std::string caption(const ui::Label& l) {
        auto* w = widget<QLabel>(l);
        return w ? w->text().toStdString() : "<none>";
    }
};

TEST_F(Windows, AssemblyAndFittingWithTheDemoExtruder) {
    assemext& a = ui::form<assemext>();
    a.show();
    ASSERT_TRUE(qttest::pumpUntil([&] { return backend->windowOf(a) && backend->windowOf(a)->isVisible(); }));
    EXPECT_EQ(backend->windowOf(a)->windowTitle().toStdString(), "Extruder Assembly");
    EXPECT_EQ(caption(a.Label1), "Select Screw Path / Filename :");
    EXPECT_EQ(caption(a.Label2), "Select Barrel Path /Filename :");
    EXPECT_EQ(caption(a.Label3), "Select Die Path/Filename :");
    for (const ui::TextBox* t : {&a.Text1, &a.Text2, &a.Text3}) widget<QLineEdit>(*t);
    EXPECT_EQ(caption(a.fscrew), "Find Screw");
    EXPECT_EQ(caption(a.fbarrel), "Find Barrel");
    EXPECT_EQ(caption(a.fdie), "Find Die");
    EXPECT_EQ(caption(a.make), "Make Extruder !");
    a.unload();

    ASSERT_TRUE(demo::writeDemoData(dir_.string()).empty());
    shared::ExtruderFile = (dir_ / "demo.ext").string();
    fitext& f = ui::form<fitext>();
    f.show();
    QWidget* window = backend->windowOf(f);
    QWidget* surface = backend->surfaceOf(f);
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(qttest::pumpUntil([&] { return surface->isVisible(); }));
    EXPECT_EQ(window->windowTitle().toStdString(), "Fitting Extruder");
    EXPECT_EQ(caption(f.Command3), "Done !");
    EXPECT_EQ(caption(f.Label1), "0 (mm)");
    for (const ui::CommandButton* b : {&f.Command1, &f.Command2}) {
        auto* w = widget<QPushButton>(*b);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->icon().isNull()) << b->name();  // the arrow
    }

    const QImage image = window->grab().toImage();
    image.save(QString::fromStdString(std::string(VELKOR_BINARY_DIR) + "/fitext.png"));
    // The drawing colour red 100 is on the picture, along the screw's middle.
    const QImage drawing = surface->grab().toImage();
    int red = 0;
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x)
            if (QColor(drawing.pixel(x, y)) == QColor(100, 0, 0)) ++red;
    EXPECT_GT(red, 500);
    f.unload();
}

}  // namespace
