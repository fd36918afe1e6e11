// The geometry windows on the desktop backend (offscreen), one per family:
// the button row as widgets, and the drawing as pixels. Each window's
// surface is saved as <build>/views-png/<window>.png; the corners and middles
// of a few display-list operations (box corners, a flight, an opening) show
// the drawing colour within one pixel, a point inside the drawing shows the
// back colour, and below the buttons no third colour appears: lines are one
// pixel wide and unsmoothed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QWidget>

#include "records/design_files.h"
#include "state/state.h"
#include "support/qt_app_dir.h"
#include "views/mvbarrel.h"
#include "views/mvscrew.h"
#include "views/viewbarrel.h"
#include "views/viewdie.h"
#include "views/viewext.h"
#include "views/viewscrew.h"
#include "views/views_data.h"

namespace {

const QColor kDrawing(100, 0, 0);
const QColor kBack(212, 208, 200);

struct Button {
    const ui::CommandButton* control;
    const char* caption;
    int left, width;  // twips; every button is at the top, 375 high
};

class Pictures : public qttest::AppDirTest {
protected:
    Pictures() : AppDirTest({"screwgeo", "temp"}) { viewdata::writeScrewGeo(path("screwgeo/LAB30.gs"), 30); }

    // Shows the window as its opener does and checks it as described above;
    // drawn: the operations whose points must show; inside: twips.
    QImage check(ui::Form& f, float width, float height, const std::vector<Button>& row,
                 const std::vector<std::size_t>& drawn, QPointF inside) {
        f.setSize(width, height);
        f.show();
        QWidget* surface = backend->surfaceOf(f);
        EXPECT_TRUE(qttest::pumpUntil([&] { return surface->isVisible(); }));
        for (const Button& b : row) {
            auto* w = qobject_cast<QPushButton*>(backend->widgetOf(*b.control));
            EXPECT_TRUE(w && w->text() == b.caption) << b.control->name();
            EXPECT_TRUE(w && w->geometry() == QRect(b.left / 15, 0, b.width / 15, 25)) << b.control->name();
        }
        qttest::pump();
        const QImage image = surface->grab().toImage();
        const auto dir = std::filesystem::path(VELKOR_BINARY_DIR) / "views-png";
        std::filesystem::create_directories(dir);
        image.save(QString::fromStdString((dir / (f.className() + ".png")).string()));

        for (std::size_t i : drawn) {
            const gfx::DrawOp& op = f.displayList()[i];
            std::vector<QPointF> points = {{op.x1, op.y1}, {op.x2, op.y2}};
            if (op.kind == gfx::OpKind::Box)
                points.insert(points.end(), {{op.x1, op.y2}, {op.x2, op.y1}});
            else
                points.push_back({(op.x1 + op.x2) / 2, (op.y1 + op.y2) / 2});
            for (QPointF p : points) EXPECT_TRUE(drawnNear(image, p)) << gfx::dump(op);
        }
        EXPECT_EQ(QColor(image.pixel(inside.toPoint() / 15)), kBack);
        int colour = 0;
        for (int y = 30; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c(image.pixel(x, y));
                colour += c == kDrawing;
                if (c != kDrawing && c != kBack) ADD_FAILURE() << c.name().toStdString() << " at " << x << "," << y;
            }
        EXPECT_GT(colour, 100);
        return image;
    }

    static bool drawnNear(const QImage& image, QPointF twips) {
        const QPoint p((twips / 15).toPoint());
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(p.x() + dx, p.y() + dy) && QColor(image.pixel(p.x() + dx, p.y() + dy)) == kDrawing)
                    return true;
        return false;
    }

};

template <class W>
std::vector<Button> displayRow(W& w, const char* print, std::vector<Button> more = {}) {
    std::vector<Button> row = {{&w.zoomin, "Zoom in", 0, 975}, {&w.zoomout, "Zoom out", 1080, 975},
                               {&w.lleft, "||<<", 2160, 495},  {&w.left, "<<", 2760, 495},
                               {&w.right, ">>", 3360, 495},    {&w.rright, ">>||", 3960, 495},
                               {&w.Command1, print, 4560, 975}};
    row.insert(row.end(), more.begin(), more.end());
    return row;
}

