// Every record type against bytes laid out by hand at the documented offsets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rt/error.h"
#include "records/analysis_records.h"
#include "records/catalog_records.h"
#include "records/design_records.h"
#include "records/parameter_records.h"
#include "records/result_records.h"

using namespace records;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Builders of expected bytes, independent of the packing code.
void putI(Bytes& b, std::size_t at, std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    b.at(at) = u & 0xFF;
    b.at(at + 1) = u >> 8;
}
void putS(Bytes& b, std::size_t at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) b.at(at + i) = (u >> (8 * i)) & 0xFF;
}
void putT(Bytes& b, std::size_t at, const std::string& s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) b.at(at + i) = i < s.size() ? s[i] : ' ';
}
void putC(Bytes& b, std::size_t at, char c) { b.at(at) = static_cast<std::uint8_t>(c); }

template <class Rec>
void expectRoundTrip(const Rec& rec, const Bytes& expected) {
    ASSERT_EQ(expected.size(), Rec::kSize);
    EXPECT_EQ(pack(rec), expected);
    EXPECT_TRUE(unpack<Rec>(expected) == rec);
    // One byte short is an error, never a read out of range.
    try {
        unpack<Rec>(expected.data(), expected.size() - 1);
        ADD_FAILURE() << "truncated record read without error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::kInputPastEndOfFile);
    }
}

}  // namespace

TEST(RecordLayout, DefaultRecordsPackToTheirSizeWithZeroTextAndNumbers) {
    EXPECT_EQ(pack(CatalogSeriesRec{}), Bytes(64, 0));
    EXPECT_EQ(pack(CatalogCodeRec{}), Bytes(72, 0));
    EXPECT_EQ(pack(ScrewGeoRec{}), Bytes(36, 0));
    EXPECT_EQ(pack(KneadGeoRec{}), Bytes(38, 0));
    EXPECT_EQ(pack(BarrelRec{}), Bytes(36, 0));
    EXPECT_EQ(pack(ScrewRec{}), Bytes(39, 0));
    EXPECT_EQ(pack(DieRec{}), Bytes(27, 0));
    EXPECT_EQ(pack(ExtHeader{}), Bytes(221, 0));
    EXPECT_EQ(pack(AnalysisRecord{}), Bytes(51, 0));
    EXPECT_EQ(pack(AnalysisHeader{}), Bytes(327, 0));
    EXPECT_EQ(pack(ParameterFileHeader{}), Bytes(29, 0));
    EXPECT_EQ(pack(SolidsBlock{}), Bytes(40, 0));
    EXPECT_EQ(pack(MeltingBlock{}), Bytes(16, 0));
    EXPECT_EQ(pack(PortRecord{}), Bytes(44, 0));
    EXPECT_EQ(pack(ElementRecord{}), Bytes(119, 0));
    EXPECT_EQ(pack(RunState{}), Bytes(16, 0));
    EXPECT_EQ(pack(MeltProfileRow{}), Bytes(24, 0));
}

TEST(RecordLayout, Catalog) {
    CatalogSeriesRec s;
    s.SeriesName = "ZSK SERIES";
    Bytes bs(64);
    putT(bs, 0, "ZSK SERIES", 64);
    expectRoundTrip(s, bs);

    CatalogCodeRec c;
    c.SeriesName = "ZSK SERIES";
    c.Code = "ZSK30LONGCODE";  // cut to 8
    Bytes bc(72);
    putT(bc, 0, "ZSK SERIES", 64);
    putT(bc, 64, "ZSK30LON", 8);
    expectRoundTrip(c, bc);
}

TEST(RecordLayout, ElementDatabase) {
    ScrewGeoRec g;
    g.Code = "SE 40/40";
    g.Diameter = 30.5f;
    g.CenterlineDistance = 26.0f;
    g.Tips = 2;
    g.Lead = 40.0f;
    g.Length = 60.25f;
    g.Hand = -1;
    Bytes bg(36);
    putT(bg, 0, "SE 40/40", 16);
    putS(bg, 16, 30.5f);
    putS(bg, 20, 26.0f);
    putI(bg, 24, 2);
    putS(bg, 26, 40.0f);
    putS(bg, 30, 60.25f);
    putI(bg, 34, -1);
    expectRoundTrip(g, bg);

    KneadGeoRec k;
    k.Code = "KB45/5/30";
    k.Diameter = 30.5f;
    k.CenterlineDistance = 26.0f;
    k.Tips = 3;
    k.StaggerAngle = 45.0f;
    k.Length = 30.0f;
    k.Disks = 5;
    k.Hand = 1;
    Bytes bk(38);
    putT(bk, 0, "KB45/5/30", 16);
    putS(bk, 16, 30.5f);
    putS(bk, 20, 26.0f);
    putI(bk, 24, 3);
    putS(bk, 26, 45.0f);
    putS(bk, 30, 30.0f);
    putI(bk, 34, 5);
    putI(bk, 36, 1);
    expectRoundTrip(k, bk);
}

