// Retained drawing on a window and printed pages: recording, dump, page
// breaks of report lines, one document per printout, failed printouts.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/draw_target.h"
#include "platform/headless/headless.h"
#include "platform/ui/application.h"
#include "platform/ui/printer.h"

namespace {

struct View : ui::Form {
    View() : Form("viewdie") {}
    ui::CommandButton Command1{*this, "Command1"};
    int paints = 0;
    void design() override {
        Command1.create(4560, 0, 975, 375, "Print");
        Command1.onClick = [this] { printDrawing(); };
    }
    void onLoad() override { paint(); }
    void paint() {
        ++paints;
        cls();
        setForeColor(gfx::rgb(0, 0, 128));
        line(1290, 1420, 9716, 1420, 128);
        lineStep(120, 120, 10455, 855, gfx::LineStyle::Box);
        line(1290, 2660, 9715, 2660, 128, gfx::LineStyle::Box);  // zero height
        line(100, 200, 300, 400, gfx::rgb(200, 200, 200), gfx::LineStyle::FilledBox);
        lineTo(500, 400);
    }
    void printDrawing() {
        ui::Printer& p = ui::printer();
        p.printLine(" ******************** ZSK30 ******************** ");
        p.setFontSize(12);
        p.printText(240, 1680, "f");
        p.setDrawWidth(2);
        p.lineStep(120, 120, 10455, 6030, 128, gfx::LineStyle::Box);
        p.endPage();
    }
};

class Drawing : public ::testing::Test {
protected:
    headless::Session s;
};

TEST_F(Drawing, OperationsAreRecordedAsPassedAndDumped) {
    View& v = ui::form<View>();
    v.show();
    EXPECT_EQ(headless::Driver::dump(v),
              "segment (1290,1420)-(9716,1420) color=128 width=1\n"
              "box (120,120)-(10575,975) fore=8388608 width=1\n"
              "box (1290,2660)-(9715,2660) color=128 width=1\n"
              "fill (100,200)-(300,400) color=13158600 width=1\n"
              "segment (300,400)-(500,400) fore=8388608 width=1\n");
    EXPECT_FLOAT_EQ(v.currentX(), 500);
    // Nothing is clipped: points far outside the window stay as they are.
    v.line(-50000.5f, 1e6f, 3, 4);
    EXPECT_EQ(v.displayList().ops().back().x1, -50000.5f);
    // The drawing stays until the window is cleared.
    v.cls();
    EXPECT_TRUE(v.displayList().empty());
    EXPECT_FLOAT_EQ(v.currentX(), 0);
}

TEST_F(Drawing, PrintedDrawingIsOneDocumentWithItsOwnSettings) {
    View& v = ui::form<View>();
    v.show();
    s.driver.click(v.Command1);
    s.driver.click(v.Command1);
    ASSERT_EQ(s.backend.printed().size(), 2u);
    EXPECT_EQ(headless::Driver::dump(s.backend.printed()[0]),
              "page 1\n"
              "text (0,0) size=10 fore=0 \" ******************** ZSK30 ******************** \"\n"
              "text (240,1680) size=12 fore=0 \"f\"\n"
              "box (120,120)-(10575,6150) color=128 width=2\n");
    // The second printout starts with the printer's defaults again.
    EXPECT_EQ(s.backend.printed()[1].pages, s.backend.printed()[0].pages);
}

TEST_F(Drawing, ReportLinesBreakToANewPageAtTheBottom) {
    ui::Printer& p = ui::printer();
    p.setSettings({"Office", 11000, 2400});  // ten lines of 240 twips
    ui::app().dispatch([&] {
        p.text("No.").tab(8).text("Code").tab(23).text("type").endLine();
        for (int i = 1; i <= 14; ++i) p.number(i).tab(8).text("SE-040").endLine();
        p.endDoc();
    });
    ASSERT_EQ(s.backend.printed().size(), 1u);
    const ui::PrintJob& job = s.backend.printed()[0];
    EXPECT_EQ(job.printer.name, "Office");
    ASSERT_EQ(job.pages.size(), 2u);
    ASSERT_EQ(job.pages[0].size(), 10u);
    EXPECT_EQ(job.pages[0][0].text, "No.    Code           type");
    EXPECT_EQ(job.pages[0][1].text, " 1     SE-040");
    EXPECT_FLOAT_EQ(job.pages[0][9].y1, 9 * 240);
    ASSERT_EQ(job.pages[1].size(), 5u);
    EXPECT_FLOAT_EQ(job.pages[1][0].y1, 0);
    EXPECT_EQ(job.pages[1][4].text, " 14    SE-040");
}

TEST_F(Drawing, APrintoutThatFailsHalfWayIsDiscardedNotMergedIntoTheNext) {
    ui::Printer& p = ui::printer();
    // The command prints a line, then fails before ending the document.
    ui::app().dispatch([&] {
        ui::endQuietly([&] {
            p.printLine("first report");
            rt::raise(rt::kInputPastEndOfFile);
        });
    });
    EXPECT_FALSE(p.started());
    ui::app().dispatch([&] {
        p.printLine("second report");
        p.endDoc();
    });
    ASSERT_EQ(s.backend.printed().size(), 1u);
    ASSERT_EQ(s.backend.printed()[0].pages.size(), 1u);
    ASSERT_EQ(s.backend.printed()[0].pages[0].size(), 1u);
    EXPECT_EQ(s.backend.printed()[0].pages[0][0].text, "second report");

    // A printer that fails: the document is dropped and the error raised.
    s.backend.failPrinting(true);
    ui::app().dispatch([&] {
        p.printLine("lost");
        EXPECT_THROW(p.endDoc(), rt::Error);
        EXPECT_FALSE(p.started());
    });
    s.backend.failPrinting(false);
    ui::app().dispatch([&] { p.endDoc(); });  // nothing pending: nothing printed
    EXPECT_EQ(s.backend.printed().size(), 1u);
}

TEST_F(Drawing, RefreshAndSleepNeitherDrawNorHandleInput) {
    View& v = ui::form<View>();
    v.show();
    v.Command1.refresh();
    v.refresh();
    EXPECT_EQ(s.backend.paintFlushes(), 2);
    ui::sleep(200);
    ui::sleep(200);
    EXPECT_EQ(s.backend.clockMs(), 400);
    EXPECT_EQ(v.paints, 1);
}

}  // namespace
