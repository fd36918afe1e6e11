// The Print File commands as the user runs them, each printout compared line
// by line with the report written out by hand.
#include <filesystem>
#include <string>
#include <vector>

#include "report_fixture.h"
#include "support/printed_path.h"

namespace {

using reporttest::blanks;
using Lines = std::vector<std::string>;

class PrintFile : public ShellRun {
protected:
    void SetUp() override {
        ShellRun::SetUp();
        start();
    }
    // Chooses the file in the command's dialog; the lines of the printout.
    Lines print(const char* menu, const std::string& file) {
        const std::size_t before = session.backend.printed().size();
        session.script.chooseFile(file);
        choose(menu);
        if (session.backend.printed().size() != before + 1) return {"(no printout)"};
        return reporttest::printedLines(session.backend.printed().back());
    }
};

const std::string kScrewHeading = "No.    Code           type  NT   Sign   Length    Phi       Nd     StagAng";
const std::string kBarrelHeading = "No." + blanks(5) + "Code" + blanks(12) + "type" + blanks(11) + "Length" +
                                   blanks(6) + "Openning" + blanks(7) + "Port Location";

TEST_F(PrintFile, ScrewReportPrintsConveyingAndKneadingElementsAndTheHeaderTotals) {
    const std::string file = path("sample.srw");
    reporttest::writeSampleScrew(file);
    const Lines expected = {
        "*************** " + file + " ***************",
        "",
        kScrewHeading,
        " 1     RSE45/45       s      2    1     22.50     30.00     --     --",
        " 2     KB45/5/30      k      2   -1     30.00     --         5     45.00",
        // Record 5 (kind "K") prints nothing; the next element keeps number 4.
        // Its 16-character code reaches column 23, so the kind starts a line.
        " 4     ABCDEFGHIJKLMNOP",
        blanks(22) + "s      2    1     15.00     15.00     --     --",
        "",
        "Number of elements : 4",
        "Screw L/D ratio : 3.25",
        "Number of screw elements : 2",
        "Number of kneading disk elements : 2",
        "Number of left handed elements : 2.5",
    };
    EXPECT_EQ(print("mnuSprint", file), expected);
    EXPECT_EQ(shared::ScrewFile, file);
}

TEST_F(PrintFile, BarrelReportPrintsPortLocationsAndOnlyTheBlocksTheFileHolds) {
    const std::string file = path("sample.brl");
    const std::string code = "PLANE120" + blanks(7);
    const Lines table = {
        " 1 " + blanks(5) + "PLANE120       " + " P" + blanks(14) + "100.00" + blanks(6) + "0.00" + blanks(11) + "--",
        " 2 " + blanks(5) + "HOPPER120      " + " H" + blanks(14) + "100.00" + blanks(6) + "40.00" + blanks(10) +
            "120.00",
        " 3 " + blanks(5) + "VENT120        " + " V" + blanks(14) + "100.00" + blanks(6) + "40.00" + blanks(10) +
            "230.00",
    };
    // The header counting the three blocks, then five of which the file holds three.
    for (float count : {3.0f, 5.0f}) {
        SCOPED_TRACE(count);
        reporttest::writeSampleBarrel(file, count);
        Lines expected = {"*************** " + file + " ***************", "", kBarrelHeading};
        expected.insert(expected.end(), table.begin(), table.end());
        expected.insert(expected.end(), {"", "Barrel Length (mm) :  300 "});
        EXPECT_EQ(print("mnuBprint", file), expected);
    }
    EXPECT_EQ(shared::BarrelFile, file);

    // Blocks in radius units under the extruder marker print in mm: R = 15.
    reporttest::writeSampleBarrel(file, 1.0f, 4);
    const Lines lines = print("mnuBprint", file);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], " 1 " + blanks(5) + code + " P" + blanks(14) + "1500.00" + blanks(5) + "0.00" + blanks(11) +
                            "--");
    EXPECT_EQ(lines[5], "Barrel Length (mm) :  1500 ");
}

