// Whole element, screw, barrel, die and extruder files on disk.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "records/design_files.h"

using namespace records;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

class DesignFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velkor_design_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    Bytes bytesOf(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void put(const std::string& name, const Bytes& b) const {
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }

    fs::path dir_;
};

int errorOf(auto&& body) {
    try {
        body();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

float singleAt(const Bytes& b, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
std::int16_t integerAt(const Bytes& b, std::size_t at) {
    return static_cast<std::int16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::string textAt(const Bytes& b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

ScrewGeoRec screwGeo(const char* code, float d, float cl, float lead, float len, std::int16_t hand) {
    ScrewGeoRec g;
    g.Code = code;
    g.Diameter = d;
    g.CenterlineDistance = cl;
    g.Tips = 2;
    g.Lead = lead;
    g.Length = len;
    g.Hand = hand;
    return g;
}

BarrelRec block(const char* code, char type, float len, float width, float loc) {
    BarrelRec b;
    b.Code = code;
    b.BoreDiameter = 50.5f;
    b.CenterlineSpacing = 42.0f;
    b.Type[0] = type;
    b.Length = len;
    b.OpeningWidth = width;
    b.OpeningLocation = loc;
    return b;
}

}  // namespace

TEST_F(DesignFiles, ElementFilesRoundTripAndCountRounding) {
    std::vector<ScrewGeoRec> recs = {screwGeo("SE 40/40", 50, 42, 40, 40, 1), screwGeo("SE 60/60", 50, 42, 60, 60, 1),
                                     screwGeo("SE 20/20 LH", 50, 42, 20, 20, -1)};
    writeScrewGeoFile(path("Z.gs"), recs);
    Bytes b = bytesOf("Z.gs");
    ASSERT_EQ(b.size(), 3u * 36);
    EXPECT_EQ(textAt(b, 72, 16), "SE 20/20 LH     ");
    EXPECT_EQ(integerAt(b, 72 + 34), -1);
    EXPECT_EQ(readScrewGeoFile(path("Z.gs")), recs);

    // 90 bytes = 2.5 records round to 2; 100 bytes = 2.78 round to 3 with the
    // third record partly beyond the end (its missing numbers read as zero).
    Bytes cut(b.begin(), b.begin() + 90);
    put("half.gs", cut);
    EXPECT_EQ(readScrewGeoFile(path("half.gs")).size(), 2u);
    cut.assign(b.begin(), b.begin() + 100);
    put("part.gs", cut);
    auto part = readScrewGeoFile(path("part.gs"));
    ASSERT_EQ(part.size(), 3u);
    EXPECT_EQ(part[2].Code, recs[2].Code);
    EXPECT_EQ(part[2].Diameter, 50.0f);
    EXPECT_EQ(part[2].Length, 0.0f);
    EXPECT_EQ(part[2].Hand, 0);

    // A missing file is not found and not created; opened for editing it is
    // created and reads as empty. Writing no records leaves an empty file.
    EXPECT_EQ(errorOf([&] { readKneadGeoFile(path("NEW.gk")); }), rt::kFileNotFound);
    EXPECT_FALSE(fs::exists(dir_ / "NEW.gk"));
    EXPECT_TRUE(readKneadGeoFile(path("NEW.gk"), OpenMode::CreateIfMissing).empty());
    EXPECT_TRUE(fs::exists(dir_ / "NEW.gk"));
    EXPECT_TRUE(readBarrelGeoFile(path("NEW.gb"), OpenMode::CreateIfMissing).empty());
    // A library a code has not yet reads as empty and is not created; one in
    // a missing folder is an error.
    EXPECT_TRUE(readKneadLibrary(path("NONE.gk")).empty());
    EXPECT_FALSE(fs::exists(dir_ / "NONE.gk"));
    EXPECT_EQ(errorOf([&] { readBarrelLibrary(path("none/NONE.gb")); }), rt::kPathNotFound);
    // Readers that take a count of 0 as 1 get one blank record.
    auto blank = readBarrelGeoFile(path("NEW.gb"), OpenMode::CreateIfMissing, ReadCount::ZeroAsOne);
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_EQ(blank[0].Code.str(), std::string(15, ' '));
    EXPECT_EQ(blank[0].Length, 0.0f);
    writeBarrelGeoFile(path("NEW.gb"), {block("HOP", 'H', 100, 50, 50)});
    EXPECT_EQ(bytesOf("NEW.gb").size(), 36u);
    writeBarrelGeoFile(path("NEW.gb"), {});
    EXPECT_EQ(bytesOf("NEW.gb").size(), 0u);

    KneadGeoRec k;
    k.Code = "KB45/5/30";
    k.Diameter = 50;
    k.Disks = 5;
    k.Hand = 1;
    writeKneadGeoFile(path("Z.gk"), {k, k});
    EXPECT_EQ(bytesOf("Z.gk").size(), 76u);
    EXPECT_EQ(readKneadGeoFile(path("Z.gk")), (std::vector<KneadGeoRec>{k, k}));
}

TEST_F(DesignFiles, LibraryElementsInRadiusUnits) {
    ScrewRec s = screwElementFrom(screwGeo("SE 60/60", 50, 42, 60, 100, -1));
    EXPECT_EQ(s.kind(), 's');
    EXPECT_EQ(s.CenterlineRatio, 42.0f / 25.0f);
    EXPECT_EQ(s.Length, 4.0f);
    EXPECT_EQ(s.Hand, -1);
    EXPECT_EQ(s.HelixAngle, static_cast<float>(std::atan(60.0 / (50.0 * 3.141592654))));
    EXPECT_EQ(s.Disks, -999);
    EXPECT_EQ(s.StaggerAngle, -999.0f);

    KneadGeoRec kg;
    kg.Code = "KB45";
    kg.Diameter = 50;
    kg.CenterlineDistance = 42;
    kg.Tips = 2;
    kg.StaggerAngle = 45;
    kg.Length = 50;
    kg.Disks = 5;
    kg.Hand = 1;
    ScrewRec k = screwElementFrom(kg);
    EXPECT_EQ(k.kind(), 'k');
    EXPECT_EQ(k.Length, 2.0f);
    EXPECT_EQ(k.HelixAngle, 0.0f);
    EXPECT_EQ(k.Disks, 5);
    EXPECT_EQ(k.StaggerAngle, 45.0f);

    // The blank record of an empty library has diameter 0.
    EXPECT_EQ(errorOf([] { screwElementFrom(ScrewGeoRec{}); }), rt::kDivisionByZero);
    EXPECT_EQ(errorOf([] { screwElementFrom(KneadGeoRec{}); }), rt::kDivisionByZero);
}

TEST_F(DesignFiles, ScrewFileLayout) {
    // An empty design: header, root, head = 117 bytes.
    writeScrewFile(path("empty.srw"), screwFileHeader("ZSK30", 50.0f, {}), {});
    Bytes e = bytesOf("empty.srw");
    ASSERT_EQ(e.size(), 117u);
    EXPECT_EQ(textAt(e, 0, 16), "ZSK30           ");
    EXPECT_EQ(e[16], 1);
    EXPECT_EQ(singleAt(e, 17), 50.0f);
    EXPECT_EQ(integerAt(e, 21), 0);
    EXPECT_EQ(singleAt(e, 25), 0.0f);
    EXPECT_EQ(singleAt(e, 35), -999.0f);
    EXPECT_EQ(textAt(e, 39, 17), "Screw Root      r");
    EXPECT_EQ(singleAt(e, 39 + 25), 3.0f);
    EXPECT_EQ(textAt(e, 78, 17), "Screw Head      h");
    EXPECT_EQ(singleAt(e, 78 + 25), 0.577f);
    EXPECT_EQ(integerAt(e, 78 + 33), 0);
    EXPECT_EQ(singleAt(e, 78 + 35), 0.0f);

    // Three elements: two conveying (one left-handed, one stored "S"), one kneading.
    ScrewRec a = screwElementFrom(screwGeo("SE 40/40", 50, 42, 40, 50, 1));
    ScrewRec b = screwElementFrom(screwGeo("SE 20/20 LH", 50, 42, 20, 37.5f, -1));
    b.Kind = "S";
    KneadGeoRec kg;
    kg.Code = "KB45";
    kg.Diameter = 50;
    kg.Length = 50;
    kg.Disks = 5;
    kg.Hand = -1;
    ScrewRec k = screwElementFrom(kg);
    ScrewRec h = screwFileHeader("ZSK30", 50.0f, {a, b, k});
    EXPECT_EQ(h.headerElementCount(), 3);
    EXPECT_EQ(h.headerConveyingCount(), 2);
    EXPECT_EQ(h.headerKneadingCount(), 1);
    EXPECT_EQ(h.headerLeftHandedCount(), 2.0f);
    EXPECT_EQ(h.headerTotalLength(), 2.0f + 1.5f + 2.0f);
    EXPECT_TRUE(hasMarker(h));

    writeScrewFile(path("s.srw"), h, {a, b, k});
    Bytes s = bytesOf("s.srw");
    ASSERT_EQ(s.size(), 6u * 39);
    EXPECT_EQ(textAt(s, 2 * 39, 16), "SE 40/40        ");
    EXPECT_EQ(s[4 * 39 + 16], 'k');
    EXPECT_EQ(textAt(s, 5 * 39, 10), "Screw Head");
    auto back = readScrewFile(path("s.srw"));
    ASSERT_EQ(back.size(), 6u);
    EXPECT_EQ(back[0], h);
    EXPECT_EQ(back[1], screwRootRecord());
    EXPECT_EQ(back[3], b);
    EXPECT_EQ(back[5], screwHeadRecord());
    EXPECT_FALSE(hasMarker(back[1]));

    // Design files are only read: a missing one is an error and stays missing.
    EXPECT_EQ(errorOf([&] { readScrewFile(path("none.srw")); }), rt::kFileNotFound);
    EXPECT_EQ(errorOf([&] { readBarrelFile(path("none.brl")); }), rt::kFileNotFound);
    EXPECT_EQ(errorOf([&] { readDieFile(path("none.die")); }), rt::kFileNotFound);
    EXPECT_FALSE(fs::exists(dir_ / "none.srw"));
    EXPECT_FALSE(fs::exists(dir_ / "none.brl"));
    EXPECT_FALSE(fs::exists(dir_ / "none.die"));
}

TEST_F(DesignFiles, BarrelAndDieFiles) {
    // Header only for an empty design.
    writeBarrelFile(path("empty.brl"), barrelFileHeader("ZSK30", 50.0f, {}), {});
    Bytes e = bytesOf("empty.brl");
    ASSERT_EQ(e.size(), 36u);
    EXPECT_EQ(e[23], 2);
    EXPECT_EQ(singleAt(e, 32), 0.0f);

    // Hopper 100, plane 200, vent 100 with D 50: header 50, 1, Chr(2), 400, 1, 3.
    std::vector<BarrelRec> blocks = {block("HOP", 'H', 100, 50, 50), block("PLN", 'P', 200, 0, 0),
                                     block("VNT", 'V', 100, 40, 50)};
    BarrelRec h = barrelFileHeader("ZSK30", 50.0f, blocks);
    writeBarrelFile(path("b.brl"), h, blocks);
    Bytes b = bytesOf("b.brl");
    ASSERT_EQ(b.size(), 4u * 36);
    EXPECT_EQ(textAt(b, 0, 15), "ZSK30          ");
    EXPECT_EQ(singleAt(b, 15), 50.0f);
    EXPECT_EQ(singleAt(b, 19), 1.0f);
    EXPECT_EQ(b[23], 2);
    EXPECT_EQ(singleAt(b, 24), 400.0f);
    EXPECT_EQ(singleAt(b, 28), 1.0f);
    EXPECT_EQ(singleAt(b, 32), 3.0f);
    EXPECT_EQ(b[3 * 36 + 23], 'V');
    auto back = readBarrelFile(path("b.brl"));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_TRUE(hasMarker(back[0]));
    EXPECT_EQ(back[2], blocks[1]);
    EXPECT_EQ(errorOf([&] { barrelFileHeader("ZSK30", 0.0f, blocks); }), rt::kDivisionByZero);

    DieRec d;
    d.Code = "ZSK30";
    d.Marker = markerFor(FileKind::Die);
    d.EntranceDiameter = 30;
    d.CapillaryDiameter = 3;
    d.CapillaryZoneLength = 10;
    d.TotalLength = 40;
    d.Holes = 4;
    writeDieFile(path("d.die"), d);
    EXPECT_EQ(bytesOf("d.die").size(), 27u);
    EXPECT_EQ(readDieFile(path("d.die")), d);
    EXPECT_TRUE(hasMarker(readDieFile(path("d.die"))));

    // 10 bytes: code and marker are there, the numbers read as zero.
    Bytes part = bytesOf("d.die");
    part.resize(10);
    put("part.die", part);
    DieRec p = readDieFile(path("part.die"));
    EXPECT_EQ(p.Code, d.Code);
    EXPECT_TRUE(hasMarker(p));
    EXPECT_EQ(p.Holes, 0);
}

namespace {

ExtruderFileContent sampleExtruder(int n, int m, bool die) {
    ExtruderFileContent c;
    c.header.Code = "ZSK30";
    c.header.Marker = markerFor(FileKind::Extruder);
    c.header.ScrewFile = "C:\\designs\\a.srw";
    c.header.BarrelFile = "C:\\designs\\a.brl";
    c.header.DieFile = die ? "C:\\designs\\a.die" : "";
    std::vector<ScrewRec> elements;
    for (int i = 0; i < n; ++i) elements.push_back(screwElementFrom(screwGeo("SE 40/40", 50, 42, 40, 50, 1)));
    c.screw.push_back(screwFileHeader("ZSK30", 50.0f, elements));
    c.screw.push_back(screwRootRecord());
    c.screw.insert(c.screw.end(), elements.begin(), elements.end());
    c.screw.push_back(screwHeadRecord());
    std::vector<BarrelRec> blocks;
    for (int i = 0; i < m; ++i) blocks.push_back(block("PLN", i == 0 ? 'H' : 'P', 100, 50, 50));
    c.barrel.push_back(barrelFileHeader("ZSK30", 50.0f, blocks));
    for (const BarrelRec& b : blocks) c.barrel.push_back(b.inRadiusUnits(25.0f));
    if (die) {
        BarrelRec d;
        d.Type = "D";
        d.dieTotalLength() = 1.6f;
        d.dieHoles() = 4.0f;
        c.barrel.push_back(d);
    }
    c.header.ScrewCount = static_cast<std::int16_t>(c.screw.size());
    c.header.BarrelCount = static_cast<std::int16_t>(c.barrel.size());
    c.header.ScrewOffset = 2.423f;
    c.header.BarrelOverhang = 2.0f;
    c.header.TotalLength = 18.0f;
    return c;
}

}  // namespace

TEST_F(DesignFiles, ExtruderFileLayoutAndRoundTrip) {
    const int n = 4, m = 3;
    ExtruderFileContent c = sampleExtruder(n, m, true);
    writeExtruderFile(path("x.ext"), c);
    Bytes b = bytesOf("x.ext");
    ASSERT_EQ(b.size(), 221u + 39u * (n + 3) + 36u * (m + 2));
    EXPECT_EQ(b.size(), extruderFileLength(n + 3, m + 2));
    EXPECT_EQ(b[8], 4);
    EXPECT_EQ(integerAt(b, 201), n + 3);
    EXPECT_EQ(integerAt(b, 203), m + 2);
    EXPECT_EQ(b[221 + 16], 1);                                   // screw header marker
    EXPECT_EQ(textAt(b, 221 + 39, 10), "Screw Root");
    const std::size_t barrelAt = 221 + 39 * (n + 3);
    EXPECT_EQ(b[barrelAt + 23], 2);                              // barrel header marker
    EXPECT_EQ(singleAt(b, barrelAt + 24), 300.0f);               // header length stays in mm
    EXPECT_EQ(singleAt(b, barrelAt + 36 + 24), 4.0f);            // block length / R
    EXPECT_EQ(b[barrelAt + 36 * (m + 1) + 23], 'D');
    EXPECT_EQ(textAt(b, barrelAt + 36 * (m + 1), 15), std::string(15, '\0'));
    EXPECT_EQ(singleAt(b, barrelAt + 36 * (m + 1) + 32), 4.0f);  // holes undivided

    ExtruderFileContent back = readExtruderFile(path("x.ext"));
    EXPECT_EQ(back.header, c.header);
    EXPECT_EQ(back.screw, c.screw);
    EXPECT_EQ(back.barrel, c.barrel);
    EXPECT_TRUE(hasMarker(readExtHeader(path("x.ext"))));

    // A path of more than 64 characters is stored cut.
    const std::string longPath = "C:\\" + std::string(80, 'p') + ".srw";
    c.header.ScrewFile = longPath;
    writeExtruderFile(path("long.ext"), c);
    EXPECT_EQ(textAt(bytesOf("long.ext"), 9, 64), longPath.substr(0, 64));
    EXPECT_EQ(readExtHeader(path("long.ext")).ScrewFile.str(), longPath.substr(0, 64));
}

TEST_F(DesignFiles, ExtruderWriteOverKeepsTailAndReplaceDoesNot) {
    writeExtruderFile(path("x.ext"), sampleExtruder(6, 4, true));
    const std::size_t longLen = bytesOf("x.ext").size();
    ExtruderFileContent small = sampleExtruder(1, 1, false);
    writeExtruderFile(path("x.ext"), small, ExtruderWrite::OverExisting);
    EXPECT_EQ(bytesOf("x.ext").size(), longLen);
    ExtruderFileContent back = readExtruderFile(path("x.ext"));
    EXPECT_EQ(back.screw, small.screw);
    EXPECT_EQ(back.barrel, small.barrel);

    writeExtruderFile(path("x.ext"), small, ExtruderWrite::Replace);
    EXPECT_EQ(bytesOf("x.ext").size(), extruderFileLength(4, 2));

    // Counts that disagree with the records are refused, nothing written.
    small.header.ScrewCount = 9;
    EXPECT_EQ(errorOf([&] { writeExtruderFile(path("bad.ext"), small); }), rt::kInvalidCall);
    EXPECT_FALSE(fs::exists(dir_ / "bad.ext"));
}

TEST_F(DesignFiles, TruncatedAndGarbageExtruderFilesAreRejected) {
    writeExtruderFile(path("x.ext"), sampleExtruder(2, 2, true));
    Bytes b = bytesOf("x.ext");

    Bytes cut(b.begin(), b.end() - 1);
    put("cut.ext", cut);
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("cut.ext")); }), rt::kInputPastEndOfFile);
    put("short.ext", Bytes(b.begin(), b.begin() + 100));
    EXPECT_EQ(errorOf([&] { readExtHeader(path("short.ext")); }), rt::kInputPastEndOfFile);
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("short.ext")); }), rt::kInputPastEndOfFile);
    put("empty.ext", {});
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("empty.ext")); }), rt::kInputPastEndOfFile);

    Bytes neg = b;
    neg[202] = 0xFF;  // nS negative
    put("neg.ext", neg);
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("neg.ext")); }), rt::kBadRecordLength);

    Bytes huge = b;
    huge[201] = 0xFF;
    huge[202] = 0x7F;  // nS = 32767
    huge[204] = 0x7F;  // nB around 32512
    put("huge.ext", huge);
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("huge.ext")); }), rt::kInputPastEndOfFile);

    // Random bytes of every length up to a few records: an error or a
    // consistent content, never a crash.
    std::mt19937 gen(7);
    for (int len = 0; len < 700; len += 7) {
        Bytes g(static_cast<std::size_t>(len));
        for (auto& x : g) x = static_cast<std::uint8_t>(gen());
        if (len > 204 && len % 2) {  // small counts so some parse completely
            g[201] = static_cast<std::uint8_t>(gen() % 4);
            g[202] = 0;
            g[203] = static_cast<std::uint8_t>(gen() % 4);
            g[204] = 0;
        }
        try {
            ExtruderFileContent r = parseExtruderFile(g);
            EXPECT_EQ(r.screw.size(), static_cast<std::size_t>(r.header.ScrewCount));
            EXPECT_EQ(r.barrel.size(), static_cast<std::size_t>(r.header.BarrelCount));
        } catch (const rt::Error&) {
        }
    }

    // A missing extruder file is an error and is not created.
    EXPECT_EQ(errorOf([&] { readExtruderFile(path("none.ext")); }), rt::kFileNotFound);
    EXPECT_FALSE(fs::exists(dir_ / "none.ext"));
}

TEST_F(DesignFiles, WildcardNamesAreNeverCreated) {
    // A cancelled dialog hands back the pattern itself.
    EXPECT_NE(errorOf([&] { writeScrewFile(path("*.srw"), screwFileHeader("Z", 50, {}), {}); }), 0);
    EXPECT_NE(errorOf([&] { readBarrelFile(path("*.brl")); }), 0);
    EXPECT_NE(errorOf([&] { writeExtruderFile(path("*.ext"), sampleExtruder(0, 1, false),
                                              ExtruderWrite::OverExisting); }),
              0);
    EXPECT_TRUE(fs::is_empty(dir_));
}
