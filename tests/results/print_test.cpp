// Printed charts: one page per press with the window's curve in black, the
// common page read again from the file, and what a failed page or a failing
// printer leaves behind.
#include <algorithm>
#include <filesystem>

#include "platform/ui/printer.h"
#include "tests/results/view_fixture.h"
#include "tests/support/printed_path.h"

namespace {

using resulttest::ResultBuilder;

class PrintedCharts : public ResultViewRun {
protected:
    // A result whose second element is overfilled, on a barrel header of
    // 40 mm while the screw header says 30 mm.
    static ResultBuilder result() {
        ResultBuilder b;
        records::ElementRecord& first = b.element(3, 10);
        first.FillLeft = 0.5f;
        first.PressureEnd = first.TempEnd = first.ResTimeEnd = first.PowerEnd = 4;
        first.TempStart = 1;
        records::ElementRecord& second = b.element(13, 10);
        second.FillLeft = 1.5f;
        second.PressureEnd = second.TempEnd = second.ResTimeEnd = second.PowerEnd = 8;
        second.TempStart = 2;
        b.row(0) = {5, 1, 1, 2, 1, 0};
        b.row(1) = {7, 0, 2, 3, 2, 0};
        b.data.runState.MeltStartElement = b.data.runState.MeltEndElement = 1;
        b.run().ScrewSpeed = 60;
        b.run().TotalThroughput = 10;
        b.extruder().BarrelFile = "C:\\work\\demo.brl";
        b.data.barrel[0].headerScrewDiameter() = 40;
        b.block("P", 20, 2);
        return b;
    }
    // The segments of the given colour in the chart area.
    static std::vector<std::string> curveIn(const std::vector<std::string>& ops, const std::string& color) {
        std::vector<std::string> out;
        for (const std::string& l : starting(ops, "segment")) {
            const std::size_t c = l.find(" color=");
            if (l.substr(c, 7 + color.size() + 1) != " color=" + color + " ") continue;
            const std::string y = l.substr(l.find(',') + 1);
            if (std::stod(y) < 4500) out.push_back(l.substr(0, c));
        }
        return out;
    }

    // Where a text of the page meets a line, a box's edge, a filled box or
    // another text, one line each. A text's box comes from the fixed-pitch
    // font: a character 0.6 em wide, a line 1.2 em high, 20 twips a point;
    // trailing blanks leave no ink. Touching counts as meeting.
    static std::vector<std::string> crossings(const gfx::DisplayList& page) {
        struct Rect {
            double left, top, right, bottom;
        };
        auto meets = [](const Rect& r, double x1, double y1, double x2, double y2) {
            double enter = 0, leave = 1;
            const double dx = x2 - x1, dy = y2 - y1;
            for (const auto& [p, q] : {std::pair{-dx, x1 - r.left}, std::pair{dx, r.right - x1},
                                       std::pair{-dy, y1 - r.top}, std::pair{dy, r.bottom - y1}}) {
                if (p == 0) {
                    if (q < 0) return false;
                    continue;
                }
                if (p < 0) enter = std::max(enter, q / p);
                else leave = std::min(leave, q / p);
                if (enter > leave) return false;
            }
            return true;
        };
        std::vector<std::pair<Rect, std::string>> texts;
        for (const gfx::DrawOp& op : page) {
            if (op.kind != gfx::OpKind::Text) continue;
            const double ink = static_cast<double>(op.text.find_last_not_of(' ') + 1);
            texts.push_back({{op.x1, op.y1, op.x1 + 0.6 * 20 * op.fontSize * ink, op.y1 + 1.2 * 20 * op.fontSize},
                             gfx::dump(op)});
        }
        std::vector<std::string> out;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& [r, text] = texts[i];
            for (const gfx::DrawOp& op : page) {
                bool met = false;
                if (op.kind == gfx::OpKind::Segment) met = meets(r, op.x1, op.y1, op.x2, op.y2);
                if (op.kind == gfx::OpKind::Box)
                    met = meets(r, op.x1, op.y1, op.x2, op.y1) || meets(r, op.x2, op.y1, op.x2, op.y2) ||
                          meets(r, op.x2, op.y2, op.x1, op.y2) || meets(r, op.x1, op.y2, op.x1, op.y1);
                if (op.kind == gfx::OpKind::FilledBox)
                    met = std::max(op.x1, op.x2) >= r.left && std::min(op.x1, op.x2) <= r.right &&
                          std::max(op.y1, op.y2) >= r.top && std::min(op.y1, op.y2) <= r.bottom;
                if (met) out.push_back(text + " meets " + gfx::dump(op));
            }
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const Rect& o = texts[j].first;
                if (o.right >= r.left && o.left <= r.right && o.bottom >= r.top && o.top <= r.bottom)
                    out.push_back(text + " meets " + texts[j].second);
            }
        }
        return out;
    }
};

