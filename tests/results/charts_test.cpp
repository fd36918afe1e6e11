// The six charts on the window: value axes by their rules (and where a rule
// has no answer), and each chart's curve built from its pieces.
#include <array>
#include <cmath>
#include <tuple>

#include "simulation/core.h"
#include "tests/results/view_fixture.h"

namespace {

using resulttest::ResultBuilder;

// 8426 twips over a total length of 40 radii.
constexpr double kXScale = 8426.0 / 40.0;

struct Segment {
    double x1, y1, x2, y2;
};

class Charts : public ResultViewRun {
protected:
    // The white segments of the chart area, in drawing order.
    std::vector<Segment> curve() {
        std::vector<Segment> out;
        for (const gfx::DrawOp& op : view().displayList())
            if (op.kind == gfx::OpKind::Segment && op.color == gfx::kWhite && op.y1 < 4500)
                out.push_back({op.x1, op.y1, op.x2, op.y2});
        return out;
    }
    std::vector<std::string> ticks() {
        std::vector<std::string> out;
        dispresult& v = view();
        for (ui::Label* l : {&v.Label11, &v.Label10, &v.Label9, &v.Label8, &v.Label7, &v.Label6, &v.Label5})
            out.push_back(l->caption());
        return out;
    }
    // Expected points given in radii and values, through the chart's y rule.
    template <class Y>
    static void expectCurve(const std::vector<Segment>& got, const std::vector<std::array<double, 4>>& want, Y y) {
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("segment " + std::to_string(i));
            EXPECT_NEAR(got[i].x1, 1290 + want[i][0] * kXScale, 0.01);
            EXPECT_NEAR(got[i].y1, y(want[i][1]), 0.01);
            EXPECT_NEAR(got[i].x2, 1290 + want[i][2] * kXScale, 0.01);
            EXPECT_NEAR(got[i].y2, y(want[i][3]), 0.01);
        }
    }

    // Three elements from 3 to 15 radii (starvation points 1, 2 and 1
    // radii in) and the die-pressure row; melting from element 2 to 2, the
    // profile rows at 7 and 8 radii, the melting ending 1 radius into
    // element 2, before its starvation point.
    static ResultBuilder threeElements() {
        ResultBuilder b;
        const float sp[] = {1, 2, 1};
        const float p[3][3] = {{0, 0, 0.5f}, {1, 2, 3}, {4, 5, 10}};
        const float t[3][3] = {{100, 110, 120}, {120, 125, 130}, {160, 170, 200}};
        const float r[3][3] = {{0, 0.1f, 0.2f}, {0.2f, 0.3f, 0.4f}, {0.4f, 0.5f, 0.8f}};
        const float w[3][3] = {{0, 0.5f, 1}, {1, 1.5f, 2}, {2.5f, 3, 4}};
        for (int i = 0; i < 3; ++i) {
            records::ElementRecord& e = b.element(3 + 4.0f * static_cast<float>(i), 4);
            e.StarvationPoint = sp[i];
            std::tie(e.PressureStart, e.PressureStarvation, e.PressureEnd) = std::tuple(p[i][0], p[i][1], p[i][2]);
            std::tie(e.TempStart, e.TempStarvation, e.TempEnd) = std::tuple(t[i][0], t[i][1], t[i][2]);
            std::tie(e.ResTimeStart, e.ResTimeStarvation, e.ResTimeEnd) = std::tuple(r[i][0], r[i][1], r[i][2]);
            std::tie(e.PowerStart, e.PowerStarvation, e.PowerEnd) = std::tuple(w[i][0], w[i][1], w[i][2]);
        }
        b.endRow().PressureStart = 20;  // the die pressure, drawn in no chart
        b.endRow().TempStart = b.endRow().TempStarvation = b.endRow().TempEnd = 150;
        b.data.runState.MeltStartElement = 2;
        b.data.runState.MeltEndElement = 2;
        b.data.runState.MeltEndPosition = 1;
        b.run().MeltEndElement = 2;
        b.run().ScrewSpeed = 60;
        b.run().TotalThroughput = 10;
        b.row(0) = {7, 1, 0, 120, 1, 0};
        b.row(1) = {8, 0, 1, 150, 1.2f, 0};
        return b;
    }
};