TEST(RecordLayout, BarrelRecordAndItsRoles) {
    BarrelRec b;
    b.Code = "HOPPER BLOCK 120MM";  // cut to 15
    b.BoreDiameter = 30.7f;
    b.CenterlineSpacing = 26.0f;
    b.Type = "H";
    b.Length = 120.0f;
    b.OpeningWidth = 40.0f;
    b.OpeningLocation = 60.0f;
    Bytes bb(36);
    putT(bb, 0, "HOPPER BLOCK 12", 15);
    putS(bb, 15, 30.7f);
    putS(bb, 19, 26.0f);
    putC(bb, 23, 'H');
    putS(bb, 24, 120.0f);
    putS(bb, 28, 40.0f);
    putS(bb, 32, 60.0f);
    expectRoundTrip(b, bb);

    // Header role: marker Chr(2) at 23, counts as Singles.
    BarrelRec h;
    h.Code = "ZSK30";
    h.Type = markerFor(FileKind::Barrel);
    h.headerScrewDiameter() = 30.0f;
    h.headerHopperCount() = 1.0f;
    h.headerTotalLength() = 960.0f;
    h.headerVentCount() = 2.0f;
    h.headerBlockCount() = 8.0f;
    Bytes bh(36);
    putT(bh, 0, "ZSK30", 15);
    putS(bh, 15, 30.0f);
    putS(bh, 19, 1.0f);
    putC(bh, 23, 2);
    putS(bh, 24, 960.0f);
    putS(bh, 28, 2.0f);
    putS(bh, 32, 8.0f);
    expectRoundTrip(h, bh);
    EXPECT_TRUE(hasMarker(h.Type, FileKind::Barrel));
    EXPECT_FALSE(hasMarker(h.Type, FileKind::Screw));

    // Die role: code never set (15 zero bytes), holes undivided at 32.
    BarrelRec d;
    d.Type = "D";
    d.dieEntranceDiameter() = 2.0f;
    d.dieCapillaryDiameter() = 0.25f;
    d.dieTotalLength() = 4.0f;
    d.dieCapillaryZoneLength() = 1.5f;
    d.dieHoles() = 6.0f;
    Bytes bd(36);
    putS(bd, 15, 2.0f);
    putS(bd, 19, 0.25f);
    putC(bd, 23, 'D');
    putS(bd, 24, 4.0f);
    putS(bd, 28, 1.5f);
    putS(bd, 32, 6.0f);
    expectRoundTrip(d, bd);

    BarrelRec r = b.inRadiusUnits(15.0f);
    EXPECT_EQ(r.Code, b.Code);
    EXPECT_EQ(r.blockType(), 'H');
    EXPECT_FLOAT_EQ(r.Length, 8.0f);
    EXPECT_FLOAT_EQ(r.OpeningLocation, 4.0f);
    EXPECT_FLOAT_EQ(r.BoreDiameter, 30.7f / 15.0f);
}

