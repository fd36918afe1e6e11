// The View File commands as the user runs them: each listing window with the
// cells and boxes worked out by hand.
#include <filesystem>
#include <string>
#include <vector>

#include "report_fixture.h"
#include "reports/listbarrel.h"
#include "reports/listdie.h"
#include "reports/listext.h"
#include "reports/listresult.h"
#include "reports/listresult1.h"
#include "reports/listscrew.h"

namespace {

using Row = std::vector<std::string>;

class ViewFile : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
    }
    void view(const char* menu, const std::string& file) {
        session.script.chooseFile(file);
        choose(menu);
    }
    static Row row(const ui::Grid& g, int r) {
        Row cells;
        for (int c = 0; c < g.cols(); ++c) cells.push_back(g.textMatrix(r, c));
        return cells;
    }
    static std::vector<gfx::Twips> widths(const ui::Grid& g) {
        std::vector<gfx::Twips> w;
        for (int c = 0; c < g.cols(); ++c) w.push_back(g.colWidth(c));
        return w;
    }
};

TEST_F(ViewFile, ScrewListingShowsEveryElementAndTheHeaderTotals) {
    reporttest::writeSampleScrew(path("sample.srw"));
    view("mnuSview", path("sample.srw"));
    listscrew& w = ui::form<listscrew>();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "View Screw File - " + path("sample.srw"));
    const ui::Grid& g = w.sflexgrid;
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 1);
    EXPECT_EQ(g.width(), 7420);
    EXPECT_EQ(widths(g), (std::vector<gfx::Twips>{800, 1200, 590, 590, 670, 930, 930, 600, 760}));
    EXPECT_EQ(row(g, 0), (Row{"Number", "Code", "Type", "NT", "Sign", "Length", "Phi", "Nd", "StagAng"}));
    EXPECT_EQ(row(g, 1), (Row{"1", "RSE45/45", "s", "2", "1", "22.50", "30.00", "--", "--"}));
    EXPECT_EQ(row(g, 2), (Row{"2", "KB45/5/30", "k", "2", "-1", "30.00", "--", "5", "45.00"}));
    EXPECT_EQ(row(g, 3), (Row{"3", "KB90/5/30", "K", "2", "1", "30.00", "", "", ""}));
    EXPECT_EQ(row(g, 4), (Row{"4", "ABCDEFGHIJKLMNOP", "s", "2", "1", "15.00", "15.00", "--", "--"}));
    EXPECT_EQ(w.Text1.text(), "4");
    EXPECT_EQ(w.Text2.text(), "3.25");
    EXPECT_EQ(w.Text3.text(), "2");
    EXPECT_EQ(w.Text4.text(), "2");
    EXPECT_EQ(w.Text5.text(), "2.5");

    // Showing it again only brings it to the front; closed, it reads afresh:
    // a screw without elements leaves the heading row alone.
    records::writeScrewFile(path("bare.srw"), records::screwFileHeader("LAB30", 30.0f, {}), {});
    view("mnuSview", path("bare.srw"));
    EXPECT_EQ(g.rows(), 5);
    session.driver.click(w.Command1);
    view("mnuSview", path("bare.srw"));
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(row(g, 0)[8], "StagAng");
    EXPECT_EQ(w.Text1.text(), "0");

    // A cancelled dialog hands back the pattern: the caption only.
    session.driver.click(w.Command1);
    session.script.cancelFile();
    choose("mnuSview");
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "View Screw File - *.srw");
    EXPECT_EQ(w.Text1.text(), "");
    EXPECT_TRUE(session.backend.messages().empty());
}