TEST_F(Charts, EachRuleSetsItsAxisTextsAndScale) {
    // Two like elements, so that the values stand among elements 2 .. nE - 1.
    ResultBuilder b;
    for (float start : {3.0f, 13.0f}) {
        records::ElementRecord& e = b.element(start, 10);
        e.TempStart = 150;
        e.TempStarvation = 200;
        e.TempEnd = 250;
        e.ResTimeEnd = 800;
        e.PowerEnd = 4;
        e.PowerStarvation = -1;  // raised to 0 for the axis
    }
    b.row(0).Pressure = 10;
    b.data.runState.MeltStartElement = 3;
    b.run().ScrewSpeed = 60;
    b.run().TotalThroughput = 10;
    dispresult& v = open(write(b));

    // Pressure: e = CInt(log10 11) = 1, step CInt(110 / 6) / 100 = 0.18.
    click(v.Command1);
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "0.18", "0.36", "0.54", "0.72", "0.90", "1.08"}));
    EXPECT_EQ(v.Label13.caption(), "E1 MPa");
    EXPECT_EQ(v.Label12.caption() + "|" + v.Label20.caption(), "P|Pressure");
    EXPECT_TRUE(v.Label13.visible());
    EXPECT_TRUE(v.Label13.transparent() && v.Label20.transparent());  // no background of their own
    EXPECT_NEAR(v.ChartYScale, 1441 / 10.8, 1e-9);
    EXPECT_EQ(v.ChartKind, 1);

    // Temperature 150 to 250: e = 2, from 1.5 by 1.25 / 6 to 2.75; 250 lies
    // 25 below the top of 275 at 1440 / 125 twips a degree.
    click(v.Command2);
    EXPECT_EQ(ticks(), (std::vector<std::string>{"1.50", "1.71", "1.92", "2.13", "2.33", "2.54", "2.75"}));
    EXPECT_EQ(v.Label13.caption(), "E2  C  ");
    EXPECT_EQ(curve().at(1).y2, 2928);

    // Residence time up to 800: 1.25 x 800 = 1000, whose ln / ln 10 lies
    // just below 3: e = 2.
    click(v.Command4);
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "1.67", "3.33", "5.00", "6.67", "8.33", "10.00"}));
    EXPECT_EQ(v.Label13.caption(), "E2 min ");
    EXPECT_EQ(v.Label20.caption(), "Average Residence Time");

    // Power up to 4: 1.25 x 4 = 5 < 10, so e = 0.
    click(v.Command6);
    EXPECT_EQ(v.Label13.caption(), "E0  KW  ");
    EXPECT_EQ(ticks().front() + " " + ticks().back(), "0.00 5.00");
    EXPECT_EQ(v.ChartKind, 5);

    // Torque at 60 RPM: F = 1000 / 2 pi / 2 = 79.577 N m per kW; 4 kW is
    // 318.31 N m, 1.25 x that 397.89: e = 2. SEC = 4 / 10 kWh/kg.
    click(v.Command5);
    EXPECT_EQ(v.Label20.caption(), "Torque    SEC = .4 KWhr/kg");
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "0.66", "1.33", "1.99", "2.65", "3.32", "3.98"}));
    EXPECT_EQ(v.Label13.caption(), "E2  Nm  ");
    EXPECT_EQ(v.Label12.caption(), "M");
    EXPECT_FLOAT_EQ(sim::ScrewSpeedRps, 1.0f);
    EXPECT_EQ(v.ChartKind, 6);

    // Melting: fixed from 0 to 1, no exponent.
    click(v.Command3);
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "0.17", "0.33", "0.50", "0.67", "0.83", "1.00"}));
    EXPECT_FALSE(v.Label13.visible());
    EXPECT_EQ(v.Label12.caption() + "|" + v.Label20.caption(), "A|Melting Profile");

    // A small power whose ticks of exponent 0 differ keeps that exponent;
    // one whose ticks would read alike takes it as the torque does:
    // Int(log10(1.25 x 4E-5)) = Int(-4.3) = -5, ticks up to 5. At 0.04368 kW only
    // the last two ticks of exponent 0 read alike (0.0455 and 0.0546, both
    // "0.05"): Int(log10(0.0546)) = Int(-1.26) = -2, up to 5.46.
    for (const auto& [power, exponent, second, top] :
         {std::tuple(0.05f, "E0  KW  ", "0.01", "0.06"), std::tuple(4e-5f, "E-5  KW  ", "0.83", "5.00"),
          std::tuple(0.04368f, "E-2  KW  ", "0.91", "5.46")}) {
        SCOPED_TRACE(power);
        b.data.elements[0].PowerEnd = b.data.elements[1].PowerEnd = power;
        write(b);
        click(v.Command6);
        EXPECT_EQ(v.Label13.caption(), exponent);
        EXPECT_EQ(ticks().back(), top);
        EXPECT_EQ(ticks().at(1), second);
    }
}

