// The geometry windows as the user opens them from the Display menu (and as
// the designers open the previews), on files written with the record
// writers: captions, view values, shared state, work files, printed pages
// and what closing, re-showing and bad files do. Expected coordinates are
// worked out from the files' geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "drawing_check.h"
#include "records/design_files.h"
#include "records/files.h"
#include "shell/shell_fixture.h"
#include "support/printed_path.h"
#include "views/mvbarrel.h"
#include "views/mvscrew.h"
#include "views/viewbarrel.h"
#include "views/viewdie.h"
#include "views/viewext.h"
#include "views/viewscrew.h"
#include "views_data.h"

namespace {

using viewdata::drawsAt;
using viewdata::lines;
using viewdata::texts;

class Views : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
        viewdata::writeScrewGeo(path("screwgeo/LAB30.gs"), 30);
    }
    void display(const char* menu, const std::string& file) {
        session.script.chooseFile(file);
        choose(menu);
    }
    std::vector<char> bytes(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t printouts() const { return session.backend.printed().size(); }
    const gfx::DisplayList& lastPage() const { return session.backend.printed().back().pages.at(0); }
    // Closed and shown again on a cancelled dialog's pattern: the window is
    // empty under its design caption and prints nothing.
    void expectEmptyOnPattern(const char* menu, ui::Form& w, ui::CommandButton& print, const std::string& caption) {
        driver.closeBox(w);
        const std::size_t before = printouts();
        session.script.cancelFile();
        choose(menu);
        EXPECT_EQ(w.caption(), caption);
        EXPECT_TRUE(w.displayList().empty());
        driver.click(print);
        EXPECT_EQ(printouts(), before);
    }

    headless::Driver& driver = session.driver;
};

std::string op(const char* kind, double x1, double y1, double x2, double y2) {
    return std::string(kind) + " " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2) + " ";
}
std::string box(double x1, double y1, double x2, double y2) { return op("box", x1, y1, x2, y2); }

TEST_F(Views, BarrelDisplayCopiesFitsZoomsPrintsAndKeepsItsFile) {
    records::writeBarrelGeoFile(path("temp/temp1.brl"), std::vector(8, viewdata::block('P', 1)));  // stale
    viewdata::writeLabBarrel(path("demo.brl"));
    display("mnuBdiaplay", path("demo.brl"));
    viewbarrel& w = ui::form<viewbarrel>();
    EXPECT_EQ(w.caption(), "LAB30          " + path("demo.brl"));
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    const std::vector<char> brl = bytes("demo.brl");
    EXPECT_EQ(bytes("temp/temp1.brl"), std::vector<char>(brl.begin() + 36, brl.end()));
    // 9500 / 600 mm; the hopper block's outline and bore from x 100 to 100 + 120 s.
    double s = 9500.0 / 600;
    EXPECT_NEAR(w.view().scale, s, 1e-4);
    EXPECT_EQ(w.view().offset(), 100);
    EXPECT_TRUE(drawsAt(lines(w.displayList()), 0,
                        box(100, 1300 - 3 * s, 100 + 120 * s, 1300 + 33 * s) + box(100, 1300, 100 + 120 * s, 1300 + 30 * s)));

    driver.click(w.zoomin);
    driver.click(w.lleft);
    s += 0.5;
    EXPECT_NEAR(w.view().scale, 16.3333, 1e-4);
    driver.click(w.Command1);
    ASSERT_EQ(printouts(), 1u);
    EXPECT_EQ(texts(lastPage()), (std::vector<std::string>{" ******************** LAB30 ******************** ",
                                                           " barrel file : " + path("demo.brl")}));
    EXPECT_TRUE(drawsAt(lines(lastPage()), 0, box(700, 1300 - 9 * s, 700 + 120 * s, 1300 + 39 * s)));  // the wall

    // Shown again with another file while open: the window goes on with its load.
    viewdata::writeLabBarrel(path("other.brl"), "ZX40", {viewdata::block('P', 300)});
    display("mnuBdiaplay", path("other.brl"));
    EXPECT_EQ(w.caption(), "LAB30          " + path("demo.brl"));
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    driver.click(w.Command1);
    EXPECT_EQ(texts(lastPage()).at(1), " barrel file : " + path("demo.brl"));

    driver.closeBox(w);
    EXPECT_EQ(shared::DisplayBarrelFile, "");
    display("mnuBdiaplay", path("other.brl"));
    EXPECT_EQ(w.caption(), "ZX40           " + path("other.brl"));
    EXPECT_EQ(bytes("temp/temp1.brl").size(), 36u);
    EXPECT_NEAR(w.view().scale, 9500.0 / 300, 1e-4);

    // Neither a cancelled dialog's pattern nor a code that cannot name a
    // file touches the current code; the pattern leaves the work file too.
    expectEmptyOnPattern("mnuBdiaplay", w, w.Command1, "Display Barrel");
    EXPECT_EQ(bytes("temp/temp1.brl").size(), 36u);
    viewdata::writeLabBarrel(path("odd.brl"), "A/B");
    driver.closeBox(w);
    display("mnuBdiaplay", path("odd.brl"));
    EXPECT_EQ(w.caption(), "A/B            " + path("odd.brl"));
    EXPECT_EQ(shared::ExtruderCategory, "ZX40");
    // A code after a blank is taken without it, as the screw's is.
    viewdata::writeLabBarrel(path("lead.brl"), " ZX41");
    driver.closeBox(w);
    display("mnuBdiaplay", path("lead.brl"));
    EXPECT_EQ(shared::ExtruderCategory, "ZX41");
}

