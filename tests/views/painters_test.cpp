// The painters against drawings worked out by hand: every coordinate below
// comes from the geometry of the element, not from running the painter.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "drawing_check.h"
#include "platform/rt/error.h"
#include "views/navigation.h"
#include "views/painters.h"
#include "views_data.h"

namespace {

using viewdata::conveying;
using viewdata::draws;
using viewdata::kneading;

// R 15 mm at 10 twips/mm: the band is 300 twips high, the root 450 long.
// "s" 2 radii (300 twips), tan φ 0.3: spacing p = π·15·10·0.3 = 141.372, two
// lines. "s" 0.6 radii (90 twips), left-handed: one line, which the window
// cuts at 940, 1300 + (141.372 − 90)·(2 − 0.3) = 1387.332 high. "k" 2 radii,
// 5 disks of 60 twips, 45°: heights 1300 + 150·(1 − cos 45°·j).
TEST(Painters, ScrewWithFlightsDisksAndHeadOnWindowAndPaper) {
    const float phi = std::atan(0.3f);
    const std::vector<records::ScrewRec> screw = {conveying(2, phi, 1), conveying(0.6f, phi, -1),
                                                  kneading(2, 5, 45, 1)};
    const char* root = "box 100 1300 550 1600  seg 100 1300 550 1600  seg 100 1600 550 1300 ";
    const char* first = "box 550 1300 850 1600  seg 550 1300 691.372 1600  seg 691.372 1300 832.743 1600 ";
    const char* rest =
        "box 940 1300 1240 1600"
        "  seg 940 1300 940 1600    seg 940 1300 1000 1300"
        "  seg 1000 1300 1000 1600  seg 1000 1343.934 1060 1343.934"
        "  seg 1060 1300 1060 1600  seg 1060 1450 1120 1450"
        "  seg 1120 1300 1120 1600  seg 1120 1556.066 1180 1556.066"
        "  seg 1180 1300 1180 1600  seg 1180 1600 1240 1600"
        "  seg 1240 1300 1326.55 1450  seg 1240 1600 1326.55 1450";
    gfx::WindowTarget window, paper;
    views::PaintScrew(window, 15, 10, 100, 1300, screw, true);
    views::PaintScrew(paper, 15, 10, 100, 1300, screw, false);
    EXPECT_TRUE(draws(viewdata::lines(window.displayList()),
                      std::string(root) + first + "box 850 1300 940 1600  seg 850 1600 940 1387.332 " + rest));
    EXPECT_TRUE(draws(viewdata::lines(paper.displayList()),
                      std::string(root) + first + "box 850 1300 940 1600  seg 850 1600 991.372 1300 " + rest));
}

// Hopper D 30, L 100, opening 40 wide centred 50 in, at 10 twips/mm from
// x 100 with the bore's top at 1300: outline 0.1 D, wall 0.3 D beyond the
// bore; opening and port box (60 wide) from 0.6 D above the bore to the
// outline, flange box (72 wide) to 0.4 D above it. A lower-case "p" is no
// type: outline and bore only, starting after the hopper.
TEST(Painters, BarrelBlocksInBothOrders) {
    const std::vector<records::BarrelRec> blocks = {viewdata::block('H', 100, 40, 50), viewdata::block('p', 50)};
    const char* outline = "box 100 1270 1100 1630  box 100 1300 1100 1600 ";
    const char* type =
        "box 100 1210 1100 1690  fill 400 1120 800 1270  box 300 1120 900 1270  box 240 1120 960 1180 ";
    const char* lower = "box 1100 1270 1600 1630  box 1100 1300 1600 1600";
    gfx::WindowTarget window, paper;
    views::PaintBarrel(window, blocks, 10, 100, 1300, views::BarrelOrder::OutlineFirst);
    views::PaintBarrel(paper, blocks, 10, 100, 1300, views::BarrelOrder::TypeFirst);
    EXPECT_TRUE(draws(viewdata::lines(window.displayList()), std::string(outline) + type + lower));
    EXPECT_TRUE(draws(viewdata::lines(paper.displayList()), std::string(type) + outline + lower));
}

// R 10 mm at 2 twips/mm (r = 20), root at 500, top line 1000; gap 1 and
// overhang 2 radii put the barrel 20 twips right of the root. Hopper block
// D 2, L 5, opening 1 wide centred 2.5 in (d 40, b 100, w 20, c 50); the die
// 2, 1, 1, 3 radii (20, 10, 10, 30 mm) follows at 620 about the axis 1020,
// 2.2 r = 44 high each side; a neutral block of 2 disks, then the head.
TEST(Painters, ExtruderBarrelDieAndScrewInPlace) {
    records::ExtruderFileContent x;
    x.header.Gap = 1;
    x.header.BarrelOverhang = 2;
    x.barrel = {records::BarrelRec{}, viewdata::block('H', 5, 1, 2.5f), records::BarrelRec{}};
    x.barrel[1].BoreDiameter = 2;
    x.barrel[2].Type = "D";
    x.barrel[2].dieEntranceDiameter() = 2;
    x.barrel[2].dieCapillaryDiameter() = 1;
    x.barrel[2].dieCapillaryZoneLength() = 1;
    x.barrel[2].dieTotalLength() = 3;
    x.screw = {records::ScrewRec{}, records::screwRootRecord(), kneading(1, 2, 90, 0), records::screwHeadRecord()};
    gfx::WindowTarget t;
    views::PaintExtruder(t, x, {10, 2, 500, 1000, true});
    EXPECT_TRUE(draws(viewdata::lines(t.displayList()),
                      "box 520 1052 620 1044  box 520 988 620 996"
                      "  fill 560 976 580 996  box 555 976 585 996  box 552 976 588 984"
                      "  seg 620 976 680 976  seg 620 1064 680 1064  seg 620 1064 620 976  seg 680 1064 680 976"
                      "  seg 620 1000 660 1010  seg 620 1040 660 1030  box 660 1010 680 1030"
                      "  box 500 1000 560 1040  seg 500 1000 560 1040  seg 500 1040 560 1000"
                      "  box 560 1000 580 1040  seg 560 1000 560 1040  seg 560 1020 570 1020"
                      "  seg 570 1000 570 1040"
                      "  seg 580 1000 591.54 1020  seg 580 1040 591.54 1020"));
}

// Elements with no sequence of lines show their box and the screw goes on;
// an element stops at 32767 lines, a screw at 8 × 32768; a coordinate
// beyond the single range ends the painting with an overflow before anything
// non-finite is drawn.
TEST(Painters, RunAwayElementsStayBounded) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<records::ScrewRec> odd = {conveying(2, 0, 1),    conveying(2, -0.5f, -1), conveying(2, nan, 1),
                                                kneading(2, 0, 45, 1), kneading(2, -3, 45, -1), conveying(2, 1.5707963f, 1)};
    gfx::WindowTarget t;
    views::PaintScrew(t, 15, 10, 0, 0, odd, true);
    // Root 3 operations, a box each, head 2; the last element's spacing is
    // about 1.1e10 twips: one line, cut at its element's end.
    EXPECT_EQ(t.displayList().size(), 3u + odd.size() + 1 + 2);