// Where a rule has no answer the axis runs one unit up from the rule's
// bottom with exponent 0.
TEST_F(Charts, UndefinedRulesFallBackToOneUnitFromTheirBottom) {
    ResultBuilder b;
    records::ElementRecord& e = b.element(3, 10);
    e.TempStart = e.TempStarvation = e.TempEnd = 200;
    b.row(1) = {5, 0, 0, 200, 0, 0};
    b.row(0).AverageTemperature = 200;
    b.run().ScrewSpeed = 0;
    dispresult& v = open(write(b));

    click(v.Command1);  // all pressures 0: a flat line at the bottom
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "0.17", "0.33", "0.50", "0.67", "0.83", "1.00"}));
    EXPECT_EQ(v.Label13.caption(), "E0 MPa");
    ASSERT_FALSE(curve().empty());
    for (const Segment& s : curve()) {
        EXPECT_EQ(s.y1, 4080);
        EXPECT_EQ(s.y2, 4080);
    }

    click(v.Command2);  // 200 throughout: from 200 to 201
    EXPECT_EQ(ticks(), (std::vector<std::string>{"200.00", "200.17", "200.33", "200.50", "200.67", "200.83",
                                                 "201.00"}));
    EXPECT_EQ(v.Label13.caption(), "E0  C  ");
    EXPECT_EQ(curve().at(0).y1, 4080);

    click(v.Command4);  // no residence time
    EXPECT_EQ(ticks().back(), "1.00");

    click(v.Command5);  // no speed: the texts, no curve; no throughput: SEC 0
    EXPECT_EQ(v.Label20.caption(), "Torque    SEC = 0 KWhr/kg");
    EXPECT_EQ(v.Label13.caption(), "E0  Nm  ");
    EXPECT_EQ(ticks().back(), "1.00");
    EXPECT_TRUE(curve().empty());
    // On paper the pattern "#0.##0" writes 0 with its digits.
    click(v.Command7);
    ASSERT_EQ(session.backend.printed().size(), 1u);
    EXPECT_EQ(starting(page(0), "text (2280,2320)"),
              (std::vector<std::string>{"text (2280,2320) size=12 fore=0 \"Torque    SEC = 0.000 KWhr/kg\""}));
}