TEST_F(Views, ScrewDisplayScalesByTheHeaderAndDrawsWithTheElementFile) {
    viewdata::writeScrewGeo(path("screwgeo/LAB30.gs"), 40);  // R 20 for the drawing
    viewdata::writeLabScrew(path("demo.srw"));
    display("mnuSdisplay", path("demo.srw"));
    viewscrew& w = ui::form<viewscrew>();
    EXPECT_EQ(w.caption(), "LAB30  " + path("demo.srw"));
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    // The header's 40.4 radii, root and head at its D 30 span 9500 twips.
    const double s = 9500 / ((40.4 + 3.577) * 15);
    EXPECT_NEAR(w.view().scale, 14.4015, 1e-4);
    const std::vector<char> srw = bytes("demo.srw");
    EXPECT_EQ(bytes("temp/vscrew.tmp"), std::vector<char>(srw.begin() + 2 * 39, srw.end() - 39));
    const auto drawn = lines(w.displayList());
    EXPECT_TRUE(drawsAt(drawn, 0, box(100, 1300, 100 + 60 * s, 1300 + 40 * s)));
    const double xe = 100 + (3 + 40.4) * 20 * s;  // the head
    EXPECT_TRUE(drawsAt(drawn, drawn.size() - 1, op("seg", xe, 1300 + 40 * s, xe + 0.577 * 20 * s, 1300 + 20 * s)));

    driver.click(w.Command1);
    ASSERT_EQ(printouts(), 1u);
    EXPECT_EQ(texts(lastPage()), (std::vector<std::string>{" ******************** LAB30 ******************** ",
                                                           " Screw file : " + path("demo.srw"),
                                                           " Number of elements : 16"}));
    EXPECT_TRUE(drawsAt(lines(lastPage()), 0, box(100, 1300, 100 + 60 * s, 1300 + 40 * s)));

    // Shown again with another file while open: still the first screw.
    viewdata::writeLabScrew(path("nogeo.srw"), "NOGEO");
    const gfx::DisplayList before = w.displayList();
    display("mnuSdisplay", path("nogeo.srw"));
    EXPECT_EQ(w.displayList(), before);
    EXPECT_EQ(w.caption(), "LAB30  " + path("demo.srw"));

    // Without an element file the header's diameter draws the screw.
    driver.closeBox(w);
    EXPECT_EQ(shared::DisplayScrewFile, "");
    display("mnuSdisplay", path("nogeo.srw"));
    EXPECT_TRUE(drawsAt(lines(w.displayList()), 0, box(100, 1300, 100 + 45 * s, 1300 + 30 * s)));
    EXPECT_FALSE(std::filesystem::exists(path("screwgeo/NOGEO.gs")));

    expectEmptyOnPattern("mnuSdisplay", w, w.Command1, "Display Screw");
    EXPECT_EQ(shared::ExtruderCategory, "NOGEO");

    // A text file is drawn as it holds, but its first word is no extruder code.
    driver.closeBox(w);
    std::ofstream(path("text.srw")) << "This is a text file and no screw, written by another program.\n"
                                       "It has more than three records' worth of characters in it.\n";
    display("mnuSdisplay", path("text.srw"));
    EXPECT_EQ(shared::ExtruderCategory, "NOGEO");
}

// Die 20, 4, 12, 40 mm at 9 twips/mm from x 200 about y 1300: the block
// 5 × 20 × 9 = 900 high, the land from 200 + 28 × 9 = 452 to 560.
const char* kDie =
    "seg 200 850 560 850  seg 200 1750 560 1750  seg 200 1750 200 850  seg 560 1750 560 850"
    "  seg 200 1210 452 1282  seg 200 1390 452 1318  box 452 1282 560 1318";

