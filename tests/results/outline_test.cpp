// The extruder outline under the charts: its frame on the L/D axis, barrel
// blocks, openings and die, and the screw with its flights and disks.
#include <algorithm>
#include <cmath>
#include <limits>

#include "results/extruder_outline.h"
#include "tests/results/view_fixture.h"

namespace {

using resulttest::ResultBuilder;

struct Op {
    char kind;  // 's' segment, 'b' box, 'f' filled box
    double x1, y1, x2, y2;
};

void expectOps(const std::vector<gfx::DrawOp>& got, const std::vector<Op>& want, gfx::Color color) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("operation " + std::to_string(i) + ": " + gfx::dump(got[i]));
        const char kind = got[i].kind == gfx::OpKind::Segment ? 's' : got[i].kind == gfx::OpKind::Box ? 'b' : 'f';
        EXPECT_EQ(kind, want[i].kind);
        EXPECT_EQ(got[i].color, color);
        EXPECT_NEAR(got[i].x1, want[i].x1, 0.01);
        EXPECT_NEAR(got[i].y1, want[i].y1, 0.01);
        EXPECT_NEAR(got[i].x2, want[i].x2, 0.01);
        EXPECT_NEAR(got[i].y2, want[i].y2, 0.01);
    }
}

// The operations below the chart area: the outline.
std::vector<gfx::DrawOp> outlineOf(const dispresult& v) {
    std::vector<gfx::DrawOp> out;
    for (const gfx::DrawOp& op : v.displayList())
        if (op.y1 > 4500 && op.y2 > 4500) out.push_back(op);
    return out;
}

// Screw radius 15 mm, gap 0, total length 40 radii, overhang 1: the ticks
// run from -1.5 to 18.5 L/D, so k = 8425 / (20 x 15 x 2) = 14.041667 twips a
// mm and s k = 210.625 twips a radius; X0 = 1290 + 2 x 1.5 x 15 = 1335 and
// Xb = 1335 + 210.625, rounded: 1546.
TEST_F(ResultViewRun, OutlineDrawsBarrelBlocksOpeningsDieAndScrewOnTheAxialScale) {
    ResultBuilder b;
    b.element(3, 10);
    b.withDie(1, 0.2f, 2, 0.5f);
    b.block("H", 8, 2, 2, 4).block("p", 8, 2).block("D", 2, 2).block("P", 2, 2);
    dispresult& v = open(write(b));
    // Block 1 from 1546 to 1546 + 8 x 210.625; bore 421.25 twips; opening
    // 30 mm wide centred 60 mm in.
    const double bore = 421.25, over = 5300 - 0.1 * bore, top = over - 0.5 * bore, k = 8425.0 / 600;
    const double low1 = 5300 + 1.1 * bore, low2 = 5300 + 1.3 * bore;
    const double xDie = 1546 + 20 * 210.625, yc = 5510.625, h = 463.375;
    const double xc = xDie + 22.5 * k, xo = xc + 7.5 * k;
    expectOps(outlineOf(v),
              {{'b', 1546, low1, 3231, low2},
               {'b', 1546, over - 0.2 * bore, 3231, over},
               {'f', 1546 + 45 * k, top, 1546 + 75 * k, over},
               {'b', 1546 + 37.5 * k, top, 1546 + 82.5 * k, over},
               {'b', 1546 + 33 * k, top, 1546 + 87 * k, over - 0.3 * bore},
               {'b', 3231, low1, 4916, low2},  // "p": lower band only
               {'b', 4916, low1, 5337.25, low2},  // "D" before the last record: lower band only
               {'b', 5337.25, low1, xDie, low2},
               {'b', 5337.25, over - 0.2 * bore, xDie, over},
               {'s', xDie, yc - h, xo, yc - h},
               {'s', xDie, yc + h, xo, yc + h},
               {'s', xDie, yc + h, xDie, yc - h},
               {'s', xo, yc + h, xo, yc - h},
               {'s', xDie, yc - 105.3125, xc, yc - 21.0625},
               {'s', xDie, yc + 105.3125, xc, yc + 21.0625},
               {'b', xc, yc - 21.0625, xo, yc + 21.0625},
               {'b', 1335, 5300, 1966.875, 5721.25},
               {'s', 1335, 5300, 1966.875, 5721.25},
               {'s', 1335, 5721.25, 1966.875, 5300},
               {'s', 1966.875, 5300, 1966.875 + 0.577 * 210.625, yc},
               {'s', 1966.875, 5721.25, 1966.875 + 0.577 * 210.625, yc}},
              gfx::kWhite);

    // The barrel header alone: the screw only. A die as the only block: its
    // entrance at Xb.
    b.data.barrel.resize(1);
    write(b);
    click(v.Command4);
    EXPECT_EQ(outlineOf(v).size(), 5u);
    b.withDie(1, 0.2f, 2, 0.5f);
    write(b);
    click(v.Command4);
    ASSERT_EQ(outlineOf(v).size(), 12u);
    EXPECT_EQ(outlineOf(v)[0].x1, 1546);

    // No radius, or an origin beyond 16 bits: no outline, the rest drawn.
    b.data.screw[0].headerScrewDiameter() = 0;
    write(b);
    click(v.Command4);
    EXPECT_TRUE(outlineOf(v).empty());
    EXPECT_GT(v.displayList().size(), 20u);
    b.data.screw[0].headerScrewDiameter() = 30;
    b.extruder().BarrelOverhang = 200;  // Xb = 1335 + 200 x 210.625
    write(b);
    click(v.Command4);
    EXPECT_TRUE(outlineOf(v).empty());
}