TEST_F(PrintFile, ExtruderReportWithItsDiePrintsTheDieCodeAsBlanksAndSetsTheComponentPaths) {
    const std::string file = path("line.ext");
    const std::string dir = this->dir().string();
    reporttest::writeSampleExtruder(file, dir, true);
    shared::ExtruderCategory = "OTHER";
    const Lines expected = {
        "",
        "",
        "*************** General Information of Extruder ***************",
        "",
        "Extruder Category : LAB30",
        "Extruder Length : 25.00",
        "",
        "",
        "*************** " + dir + "/demo.srw ***************",
        "",
        kScrewHeading,
        // R = 20 mm from the barrel header: 1.5 radius units are 30 mm.
        " 1     RSE45/45       s      2    1     30.00     30.00     --     --",
        "Number of elements : 1",
        "Screw L/D ratio : 0.75",
        "Number of screw elements : 1",
        "Number of kneading disk elements : 0",
        "Number of left handed elemensts : 0",
        "",
        "",
        "*************** " + dir + "/demo.brl ***************",
        "",
        kBarrelHeading,
        " 1 " + blanks(5) + "PLANE120       " + " P" + blanks(14) + "200.00" + blanks(6) + "0.00" + blanks(11) + "--",
        " 2 " + blanks(5) + "VENT120        " + " V" + blanks(14) + "100.00" + blanks(6) + "20.00" + blanks(10) +
            "210.00",
        " 3 " + blanks(5) + blanks(15) + " D" + blanks(14) + "40.00" + blanks(7) + "12.00" + blanks(10) + "--",
        "Barrel Length : 7.50",
        "",
        "",
        "*************** " + dir + "/demo.die ***************",
        "Enterance Diameter(mm) : 20",
        "Exit Diameter (mm) : 4",
        "Die Length (mm) : 40",
        "Converge zone Length : 12",
        "Nember of Holes : 2",
    };
    EXPECT_EQ(print("mnuExtprint", file), expected);
    EXPECT_EQ(shared::ExtruderFile, file);
    EXPECT_EQ(shared::ScrewFile, dir + "/demo.srw");
    EXPECT_EQ(shared::BarrelFile, dir + "/demo.brl");
    EXPECT_EQ(shared::DieFile, dir + "/demo.die");
    EXPECT_EQ(shared::ExtruderCategory, "OTHER");

    // Without a die the report ends with the barrel length; DieFile empties.
    reporttest::writeSampleExtruder(file, dir, false);
    const Lines noDie = print("mnuExtprint", file);
    ASSERT_EQ(noDie.size(), 25u);
    EXPECT_EQ(noDie.back(), "Barrel Length : 7.50");
    EXPECT_EQ(shared::DieFile, "");
}

// Files in a folder whose path is longer than the page's line of 93
// characters (11185 twips of 120): each banner keeps to it, its stars and
// the file's name whole, the folders shortened in their middle. An extruder
// file's paths are stored in 64 characters: a banner of 96 is shortened too.
TEST_F(PrintFile, BannersKeepALongPathInsideThePageLine) {
    const std::filesystem::path deep = dir() / "extruder trials of the second compounding line" /
                                       "screw and barrel variants for the glass fibre grade";
    ASSERT_GE(deep.string().size(), 100u);
    std::filesystem::create_directories(deep);
    const std::string stars = "***************";

    const std::string screw = (deep / "sample.srw").string();
    reporttest::writeSampleScrew(screw);
    Lines lines = print("mnuSprint", screw);
    printtest::expectShortenedPath(lines.at(0), stars + " ", screw, " " + stars, 93);
    EXPECT_EQ(lines.at(2), kScrewHeading);
    EXPECT_EQ(shared::ScrewFile, screw);

    const std::string barrel = (deep / "sample.brl").string();
    reporttest::writeSampleBarrel(barrel, 3.0f);
    printtest::expectShortenedPath(print("mnuBprint", barrel).at(0), stars + " ", barrel, " " + stars, 93);

    const std::string die = (deep / "sample.die").string();
    reporttest::writeSampleDie(die);
    lines = print("mnuDprint", die);
    printtest::expectShortenedPath(lines.at(0), stars, die, stars, 93);
    EXPECT_EQ(lines.at(2), "Enterance Diameter (mm) : 40.00");

    const auto stored = [&](const std::string& name) {
        const std::string folder = deep.string().substr(0, 64 - name.size() - 1);
        return folder + "/" + name;
    };
    reporttest::writeSampleExtruder(path("line.ext"), dir().string(), true);
    records::ExtruderFileContent x = records::readExtruderFile(path("line.ext"));
    x.header.ScrewFile = stored("demo.srw");
    x.header.BarrelFile = stored("demo.brl");
    x.header.DieFile = stored("demo.die");
    records::writeExtruderFile(path("line.ext"), x);
    lines = print("mnuExtprint", path("line.ext"));
    ASSERT_EQ(lines.size(), 34u);
    printtest::expectShortenedPath(lines[8], stars + " ", stored("demo.srw"), " " + stars, 93);
    printtest::expectShortenedPath(lines[19], stars + " ", stored("demo.brl"), " " + stars, 93);
    printtest::expectShortenedPath(lines[28], stars + " ", stored("demo.die"), " " + stars, 93);
    EXPECT_EQ(shared::DieFile, stored("demo.die"));
}