TEST_F(Views, DieDisplayDrawsTheLastRecordOfItsOwnPathAndPrintsTheFirst) {
    records::writeDieFile(path("demo.die"), viewdata::labDie());
    display("mnuDdisplay", path("demo.die"));
    viewdie& w = ui::form<viewdie>();
    EXPECT_EQ(w.caption(), "LAB30      " + path("demo.die"));
    EXPECT_EQ(shared::DieFile, path("demo.die"));
    EXPECT_TRUE(viewdata::draws(lines(w.displayList()), kDie));

    records::DieRec small = viewdata::labDie("SMALL");
    small.EntranceDiameter = 10;
    {
        records::RecordFile two(path("two.die"), records::DieRec::kSize, records::OpenMode::CreateIfMissing);
        two.write(1, viewdata::labDie());
        two.write(2, small);
    }
    display("mnuDdisplay", path("two.die"));
    EXPECT_EQ(w.caption(), "SMALL      " + path("two.die"));
    EXPECT_TRUE(drawsAt(lines(w.displayList()), 0, "seg 200 1075 560 1075"));  // 5 × 10 × 9 / 2 = 225
    driver.click(w.Command1);
    EXPECT_EQ(texts(lastPage()), (std::vector<std::string>{" ******************** Die View ******************** ",
                                                           " Die file : " + path("two.die")}));
    EXPECT_TRUE(viewdata::draws(lines(lastPage()), kDie));

    // Activated after DieFile changed elsewhere: redraws its own die, DieFile stays.
    shared::DieFile = path("elsewhere.die");
    session.script.cancelFile();
    choose("mnuSdisplay");
    w.cls();
    driver.activate(w);
    EXPECT_EQ(shared::DieFile, path("elsewhere.die"));
    EXPECT_TRUE(drawsAt(lines(w.displayList()), 0, "seg 200 1075 560 1075"));

    std::ofstream(path("empty.die")).close();
    display("mnuDdisplay", path("empty.die"));
    EXPECT_EQ(w.caption(), "SMALL      " + path("two.die"));
    EXPECT_TRUE(w.displayList().empty());

    // The die designer's opener: its work file, 9000 twips wide.
    records::writeDieFile(shared::TempDir + "temp.die", viewdata::labDie());
    w.showFile(shared::TempDir + "temp.die", 9000);
    EXPECT_EQ(w.width(), 9000);
    EXPECT_EQ(w.caption(), "LAB30      " + shared::TempDir + "temp.die");
}

// Files in a folder whose path is longer than the page's line: each printed
// view keeps its file line to the line's 93 characters (11185 twips of 120,
// the 10-point font), the label and the file's name whole, the folders
// shortened in their middle.
TEST_F(Views, PrintedViewsKeepALongPathInsideThePageLine) {
    const std::filesystem::path deep = dir() / "extruder trials of the second compounding line" /
                                       "screw and barrel variants for the glass fibre grade";
    ASSERT_GE(deep.string().size(), 100u);
    std::filesystem::create_directories(deep);

    const std::string screw = (deep / "demo.srw").string();
    viewdata::writeLabScrew(screw);
    display("mnuSdisplay", screw);
    driver.click(ui::form<viewscrew>().Command1);
    printtest::expectShortenedPath(texts(lastPage()).at(1), " Screw file : ", screw, "", 93);

    const std::string barrel = (deep / "demo.brl").string();
    viewdata::writeLabBarrel(barrel);
    display("mnuBdiaplay", barrel);
    driver.click(ui::form<viewbarrel>().Command1);
    printtest::expectShortenedPath(texts(lastPage()).at(1), " barrel file : ", barrel, "", 93);

    const std::string die = (deep / "demo.die").string();
    records::writeDieFile(die, viewdata::labDie());
    display("mnuDdisplay", die);
    driver.click(ui::form<viewdie>().Command1);
    printtest::expectShortenedPath(texts(lastPage()).at(1), " Die file : ", die, "", 93);
    EXPECT_EQ(printouts(), 3u);
}