// The window's outline is cut to the pixels of its frame (x 120 to 10560,
// y 4920 to 6120: the frame's last pixel lies 15 twips before its right and
// bottom edges). A screw that starts 7 radii before the barrel: X0 = 1290 -
// 7 x 210.625 - 2 x 2 x 15 = -244, left of the window, so the root's edges
// begin at 120. A die entrance or a first element of 1e18: the cut ends
// stay in the frame, and the element's edges run from its start to the
// frame's right edge. An opening at a location that is no number is left
// out, and the rest is drawn. A bore of 3.25 radii puts the lower wall band
// at 6052.98 to 6189.89: its sides end on the frame's bottom edge. The
// printed outline is cut to the page's frame around it (x 120 to 10575, y
// 4935 to 6150).
TEST_F(ResultViewRun, TheOutlineDrawsNothingOutsideItsFrameOnTheWindowOrOnPaper) {
    ResultBuilder early, die, element, nan, deep;
    early.extruder().Gap = -7;
    die.withDie(1e18f, 0.2f, 2, 0.5f);
    element.screwElement("s", 1e18f);
    nan.block("H", 8, 2, 2, std::numeric_limits<float>::quiet_NaN()).block("P", 8, 2);
    deep.block("P", 8, 3.25f);
    for (ResultBuilder* b : {&early, &die, &element, &nan, &deep}) {
        b->element(3, 10);
        dispresult& v = open(write(*b));
        const std::vector<gfx::DrawOp> ops = outlineOf(v);
        ASSERT_FALSE(ops.empty());
        for (const gfx::DrawOp& op : v.displayList()) {
            if (std::max(op.y1, op.y2) < 4500) continue;  // the charts end above; the rest is the outline
            EXPECT_TRUE(std::min(op.x1, op.x2) >= 120 && std::max(op.x1, op.x2) <= 10560 &&
                        std::min(op.y1, op.y2) >= 4920 && std::max(op.y1, op.y2) <= 6120) << gfx::dump(op);
        }
        if (b == &early) {  // the root's top edge from the frame on
            EXPECT_EQ(gfx::dump(ops[0]), "segment (120,5300)-(387.875,5300) color=16777215 width=1");
        }
        if (b == &element) {  // the element's top and bottom edges, after the root's box and diagonals
            ASSERT_GE(ops.size(), 5u);
            EXPECT_EQ(gfx::dump(ops[3]), "segment (1966.875,5300)-(10560,5300) color=16777215 width=1");
            EXPECT_EQ(gfx::dump(ops[4]), "segment (10560,5721.25)-(1966.875,5721.25) color=16777215 width=1");
        }
        if (b == &nan) {  // the two wall bands of each block, the root's box and diagonals, the tip
            EXPECT_EQ(ops.size(), 2u + 2u + 3u + 2u);
        }
        if (b == &deep) {  // the lower band's sides after its top edge; its bottom edge is left out
            ASSERT_GE(ops.size(), 3u);
            EXPECT_EQ(gfx::dump(ops[1]), "segment (3231,6052.9844)-(3231,6120) color=16777215 width=1");
            EXPECT_EQ(gfx::dump(ops[2]), "segment (1546,6120)-(1546,6052.9844) color=16777215 width=1");
        }
        click(v.Command1);
        click(v.Command7);
        for (const gfx::DrawOp& op : session.backend.printed().back().pages.at(0)) {
            if (op.color != gfx::kBlack || op.kind == gfx::OpKind::Text || std::max(op.y1, op.y2) < 4500) continue;
            EXPECT_TRUE(std::min(op.x1, op.x2) >= 120 && std::max(op.x1, op.x2) <= 10575 &&
                        std::min(op.y1, op.y2) >= 4935 && std::max(op.y1, op.y2) <= 6150) << gfx::dump(op);
        }
        // On paper the cut lines end on the frame's left, right and bottom
        // lines, not inside them.
        const std::vector<std::string> paper = lines(gfx::dump(session.backend.printed().back().pages.at(0)));
        auto printed = [&](const std::string& op) {
            return std::count(paper.begin(), paper.end(), op + " color=0 width=1");
        };
        EXPECT_EQ(printed("segment (120,5300)-(387.875,5300)"), b == &early ? 1 : 0);
        EXPECT_EQ(printed("segment (1966.875,5300)-(10575,5300)"), b == &element ? 1 : 0);
        EXPECT_EQ(printed("segment (3231,6052.9844)-(3231,6150)"), b == &deep ? 1 : 0);
        close();
    }
}