TEST_F(PrintedCharts, EachPressPrintsOnePageWithTheWindowsCurveInBlack) {
    ResultBuilder b = result();
    session.script.ok();  // the vent-flushing warning of the first load
    dispresult& v = open(write(b));
    const std::vector<std::pair<ui::CommandButton*, std::string>> charts = {
        {&v.Command1, "P"}, {&v.Command2, "T"}, {&v.Command3, "A"},
        {&v.Command4, "R"}, {&v.Command6, "W"}, {&v.Command5, "M"}};
    for (const auto& [button, letter] : charts) {
        SCOPED_TRACE(letter);
        click(*button);
        const std::vector<std::string> window = curveIn(drawing(), "16777215");
        const std::size_t jobs = session.backend.printed().size();
        click(v.Command7);
        ASSERT_EQ(session.backend.printed().size(), jobs + 1);
        const std::vector<std::string> paper = page(jobs);
        ASSERT_FALSE(window.empty());
        EXPECT_EQ(curveIn(paper, "0"), window);
        EXPECT_EQ(paper.front(), "text (240,3420) size=12 fore=0 \"" + letter + "\"");
        // The exponent and unit on the title's line from the chart's left
        // edge, their line ending with the title's (2320 + 288 - 240).
        EXPECT_EQ(starting(paper, "text (1290,2368) size=10").size(), letter == "A" ? 0u : 1u);
        // Every text stands clear of every line and every other text: a
        // tick of five characters ("10.00" atop the temperatures) ends
        // where one of four does, at 840 + 4 x 96.
        EXPECT_EQ(crossings(session.backend.printed().at(jobs).pages.at(0)), std::vector<std::string>{});
        EXPECT_EQ(starting(paper, "text (840,").size(), letter == "T" ? 6u + 3 : 7u + 3);  // value ticks, strip ticks
        EXPECT_EQ(starting(paper, "text (744,2520) size=8 fore=0 \"10.00\"").size(), letter == "T" ? 1u : 0u);
        // The window shows the same chart again.
        EXPECT_EQ(v.Label12.caption(), letter);
        EXPECT_EQ(curveIn(drawing(), "16777215"), window);
    }
    EXPECT_EQ(session.backend.messages().size(), 1u);  // no warning on paper

    const std::vector<std::string> paper = page(session.backend.printed().size() - 1);
    // The title beside the exponent and unit, its line above the chart's top.
    EXPECT_EQ(starting(paper, "text (2280,2320)"),
              (std::vector<std::string>{"text (2280,2320) size=12 fore=0 \"Torque    SEC = 0.800 KWhr/kg\""}));
    EXPECT_EQ(v.Label20.caption(), "Torque    SEC = .8 KWhr/kg");
    for (const char* line : {"text (2520,240) size=11 fore=0 \"VELKOR-TWIN SCREW EXTRUDER VERSION 3A\"",
                             "fill (4028.45,2141)-(4028.45,1420) color=15461355 width=1",
                             "box (1290,1420)-(9715,2140) color=128 width=1",
                             "box (1290,2660)-(9715,2660) color=128 width=1",
                             "box (9710,2660)-(9710,4100) color=128 width=1",
                             "text (1080,4200) size=8 fore=0 \"-1.50\"", "text (240,1680) size=12 fore=0 \"f\"",
                             "text (840,2040) size=8 fore=0 \"0.0\"",
                             "text (4440,4560) size=12 fore=0 \"Axial Position (L/D)\"",
                             "box (120,120)-(10575,975) color=128 width=2",
                             "box (120,120)-(10575,6150) color=128 width=2"})
        EXPECT_EQ(std::count(paper.begin(), paper.end(), line), 1) << line;
    EXPECT_EQ(starting(paper, "text (3200,600) size=10").front(),
              "text (3200,600) size=10 fore=0 \"" + shared::ResultFile + "\"");
    EXPECT_EQ(starting(paper, "box (").size(), 7u + 11 + 1 + 3 + 1 + 2);  // grid, strip, frames, root, block
    // The printed outline takes the radius of the barrel header (X0 = 1290
    // + 3 x 20) and sets the current barrel and die files, 64 characters
    // each; the window's outline keeps the screw header's (X0 = 1335).
    EXPECT_EQ(starting(paper, "box (1350,5300)").size(), 1u);
    EXPECT_EQ(starting(drawing(), "box (1335,5300)").size(), 1u);
    EXPECT_FLOAT_EQ(v.OutlineRadius, 15);
    EXPECT_EQ(shared::BarrelFile, "C:\\work\\demo.brl" + std::string(64 - 16, ' '));
    EXPECT_EQ(shared::DieFile, std::string(64, ' '));

    // Opened again before any chart: the chart shown last is printed.
    close();
    session.script.ok();
    open(shared::ResultFile);
    click(v.Command7);
    EXPECT_EQ(page(session.backend.printed().size() - 1).front(), "text (240,3420) size=12 fore=0 \"M\"");
    EXPECT_EQ(v.Label12.caption(), "M");

    // A file under a folder whose path is over 100 characters: its line is
    // shortened in the middle of its folders to the 61 characters that end
    // before the frame's right line ((10575 - 3200) / 120 = 61.5), the
    // file's name whole.
    const std::string folder = path(std::string(60, 'a') + "/" + std::string(50, 'b'));
    std::filesystem::create_directories(folder);
    shared::ResultFile = folder + "/run.flw";
    b.write(shared::ResultFile);
    click(v.Command1);
    click(v.Command7);
    const gfx::DisplayList& sheet = session.backend.printed().back().pages.at(0);
    const std::vector<std::string> file = starting(lines(gfx::dump(sheet)), "text (3200,600) size=10");
    ASSERT_EQ(file.size(), 1u);
    const std::string shown = file[0].substr(file[0].find('"') + 1, file[0].size() - file[0].find('"') - 2);
    printtest::expectShortenedPath(shown, "", shared::ResultFile, "", 61);
    EXPECT_EQ(crossings(sheet), std::vector<std::string>{});
}