    t.clear();
    views::PaintScrew(t, 15, 10, 0, 0, std::vector{conveying(1.0e6f, 0.001f, 1)}, false);
    EXPECT_EQ(t.displayList().size(), 3u + 1 + 32767 + 2);
    // Ten such elements: eight full ones and 8 lines of the ninth make the
    // whole screw's 8 × 32768; the tenth shows its box, the head follows.
    t.clear();
    views::PaintScrew(t, 15, 10, 0, 0, std::vector(10, conveying(1.0e6f, 0.001f, 1)), false);
    EXPECT_EQ(t.displayList().size(), 3u + 10 + 8 * 32768 + 2);

    t.clear();
    try {
        views::PaintScrew(t, 15, 10, 0, 0, std::vector{conveying(2, 0.3f, 1), conveying(1.0e38f, 0.3f, 1)}, true);
        ADD_FAILURE() << "no overflow";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::kOverflow);
    }
    EXPECT_EQ(t.displayList().size(), 3u + 3);  // root, then the first element's box and two flights
    for (const gfx::DrawOp& op : t.displayList())
        EXPECT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) && std::isfinite(op.y2));
}

// Zoom stops repainting at exactly 300 and turns ≤ 0 into 1.0 unpainted; a
// 16-bit offset stops at its limits; "<<" of the barrel view stays still
// when it reaches exactly 30000.
TEST(Painters, NavigationRules) {
    int repaints = 0;
    views::ViewNavigation barrel({600, 200, false, true}, [&] { ++repaints; });
    barrel.scale = 299.5f;
    barrel.zoomIn();
    EXPECT_EQ(barrel.scale, 300.0f);
    EXPECT_EQ(repaints, 0);
    barrel.zoomIn();
    EXPECT_EQ(repaints, 1);
    barrel.scale = 0.5f;
    barrel.zoomOut();
    EXPECT_EQ(barrel.scale, 1.0f);
    EXPECT_EQ(repaints, 1);
    barrel.setOffset(29800);
    barrel.panRight();
    EXPECT_EQ(barrel.offset(), 30000.0f);
    EXPECT_EQ(repaints, 1);
    barrel.panRight();
    EXPECT_EQ(repaints, 2);

    views::ViewNavigation whole({200, 20, true, false}, [&] { ++repaints; });
    whole.setOffset(-32700);
    for (int i = 0; i < 4; ++i) whole.panLeft();
    EXPECT_EQ(whole.offset(), -32768.0f);
    EXPECT_EQ(repaints, 6);

    EXPECT_EQ(views::fittedScale(9500, 0), 1.0f);
    EXPECT_EQ(views::fittedScale(9500, -600), 1.0f);
    EXPECT_EQ(views::fittedScale(9500, std::numeric_limits<double>::quiet_NaN()), 1.0f);
    EXPECT_EQ(views::fittedScale(9500, 1.0e-300), 1.0f);
}

}  // namespace