TEST_F(ViewFile, BarrelListingSizesItselfToTheFileAndShowsPortLocations) {
    reporttest::writeSampleBarrel(path("sample.brl"));
    view("mnuBview", path("sample.brl"));
    listbarrel& w = ui::form<listbarrel>();
    EXPECT_EQ(w.caption(), "View Barrel File - " + path("sample.brl"));
    const ui::Grid& g = w.bflexgrid;
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(g.height(), 988);  // 4 x 247
    EXPECT_EQ(w.Text1.top(), 1138);
    EXPECT_EQ(w.Label1.top(), 1138);
    EXPECT_EQ(w.Command1.top(), 1138);
    EXPECT_EQ(w.height(), 133 * 15);  // 1988 twips, in whole pixels of 15 twips
    EXPECT_EQ(widths(g), (std::vector<gfx::Twips>{1030, 1360, 820, 800, 900, 1200, 1200}));
    EXPECT_EQ(row(g, 0), (Row{"Number", "Code", "Type", "Length", "Opening", "Location", "Port Location"}));
    EXPECT_EQ(row(g, 1), (Row{"1", "PLANE120", "P", "100.00", "0.00", "0.00", "--"}));
    EXPECT_EQ(row(g, 2), (Row{"2", "HOPPER120", "H", "100.00", "40.00", "20.00", "120.00"}));
    EXPECT_EQ(row(g, 3), (Row{"3", "VENT120", "V", "100.00", "40.00", "30.00", "230.00"}));
    EXPECT_EQ(w.Text1.text(), "10");

    // Radius units under the extruder marker, R = 15: lengths times 15. A
    // header counting more blocks than the grid has rows ends the load at the
    // first row beyond it.
    session.driver.click(w.Command1);
    reporttest::writeSampleBarrel(path("sample.brl"), 4.0f, 4);
    view("mnuBview", path("sample.brl"));
    EXPECT_EQ(row(g, 1), (Row{"1", "PLANE120", "P", "1500.00", "0.00", "0.00", "--"}));
    EXPECT_EQ(row(g, 3), (Row{"3", "VENT120", "V", "1500.00", "600.00", "450.00", "3450.00"}));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(ViewFile, DieListingShowsTheFiveDimensions) {
    reporttest::writeSampleDie(path("sample.die"));
    view("mnuDview", path("sample.die"));
    listdie& w = ui::form<listdie>();
    EXPECT_EQ(w.caption(), "View die File - " + path("sample.die"));
    EXPECT_EQ(w.Text1.text(), "40.00");
    EXPECT_EQ(w.Text2.text(), "10.00");
    EXPECT_EQ(w.Text3.text(), "60.00");
    EXPECT_EQ(w.Text4.text(), "15.00");
    EXPECT_EQ(w.Text5.text(), "8");
    EXPECT_EQ(shared::DieFile, path("sample.die"));
    // As wide as its boxes and button need, whatever the path in its caption:
    // a title bar shortens a long path instead.
    EXPECT_EQ(w.width(), 5040);
    session.driver.click(w.Command1);
    const std::string deep = path(std::string(120, 'd') + ".die");
    reporttest::writeSampleDie(deep);
    view("mnuDview", deep);
    EXPECT_EQ(w.caption(), "View die File - " + deep);
    EXPECT_EQ(w.width(), 5040);
}

TEST_F(ViewFile, ExtruderListingShowsScrewBarrelAndDieInMillimetres) {
    const std::string dir = this->dir().string();
    reporttest::writeSampleExtruder(path("line.ext"), dir, true);
    view("mnuEview", path("line.ext"));
    listext& w = ui::form<listext>();
    EXPECT_EQ(w.caption(), "View Extruder File - " + path("line.ext"));
    EXPECT_EQ(w.Text1.text(), "LAB30");
    EXPECT_EQ(w.Text2.text(), "25.00");
    EXPECT_EQ(w.Text3.text(), "1");
    EXPECT_EQ(w.Text4.text(), "0.75");
    EXPECT_EQ(w.Text7.text(), "0");
    ASSERT_EQ(w.fGrid1.rows(), 2);
    EXPECT_EQ(row(w.fGrid1, 1), (Row{"1", "RSE45/45", "s", "2", "1", "30.00", "30.00", "--", "--"}));
    // The die row is dropped: the die has its own frame.
    ASSERT_EQ(w.fGrid2.rows(), 3);
    EXPECT_EQ(row(w.fGrid2, 2), (Row{"2", "VENT120", "V", "100.00", "20.00", "10.00", "210.00"}));
    EXPECT_EQ(w.Text8.text(), "7.50");
    EXPECT_EQ(w.Text9.text(), "20");
    EXPECT_EQ(w.Text10.text(), "4");
    EXPECT_EQ(w.Text11.text(), "40");
    EXPECT_EQ(w.Text12.text(), "12");
    EXPECT_EQ(w.Text13.text(), "2");

    session.driver.click(w.Command1);
    reporttest::writeSampleExtruder(path("line.ext"), dir, false);
    view("mnuEview", path("line.ext"));
    ASSERT_EQ(w.fGrid2.rows(), 3);
    EXPECT_EQ(row(w.fGrid2, 2)[6], "210.00");
    for (const ui::TextBox* box : {&w.Text9, &w.Text10, &w.Text11, &w.Text12, &w.Text13}) EXPECT_EQ(box->text(), "0");
}

TEST_F(ViewFile, ResultListingStepsThroughItsOwnStagesWhateverReplacesTheSharedPorts) {
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    view("mnuRview", path("run.flw"));
    listresult& w = ui::form<listresult>();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.caption(), "Result listing - " + path("run.flw"));
    EXPECT_EQ(w.Label2.caption(), "200.00");
    EXPECT_EQ(w.Label4.caption(), "12.500");
    EXPECT_EQ(w.Label6.caption(), "0.000");
    EXPECT_EQ(w.Label46.caption(), "0.55");
    EXPECT_EQ(w.Label51.caption(), "500.00");
    EXPECT_EQ(w.Label59.caption(), "120.00");
    EXPECT_EQ(w.Label20.caption(), "1");
    EXPECT_EQ(w.Label21.caption(), "10.000");
    EXPECT_EQ(w.Label25.caption(), "0.0125");
    EXPECT_EQ(w.Label26.caption(), "201.00");
    EXPECT_EQ(shared::ScrewRadius, 15.0f);
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    EXPECT_EQ(shared::PortRecords.count(), 2);

    // Print Result File empties the shared ports; the listing keeps its own.
    session.script.chooseFile(path("run.flw"));
    choose("mnuRprint");
    ASSERT_EQ(shared::PortRecords.count(), 0);
    session.driver.click(w.Command1);  // ">>"
    EXPECT_EQ(w.Label20.caption(), "2");
    EXPECT_EQ(w.Label26.caption(), "202.00");
    session.driver.click(w.Command1);
    EXPECT_EQ(w.Label20.caption(), "1");
    session.driver.click(w.Command2);  // "<<" from the first: the last
    EXPECT_EQ(w.Label20.caption(), "2");

    // The melting results show the listed file after ResultFile moved on.
    shared::ResultFile = "*.flw";
    session.driver.click(w.Command3);
    listresult1& d = ui::form<listresult1>();
    ASSERT_TRUE(d.isVisible());
    EXPECT_EQ(d.caption(), "Result listing - " + path("run.flw"));
    EXPECT_EQ(d.Label24.caption(), "3");
    EXPECT_EQ(d.Label25.caption(), "k");
    EXPECT_EQ(d.Label26.caption(), "60.00");
    EXPECT_EQ(d.Label28.caption(), "15.00");
    EXPECT_EQ(d.Label31.caption(), "3");
    EXPECT_EQ(d.Label6.caption(), "60.00");
    EXPECT_EQ(d.Label9.caption(), "1");
    const std::vector<std::pair<ui::CommandButton*, std::string>> elementSteps = {
        {&d.Command3, "4"}, {&d.Command3, "5"}, {&d.Command3, "3"}, {&d.Command4, "5"}, {&d.Command4, "4"}};
    for (const auto& [button, shown] : elementSteps) {
        session.driver.click(*button);
        EXPECT_EQ(d.Label24.caption(), shown);
    }
    session.driver.click(d.Command1);  // "<<" from point 0: point 2
    EXPECT_EQ(d.Label6.caption(), "72.00");
    EXPECT_EQ(d.Label9.caption(), "3");
    session.driver.click(d.Command2);
    EXPECT_EQ(d.Label6.caption(), "60.00");
    EXPECT_TRUE(session.backend.messages().empty());
}