TEST_F(PrintFile, AReportFailingHalfWayPrintsNothingAndTheNextPrintoutHoldsOnlyItsOwnLines) {
    // A bore of 0 divides by zero at "Barrel Length : ", after 25 lines.
    reporttest::writeSampleExtruder(path("flat.ext"), dir().string(), true, 0.0f);
    session.script.chooseFile(path("flat.ext"));
    choose("mnuExtprint");
    EXPECT_TRUE(session.backend.printed().empty());
    EXPECT_TRUE(session.backend.messages().empty());

    reporttest::writeSampleDie(path("sample.die"));
    const Lines expected = {
        "***************" + path("sample.die") + "***************",
        "",
        "Enterance Diameter (mm) : 40.00",
        "Exit Diameter (mm) : 10.00",
        "Die Length (mm) : 60.00",
        "Converge Zone Length (mm) : 15.00",
        "Number of Holes : 8",
    };
    EXPECT_EQ(print("mnuDprint", path("sample.die")), expected);
    EXPECT_EQ(session.backend.printed().size(), 1u);
    EXPECT_EQ(shared::DieFile, path("sample.die"));

    // A missing file, a truncated extruder file: nothing printed, no message.
    session.script.chooseFile(path("missing.srw"));
    choose("mnuSprint");
    std::vector<std::uint8_t> bytes = records::packExtruderFile(records::readExtruderFile(path("flat.ext")));
    bytes.resize(bytes.size() - 1);
    io::replaceFileContents(path("short.ext"), bytes);
    session.script.chooseFile(path("short.ext"));
    choose("mnuExtprint");
    EXPECT_EQ(session.backend.printed().size(), 1u);
    EXPECT_TRUE(session.backend.messages().empty());
    EXPECT_FALSE(std::filesystem::exists(path("missing.srw")));
}

// Every stage block of the sample result: port k has flow rate 10 k and
// reference temperature 200 + k.
Lines stageBlock(int k) {
    const std::string rule(65, '=');
    return {rule,
            " Stage : " + std::to_string(k),
            " Flow Rate Through Port (Kg/Hr) : " + std::to_string(10 * k) + ".000",
            " Density of Input Stream (g/cm^3) : 0.750",
            " Power Law Consistency (KPa.S^n) : 5.50",
            " Power Law Index : 0.350",
            " Viscosity Temperature Dependency (1/C) : 0.0125",
            " Reference Temperature (C) : " + std::to_string(200 + k) + ".00",
            " Heat Capacity (KJ/(Kg. K)) : 2.400",
            " Heat Transfer Coefficient at Barrel Surface (W/(m^2.K)) : 300.000",
            " Heat Transfer Coefficient at Screw Surface (W/(m^2.K)) : 250.000",
            " Barrel Temperature (C) : 210.00",
            " Screw Temperature (C) : 205.00",
            rule,
            ""};
}

Lines elementBlock(int e, char kind, const char* position, const char* starvation, const char* pressure,
                   const char* temps[2], const char* times[2], const char* power) {
    const std::string rule(65, '=');
    return {rule,
            " Element Number : " + std::to_string(e),
            std::string(" Element Type :") + kind,
            std::string(" Element Position (mm) : ") + position,
            std::string(" Starvation Point within Element (mm) : ") + starvation,
            " Element Length (mm) : 30.00",
            " Fill Factor Left to Starvation Point : 0.50",
            " Fill Factor Right to Starvation Point : 1.00",
            std::string(" Pressure at Right End of the Element (MPa) : ") + pressure,
            std::string(" Temperature at Starvation Point (C) : ") + temps[0],
            std::string(" Temperature at Right End (C) : ") + temps[1],
            std::string(" Avg Residence Time at Starvation Point (min) : ") + times[0],
            std::string(" Avg Residence Time at Right End (min) : ") + times[1],
            std::string(" Cummulative Power at Right End (KW) : ") + power,
            rule,
            ""};
}