TEST(RecordLayout, ScrewRecordElementAndHeader) {
    ScrewRec s;
    s.Code = "SE 40/40";
    s.Kind = "s";
    s.CenterlineRatio = 1.7f;
    s.Tips = 2;
    s.Hand = -1;
    s.Length = 4.0f;
    s.HelixAngle = 0.4f;
    s.Disks = kNoDisks;
    s.StaggerAngle = kNoStagger;
    Bytes bs(39);
    putT(bs, 0, "SE 40/40", 16);
    putC(bs, 16, 's');
    putS(bs, 17, 1.7f);
    putI(bs, 21, 2);
    putI(bs, 23, -1);
    putS(bs, 25, 4.0f);
    putS(bs, 29, 0.4f);
    putI(bs, 33, -999);
    putS(bs, 35, -999.0f);
    expectRoundTrip(s, bs);

    ScrewRec h;
    h.Code = "ZSK30";
    h.Kind = markerFor(FileKind::Screw);
    h.headerScrewDiameter() = 30.0f;
    h.headerElementCount() = 5;
    h.headerConveyingCount() = 3;
    h.headerTotalLength() = 40.0f;
    h.headerLeftHandedCount() = 3.0f;
    h.headerKneadingCount() = 2;
    h.StaggerAngle = kNoStagger;
    Bytes bh(39);
    putT(bh, 0, "ZSK30", 16);
    putC(bh, 16, 1);
    putS(bh, 17, 30.0f);
    putI(bh, 21, 5);
    putI(bh, 23, 3);
    putS(bh, 25, 40.0f);
    putS(bh, 29, 3.0f);
    putI(bh, 33, 2);
    putS(bh, 35, -999.0f);
    expectRoundTrip(h, bh);
}

TEST(RecordLayout, DieAndExtruderHeader) {
    DieRec d;
    d.Code = "ZSK30";
    d.Marker = markerFor(FileKind::Die);
    d.EntranceDiameter = 30.0f;
    d.CapillaryDiameter = 3.0f;
    d.CapillaryZoneLength = 20.0f;
    d.TotalLength = 60.0f;
    d.Holes = 4;
    Bytes bd(27);
    putT(bd, 0, "ZSK30", 8);
    putC(bd, 8, 3);
    putS(bd, 9, 30.0f);
    putS(bd, 13, 3.0f);
    putS(bd, 17, 20.0f);
    putS(bd, 21, 60.0f);
    putI(bd, 25, 4);
    expectRoundTrip(d, bd);

    ExtHeader e;
    e.Code = "ZSK30";
    e.Marker = markerFor(FileKind::Extruder);
    e.ScrewFile = "C:\\work\\a.srw";
    e.BarrelFile = "C:\\work\\a.brl";
    e.DieFile = std::string(70, 'x');
    e.ScrewCount = 8;
    e.BarrelCount = 7;
    e.ScrewOffset = 1.5f;
    e.Gap = 0.0f;
    e.BarrelOverhang = 2.25f;
    e.TotalLength = 64.0f;
    Bytes be(221);
    putT(be, 0, "ZSK30", 8);
    putC(be, 8, 4);
    putT(be, 9, "C:\\work\\a.srw", 64);
    putT(be, 73, "C:\\work\\a.brl", 64);
    putT(be, 137, std::string(64, 'x'), 64);
    putI(be, 201, 8);
    putI(be, 203, 7);
    putS(be, 205, 1.5f);
    putS(be, 209, 0.0f);
    putS(be, 213, 2.25f);
    putS(be, 217, 64.0f);
    expectRoundTrip(e, be);
}

TEST(RecordLayout, ParameterRecords) {
    ParameterFileHeader h;
    h.Marker = markerFor(FileKind::Parameter);
    h.Code = "ZSK30";
    h.Reserved1 = 7;
    h.ScrewSpeed = 300.0f;
    h.DiePressure = 2.5f;
    h.MeltEndElement = 12;
    h.Reserved2 = 9.0f;
    h.TotalThroughput = 20.0f;
    Bytes bh(29);
    putC(bh, 0, 6);
    putT(bh, 1, "ZSK30", 8);
    putI(bh, 9, 7);
    putS(bh, 11, 300.0f);
    putS(bh, 15, 2.5f);
    putI(bh, 19, 12);
    putS(bh, 21, 9.0f);
    putS(bh, 25, 20.0f);
    expectRoundTrip(h, bh);

    SolidsBlock s{0.6f, 1.8f, 0.2f, 0.3f, 0.25f, 500.0f, 400.0f, 220.0f, 200.0f, 25.0f};
    Bytes bs(40);
    const float sv[] = {0.6f, 1.8f, 0.2f, 0.3f, 0.25f, 500.0f, 400.0f, 220.0f, 200.0f, 25.0f};
    for (int i = 0; i < 10; ++i) putS(bs, 4 * i, sv[i]);
    expectRoundTrip(s, bs);
    EXPECT_EQ(s.FeedTemperature, 25.0f);  // the last of the ten

    MeltingBlock m{0.9f, 2.0f, 165.0f, 100.0f};
    Bytes bm(16);
    putS(bm, 0, 0.9f);
    putS(bm, 4, 2.0f);
    putS(bm, 8, 165.0f);
    putS(bm, 12, 100.0f);
    expectRoundTrip(m, bm);

    PortRecord p{10.0f, 0.01f, 200.0f, 5.0f, 0.4f, 0.75f, 2.1f, 300.0f, 250.0f, 210.0f, 205.0f};
    Bytes bp(44);
    const float pv[] = {10.0f, 0.01f, 200.0f, 5.0f, 0.4f, 0.75f, 2.1f, 300.0f, 250.0f, 210.0f, 205.0f};
    for (int i = 0; i < 11; ++i) putS(bp, 4 * i, pv[i]);
    expectRoundTrip(p, bp);
    EXPECT_EQ(p.PowerLawIndex, 0.4f);
    EXPECT_EQ(p.ScrewTemperature, 205.0f);
}

