// The geometry windows on the desktop backend (offscreen), one per family:
// the button row as widgets, and the drawing as pixels. Each window's
// surface is saved as <build>/views-png/<window>.png; points of its display
// list (box corners, a flight's middle, an opening's centre) must show the
// drawing colour within one pixel, a point inside the drawing the window's
// back colour, and the drawing holds no other colour: lines are drawn one
// pixel wide without smoothing.
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

#include "platform_qt/support.h"
#include "records/design_files.h"
#include "state/state.h"
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
    int left, width;  // twips
};

class Pictures : public qttest::QtTest {
protected:
    void SetUp() override {
        shared::resetSharedState();
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-viewsqt-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        for (const char* sub : {"screwgeo", "temp"}) std::filesystem::create_directory(dir_ / sub);
        ui::app().setAppDir(dir_);
        shared::setDirectories(dir_.string());
        viewdata::writeScrewGeo(path("screwgeo/LAB30.gs"), 30);
    }
    void TearDown() override {
        shared::resetSharedState();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Shows the window at the size its opener gives it and checks its buttons.
    void open(ui::Form& f, float width, float height, const std::vector<Button>& row) {
        f.setSize(width, height);
        f.show();
        ASSERT_TRUE(qttest::pumpUntil([&] { return backend->surfaceOf(f) && backend->surfaceOf(f)->isVisible(); }));
        for (const Button& b : row) {
            auto* w = qobject_cast<QPushButton*>(backend->widgetOf(*b.control));
            ASSERT_NE(w, nullptr) << b.control->name();
            EXPECT_EQ(w->text().toStdString(), b.caption) << b.control->name();
            EXPECT_EQ(w->geometry(), QRect(b.left / 15, 0, b.width / 15, 25)) << b.control->name();
        }
    }

    // The surface as pixels, saved for looking at.
    QImage grab(ui::Form& f) {
        qttest::pump();
        QImage image = backend->surfaceOf(f)->grab().toImage();
        const std::filesystem::path dir = std::filesystem::path(VELKOR_BINARY_DIR) / "views-png";
        std::filesystem::create_directories(dir);
        image.save(QString::fromStdString((dir / (f.className() + ".png")).string()));
        // Below the button row only the drawing colour and the back colour.
        int drawn = 0;
        for (int y = 30; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c(image.pixel(x, y));
                drawn += c == kDrawing;
                if (c != kDrawing && c != kBack) {
                    ADD_FAILURE() << "colour " << c.name().toStdString() << " at " << x << "," << y;
                    return image;
                }
            }
        EXPECT_GT(drawn, 100);
        return image;
    }

    static bool drawnNear(const QImage& image, double x, double y) {
        const int px = static_cast<int>(std::lround(x / 15)), py = static_cast<int>(std::lround(y / 15));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(px + dx, py + dy) && QColor(image.pixel(px + dx, py + dy)) == kDrawing) return true;
        return false;
    }
    static bool backAt(const QImage& image, double x, double y) {
        return QColor(image.pixel(static_cast<int>(x / 15), static_cast<int>(y / 15))) == kBack;
    }
    // The ends of a segment or the corners of a box, and the middle of a
    // segment or a filled box.
    static void expectDrawn(const QImage& image, const gfx::DrawOp& op) {
        EXPECT_TRUE(drawnNear(image, op.x1, op.y1)) << gfx::dump(op);
        EXPECT_TRUE(drawnNear(image, op.x2, op.y2)) << gfx::dump(op);
        if (op.kind == gfx::OpKind::Box) {
            EXPECT_TRUE(drawnNear(image, op.x1, op.y2)) << gfx::dump(op);
            EXPECT_TRUE(drawnNear(image, op.x2, op.y1)) << gfx::dump(op);
        } else {
            EXPECT_TRUE(drawnNear(image, (op.x1 + op.x2) / 2, (op.y1 + op.y2) / 2)) << gfx::dump(op);
        }
    }

    std::filesystem::path dir_;
};

template <class W>
std::vector<Button> displayRow(W& w, const char* print) {
    return {{&w.zoomin, "Zoom in", 0, 975},  {&w.zoomout, "Zoom out", 1080, 975}, {&w.lleft, "||<<", 2160, 495},
            {&w.left, "<<", 2760, 495},      {&w.right, ">>", 3360, 495},         {&w.rright, ">>||", 3960, 495},
            {&w.Command1, print, 4560, 975}};
}

template <class W>
std::vector<Button> previewRow(W& w, const char* zoomIn, const char* reload, int printWidth) {
    return {{&w.Command1, zoomIn, 0, 975},        {&w.Command2, "Zoom out", 1080, 975},
            {&w.Command3, "||<<", 2160, 495},     {&w.Command4, "<<", 2760, 495},
            {&w.Command5, ">>", 3360, 495},       {&w.Command6, ">>||", 3960, 495},
            {&w.Command7, reload, 4560, 975},     {&w.Command8, "Fit Screen", 5640, 1095},
            {&w.Command9, "Print", 6840, printWidth}};
}