TEST_F(ViewFile, ResultListingWrapsOnOnePortAndOneElementAndIgnoresAFileItCannotOpen) {
    records::ResultData r = reporttest::sampleResult();
    r.ports.resize(1);
    r.header.RunConditions.MeltEndElement = 5;
    reporttest::writeResult(path("one.flw"), r);
    view("mnuRview", path("one.flw"));
    listresult& w = ui::form<listresult>();
    for (ui::CommandButton* b : {&w.Command1, &w.Command2}) {
        session.driver.click(*b);
        EXPECT_EQ(w.Label20.caption(), "1");
    }
    session.driver.click(w.Command3);
    listresult1& d = ui::form<listresult1>();
    for (ui::CommandButton* b : {&d.Command3, &d.Command4}) {
        session.driver.click(*b);
        EXPECT_EQ(d.Label24.caption(), "5");
        EXPECT_EQ(d.Label25.caption(), "d");
    }
    session.driver.click(d.Command5);
    session.driver.click(w.Command4);

    view("mnuRview", path("missing.flw"));
    EXPECT_FALSE(w.isLoaded());
    EXPECT_EQ(shared::ResultFile, path("missing.flw"));
    EXPECT_TRUE(session.backend.messages().empty());
}

// A result in which melting never started: the melting region starts in the
// end zone, after the last screw row, where it is handed back as ending.
TEST_F(ViewFile, EveryResultReaderOpensAResultInWhichMeltingNeverStarted) {
    records::ResultData r = reporttest::sampleResult();
    r.runState = {4, 4, 3, 0, 2.0f, 0};
    r.profile = {{6.0f, 1, 0.3f, 0, 0.7f, 0}};
    reporttest::writeResult(path("unmelted.flw"), r);

    view("mnuRview", path("unmelted.flw"));
    listresult& w = ui::form<listresult>();
    ASSERT_TRUE(w.isVisible());
    session.driver.click(w.Command3);
    EXPECT_EQ(ui::form<listresult1>().Label24.caption(), "3");
    session.driver.click(ui::form<listresult1>().Command5);
    session.driver.click(w.Command4);
    session.script.chooseFile(path("unmelted.flw"));
    choose("mnuRprint");
    session.script.chooseFile(path("unmelted.flw")).chooseFile(path("unmelted.txt"));
    choose("mnuRconvert");
    session.expectScriptDone();
    EXPECT_TRUE(session.backend.messages().empty());
    EXPECT_EQ(session.backend.printed().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(path("unmelted.txt")));
}