TEST(RecordLayout, AnalysisRecordAndHeader) {
    AnalysisRecord a;
    a.Code = "KB45/5/30";
    a.Kind = "k";
    a.CenterlineRatio = 1.7f;
    a.Tips = 2;
    a.Hand = 1;
    a.HelixAngle = 0.0f;
    a.Disks = 5;
    a.StaggerAngle = 45.0f;
    a.SegmentStart = 10.5f;
    a.SegmentLength = 1.25f;
    a.ElementLength = 2.0f;
    a.RegionCode = kOtherPortRegion;
    a.PortIndex = 2;
    Bytes ba(51);
    putT(ba, 0, "KB45/5/30", 16);
    putC(ba, 16, 'k');
    putS(ba, 17, 1.7f);
    putI(ba, 21, 2);
    putI(ba, 23, 1);
    putS(ba, 25, 0.0f);
    putI(ba, 29, 5);
    putS(ba, 31, 45.0f);
    putS(ba, 35, 10.5f);
    putS(ba, 39, 1.25f);
    putS(ba, 43, 2.0f);
    putI(ba, 47, 12);
    putI(ba, 49, 2);
    expectRoundTrip(a, ba);

    // Nested ExtHeader at 77 (code and marker unset) and run conditions at 298.
    AnalysisHeader h;
    h.Code = "ZSK30";
    h.Marker = markerFor(FileKind::Analysis);
    h.ExtruderFile = "C:\\x.ext";
    h.PortCount = 2;
    h.ElementCount = 14;
    h.ExtruderHeader.ScrewFile = "a.srw";
    h.ExtruderHeader.ScrewCount = 9;
    h.ExtruderHeader.BarrelCount = 6;
    h.ExtruderHeader.TotalLength = 50.0f;
    h.RunConditions.ScrewSpeed = 250.0f;
    h.RunConditions.MeltEndElement = 7;
    h.RunConditions.TotalThroughput = 15.0f;
    Bytes bh(327);
    putT(bh, 0, "ZSK30", 8);
    putC(bh, 8, 5);
    putT(bh, 9, "C:\\x.ext", 64);
    putI(bh, 73, 2);
    putI(bh, 75, 14);
    putT(bh, 77 + 9, "a.srw", 64);
    putI(bh, 77 + 201, 9);
    putI(bh, 77 + 203, 6);
    putS(bh, 77 + 217, 50.0f);
    putS(bh, 309, 250.0f);
    putI(bh, 317, 7);
    putS(bh, 323, 15.0f);
    expectRoundTrip(h, bh);
}

