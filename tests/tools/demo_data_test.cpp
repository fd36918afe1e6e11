#include "tools/demo_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "records/catalog_records.h"
#include "records/design_files.h"
#include "records/files.h"
#include "simulation/tables.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(fs::temp_directory_path() / ("velkor_demo_" + std::to_string(::getpid())));
        fs::remove_all(*dir_);
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "temp", "screwflw", "kneadflw"})
            fs::create_directories(*dir_ / sub);
        problems_ = new std::vector<std::string>(demo::writeDemoData(dir_->string()));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
        delete problems_;
    }
    static std::string app() { return dir_->string() + "/"; }
    sim::TableSource source() const {
        sim::TableSource s;
        s.appDir = app();
        s.category = demo::kCode;
        s.notify = [](const std::string& text, const std::string&) { ADD_FAILURE() << "message: " << text; };
        return s;
    }
    static fs::path* dir_;
    static std::vector<std::string>* problems_;
};
fs::path* DemoData::dir_ = nullptr;
std::vector<std::string>* DemoData::problems_ = nullptr;

TEST_F(DemoData, EveryElementResolvesToItsOwnRecordAndCapacity) {
    for (const auto& p : *problems_) ADD_FAILURE() << p;
    const auto screws = records::readScrewGeoFile(app() + "screwgeo/LAB30.gs");
    const auto blocks = records::readKneadGeoFile(app() + "kneadgeo/LAB30.gk");
    ASSERT_EQ(screws, demo::screwElements());
    ASSERT_EQ(blocks, demo::kneadingBlocks());
    const auto src = source();
    bool leftScrew = false, leftBlock = false;
    for (std::size_t i = 0; i < screws.size(); ++i) {
        const std::string code = screws[i].Code.rtrimmed();
        EXPECT_EQ(sim::FindTableRecord(app() + "screwflw/LAB30.het", "S", code), static_cast<std::int64_t>(i));
        const auto cd = sim::ReadFlowTable(src, "S", code, 0.01, 0.4f);
        ASSERT_TRUE(cd.found()) << cd.missText();
        EXPECT_NEAR(cd.value, demo::modelOf(screws[i]).dragCapacity(demo::channel()), 1e-6);
        leftScrew |= screws[i].Hand < 0;
        if (screws[i].Hand < 0) {
            EXPECT_LT(cd.value, 0.0);
        }
    }
    std::vector<double> blockCapacity;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::string code = blocks[i].Code.rtrimmed();
        EXPECT_EQ(sim::FindTableRecord(app() + "kneadflw/LAB30.dp1", "K", code), static_cast<std::int64_t>(i));
        const auto cd = sim::ReadFlowTable(src, "k", code, 0.01, 0.4f);
        ASSERT_TRUE(cd.found()) << cd.missText();
        blockCapacity.push_back(cd.value);
        leftBlock |= blocks[i].Hand < 0;
    }
    EXPECT_TRUE(leftScrew);
    EXPECT_TRUE(leftBlock);
    // 45, 60 and 90 degree blocks: less conveying with more stagger, never none.
    EXPECT_GT(blockCapacity[0], blockCapacity[1]);
    EXPECT_GT(blockCapacity[1], blockCapacity[2]);
    EXPECT_GT(blockCapacity[2], 0.0);
    EXPECT_LT(blockCapacity[3], 0.0);
}

TEST_F(DemoData, GradientVanishesAtEachElementsOwnDragCapacity) {
    const auto src = source();
    auto check = [&](const char* type, const std::string& code) {
        for (float n : {0.1f, 0.35f, 0.5f, 0.77f, 1.0f}) {
            const double cd = sim::ReadFlowTable(src, type, code, 0.0, n).value;
            const auto atCapacity = sim::ReadFlowTable2(src, type, code, cd, n);
            const auto offCapacity = sim::ReadFlowTable2(src, type, code, cd - 0.05, n);
            ASSERT_TRUE(atCapacity.found()) << atCapacity.missText();
            ASSERT_TRUE(offCapacity.found());
            EXPECT_GT(offCapacity.value, 0.0) << code;  // below capacity the element builds pressure
            EXPECT_LT(std::fabs(atCapacity.value), 1e-4 * std::fabs(offCapacity.value) + 1e-5)
                << code << " n=" << n;
        }
    };
    for (const auto& e : demo::screwElements()) check("S", e.Code.rtrimmed());
    for (const auto& k : demo::kneadingBlocks()) check("K", k.Code.rtrimmed());
}