TEST_F(Charts, EachCurveIsBuiltFromItsPiecesInOrder) {
    ResultBuilder b = threeElements();
    dispresult& v = open(write(b));
    // Pressure: max 10 (the die-pressure row is not among the elements
    // 3 .. nE - 1 = 3), top 10.8.
    auto yp = [](double p) { return 2639 + (10.8 - p) * 1441 / 10.8; };
    click(v.Command1);
    expectCurve(curve(), {{7, 0, 8, 1}, {8, 1, 9, 2}, {9, 2, 11, 4}, {11, 4, 12, 5}, {12, 5, 15, 10}}, yp);
    // The melt-end row's pressure before its starvation point is drawn
    // nowhere and sets no axis.
    b.data.elements[1].PressureStart = 30;
    write(b);
    click(v.Command1);
    EXPECT_EQ(ticks().back(), "1.08");
    b.data.elements[1].PressureStart = 1;
    write(b);

    // Temperature 100 to 200: e = 2, bottom 100, top 225.
    auto yt = [](double t) { return 2640 + (225 - t) * 1440 / 125; };
    click(v.Command2);
    expectCurve(curve(),
                {{3, 100, 4, 110}, {4, 110, 7, 120}, {7, 120, 7, 120}, {7, 120, 8, 150}, {8, 150, 11, 160},
                 {11, 160, 12, 170}, {12, 170, 15, 200}},
                yt);

    // Residence time up to 0.8: top 1.
    auto yr = [](double r) { return 2640 + (1 - r) * 1440; };
    click(v.Command4);
    expectCurve(curve(),
                {{3, 0, 4, 0.1}, {4, 0.1, 7, 0.2}, {7, 0.2, 9, 0.3}, {9, 0.3, 11, 0.4}, {11, 0.4, 12, 0.5},
                 {12, 0.5, 15, 0.8}},
                yr);

    // Power 0 to 4: top 5; the torque at 60 RPM lies on the same points.
    auto yw = [](double w) { return 2640 + (5 - w) * 288; };
    const std::vector<std::array<double, 4>> power = {{3, 0, 4, 0.5},     {4, 0.5, 7, 1},   {7, 1, 7, 1},
                                                      {7, 1, 8, 1.2},     {8, 1.2, 9, 1.5}, {9, 1.5, 11, 2.5},
                                                      {11, 2.5, 12, 3},   {12, 3, 15, 4}};
    click(v.Command6);
    expectCurve(curve(), power, yw);
    click(v.Command5);
    expectCurve(curve(), power, yw);

    click(v.Command3);
    expectCurve(curve(), {{7, 1, 8, 0}}, yr);

    // With a die the last two rows are not drawn, yet the die-pressure row
    // now sets the pressure axis: 1.1 x 20 = 22, e = 1, step 0.37.
    b.withDie(1, 0.2f, 2, 0.5f);
    b.data.elements[3].SegmentLength = 2;
    write(b);
    click(v.Command4);
    expectCurve(curve(),
                {{3, 0, 4, 0.1}, {4, 0.1, 7, 0.2}, {7, 0.2, 9, 0.3}, {9, 0.3, 11, 0.4}, {11, 0.4, 12, 0.5},
                 {12, 0.5, 15, 0.8}},
                yr);
    click(v.Command1);
    EXPECT_EQ(ticks().back(), "2.22");
    EXPECT_EQ(curve().size(), 5u);

    // No profile rows after row 0 (M = 0): the element before the melting
    // region joins the element after it.
    b.data.profile.resize(1);
    write(b);
    click(v.Command2);
    expectCurve(curve(), {{3, 100, 4, 110}, {4, 110, 7, 120}, {7, 120, 11, 160}, {11, 160, 12, 170},
                          {12, 170, 15, 200}},
                yt);

    // Melting ending in the last row: the pieces after it have no element.
    b.data.runState.MeltEndElement = 5;
    b.run().MeltEndElement = 5;
    write(b);
    click(v.Command1);
    EXPECT_TRUE(curve().empty());
    click(v.Command2);
    EXPECT_EQ(curve().size(), 2u);
    click(v.Command6);
    expectCurve(curve(), {{3, 0, 4, 0.5}, {4, 0.5, 7, 1}, {7, 1, 7, 1}}, yw);

    // Melting never started: it starts in the end zone after the screw's
    // last row, where it ends at the row's end, and the profile is one point
    // at the screw's end (15 radii) with the end zone's pressure. The rows
    // before the screw's last keep the pressures of the first iteration (up
    // to 10); its last row, from 11 to 15 radii, every iteration revisits:
    // starved to 1 radius in, then up to the end zone's 2 MPa. The chart
    // draws that row whole, from its start over its starvation point to its
    // end, on an axis set by it, the profile point and the end zone's row
    // (max 4: 4.4, e = 1, step CInt(7.33) / 100, top 4.2).
    b.data.runState.MeltStartElement = 4;
    b.data.runState.MeltEndElement = 3;
    b.data.runState.MeltEndPosition = 4;
    b.run().MeltEndElement = 3;
    b.row(0) = {15, 1, 2, 200, 4, 0};
    b.data.elements[1].PressureEnd = 10;
    records::ElementRecord& lastRow = b.data.elements[2];
    std::tie(lastRow.PressureStart, lastRow.PressureStarvation, lastRow.PressureEnd) = std::tuple(0, 0, 2);
    records::ElementRecord& endZone = b.data.elements[3];
    endZone.SegmentStart = 15;
    std::tie(endZone.PressureStart, endZone.PressureStarvation, endZone.PressureEnd) = std::tuple(2, 2, 4);
    write(b);
    click(v.Command1);
    EXPECT_EQ(ticks(), (std::vector<std::string>{"0.00", "0.07", "0.14", "0.21", "0.28", "0.35", "0.42"}));
    EXPECT_EQ(v.Label13.caption(), "E1 MPa");
    expectCurve(curve(), {{11, 0, 12, 0}, {12, 0, 15, 2}},
                [](double p) { return 2639 + (4.2 - p) * 1441 / 4.2; });
    // A last row that needs more pressure at its start than it ends at (a
    // left-handed one, filled throughout) keeps its curve on the axis:
    // max 5, 5.5, e = 1, step CInt(9.17) / 100, top 5.4.
    lastRow.StarvationPoint = 0;
    lastRow.PressureStart = lastRow.PressureStarvation = 5;
    write(b);
    click(v.Command1);
    EXPECT_EQ(ticks().back(), "0.54");
    expectCurve(curve(), {{11, 5, 11, 5}, {11, 5, 15, 2}},
                [](double p) { return 2639 + (5.4 - p) * 1441 / 5.4; });
    // The row drawn is the header's melt-end row, as for every pressure
    // chart; one past the rows draws nothing.
    b.data.runState.MeltStartElement = 3;
    b.data.runState.MeltEndElement = 2;
    write(b);
    click(v.Command1);
    EXPECT_EQ(curve().size(), 2u);
    b.run().MeltEndElement = 9;
    write(b);
    click(v.Command1);
    EXPECT_TRUE(curve().empty());
}

}  // namespace