TEST_F(Pictures, Barrel) {
    viewdata::writeLabBarrel(path("demo.brl"));
    shared::DisplayBarrelFile = path("demo.brl");
    viewbarrel& w = ui::form<viewbarrel>();
    auto row = displayRow(w, "Print");
    row.push_back({&w.Command2, "Fit screen", 5640, 975});
    open(w, 10000, 3000, row);
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    expectDrawn(image, ops[0]);  // outline
    expectDrawn(image, ops[3]);  // the hopper's opening
    const gfx::DrawOp& bore = ops[1];
    EXPECT_TRUE(backAt(image, (bore.x1 + bore.x2) / 2, (bore.y1 + bore.y2) / 2));
    // The bore's top edge is one pixel thick.
    const int x = static_cast<int>((bore.x1 + bore.x2) / 30);
    int y = static_cast<int>(std::lround(bore.y1 / 15)) - 1;
    while (y < image.height() && QColor(image.pixel(x, y)) != kDrawing) ++y;
    EXPECT_LE(y * 15, bore.y1 + 15);
    EXPECT_EQ(QColor(image.pixel(x, y - 1)), kBack);
    EXPECT_EQ(QColor(image.pixel(x, y + 1)), kBack);
}

TEST_F(Pictures, Screw) {
    viewdata::writeLabScrew(path("demo.srw"));
    shared::DisplayScrewFile = path("demo.srw");
    viewscrew& w = ui::form<viewscrew>();
    auto row = displayRow(w, "print");
    row.push_back({&w.Command2, "Fit Screen", 5640, 1095});
    open(w, 10000, 3000, row);
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    expectDrawn(image, ops[0]);  // root box
    expectDrawn(image, ops[4]);  // the first flight
    EXPECT_TRUE(backAt(image, (ops[0].x1 + ops[0].x2) / 2, ops[0].y1 + 60));
}

TEST_F(Pictures, Die) {
    records::writeDieFile(path("demo.die"), viewdata::labDie());
    viewdie& w = ui::form<viewdie>();
    w.showFile(path("demo.die"), 10000);
    open(w, 10000, 3000, displayRow(w, "Print"));
    EXPECT_EQ(w.Command1.width(), 975);
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    for (std::size_t i : {0u, 4u, 6u}) expectDrawn(image, ops[i]);  // top edge, upper wall, land
    EXPECT_TRUE(backAt(image, 300, 1000));                          // inside the block, above the channel
}

TEST_F(Pictures, Extruder) {
    records::writeExtruderFile(path("lab.ext"), viewdata::labExtruder());
    shared::DisplayExtruderFile = path("lab.ext");
    viewext& w = ui::form<viewext>();
    auto row = displayRow(w, "Print");
    row.push_back({&w.Command2, "Fit Screen", 5640, 975});
    open(w, 10000, 3000, row);
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    expectDrawn(image, ops[0]);   // lower wall of the hopper block
    expectDrawn(image, ops[2]);   // its opening
    expectDrawn(image, ops[22]);  // the die's land
    expectDrawn(image, ops[23]);  // the screw's root
    EXPECT_TRUE(backAt(image, (ops[23].x1 + ops[23].x2) / 2, ops[23].y1 + 60));
}

TEST_F(Pictures, ScrewPreview) {
    const float phi = std::atan(0.3f);
    shared::ScrewDesign = {viewdata::conveying(2, phi, 1), viewdata::kneading(2, 5, 45, 1),
                           viewdata::conveying(2, phi, -1)};
    shared::ScrewDesignRadius = 15;
    shared::ScrewDesignLength = 90;
    shared::ScrewDesignCount = 3;
    mvscrew& w = ui::form<mvscrew>();
    open(w, 8000, 5000, previewRow(w, "Zoon in", "Reload", 1095));
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    expectDrawn(image, ops[0]);
    expectDrawn(image, ops[4]);  // the first flight
    EXPECT_TRUE(backAt(image, (ops[0].x1 + ops[0].x2) / 2, ops[0].y1 + 60));
}

TEST_F(Pictures, BarrelPreview) {
    shared::BarrelDesign = {viewdata::block('V', 120, 40, 60), viewdata::block('P', 120)};
    shared::BarrelDesignLength = 240;
    shared::BarrelDesignCount = 2;
    mvbarrel& w = ui::form<mvbarrel>();
    open(w, 8000, 5000, previewRow(w, "Zoom in", "reload", 975));
    const QImage image = grab(w);
    const auto& ops = w.displayList();
    expectDrawn(image, ops[0]);
    expectDrawn(image, ops[3]);  // the vent's opening
    EXPECT_TRUE(backAt(image, (ops[1].x1 + ops[1].x2) / 2, (ops[1].y1 + ops[1].y2) / 2));
}

}  // namespace