// Files the result readers refuse: another kind's marker, a truncated result,
// one whose melting starts after it ends, one whose melting starts two rows
// past its end with no profile point past the first, and one whose melting
// starts after its last row.
TEST_F(ViewFile, EveryResultReaderRefusesAFileThatHoldsNoResultAndChangesNothing) {
    records::ResultData other = reporttest::sampleResult();
    other.header.Marker = records::markerFor(records::FileKind::Extruder);
    reporttest::writeResult(path("other.flw"), other);
    std::vector<std::uint8_t> bytes = records::packResult(reporttest::sampleResult(),
                                                          records::ResultExtent::WithExtruder);
    bytes.pop_back();
    io::replaceFileContents(path("short.flw"), bytes);
    records::ResultData backwards = reporttest::sampleResult();
    backwards.runState.MeltStartElement = 4;
    reporttest::writeResult(path("backwards.flw"), backwards);
    records::ResultData twoPast = reporttest::sampleResult();
    twoPast.runState = {5, 5, 3, 0, 2.0f, 0};
    twoPast.profile = {{6.0f, 1, 0.3f, 0, 0.7f, 0}};
    reporttest::writeResult(path("twopast.flw"), twoPast);
    records::ResultData pastTheEnd = twoPast;
    pastTheEnd.runState = {6, 6, 5, 0, 2.0f, 0};
    reporttest::writeResult(path("pastend.flw"), pastTheEnd);

    for (const char* name : {"other.flw", "short.flw", "backwards.flw", "twopast.flw", "pastend.flw"}) {
        SCOPED_TRACE(name);
        shared::ExtruderCategory = "KEPT";
        shared::ScrewRadius = 7.0f;
        shared::PortRecords = {records::PortRecord{}};

        session.script.chooseFile(path(name)).ok("Incorrect file format.", "Result listing");
        choose("mnuRview");
        listresult& w = ui::form<listresult>();
        ASSERT_TRUE(w.isVisible());
        EXPECT_EQ(w.caption(), "Result listing - " + path(name));
        EXPECT_EQ(w.Label2.caption(), "");
        session.driver.click(w.Command1);  // holds no stage: nothing happens
        EXPECT_EQ(w.Label20.caption(), "");
        session.script.ok("Incorrect file format.", "Result listing");
        session.driver.click(w.Command3);
        EXPECT_EQ(ui::form<listresult1>().Label24.caption(), "");
        session.driver.click(ui::form<listresult1>().Command3);
        session.driver.click(ui::form<listresult1>().Command5);
        session.driver.click(w.Command4);

        session.script.chooseFile(path(name)).ok("Incorrect file format.", "Print Result");
        choose("mnuRprint");
        session.script.chooseFile(path(name)).ok("Incorrect file format.", "Convert file");
        choose("mnuRconvert");
        session.expectScriptDone();

        EXPECT_EQ(shared::ExtruderCategory, "KEPT");
        EXPECT_EQ(shared::ScrewRadius, 7.0f);
        EXPECT_EQ(shared::PortRecords.count(), 1);
    }
    EXPECT_TRUE(session.backend.printed().empty());
    EXPECT_EQ(session.backend.fileDialogs().size(), 15u);  // no save dialog followed
}

}  // namespace