TEST(RecordLayout, ResultRecords) {
    ElementRecord e;
    e.Code = "SE 40/40";
    e.Kind = "s";
    e.Tips = 2;
    e.SegmentStart = 3.0f;
    e.PortIndex = 1;
    const float results[17] = {0.5f, 0.3f, 1.0f, 0.1f, 0.2f, 0.3f, 150.0f, 160.0f, 170.0f,
                               -2.5f, 0.45f, 0.01f, 0.02f, 0.03f, 0.1f, 0.2f, 0.3f};
    float* fields[17] = {&e.StarvationPoint, &e.FillLeft,       &e.FillRight,     &e.PressureStart,
                         &e.PressureStarvation, &e.PressureEnd, &e.TempStart,     &e.TempStarvation,
                         &e.TempEnd,          &e.TableValue1,   &e.TableValue2,   &e.ResTimeStart,
                         &e.ResTimeStarvation, &e.ResTimeEnd,   &e.PowerStart,    &e.PowerStarvation,
                         &e.PowerEnd};
    for (int i = 0; i < 17; ++i) *fields[i] = results[i];
    Bytes be(119);
    putT(be, 0, "SE 40/40", 16);
    putC(be, 16, 's');
    putI(be, 21, 2);
    putS(be, 35, 3.0f);
    putI(be, 49, 1);
    // Offsets 51, 55, ..., 115 in the documented order.
    for (int i = 0; i < 17; ++i) putS(be, 51 + 4 * i, results[i]);
    expectRoundTrip(e, be);
    // The analysed part is the first 51 bytes.
    Bytes head(be.begin(), be.begin() + 51);
    EXPECT_TRUE(unpack<AnalysisRecord>(head) == static_cast<const AnalysisRecord&>(e));

    RunState s;
    s.MeltStartElement = 3;
    s.AuxElementIndex = 2;
    s.MeltEndElement = 9;
    s.MeltStartPosition = 0.75f;
    s.MeltEndPosition = 1.5f;
    s.LastProfileRow = 40;
    Bytes bs(16);
    putI(bs, 0, 3);
    putI(bs, 2, 2);
    putI(bs, 4, 9);
    putS(bs, 6, 0.75f);
    putS(bs, 10, 1.5f);
    putI(bs, 14, 40);
    expectRoundTrip(s, bs);

    MeltProfileRow r{12.5f, 0.4f, 1.2f, 180.0f, 3.5f, 99.0f};
    Bytes br(24);
    putS(br, 0, 12.5f);
    putS(br, 4, 0.4f);
    putS(br, 8, 1.2f);
    putS(br, 12, 180.0f);
    putS(br, 16, 3.5f);
    putS(br, 20, 99.0f);
    expectRoundTrip(r, br);
}

TEST(Calc1Records, ValuesStandAtTheStartOfZeroFilledRecords) {
    Calc1Values v;
    v.ScrewRadius = 15.0f;
    v.CenterlineRatio = 1.7f;
    v.TipCount = 2;
    v.PortCount = 3;
    v.EndZoneLength = 0.5f;
    v.ParameterFile = "C:\\p.prm";
    v.ExtruderFile = "C:\\e.ext";
    v.ExtruderCategory = "ZSK30";
    v.DieFile = "";
    auto recs = v.toRecords();
    ASSERT_EQ(recs.size(), 9u);
    for (const auto& r : recs) EXPECT_EQ(r.size(), 128u);

    Bytes r1(128), r3(128), r6(128), r9(128);
    putS(r1, 0, 15.0f);
    putI(r3, 0, 2);
    putI(r6, 0, 8);
    putT(r6, 2, "C:\\p.prm", 8);
    putI(r9, 0, 0);
    EXPECT_EQ(recs[0], r1);
    EXPECT_EQ(recs[2], r3);
    EXPECT_EQ(recs[5], r6);
    EXPECT_EQ(recs[8], r9);
    EXPECT_EQ(Calc1Values::fromRecords(recs), v);
}

TEST(Calc1Records, TextLengthLimits) {
    // 126 characters fill the record exactly.
    std::string full(126, 'p');
    Bytes r = calc1TextRecord(full);
    ASSERT_EQ(r.size(), 128u);
    EXPECT_EQ(r[0], 126);
    EXPECT_EQ(r[1], 0);
    EXPECT_EQ(r[127], 'p');
    EXPECT_EQ(calc1Text(r), full);

    // Longer texts are refused rather than spilling into the next record.
    try {
        calc1TextRecord(std::string(127, 'p'));
        ADD_FAILURE() << "127 characters accepted";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::kBadRecordLength);
    }

    // Garbage lengths read back as errors, never out of range.
    Bytes bad(128);
    putI(bad, 0, 500);
    EXPECT_THROW(calc1Text(bad), rt::Error);
    putI(bad, 0, -3);
    EXPECT_THROW(calc1Text(bad), rt::Error);
    Bytes shortRec(10);
    putI(shortRec, 0, 20);
    EXPECT_THROW(calc1Text(shortRec), rt::Error);
    EXPECT_THROW(Calc1Values::fromRecords({r, r}), rt::Error);
}