TEST_F(DemoData, HeatNeverFallsBelowThePressureWork) {
    // The calculation's filled-channel heat is heat - gradient * q with the
    // axial gradient: the model keeps it positive at every row and index.
    const auto src = source();
    for (const auto& e : demo::screwElements()) {
        const std::string code = e.Code.rtrimmed();
        const double sinHelix = std::sin(demo::modelOf(e).helix);
        for (int row = 2; row <= 52; ++row) {
            const float q = demo::rowFlowRate(row);
            for (float n : {0.2f, 0.6f, 1.0f}) {
                const double g = sim::ReadFlowTable2(src, "S", code, q, n).value / sinHelix;
                const double h = sim::ReadHeatTable(src, "S", code, q, n).value;
                EXPECT_GE(h - q * g, -1e-4 * std::fabs(h)) << code << " q=" << q << " n=" << n;
            }
        }
    }
    for (const auto& k : demo::kneadingBlocks()) {
        const std::string code = k.Code.rtrimmed();
        for (int row = 2; row <= 52; ++row) {
            const float q = demo::rowFlowRate(row);
            const double g = sim::ReadFlowTable2(src, "K", code, q, 0.5f).value;
            const double h = sim::ReadHeatTable(src, "K", code, q, 0.5f).value;
            EXPECT_GT(h, 0.0);
            EXPECT_GE(h - q * g, -1e-4 * std::fabs(h)) << code << " q=" << q;
        }
    }
}

TEST_F(DemoData, HeatIsNeverNegativeNotEvenFarAboveTheDragCapacity) {
    // Every stored heat value, in every row and at every index.
    for (const char* table : {"screwflw/LAB30.het", "kneadflw/LAB30.het"}) {
        const auto bytes = slurp(*dir_ / table);
        ASSERT_EQ(bytes.size() % sim::kTableRecordSize, 0u) << table;
        ASSERT_GT(bytes.size(), 0u) << table;
        for (std::size_t at = 0; at < bytes.size(); at += sim::kTableRecordSize) {
            const std::string key(bytes.data() + at, 16);
            for (std::size_t row = 2; row <= sim::kTableRowCount; ++row) {
                const std::size_t rowAt = at + sim::kTableKeySize + sim::kTableRowSize * (row - 1);
                for (std::size_t k = 1; k <= sim::kTableValues; ++k) {
                    float v;
                    std::memcpy(&v, bytes.data() + rowAt + 4 * k, 4);
                    EXPECT_GE(v, 0.0f) << table << " " << key << " row " << row << " value " << k;
                }
            }
        }
    }
    // Looked up between rows and between indices, and at the drag capacity,
    // where the channel runs on drag alone.
    const auto src = source();
    auto check = [&](const char* type, const std::string& code) {
        for (float n : {0.15f, 0.45f, 0.95f}) {
            for (double q : {-0.245, 0.005, 0.125, 0.2475, 0.25}) {
                const auto h = sim::ReadHeatTable(src, type, code, q, n);
                ASSERT_TRUE(h.found()) << h.missText();
                EXPECT_GE(h.value, 0.0) << code << " q=" << q << " n=" << n;
            }
            const double cd = sim::ReadFlowTable(src, type, code, 0.0, n).value;
            EXPECT_GT(sim::ReadHeatTable(src, type, code, cd, n).value, 0.0) << code;
        }
    };
    for (const auto& e : demo::screwElements()) check("S", e.Code.rtrimmed());
    for (const auto& k : demo::kneadingBlocks()) check("K", k.Code.rtrimmed());
}