TEST_F(PrintedCharts, NothingIsPrintedOrLeftPendingWhenAPageCannotBeMade) {
    ResultBuilder good = result();
    good.data.elements[1].FillLeft = 1;
    ResultBuilder bad = good;
    bad.data.header.Marker = records::markerFor(records::FileKind::Die);
    const std::string file = write(bad);

    // Nothing shown yet: no chart to print, and a chart never loaded.
    session.script.ok("Incorrect file format.", "Result View");
    dispresult& v = open(file);
    session.script.ok("You must select one.", "Result View");
    click(v.Command7);
    session.script.ok("Incorrect file format.", "Result View").ok("Incorrect file format.", "Result View");
    click(v.Command1);
    click(v.Command7);
    session.expectScriptDone();
    EXPECT_TRUE(session.backend.printed().empty());

    // A page whose file went bad: the curve printed so far is thrown away,
    // the user is told once, and the window keeps its chart.
    good.write(file);
    click(v.Command1);
    bad.write(file);
    session.script.ok("Incorrect file format.", "Result View");
    click(v.Command7);
    session.expectScriptDone();
    EXPECT_TRUE(session.backend.printed().empty());
    EXPECT_FALSE(ui::printer().started());
    EXPECT_EQ(v.Label20.caption(), "Pressure");
    // Opened again on that file: its load and each Print say so once.
    close();
    session.script.ok("Incorrect file format.", "Result View").ok("Incorrect file format.", "Result View");
    open(file);
    click(v.Command7);
    session.expectScriptDone();
    EXPECT_TRUE(session.backend.printed().empty());
    good.write(file);
    click(v.Command7);
    ASSERT_EQ(session.backend.printed().size(), 1u);
    EXPECT_EQ(starting(page(0), "text (240,3420)").size(), 1u);

    // A printer that fails: a message, nothing printed, the chart redrawn.
    session.backend.failPrinting(true);
    session.script.ok("The chart could not be printed.\nDevice I/O error", "Result View");
    click(v.Command7);
    session.expectScriptDone();
    EXPECT_EQ(session.backend.messages().back().request.icon, ui::kCritical);
    EXPECT_EQ(session.backend.printed().size(), 1u);
    EXPECT_FALSE(ui::printer().started());
    EXPECT_FALSE(curveIn(drawing(), "16777215").empty());
}

}  // namespace
