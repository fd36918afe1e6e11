// The result view's load: the frame drawn from a result file, the shared
// state it takes over, the once-per-opening vent-flushing warning, and the
// files it refuses.
#include <array>
#include <filesystem>
#include <limits>

#include "results/result_frame.h"
#include "tests/results/view_fixture.h"

namespace {

using resulttest::ResultBuilder;

constexpr const char* kWarning =
    "Warning : Vent Flushing occurs. Throughtput may be too\n"
    "              high or left handed element appears in vent region.";

// Ltot 40 radii: 8426 / 40 = 210.65 twips a radius. Element 1 from 3 to 13
// radii with its starvation point 4 radii in: x 1290 + 631.95, 1290 +
// 1474.55, 1290 + 2738.45. Fill 0.5 leaves 360.5 of the 721 twips empty.
TEST_F(ResultViewRun, LoadDrawsTheFrameFromTheFileAndTakesOverItsCodeAndPorts) {
    ResultBuilder b;
    b.data.header.Code = " LAB30";
    records::ElementRecord& e = b.element(3, 10);
    e.StarvationPoint = 4;
    e.FillLeft = 0.5f;
    e.FillRight = 1.0f;
    b.endRow().SegmentLength = 5;  // the last row is never drawn
    b.endRow().FillLeft = b.endRow().FillRight = 0.7f;
    b.data.ports.resize(2);
    b.data.ports[1].FlowRate = 12.5f;
    shared::ExtruderCategory = "OTHER";
    shared::PortRecords.resize(5);

    dispresult& v = open(write(b));
    const std::vector<std::string> expected = {
        "segment (1290,1540)-(9716,1540) color=128 width=1",
        "segment (1290,1660)-(9716,1660) color=128 width=1",
        "segment (1290,1780)-(9716,1780) color=128 width=1",
        "segment (1290,1900)-(9716,1900) color=128 width=1",
        "segment (1290,2020)-(9716,2020) color=128 width=1",
        "fill (1921.95,2141)-(2764.55,1780.5) color=13158600 width=1",
        "fill (2764.55,2141)-(4028.45,1420) color=13158600 width=1",
        "box (1290,1420)-(9715,2140) color=65535 width=1",
        "box (1290,2900)-(9715,2900) color=128 width=1",
        "box (1290,3140)-(9715,3140) color=128 width=1",
        "box (1290,3380)-(9715,3380) color=128 width=1",
        "box (1290,3620)-(9715,3620) color=128 width=1",
        "box (1290,3860)-(9715,3860) color=128 width=1",
        "box (2130,2660)-(2130,4100) color=128 width=1",
        "box (2970,2660)-(2970,4100) color=128 width=1",
        "box (3810,2660)-(3810,4100) color=128 width=1",
        "box (4650,2660)-(4650,4100) color=128 width=1",
        "box (5490,2660)-(5490,4100) color=128 width=1",
        "box (6330,2660)-(6330,4100) color=128 width=1",
        "box (7170,2660)-(7170,4100) color=128 width=1",
        "box (8010,2660)-(8010,4100) color=128 width=1",
        "box (8850,2660)-(8850,4100) color=128 width=1",
        "box (1290,2660)-(9715,4100) color=65535 width=1",
    };
    const std::vector<std::string> drawn = drawing();
    ASSERT_GT(drawn.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(drawn.begin(), drawn.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(starting(drawn, "fill").size(), 2u);

    // Gap 0: ticks from -(0 + 3) / 2 in steps of 40 / 5 / 2 L/D.
    std::vector<std::string> ticks;
    for (ui::Label* l : {&v.Label14, &v.Label15, &v.Label16, &v.Label17, &v.Label18, &v.Label19})
        ticks.push_back(l->caption());
    EXPECT_EQ(ticks, (std::vector<std::string>{"-1.50", "2.50", "6.50", "10.50", "14.50", "18.50"}));
    // Ltot 40.6 radii (a single just below 40.6): a fifth of it times 100 is
    // 812 in single precision, so the last tick is -1.5 + 5 x 4.06 = 18.8.
    const std::array<float, 6> decimal = results::axialTicks(0, 40.6f);
    EXPECT_EQ(results::axialTickText(1, decimal[1]) + " " + results::axialTickText(5, decimal[5]), "2.56 18.80");
    EXPECT_EQ(v.Label5.caption() + v.Label11.caption() + v.Label1.caption() + v.Label2.caption(), "0.090.03f1.0");
    EXPECT_FALSE(v.Label13.visible());

    EXPECT_EQ(v.caption(), "LAB30     " + shared::ResultFile);
    EXPECT_EQ(v.Label23.caption(), shared::ResultFile);
    EXPECT_EQ(v.backColor(), gfx::rgb(0, 0, 97));
    EXPECT_EQ(v.width(), 10785);
    EXPECT_EQ(v.height(), 7215);
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    ASSERT_EQ(shared::PortRecords.count(), 2);
    EXPECT_EQ(shared::PortRecords.at(2).FlowRate, 12.5f);
    EXPECT_FLOAT_EQ(v.OutlineRadius, 15);
}

// Watches the window's drawing at the moment each message box shows.
class WatchingBackend : public headless::Backend {
public:
    int messageBox(const ui::MessageBoxRequest& request) override {
        drawnAtMessage.push_back(headless::Driver::dump(ui::form<dispresult>()));
        return headless::Backend::messageBox(request);
    }
    std::vector<std::string> drawnAtMessage;
};

TEST_F(ResultViewRun, VentFlushingIsWarnedOncePerOpeningAfterTheStripBoxes) {
    WatchingBackend watching;
    ui::app().setBackend(&watching);
    struct Restore {
        headless::Backend& backend;
        ~Restore() {
            ui::app().reset();
            ui::app().setBackend(&backend);
        }
    } restore{session.backend};
    ResultBuilder over;
    over.element(3, 10).FillLeft = 1.2f;
    const std::string overfilled = write(over, "over.flw");
    ResultBuilder full;
    records::ElementRecord& e = full.element(3, 10);
    e.FillLeft = e.FillRight = 1.0f;
    const std::string exactlyFull = write(full, "full.flw");

    watching.script().ok(kWarning, "Caution!");
    dispresult& v = open(overfilled);
    ASSERT_EQ(watching.messages().size(), 1u);
    EXPECT_EQ(watching.messages()[0].request.icon, ui::kCritical);
    const std::vector<std::string> atWarning = lines(watching.drawnAtMessage[0]);
    ASSERT_FALSE(atWarning.empty());
    EXPECT_EQ(atWarning.back(), "fill (1921.95,2141)-(4028.45,1420) color=16777215 width=1");
    EXPECT_EQ(starting(drawing(), "fill (1921.95,2141)-(1921.95,1420) color=16777215"), (std::vector<std::string>{
        "fill (1921.95,2141)-(1921.95,1420) color=16777215 width=1"}));

    click(v.Command1);  // the second load of the opening is silent
    click(v.Command7);
    close();
    watching.script().ok(kWarning, "Caution!");
    open(overfilled);
    EXPECT_EQ(watching.messages().size(), 2u);

    // A file replaced during the opening is drawn as it is now, silently;
    // a fill of exactly 1 is grey at full height.
    close();
    open(exactlyFull);
    std::filesystem::copy_file(overfilled, exactlyFull, std::filesystem::copy_options::overwrite_existing);
    click(v.Command2);
    EXPECT_EQ(starting(drawing(), "fill").front(), "fill (1921.95,2141)-(1921.95,1420) color=16777215 width=1");
    close();
    full.write(exactlyFull);
    open(exactlyFull);
    EXPECT_EQ(starting(drawing(), "fill").front(), "fill (1921.95,2141)-(1921.95,1420) color=13158600 width=1");
    EXPECT_EQ(watching.messages().size(), 2u);
    EXPECT_TRUE(watching.script().done());
}

TEST_F(ResultViewRun, AFileThatCannotBeShownChangesNothingAndChartsStop) {
    ResultBuilder good;
    good.element(3, 10).PressureEnd = 2;
    good.data.ports.resize(1);
    dispresult& v = open(write(good, "good.flw"));
    close();
    shared::ExtruderCategory = "KEPT";
    shared::PortRecords.resize(3);
    const std::vector<records::ElementRecord> loaded = v.ViewElements.items();

    auto refused = [&](const std::string& file, const std::string& message) {
        SCOPED_TRACE(file);
        session.script.ok(message, "Result View");
        open(file);
        session.expectScriptDone();
        EXPECT_TRUE(v.isVisible());
        EXPECT_EQ(v.width(), 10785);
        EXPECT_EQ(v.backColor(), gfx::rgb(0, 0, 97));
        EXPECT_TRUE(drawing().empty());
        EXPECT_EQ(v.caption(), "Velkor-twin Screw");
        EXPECT_EQ(v.Label23.caption(), "");
        EXPECT_EQ(shared::ExtruderCategory, "KEPT");
        EXPECT_EQ(shared::PortRecords.count(), 3);
        EXPECT_EQ(v.ViewElements.items(), loaded);
        EXPECT_EQ(v.VentWarningShown, 0);
        // A chart after the failed load draws nothing from the old state.
        session.script.ok(message, "Result View");
        click(v.Command1);
        EXPECT_TRUE(drawing().empty());
        EXPECT_EQ(v.ChartKind, 1);
        close();
    };
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    auto variant = [&](const std::string& name, auto change) {
        ResultBuilder b = good;
        change(b);
        return write(b, name);
    };
    refused(variant("marker.flw", [](ResultBuilder& b) { b.data.header.Marker = records::markerFor(records::FileKind::Extruder); }),
            "Incorrect file format.");
    refused(variant("norows.flw", [](ResultBuilder& b) { b.data.elements.clear(); }), "Incorrect file format.");
    refused(variant("noroot.flw", [](ResultBuilder& b) { b.data.screw.pop_back(); }), "Incorrect file format.");
    refused(variant("nobarrel.flw", [](ResultBuilder& b) { b.data.barrel.clear(); }), "Incorrect file format.");
    for (float length : {0.0f, -4.0f, nan, inf})
        refused(variant("length.flw", [&](ResultBuilder& b) { b.extruder().TotalLength = length; }),
                "Incorrect file format.");
    refused(variant("gap.flw", [&](ResultBuilder& b) { b.extruder().Gap = nan; }), "Incorrect file format.");
    const std::string cut = variant("cut.flw", [](ResultBuilder&) {});
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 7);
    refused(cut, "Incorrect file format.");
    refused(path("missing.flw"), path("missing.flw") + "\nFile not found");
}

// Values no calculation writes, in a well-formed file: nothing crashes, no
// NaN or infinity is drawn, fills below 0 are empty and nothing leaves the
// strip.
TEST_F(ResultViewRun, WildValuesAreDrawnInsideTheFrameOrLeftOut) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    ResultBuilder b;
    records::ElementRecord& low = b.element(-5, 8);  // starts before the strip
    low.FillLeft = -3;
    low.FillRight = nan;
    records::ElementRecord& wild = b.element(3, 1e30f);
    wild.StarvationPoint = 2;
    wild.PressureStart = inf;
    wild.TempEnd = nan;
    wild.PowerStarvation = -inf;
    b.element(3, 2).ResTimeEnd = 3e38f;
    b.row(1).Pressure = nan;
    b.data.runState.MeltStartElement = 900;
    b.data.runState.MeltEndElement = -4;
    b.run().MeltEndElement = 32767;
    b.run().ScrewSpeed = nan;
    b.run().TotalThroughput = -1;
    b.screwElement("k", 2).Disks = 0;
    b.screwElement("s", 2).HelixAngle = -0.3f;
    b.screwElement("s", inf).HelixAngle = 0.4f;
    b.screwElement("k", inf).Disks = 5;

    dispresult& v = open(write(b));
    auto everyChart = [&] {
        for (ui::CommandButton* c : {&v.Command1, &v.Command2, &v.Command3, &v.Command4, &v.Command6, &v.Command5}) {
            click(*c);
            for (const gfx::DrawOp& op : v.displayList()) {
                for (float xy : {op.x1, op.y1, op.x2, op.y2}) ASSERT_TRUE(std::isfinite(xy)) << gfx::dump(op);
                if (op.kind == gfx::OpKind::FilledBox) {
                    EXPECT_GE(std::min(op.x1, op.x2), 1290) << gfx::dump(op);
                    EXPECT_LE(std::max(op.x1, op.x2), 9715) << gfx::dump(op);
                    EXPECT_GE(std::min(op.y1, op.y2), 1420) << gfx::dump(op);
                    EXPECT_LE(std::max(op.y1, op.y2), 2141) << gfx::dump(op);
                }
            }
            for (ui::Label* l : {&v.Label5, &v.Label11, &v.Label13, &v.Label20}) {
                EXPECT_EQ(l->caption().find("NaN"), std::string::npos) << l->caption();
                EXPECT_EQ(l->caption().find("Inf"), std::string::npos) << l->caption();
            }
        }
    };
    everyChart();
    // The row below 0 and not a number: empty bars, grey.
    EXPECT_EQ(starting(drawing(), "fill").front(), "fill (1290,2141)-(1290,2141) color=13158600 width=1");
    EXPECT_EQ(v.Label20.caption(), "Torque    SEC = 0 KWhr/kg");

    // A total length so short that positions pass the single range.
    b.extruder().TotalLength = 1e-37f;
    write(b);
    everyChart();
}

}  // namespace