// The screw painter on its own, with s and k chosen so that widths and
// pitches come out in round twips.
class ScrewOutline : public ::testing::Test {
protected:
    // k = 8425 / (span x s x 2) = 1 twip a mm for the given radius.
    std::vector<gfx::DrawOp> draw(float radius, std::vector<records::ScrewRec> elements) {
        records::OneBasedList<records::ScrewRec> screw;
        screw.items() = std::move(elements);
        const results::OutlineInput in{barrel_, screw, radius, 0, static_cast<float>(8425.0 / (2.0 * radius)), 0, 0};
        gfx::WindowTarget target;
        results::drawExtruderOutline(target, gfx::kBlack, in);
        const auto& ops = target.displayList().ops();
        // Without the root's box and diagonals and the tip.
        if (ops.size() < 5) return {};
        return std::vector<gfx::DrawOp>(ops.begin() + 3, ops.end() - 2);
    }
    static records::ScrewRec element(const char* kind, float length, std::int16_t hand, float helix = 0,
                                     std::int16_t disks = 0, float stagger = 0) {
        records::ScrewRec e;
        e.Kind = kind;
        e.Length = length;
        e.Hand = hand;
        e.HelixAngle = helix;
        e.Disks = disks;
        e.StaggerAngle = stagger;
        return e;
    }
    // The helix angle whose pitch pi s k tan(angle) is p twips.
    static float helixFor(double pitch, double sk) { return static_cast<float>(std::atan(pitch / (3.141592654 * sk))); }

    std::vector<records::BarrelRec> barrel_{records::BarrelRec{}};
};