template <class W>
std::vector<Button> previewRow(W& w, const char* zoomIn, const char* reload) {
    return {{&w.Command1, zoomIn, 0, 975},    {&w.Command2, "Zoom out", 1080, 975}, {&w.Command3, "||<<", 2160, 495},
            {&w.Command4, "<<", 2760, 495},   {&w.Command5, ">>", 3360, 495},       {&w.Command6, ">>||", 3960, 495},
            {&w.Command7, reload, 4560, 975}, {&w.Command8, "Fit Screen", 5640, 1095},
            {&w.Command9, "Print", 6840, 975}};
}

// Demo barrel at 9500 / 600 twips/mm from x 100, bore 1300 .. 1775.
TEST_F(Pictures, Barrel) {
    viewdata::writeLabBarrel(path("demo.brl"));
    shared::DisplayBarrelFile = path("demo.brl");
    viewbarrel& w = ui::form<viewbarrel>();
    const QImage image = check(w, 10000, 3000, displayRow(w, "Print", {{&w.Command2, "Fit screen", 5640, 975}}),
                               {0, 1, 3}, {1050, 1540});  // outline, bore, the hopper's opening
    // The bore's top edge is one pixel thick.
    int y = 85;
    while (y < 90 && QColor(image.pixel(70, y)) != kDrawing) ++y;
    EXPECT_LT(y, 90);
    EXPECT_EQ(QColor(image.pixel(70, y - 1)), kBack);
    EXPECT_EQ(QColor(image.pixel(70, y + 1)), kBack);
}

// Demo screw from x 100, band 1300 .. 1732: root box, its diagonal, the first flight.
TEST_F(Pictures, Screw) {
    viewdata::writeLabScrew(path("demo.srw"));
    shared::DisplayScrewFile = path("demo.srw");
    viewscrew& w = ui::form<viewscrew>();
    check(w, 10000, 3000, displayRow(w, "print", {{&w.Command2, "Fit Screen", 5640, 1095}}), {0, 1, 4}, {420, 1360});
}

// Demo die from x 200 about 1300: block edge, upper wall, land; inside the block above the channel.
TEST_F(Pictures, Die) {
    records::writeDieFile(path("demo.die"), viewdata::labDie());
    viewdie& w = ui::form<viewdie>();
    w.showFile(path("demo.die"), 10000);
    check(w, 10000, 3000, displayRow(w, "Print"), {0, 4, 6}, {300, 1000});
}

// Lower wall and opening of the hopper block, the die's land, the screw's root (494 .. 1085).
TEST_F(Pictures, Extruder) {
    records::writeExtruderFile(path("lab.ext"), viewdata::labExtruder());
    shared::DisplayExtruderFile = path("lab.ext");
    viewext& w = ui::form<viewext>();
    check(w, 10000, 3000, displayRow(w, "Print", {{&w.Command2, "Fit Screen", 5640, 975}}), {0, 2, 22, 23},
          {790, 1360});
}

TEST_F(Pictures, ScrewPreview) {
    const float phi = std::atan(0.3f);
    shared::ScrewDesign = {viewdata::conveying(2, phi, 1), viewdata::kneading(2, 5, 45, 1),
                           viewdata::conveying(2, phi, -1)};
    shared::ScrewDesignRadius = 15;
    shared::ScrewDesignLength = 90;
    shared::ScrewDesignCount = 3;
    mvscrew& w = ui::form<mvscrew>();
    check(w, 8000, 5000, previewRow(w, "Zoon in", "Reload"), {0, 4}, {1290, 2260});
}

TEST_F(Pictures, BarrelPreview) {
    shared::BarrelDesign = {viewdata::block('V', 120, 40, 60), viewdata::block('P', 120)};
    shared::BarrelDesignLength = 240;
    shared::BarrelDesignCount = 2;
    mvbarrel& w = ui::form<mvbarrel>();
    check(w, 8000, 5000, previewRow(w, "Zoom in", "reload"), {0, 3}, {1050, 2700});
}

}  // namespace