TEST_F(PrintFile, ResultReportPrintsEveryPortProfilePointAndElementFromTheMeltingEnd) {
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    shared::ExtruderCategory = "OTHER";
    shared::ResultFile = "kept.flw";
    shared::ScrewRadius = 7.0f;

    Lines expected = {
        "",
        "Extruder file : C:\\work\\line.ext" + blanks(64 - 16),
        "Screw Speed (RPM) : 200.00",
        "Total throughput (kg/hr) : 12.500",
        "Die Pressure (MPa) : 0.000",
        "",
        "",
        "List Working Condition and Material Parameters",
        std::string(63, '='),
        "Solid Conveying and Melting Parameters",
        " Bulk Density of Solids(g/cc) : 0.550",
        " Heat Capacity of Solids (KJ/Kg.K) : 1.800",
        " Thermal Conductivity of Solids (W/m.K) : 0.25",
        " Friction Coeff at Barrel Surface : 0.30",
        " Friction Coeff at Screw Surface : 0.25",
        " Heat Transfer Coefficient at Barrel Surface (W/(m^2.K)) : 500.00",
        " Heat Transfer Coefficient at Screw Surface (W/(m^2.K)) : 400.00",
        " Barrel Temperature (C) : 200.00",
        " Screw Temperature : 190.00",
        " Solids Feed Temperature : 25.00",
        " Density of solids in Melting Region (g/cc) : 0.80",
        " Heat Capacity of solids in Melting Region (KJ/Kg.K) : 2.10",
        " Melting Temperature (C) 165.00",
        " Heat of Fusion (J/g) : 120.00",
        std::string(65, '='),
        "",
        "",
    };
    for (int k : {1, 2}) {
        const Lines block = stageBlock(k);
        expected.insert(expected.end(), block.begin(), block.end());
    }
    const Lines melting = {
        "",
        " Calculated Results ",
        "",
        std::string(65, '='),
        "Melting Region",
        "  Axial     Unmelted     Average    Pressure    Cummulative",
        "Location     Solid     Temperature   (MPa)         Power ",
        "  (mm)      Fraction       (C)                     (KW) ",
        // The pressure is a number item from column 45: blank, digits, blank.
        "60.00" + blanks(9) + "1.00" + blanks(11) + "170.00" + blanks(9) + " 1 " + blanks(12) + "2.000",
        "66.00" + blanks(9) + "0.50" + blanks(11) + "171.00" + blanks(9) + " 2 " + blanks(12) + "3.000",
        "72.00" + blanks(9) + "0.00" + blanks(11) + "172.00" + blanks(9) + " 3 " + blanks(12) + "4.000",
        std::string(65, '='),
    };
    expected.insert(expected.end(), melting.begin(), melting.end());
    const char* temps3[] = {"154.00", "163.00"};
    const char* times3[] = {"0.36", "0.60"};
    const char* temps4[] = {"155.00", "164.00"};
    const char* times4[] = {"0.48", "0.80"};
    const char* temps5[] = {"156.00", "165.00"};
    const char* times5[] = {"0.60", "1.00"};
    for (const Lines& block : {elementBlock(3, 'k', "60.00", "15.00", "3", temps3, times3, "2.10"),
                               elementBlock(4, 'p', "90.00", "0.00", "2.5", temps4, times4, "2.80"),
                               elementBlock(5, 'd', "120.00", "0.00", "0", temps5, times5, "3.50")})
        expected.insert(expected.end(), block.begin(), block.end());
    // 37 + 15 N + M + 16 (nE - f + 1) lines with N = 2, M = 2, nE = 5, f = 3.
    ASSERT_EQ(expected.size(), 37u + 30u + 2u + 48u);
    expected.pop_back();  // the last blank line leaves no trace on paper

    EXPECT_EQ(print("mnuRprint", path("run.flw")), expected);
    EXPECT_EQ(session.backend.printed().back().pages.size(), 2u);
    EXPECT_EQ(shared::ExtruderCategory, "LAB30");
    EXPECT_EQ(shared::PortRecords.count(), 0);
    EXPECT_EQ(shared::ResultFile, "kept.flw");
    EXPECT_EQ(shared::ScrewRadius, 7.0f);
}

// On a page of 70 characters (8400 twips) the extruder file's line of 80
// drops its field's padding; a stored path of 64 characters also loses the
// middle of its folders, its "\" separators as they stand.
TEST_F(PrintFile, ResultReportKeepsTheExtruderFileLineInsideANarrowPage) {
    session.backend.setPrinter({"Narrow", 8400, 16118});
    reporttest::writeResult(path("run.flw"), reporttest::sampleResult());
    EXPECT_EQ(print("mnuRprint", path("run.flw")).at(1), "Extruder file : C:\\work\\line.ext");

    const std::string stored = "C:\\extruder trials of the second compounding line\\glass\\line.ext";
    ASSERT_EQ(stored.size(), 64u);
    records::ResultData result = reporttest::sampleResult();
    result.header.ExtruderFile = stored;
    reporttest::writeResult(path("run.flw"), result);
    printtest::expectShortenedPath(print("mnuRprint", path("run.flw")).at(1), "Extruder file : ", stored, "", 70);
}

}  // namespace