TEST_F(ScrewOutline, FlightsFollowThePitchAndDisksTheStagger) {
    // s = 1: the band is 2 twips high, the root 3 twips long, A = 1290 + 3.
    // Pitch 30 over 100 twips: three flights ending at A + 30, 60, 90.
    expectOps(draw(1, {element("s", 100, 1, helixFor(30, 1))}),
              {{'b', 1293, 5300, 1393, 5302},
               {'s', 1293, 5300, 1323, 5302},
               {'s', 1323, 5300, 1353, 5302},
               {'s', 1353, 5300, 1383, 5302}},
              gfx::kBlack);
    expectOps(draw(1, {element("s", 100, -1, helixFor(30, 1))}),
              {{'b', 1293, 5300, 1393, 5302},
               {'s', 1293, 5302, 1323, 5300},
               {'s', 1323, 5302, 1353, 5300},
               {'s', 1353, 5302, 1383, 5300}},
              gfx::kBlack);
    // A pitch beyond the element: one flight into the next element.
    expectOps(draw(1, {element("s", 20, 1, helixFor(30, 1))}),
              {{'b', 1293, 5300, 1313, 5302}, {'s', 1293, 5300, 1323, 5302}}, gfx::kBlack);

    // s = 10: band 20 twips high, root 30 long, A = 1320; disks 25 wide.
    // Crests at 1 - cos(0, 45, 90, 135 degrees) radii below the top.
    const double a = 1320, c45 = 10 * (1 - std::cos(3.141592654 / 4)), c135 = 10 * (1 + std::cos(3.141592654 / 4));
    expectOps(draw(10, {element("k", 10, 1, 0, 4, 45)}),
              {{'b', a, 5300, a + 100, 5320},
               {'s', a, 5300, a, 5320},      {'s', a, 5300, a + 25, 5300},
               {'s', a + 25, 5300, a + 25, 5320}, {'s', a + 25, 5300 + c45, a + 50, 5300 + c45},
               {'s', a + 50, 5300, a + 50, 5320}, {'s', a + 50, 5310, a + 75, 5310},
               {'s', a + 75, 5300, a + 75, 5320}, {'s', a + 75, 5300 + c135, a + 100, 5300 + c135}},
              gfx::kBlack);
    const std::vector<gfx::DrawOp> left = draw(10, {element("k", 10, -1, 0, 4, 45)});
    ASSERT_EQ(left.size(), 9u);
    EXPECT_NEAR(left[2].y1, 5320, 0.01);
    EXPECT_NEAR(left[4].y1, 5300 + c135, 0.01);
    EXPECT_NEAR(left[8].y1, 5300 + c45, 0.01);
    // Without hand, five disks of 20: centre-line crests on disks 0, 2, 4.
    expectOps(draw(10, {element("k", 10, 0, 0, 5, 45)}),
              {{'b', a, 5300, a + 100, 5320},
               {'s', a, 5300, a, 5320},           {'s', a, 5310, a + 20, 5310},
               {'s', a + 20, 5300, a + 20, 5320}, {'s', a + 40, 5300, a + 40, 5320},
               {'s', a + 40, 5310, a + 60, 5310}, {'s', a + 60, 5300, a + 60, 5320},
               {'s', a + 80, 5300, a + 80, 5320}, {'s', a + 80, 5310, a + 100, 5310}},
              gfx::kBlack);
    // Eight disks in 5 twips: only those with j x 0.625 + 1 <= 5, j = 0 .. 6.
    EXPECT_EQ(draw(10, {element("k", 0.5f, 1, 0, 8, 30)}).size(), 1u + 2 * 7);

    // Elements without a drawing rule are their box alone; the next one
    // starts after them.
    for (const records::ScrewRec& bare : {element("s", 10, 0, helixFor(30, 10)), element("S", 10, 1, helixFor(30, 10)),
                                          element("s", 10, 1, 0), element("s", 10, 1, -0.4f),
                                          element("k", 10, 1, 0, 0, 45), element("k", 10, 1, 0, -3, 45),
                                          element("x", 10, 1, 0, 4, 45)}) {
        const std::vector<gfx::DrawOp> ops = draw(10, {bare, element("s", 10, 0)});
        ASSERT_EQ(ops.size(), 2u);
        EXPECT_EQ(ops[1].x1, a + 100);
    }
    // 32767 flights are drawn; an element that needs one more is its box.
    EXPECT_EQ(draw(10, {element("s", 3276.7f, 1, helixFor(1, 10))}).size(), 1u + 32767);
    EXPECT_EQ(draw(10, {element("s", 3276.8f, 1, helixFor(1, 10))}).size(), 1u);
}

// Elements that each ask for tens of thousands of lines: the outline draws
// 65536 flight and disk lines at most, and from the first element that would
// pass them every element is its box alone.
TEST_F(ScrewOutline, FlightsAndDisksOfOneOutlineStayWithinABudget) {
    // s = 10, k = 1: an element of 3276.7 radii is 32767 twips wide; at a
    // pitch of 1 twip it has 32767 flights (t - 0.1 <= 32767).
    const records::ScrewRec dense = element("s", 3276.7f, 1, helixFor(1, 10));
    const std::vector<gfx::DrawOp> ops = draw(10, {dense, dense, dense, element("k", 10, 1, 0, 4, 45)});
    ASSERT_EQ(ops.size(), 4u + 2 * 32767);
    // After the root (1320) three elements of 32767 twips: the block at
    // 1320 + 98301 is its box alone, as is the third element before it.
    EXPECT_EQ(gfx::dump(ops.back()), "box (99621,5300)-(99721,5320) color=0 width=1");
    EXPECT_EQ(gfx::dump(ops[ops.size() - 2]), "box (66854,5300)-(99621,5320) color=0 width=1");

    // 32767 disks of 1 twip take 2 x 32767 lines; the 3 flights after them
    // no longer fit the 2 lines left.
    const std::vector<gfx::DrawOp> disks =
        draw(10, {element("k", 3276.7f, 1, 0, 32767, 0), element("s", 10, 1, helixFor(30, 10))});
    ASSERT_EQ(disks.size(), 2u + 2 * 32767);
    EXPECT_EQ(gfx::dump(disks.back()), "box (34087,5300)-(34187,5320) color=0 width=1");
}

}  // namespace