TEST_F(Views, ExtruderDisplayLoadsFitsPansAndPrintsItsOwnExtruder) {
    const records::ExtruderFileContent x = viewdata::labExtruder();
    records::writeExtruderFile(path("lab.ext"), x);
    shared::ExtruderCategory = "ZX40";
    display("mnuExtdisplay", path("lab.ext"));
    viewext& w = ui::form<viewext>();
    EXPECT_EQ(w.caption(), "Display Extruder - LAB30  " + path("lab.ext"));
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    EXPECT_EQ(shared::ExtruderHeader, x.header);
    EXPECT_EQ(shared::ExtScrewRecs, x.screw);
    EXPECT_EQ(shared::ExtBarrelRecs, x.barrel);
    EXPECT_EQ(shared::ScrewRadius, 15);
    EXPECT_EQ(shared::CategoryScrewGeo.Diameter, 30);
    EXPECT_EQ(shared::ScrewFile, "demo.srw" + std::string(56, ' '));
    EXPECT_EQ(shared::DieFile, "demo.die" + std::string(56, ' '));
    // 600 mm of barrel and 40 of die in 0.85 of the 9885-twip drawing area;
    // margin 494 (5 %), top line 1300; 16 barrel and 7 die operations before the root.
    const double s = 8402.25 / 640, X = 494 + 3.977 * 15 * s;
    EXPECT_NEAR(w.view().scale, 13.1285, 1e-4);
    EXPECT_EQ(w.view().offset(), 0);
    const auto drawn = lines(w.displayList());
    EXPECT_TRUE(drawsAt(drawn, 0, box(X, 1300 + 39 * s, X + 120 * s, 1300 + 33 * s)));
    EXPECT_TRUE(drawsAt(drawn, 23, box(494, 1300, 494 + 45 * s, 1300 + 30 * s)));

    for (int i = 0; i < 164; ++i) driver.click(w.lleft);
    EXPECT_EQ(w.view().offset(), 32767);
    // Other windows re-dimension the shared extruder: this one prints its own.
    shared::ExtScrewRecs.clear();
    shared::ExtBarrelRecs.resize(1);
    shared::ScrewRadius = 99;
    driver.click(w.Command1);
    ASSERT_EQ(printouts(), 1u);
    EXPECT_EQ(texts(lastPage()), (std::vector<std::string>{" ********************  LAB30  ******************** ",
                                                           " xb :  59.655  (mm)", " xs :  0  (mm)", " x0 :  0  (mm)"}));
    EXPECT_TRUE(drawsAt(lines(lastPage()), 23, box(33767, 1300, 33767 + 45 * s, 1300 + 30 * s)));

    driver.click(w.Command2);
    EXPECT_EQ(w.view().offset(), 0);
    EXPECT_EQ(lines(w.displayList()), drawn);
    driver.closeBox(w);
    EXPECT_EQ(shared::DisplayExtruderFile, "");
}

TEST_F(Views, RejectedExtruderFilesChangeNoSharedState) {
    records::ExtruderFileContent wrong = viewdata::labExtruder();
    wrong.header.Marker = records::markerFor(records::FileKind::Die);
    records::writeExtruderFile(path("marker.ext"), wrong);
    records::ExtruderFileContent few = viewdata::labExtruder("", "FEW");
    few.screw.resize(2);
    few.header.ScrewCount = 2;
    records::writeExtruderFile(path("few.ext"), few);
    const std::vector<std::uint8_t> whole = records::packExtruderFile(viewdata::labExtruder());
    records::writeOverFromStart(path("cut.ext"), std::vector(whole.begin(), whole.end() - 1));
    shared::ExtruderCategory = "ZX40";
    shared::ScrewRadius = 20;
    viewext& w = ui::form<viewext>();
    auto rejected = [&](const std::string& message) {
        EXPECT_EQ(w.caption(), "Display Extruder ");
        EXPECT_TRUE(w.displayList().empty());
        driver.click(w.Command2);
        driver.click(w.Command1);
        EXPECT_EQ(printouts(), 0u);
        EXPECT_EQ(session.backend.messages().back().request.text, message);
        EXPECT_EQ(session.backend.messages().back().request.title, "Caution");
        EXPECT_EQ(shared::ExtruderCategory, "ZX40");
        EXPECT_EQ(shared::ExtruderHeader, records::ExtHeader{});
        EXPECT_TRUE(shared::ExtScrewRecs.empty());
        EXPECT_EQ(shared::ScrewRadius, 20);
        driver.closeBox(w);
    };
    for (const char* name : {"marker.ext", "few.ext", "cut.ext"}) {
        SCOPED_TRACE(name);
        session.script.chooseFile(path(name)).ok();
        choose("mnuExtdisplay");
        rejected("Incorrect file format!");
    }
    session.script.chooseFile(path("missing.ext")).ok();
    choose("mnuExtdisplay");
    rejected("Extruder file is not exist or empty !");

    // With no file chosen the load takes the current extruder file.
    for (const char* name : {"missing.ext", "cut.ext"}) {
        shared::ExtruderFile = path(name);
        session.script.ok();
        w.show();
        rejected(name == std::string("cut.ext") ? "Incorrect file format!" : "Extruder file is not exist or empty !");
    }
    // ... and draws it with the radius already held, or the header's when none is.
    records::writeExtruderFile(path("lab.ext"), viewdata::labExtruder());
    shared::ExtruderFile = path("lab.ext");
    shared::ScrewRadius = 0;
    w.show();
    EXPECT_EQ(w.caption(), "Display Extruder - LAB30  ");
    EXPECT_NEAR(w.view().scale, 8402.25 / 640, 1e-4);
    EXPECT_EQ(shared::ScrewRadius, 0);
    EXPECT_EQ(shared::ExtBarrelRecs.size(), 7u);
}