TEST_F(DemoData, SampleScrewBarrelAndDieFitTogether) {
    const auto screw = records::readScrewFile(app() + "demo.srw");
    ASSERT_GE(screw.size(), 4u);
    EXPECT_TRUE(records::hasMarker(screw.front()));
    EXPECT_EQ(screw.front().Code.trimmed(), "LAB30");
    EXPECT_EQ(screw[1].Code.trimmed(), "Screw Root");
    EXPECT_EQ(screw.back().Code.trimmed(), "Screw Head");
    EXPECT_EQ(screw.front().Tips, static_cast<std::int16_t>(screw.size() - 3));
    const float R = demo::kDiameter / 2.0f;

    const auto barrel = records::readBarrelFile(app() + "demo.brl");
    ASSERT_GE(barrel.size(), 3u);
    EXPECT_TRUE(records::hasMarker(barrel.front()));
    EXPECT_EQ(barrel[1].blockType(), 'H');  // hopper first
    double barrelLength = 0, ventStart = -1;
    for (std::size_t i = 1; i < barrel.size(); ++i) {
        if (barrel[i].blockType() == 'V' && ventStart < 0) ventStart = barrelLength;
        barrelLength += barrel[i].Length;
    }
    EXPECT_GT(ventStart, 0.0);
    EXPECT_NEAR(barrel.front().Length, barrelLength, 1e-3);

    double position = 0, screwLength = 0, lastKneadingEnd = -1;
    for (std::size_t i = 2; i + 1 < screw.size(); ++i) {
        const double length = screw[i].Length * R;
        if (screw[i].Kind == "k") lastKneadingEnd = position + length;
        position += length;
    }
    screwLength = position;
    EXPECT_GE(screwLength + 1e-3, barrelLength);
    EXPECT_GT(lastKneadingEnd, 0.0);
    EXPECT_LE(lastKneadingEnd, ventStart);  // melt before the vent

    const auto die = records::readDieFile(app() + "demo.die");
    EXPECT_TRUE(records::hasMarker(die));
    EXPECT_GT(die.EntranceDiameter, die.CapillaryDiameter);  // a converging zone
    EXPECT_GT(die.TotalLength, die.CapillaryZoneLength);
    EXPECT_GE(die.Holes, 1);

    // The catalog lists the code under its series.
    const auto seriesBytes = slurp(*dir_ / "maincat.dat");
    const auto codeBytes = slurp(*dir_ / "maincode.dat");
    ASSERT_EQ(seriesBytes.size(), 64u);
    ASSERT_EQ(codeBytes.size(), 72u);
    EXPECT_TRUE(std::equal(seriesBytes.begin(), seriesBytes.end(), codeBytes.begin()));
    EXPECT_EQ(std::string(codeBytes.begin() + 64, codeBytes.end()), "LAB30   ");
}

TEST_F(DemoData, DemoExtruderHoldsTheSampleFilesPlacedAsAssembled) {
    const auto bytes = slurp(*dir_ / "demo.ext");
    // 18 screw elements with header, root and head; 5 barrel blocks with
    // header and die.
    ASSERT_EQ(bytes.size(), 221u + 39u * 21 + 36u * 7);
    const auto ext = records::readExtruderFile(app() + "demo.ext");
    EXPECT_TRUE(records::hasMarker(ext.header));
    EXPECT_EQ(ext.header.Code.str(), "LAB30   ");
    EXPECT_EQ(ext.header.ScrewFile.rtrimmed(), "demo.srw");
    EXPECT_EQ(ext.header.BarrelFile.rtrimmed(), "demo.brl");
    EXPECT_EQ(ext.header.DieFile.rtrimmed(), "demo.die");
    EXPECT_EQ(ext.header.ScrewCount, 21);
    EXPECT_EQ(ext.header.BarrelCount, 7);

    // R = 15 mm. Barrel 600 mm = 40 R; the hopper opening's upstream edge at
    // (60 - 30) / 15 = 2 R, so 38 R of feed; the screw's elements and head,
    // 606 / 15 + 0.577 = 40.977 R, reach it without an offset. Root, elements
    // and head, 43.977 R, stand 3.977 R past the barrel, and the die adds
    // 40 / 15 R.
    EXPECT_EQ(ext.header.ScrewOffset, 0.0f);
    EXPECT_EQ(ext.header.Gap, 0.0f);
    // Single sums of about 44 R: a few units in the last place.
    EXPECT_NEAR(ext.header.BarrelOverhang, 3.0 + 606.0 / 15 + 0.577 - 40.0, 4e-5);
    EXPECT_NEAR(ext.header.TotalLength, 3.977 + 40.0 + 40.0 / 15, 4e-5);
    // The vent closes at (360 + 60 + 20) / 15 R; with the overhang the screw's
    // last element, ending at 43.4 R, lies well past it.
    EXPECT_GT(3.0 + 606.0 / 15, 3.977 + 440.0 / 15);

    EXPECT_EQ(ext.screw, records::readScrewFile(app() + "demo.srw"));
    EXPECT_EQ(ext.barrel[0], records::readBarrelFile(app() + "demo.brl")[0]);  // the header keeps its mm
    EXPECT_EQ(ext.barrel[6].blockType(), 'D');
    EXPECT_NEAR(ext.barrel[6].dieTotalLength(), 40.0 / 15, 1e-6);
}

