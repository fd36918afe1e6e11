// The extruder analysis on extruders the tests build; expected parts worked
// out by hand from the block and element lengths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "extruder_fixture.h"
#include "platform/io/files.h"
#include "records/files.h"
#include "simulation/analysis.h"

namespace {

using testext::Block;
using testext::Element;
using testext::Extruder;

struct Part {
    float start, length;
    int region, port;
};

void expectParts(const sim::ExtruderAnalysis& a, const std::vector<Part>& expected) {
    ASSERT_EQ(a.parts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("part " + std::to_string(i + 1));
        EXPECT_NEAR(a.parts[i].SegmentStart, expected[i].start, 2e-5);
        EXPECT_NEAR(a.parts[i].SegmentLength, expected[i].length, 2e-5);
        EXPECT_EQ(a.parts[i].RegionCode, expected[i].region);
        EXPECT_EQ(a.parts[i].PortIndex, expected[i].port);
    }
}

sim::ExtruderAnalysis analyse(const Extruder& x) { return sim::analyseExtruder(testext::content(x), "lab.ext"); }

TEST(Analysis, WorkedExampleCutsElevenPartsFromTheFirstHoppersRegion) {
    Extruder x = testext::workedExample();
    sim::ExtruderAnalysis a = analyse(x);
    ASSERT_TRUE(a.completed());
    EXPECT_TRUE(a.messages.empty());
    // Hopper opening centred at 3.577 + 2: shift 1 - 5.577 = -4.577; vent
    // region 3.577 + 14 - 4.577 -+ 0.8 = [12.2, 13.8]; screw end -4.577 + 3 + 16.
    EXPECT_NEAR(a.header.ExtruderHeader.Gap, -4.577, 1e-5);
    EXPECT_NEAR(a.header.ExtruderHeader.BarrelOverhang, -1.0, 1e-5);
    EXPECT_NEAR(a.header.ExtruderHeader.TotalLength, 14.423, 1e-5);
    EXPECT_NEAR(a.ExtOverhang, -1.0, 1e-5);
    EXPECT_NEAR(a.EndZoneLength, 0.577, 1e-6);
    EXPECT_EQ(a.PortCount, 2);
    EXPECT_FLOAT_EQ(a.AnalysedScrewRadius, 25.0f);
    EXPECT_EQ(a.AnalysedTipCount, 2);
    EXPECT_FLOAT_EQ(a.CenterlineRatio, 1.7333f);
    // Element 1 runs from -1.577: its part upstream of 0 is dropped.
    expectParts(a, {{0, 0.423f, 11, 1},
                    {0.423f, 1.577f, 11, 1},
                    {2, 0.423f, 0, 1},
                    {2.423f, 2, 0, 1},
                    {4.423f, 2, 0, 1},
                    {6.423f, 2, 0, 1},
                    {8.423f, 2, 0, 1},
                    {10.423f, 1.777f, 0, 1},
                    {12.2f, 0.223f, 12, 2},
                    {12.423f, 1.377f, 12, 2},
                    {13.8f, 0.623f, 0, 2}});
    for (const auto& p : a.parts) EXPECT_FLOAT_EQ(p.ElementLength, 2.0f);
    EXPECT_EQ(a.header.Code, std::string_view("LAB30"));
    EXPECT_EQ(a.header.Marker[0], 5);
    EXPECT_EQ(a.header.ExtruderFile, std::string_view("lab.ext"));
    EXPECT_EQ(a.header.PortCount, 2);
    EXPECT_EQ(a.header.ElementCount, 12);
    // One code under two ports: two distinct parts, the first of each.
    ASSERT_EQ(a.distinctParts.size(), 2u);
    EXPECT_EQ(a.distinctParts[0], a.parts[0]);
    EXPECT_EQ(a.distinctParts[1], a.parts[8]);
    EXPECT_EQ(a.die, records::DieRec{});

    // A die after the vent block: one row more, its record mapped, 2.5 holes
    // rounding to the even 2.
    x.blocks.push_back({'D', 1.6f, 0.48f, 2.5f, 0.8f, 0.16f});
    a = analyse(x);
    ASSERT_TRUE(a.completed());
    EXPECT_EQ(a.parts.size(), 11u);
    EXPECT_EQ(a.header.ElementCount, 13);
    EXPECT_FLOAT_EQ(a.die.EntranceDiameter, 0.8f);
    EXPECT_FLOAT_EQ(a.die.CapillaryDiameter, 0.16f);
    EXPECT_FLOAT_EQ(a.die.CapillaryZoneLength, 0.48f);
    EXPECT_FLOAT_EQ(a.die.TotalLength, 1.6f);
    EXPECT_EQ(a.die.Holes, 2);
    EXPECT_EQ(a.DieFile, "test.die");
}

// Hopper region [0, 2], vent region [9.2, 10.8], screw end 12.0003.
TEST(Analysis, NearnessIsJudgedAtEachElementsTrueEnd) {
    Extruder x;
    x.blocks = {{'H', 4, 2, 1}, {'P', 4}, {'V', 4, 1.6f, 2}, {'P', 4}};
    x.gap = -2.9994f;  // element 1 starts at 0.0006: the walk starts there
    // True ends 1.9992 (0.0008 short of the hopper region's end), 9.2003,
    // 10.8003 (0.0003 past the vent region's end), 12.0003.
    x.elements = {{'s', 1.9986f}, {'s', 7.2011f}, {'k', 1.6f, -1}, {'s', 1.2f}};
    sim::ExtruderAnalysis a = analyse(x);
    ASSERT_TRUE(a.completed());
    // Snapping to one edge never moves the next: no sliver at either end of
    // the vent region.
    expectParts(a, {{0, 2, 11, 1}, {2, 7.2003f, 0, 1}, {9.2f, 1.6f, 12, 2}, {10.8f, 1.2003f, 0, 2}});
    ASSERT_EQ(a.messages.size(), 1u);
    EXPECT_EQ(a.messages[0].text, "left handed element in hopper or vent region.\nVent flush may occur. Continue anyway.");
}

// The running ends of the elements drift by a few ulps; a part that is a
// whole element keeps the element's own length, a kneading block its disks.
TEST(Analysis, AWholeElementsPartHasExactlyTheElementsLength) {
    Extruder demoLike;  // elements of 42 and 28 mm at R 15 mm
    demoLike.blocks = {{'H', 4, 2, 1}, {'P', 24}};
    demoLike.gap = -3;
    demoLike.elements = std::vector<Element>(5, {'s', 2.8f});
    demoLike.elements.push_back({'k', 2.8f});
    demoLike.elements.resize(10, {'s', 1.8666667f});
    Extruder fitted = testext::workedExample();  // fitted by 15 mm either way
    fitted.elements[4].kind = 'k';
    for (float gap : {0.0f, 0.6f, -0.6f}) {
        fitted.gap = gap;
        for (const records::AnalysisRecord& p : analyse(gap == 0 ? demoLike : fitted).parts) {
            if (std::fabs(p.SegmentLength - p.ElementLength) > 1e-5f) continue;  // cut at a region edge
            EXPECT_EQ(p.SegmentLength, p.ElementLength) << p.SegmentStart;
            if (p.kind() == 'k') {  // the kneading pass's disk count
                EXPECT_EQ(p.SegmentLength / (p.ElementLength / p.Disks), 5.0f) << p.SegmentStart;
            }
        }
    }
}

TEST(Analysis, WarnsOncePerElementPartUnderAnOpening) {
    const std::string leftCap = "Left handed element in hopper or vent region.\nVent flush may occur. Continue anyway.";
    const std::string leftSmall = "left handed element in hopper or vent region.\nVent flush may occur. Continue anyway.";
    const std::string knead = "Kneading disk element in hopper or vent region.\nThis may cause vent flush.";
    const std::string kneadNoStop = "Kneading disk element in hopper or vent region\nThis may cause vent flush.";
    struct Case {
        const char* what;
        float gap;
        std::vector<Element> elements;
        std::vector<std::string> messages;
    };
    // Hopper region [0, 2]; the screw starts at gap + 3.
    const std::vector<Case> cases = {
        {"kneading block across 0, ending inside", -3.5f, {{'k', 1}, {'s', 1.5f}, {'s', 4}}, {knead, kneadNoStop}},
        {"left-handed element across 0, ending at the region end", -3.5f, {{'s', 2.5f, -1}, {'s', 4}},
         {leftCap, leftSmall}},
        {"kneading block ending at the region end", -3, {{'s', 1}, {'k', 1}, {'s', 4}}, {knead}},
        {"left-handed kneading block inside", -3, {{'k', 1, -1}, {'s', 1}, {'s', 4}}, {leftCap}},
        {"left-handed kneading block under closed barrel", -3, {{'s', 2}, {'k', 2, -1}, {'s', 2}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Extruder x;
        x.blocks = {{'H', 4, 2, 1}, {'P', 8}};
        x.gap = c.gap;
        x.elements = c.elements;
        sim::ExtruderAnalysis a = analyse(x);
        EXPECT_TRUE(a.completed());
        std::vector<std::string> texts;
        for (const auto& m : a.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.title, "Caution");
        }
        EXPECT_EQ(texts, c.messages);
    }
}

TEST(Analysis, StopsOnBarrelsAndPlacementsItCannotWalk) {
    const std::string redesign = "\nYou have to re-design the barrel";
    const std::string assembled = "\nThe extruder may not be properly assembled.";
    struct Case {
        const char* what;
        std::function<void(Extruder&)> change;
        std::string message;
        sim::AnalysisStage reached;
    };
    const std::vector<Case> cases = {
        {"no opening", [](Extruder& x) { x.blocks = {{'P', 4}, {'P', 12}}; },
         "There is no input port for the extruder" + redesign, sim::AnalysisStage::Ports},
        {"a vent first", [](Extruder& x) { x.blocks = {{'V', 4, 2, 2}, {'P', 12}}; },
         "first port must be a hopper. You have to re-design the barrel", sim::AnalysisStage::Ports},
        {"header counts one opening less", [](Extruder& x) { x.vents = 0; },
         "The hopper and vent counts of the barrel do not match its openings." + redesign,
         sim::AnalysisStage::Ports},
        {"vent region reaching into the hopper's",
         [](Extruder& x) { x.blocks = {{'H', 2, 2, 1}, {'V', 4, 2, 0.5f}, {'P', 10}}; },
         "Port regions overlap or reach beyond the screw." + assembled, sim::AnalysisStage::Ports},
        {"vent region beyond the screw end", [](Extruder& x) { x.elements.resize(4); },
         "Port regions overlap or reach beyond the screw." + assembled, sim::AnalysisStage::Ports},
        {"screw without elements", [](Extruder& x) { x.elements.clear(); },
         "Port regions overlap or reach beyond the screw." + assembled, sim::AnalysisStage::Ports},
        {"first element starting at 0.423", [](Extruder& x) { x.gap = 2; },
         " screw root appears in the hopper region." + assembled, sim::AnalysisStage::Geometry},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Extruder x = testext::workedExample();
        c.change(x);
        sim::ExtruderAnalysis a = analyse(x);
        EXPECT_EQ(a.reached, c.reached);
        ASSERT_EQ(a.messages.size(), 1u);
        EXPECT_EQ(a.messages[0], (sim::UserMessage{c.message, "Caution", sim::MessageIcon::None}));
    }

    // A screw header claiming the full 16 radii over four elements, which end
    // at -1.577 + 8 = 6.423: the vent region [12.2, 13.8] has no element.
    Extruder shortScrew = testext::workedExample();
    shortScrew.elements.resize(4);
    records::ExtruderFileContent claimed = testext::content(shortScrew);
    claimed.screw[0].headerTotalLength() = 16;
    sim::ExtruderAnalysis stopped = sim::analyseExtruder(claimed, "lab.ext");
    EXPECT_EQ(stopped.reached, sim::AnalysisStage::Ports);
    EXPECT_TRUE(stopped.parts.empty());
    ASSERT_EQ(stopped.messages.size(), 1u);
    EXPECT_EQ(stopped.messages[0].text, "Port regions overlap or reach beyond the screw." + assembled);

    // Numbers no walk can use, and a screw without root and head.
    Extruder x = testext::workedExample();
    x.elements[3].length = std::numeric_limits<float>::quiet_NaN();
    EXPECT_THROW(analyse(x), rt::Error);
    records::ExtruderFileContent c = testext::content(testext::workedExample());
    c.screw.resize(2);
    EXPECT_THROW(sim::analyseExtruder(c, "lab.ext"), rt::Error);
}

TEST(Analysis, TouchingOpeningsLeaveNoClosedBarrelBetweenThem) {
    Extruder x;
    x.blocks = {{'H', 2, 2, 1}, {'V', 1.6f, 1.6f, 0.8f}, {'P', 4}};  // regions [0, 2] and [2, 3.6]
    x.gap = -3;
    x.elements = {{'s', 1}, {'s', 2}, {'s', 3}};
    sim::ExtruderAnalysis a = analyse(x);
    ASSERT_TRUE(a.completed());
    expectParts(a, {{0, 1, 11, 1}, {1, 1, 11, 1}, {2, 1, 12, 2}, {3, 0.6f, 12, 2}, {3.6f, 2.4f, 0, 2}});
}

class WorkFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkor-analysis-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        temp_ = (dir_ / "temp").string() + "/";
        std::filesystem::create_directory(temp_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::filesystem::path dir_;
    std::string temp_;
};

TEST_F(WorkFiles, HoldTheRecordsAtTheirOffsetsAndAreNeverLeftHalfWritten) {
    sim::ExtruderAnalysis a = analyse(testext::workedExample());
    EXPECT_FALSE(sim::writeAnalysisWorkFiles(temp_, a));
    const std::vector<std::string> files = sim::analysisWorkFiles(temp_);
    EXPECT_EQ(io::fileLen(files[0]), 11u * 51u);
    EXPECT_EQ(io::fileLen(files[1]), 354u);
    EXPECT_EQ(io::fileLen(files[2]), 2u * 51u);
    records::RecordFile analysisFile(files[0], 51, records::OpenMode::ReadOnly);
    EXPECT_NEAR(records::PackReader(analysisFile.readBytes(2).data() + 35, 4).f32(), 0.423f, 1e-6);
    records::ByteStream calc2(files[1], records::OpenMode::ReadOnly);
    const std::vector<std::uint8_t> bytes = calc2.readRaw(354);
    EXPECT_EQ(bytes[27 + 8], 5);                                                    // the header's marker
    EXPECT_EQ(records::PackReader(bytes.data() + 27 + 75, 2).i16(), 12);            // element rows
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 27), std::vector<std::uint8_t>(27, 0));
    records::RecordFile diffFile(files[2], 51, records::OpenMode::ReadOnly);
    EXPECT_EQ(records::PackReader(diffFile.readBytes(2).data() + 49, 2).i16(), 2);  // port of part 9

    // A file that cannot be written: the others are emptied again.
    std::filesystem::remove(files[2]);
    std::filesystem::create_directory(files[2]);
    EXPECT_EQ(sim::writeAnalysisWorkFiles(temp_, a), files[2]);
    EXPECT_EQ(io::fileLen(files[0]), 0u);
    EXPECT_EQ(io::fileLen(files[1]), 0u);

    std::filesystem::remove(files[2]);
    EXPECT_FALSE(sim::writeAnalysisWorkFiles(temp_, a));
    EXPECT_FALSE(sim::emptyAnalysisWorkFiles(temp_));
    for (const std::string& f : files) EXPECT_EQ(io::fileLen(f), 0u);
    EXPECT_EQ(sim::writeAnalysisWorkFiles(dir_.string() + "/missing/", a), dir_.string() + "/missing/Analysis.TMP");
}

}  // namespace