TEST_F(Views, PreviewsDrawTheDesignAsItStandsAndPrintAtTheirOwnScale) {
    shared::ExtruderCategory = "LAB30";
    const float phi = std::atan(0.3f);
    const records::OneBasedList<records::ScrewRec> design = {
        viewdata::conveying(2, phi, 1), viewdata::kneading(2, 5, 45, 1), viewdata::conveying(2, phi, -1)};
    shared::ScrewDesign = design;
    shared::ScrewDesignRadius = 15;
    shared::ScrewDesignLength = 90;
    shared::ScrewDesignCount = 3;
    mvscrew& m = ui::form<mvscrew>();
    m.setSize(8000, 5000);
    m.show();
    // In whole pixels the window is 7995 by 4995 twips: the band's top at 4995 / 2 − 300.
    const double s = 7995 * 0.95 / (3.577 * 15 + 90);
    EXPECT_NEAR(m.view().scale, s, 1e-4);
    EXPECT_TRUE(drawsAt(lines(m.displayList()), 0, box(100, 2197.5, 100 + 45 * s, 2197.5 + 30 * s)));
    auto boxes = [&] {
        int n = 0;
        for (const gfx::DrawOp& op : m.displayList()) n += op.kind == gfx::OpKind::Box;
        return n;
    };
    EXPECT_EQ(boxes(), 4);
    // The designer removes elements, then releases the design.
    shared::ScrewDesign.resize(1);
    driver.click(m.Command4);
    EXPECT_EQ(boxes(), 2);
    shared::ScrewDesign.clear();
    driver.click(m.Command5);
    EXPECT_EQ(boxes(), 1);
    // Printed 8000 twips long from the window's offset at y 1500; the window's view stays.
    shared::ScrewDesign = design;
    driver.click(m.Command9);
    EXPECT_EQ(texts(lastPage()), (std::vector<std::string>{" ******************** LAB30 ******************** ",
                                                           " Number of elements : 3"}));
    EXPECT_TRUE(drawsAt(lines(lastPage()), 0, box(100, 1500, 100 + 45 * 8000.0 / 90, 1500 + 30 * 8000.0 / 90)));
    EXPECT_NEAR(m.view().scale, s, 1e-4);
    EXPECT_EQ(boxes(), 4);
    driver.closeBox(m);
    EXPECT_EQ(shared::ScrewPreviewFlag, -1);

    shared::BarrelDesign = {viewdata::block('H', 120, 60, 60), viewdata::block('P', 120)};
    shared::BarrelDesignLength = 240;
    shared::BarrelDesignCount = 2;
    mvbarrel& b = ui::form<mvbarrel>();
    b.setSize(8000, 5000);
    b.show();
    const double t = 7995 * 0.95 / 240;
    EXPECT_NEAR(b.view().scale, t, 1e-4);
    EXPECT_TRUE(drawsAt(lines(b.displayList()), 0, box(100, 2297.5 - 3 * t, 100 + 120 * t, 2297.5 + 33 * t)));
    // The designer finished: the blocks are gone, the count stays.
    shared::BarrelDesign.clear();
    driver.click(b.Command1);
    EXPECT_TRUE(b.displayList().empty());
    driver.click(b.Command9);
    EXPECT_EQ(texts(lastPage()).back(), " Number of elements : 2");
    EXPECT_TRUE(lines(lastPage()).empty());
    // An emptied design has no length: reload fits at 1.0; Fit Screen sets the width back.
    shared::BarrelDesignLength = 0;
    driver.resize(b, 9000, 5000);
    driver.click(b.Command8);
    EXPECT_EQ(b.width(), 7995);
    EXPECT_EQ(b.view().scale, 1.0f);
}

}  // namespace