TEST_F(DemoData, WritingIsDeterministic) {
    const fs::path again = *dir_ / "again";
    for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "screwflw", "kneadflw"})
        fs::create_directories(again / sub);
    EXPECT_TRUE(demo::writeDemoData(again.string()).empty());
    for (const char* f : {"maincat.dat", "maincode.dat", "screwgeo/LAB30.gs", "kneadgeo/LAB30.gk",
                          "brlkgeo/LAB30.gb", "screwflw/LAB30.dp1", "screwflw/LAB30.het", "kneadflw/LAB30.dp1",
                          "kneadflw/LAB30.het", "demo.srw", "demo.brl", "demo.die", "demo.ext"}) {
        EXPECT_EQ(slurp(*dir_ / f), slurp(again / f)) << f;
    }
}

// The calculation hands over paths of at most 126 characters: an application
// directory that puts demo.prm one character past that gets the whole data
// set but its result, and the reason; one that puts it at 126 gets it all.
TEST_F(DemoData, AFolderTooDeepForTheHandOverGetsAllButTheResultAndTheReason) {
    const std::string base = (*dir_ / "").string();
    const std::size_t room = 126 - std::string("/demo.prm").size();
    if (base.size() >= room) GTEST_SKIP() << "the temporary folder is too deep already";
    for (std::size_t length : {room, room + 1}) {
        const fs::path app = base + std::string(length - base.size(), 'd');
        for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "screwflw", "kneadflw"})
            fs::create_directories(app / sub);
        std::string leftOut;
        EXPECT_TRUE(demo::writeDemoData(app.string(), &leftOut).empty());
        const std::string prm = (app / "demo.prm").string();
        if (length == room) {
            EXPECT_EQ(leftOut, "");
            EXPECT_TRUE(fs::exists(app / "demo.flw"));
        } else {
            EXPECT_EQ(leftOut, "demo.flw left out: the calculation hands over paths of at most 126 characters, and " +
                                   prm + " has 127 characters");
            EXPECT_FALSE(fs::exists(app / "demo.flw"));
            EXPECT_EQ(slurp(app / "demo.ext"), slurp(*dir_ / "demo.ext"));
            EXPECT_EQ(slurp(app / "demo.prm"), slurp(*dir_ / "demo.prm"));
            // Without a place for the reason it is a problem.
            EXPECT_EQ(demo::writeDemoData(app.string()), std::vector<std::string>{leftOut});
        }
    }

    // The tool as the build runs it, where demo.prm has 146 characters: it
    // writes the rest, says in one line what it left out and why, and
    // succeeds, so that the build goes on.
    const fs::path deep = base + std::string(146 - std::string("/demo.prm").size() - base.size(), 'e');
    for (const char* sub : {"screwgeo", "kneadgeo", "brlkgeo", "screwflw", "kneadflw"})
        fs::create_directories(deep / sub);
    const std::string command = std::string(VELKOR_PROGRAM_velkor_demo_data) + " '" + deep.string() + "' 2>&1";
    FILE* tool = ::popen(command.c_str(), "r");
    ASSERT_NE(tool, nullptr);
    std::string said;
    for (char chunk[256]; std::fgets(chunk, sizeof chunk, tool) != nullptr;) said += chunk;
    const int status = ::pclose(tool);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(said, "velkor_demo_data: demo.flw left out: the calculation hands over paths of at most 126 characters, "
                    "and " + (deep / "demo.prm").string() + " has 146 characters\n");
    for (const char* f : {"maincat.dat", "maincode.dat", "screwgeo/LAB30.gs", "kneadgeo/LAB30.gk", "brlkgeo/LAB30.gb",
                          "screwflw/LAB30.dp1", "screwflw/LAB30.het", "kneadflw/LAB30.dp1", "kneadflw/LAB30.het",
                          "demo.srw", "demo.brl", "demo.die", "demo.ext", "demo.prm"})
        EXPECT_EQ(slurp(deep / f), slurp(*dir_ / f)) << f;
    EXPECT_FALSE(fs::exists(deep / "demo.flw"));
}

}  // namespace
