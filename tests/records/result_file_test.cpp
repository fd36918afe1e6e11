#include "records/result_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>

#include "platform/rt/error.h"
#include "records/markers.h"

namespace fs = std::filesystem;
using records::ResultCheck;
using records::ResultData;
using records::ResultExtent;

namespace {

float f32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    float v;
    std::memcpy(&v, b.data() + at, 4);  // the test machine is little-endian, as the files are
    return v;
}
std::int16_t i16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

// A small consistent result: `segments` screw segments, the "p" row, and a
// "d" row when `withDie`; `ports` feed ports; profile rows 0..lastRow.
ResultData sampleResult(int segments, bool withDie, int ports, int lastRow) {
    ResultData d;
    d.header.Code = "LAB30";
    d.header.Marker = records::markerFor(records::FileKind::Analysis);
    d.header.ExtruderFile = "C:\\demo\\demo.ext";
    d.header.ExtruderHeader.Code = "LAB30";
    d.header.ExtruderHeader.Marker = records::markerFor(records::FileKind::Extruder);
    d.header.ExtruderHeader.TotalLength = 40.0f;
    d.header.RunConditions.ScrewSpeed = 300.0f;
    d.header.RunConditions.MeltEndElement = 3;
    d.header.RunConditions.TotalThroughput = 12.5f;
    for (int i = 1; i <= segments; ++i) {
        records::ElementRecord e;
        e.Code = "SE" + std::to_string(i);
        e.Kind = "s";
        e.SegmentStart = static_cast<float>(i);
        e.PressureEnd = 0.5f * static_cast<float>(i);
        e.PowerEnd = 100.0f + static_cast<float>(i);
        e.PortIndex = 1;
        d.elements.push_back(e);
    }
    records::ElementRecord p;
    p.Kind = "p";
    p.RegionCode = records::kEndZoneRegion;
    d.elements.push_back(p);
    if (withDie) {
        records::ElementRecord die;
        die.Kind = "d";
        die.RegionCode = records::kDieRegion;
        die.StarvationPoint = 0.75f;
        d.elements.push_back(die);
    }
    d.runState.MeltStartElement = 2;
    d.runState.AuxElementIndex = 7;
    d.runState.MeltEndElement = 3;
    d.runState.MeltEndPosition = 0.25f;
    d.runState.LastProfileRow = static_cast<std::int16_t>(lastRow);
    for (int j = 0; j <= lastRow; ++j) {
        records::MeltProfileRow row;
        row.AxialPosition = 10.0f + static_cast<float>(j);
        row.SolidFraction = 1.0f - 0.1f * static_cast<float>(j);
        row.Spare = -1.0f;
        d.profile.push_back(row);
    }
    d.solids.BulkDensity = 0.55f;
    d.solids.FeedTemperature = 25.0f;
    d.melting.MeltingTemperature = 165.0f;
    for (int k = 1; k <= ports; ++k) {
        records::PortRecord port;
        port.FlowRate = 10.0f * static_cast<float>(k);
        port.PowerLawIndex = 0.4f;
        d.ports.push_back(port);
    }
    for (const char* code : {"LAB30", "Screw Root", "SE1", "Screw Head"}) {
        records::ScrewRec s;
        s.Code = code;
        d.screw.push_back(s);
    }
    for (const char* type : {"\x02", "H", "P", "V"}) {
        records::BarrelRec b;
        b.Type = type;
        b.Length = 4.0f;
        d.barrel.push_back(b);
    }
    if (withDie) {
        records::BarrelRec b;
        b.Type = "D";
        d.barrel.push_back(b);
    }
    d.header.PortCount = static_cast<std::int16_t>(ports);
    d.header.ElementCount = static_cast<std::int16_t>(d.elements.size());
    d.header.ExtruderHeader.ScrewCount = static_cast<std::int16_t>(d.screw.size());
    d.header.ExtruderHeader.BarrelCount = static_cast<std::int16_t>(d.barrel.size());
    return d;
}

TEST(ResultFile, RoundTripWithDieAndTwoPortsPutsEveryBlockAtItsOffset) {
    const ResultData d = sampleResult(3, true, 2, 4);
    const auto bytes = records::packResult(d, ResultExtent::WithExtruder);
    const std::size_t nE = 5, M = 4, N = 2, nS = 4, nB = 5;
    const std::size_t E = 327 + 119 * nE, P = E + 16 + 24 * (M + 1), Q = P + 56 + 44 * N;
    ASSERT_EQ(bytes.size(), Q + 39 * nS + 36 * nB);

    EXPECT_EQ(bytes[8], 5);                                        // marker
    EXPECT_EQ(i16At(bytes, 73), 2);                                // N
    EXPECT_EQ(i16At(bytes, 75), 5);                                // nE
    EXPECT_EQ(i16At(bytes, 77 + 201), 4);                          // nS of the copy
    EXPECT_EQ(i16At(bytes, 77 + 203), 5);                          // nB of the copy
    EXPECT_EQ(f32At(bytes, 309), 300.0f);                          // screw speed
    EXPECT_EQ(i16At(bytes, 317), 3);                               // melt-end element
    EXPECT_EQ(f32At(bytes, 323), 12.5f);                           // throughput
    EXPECT_EQ(f32At(bytes, 327 + 119 * 1 + 71), 1.0f);             // element 2 PressureEnd
    EXPECT_EQ(bytes[327 + 119 * 3 + 16], 'p');                     // element 4 kind
    EXPECT_EQ(bytes[327 + 119 * 4 + 16], 'd');
    EXPECT_EQ(f32At(bytes, 327 + 119 * 4 + 51), 0.75f);            // die StarvationPoint
    EXPECT_EQ(i16At(bytes, E + 2), 7);                             // AuxElementIndex kept
    EXPECT_EQ(f32At(bytes, E + 10), 0.25f);                        // MeltEndPosition
    EXPECT_EQ(i16At(bytes, E + 14), 4);                            // LastProfileRow
    EXPECT_EQ(f32At(bytes, E + 16 + 24 * 4), 14.0f);               // row 4 position
    EXPECT_EQ(f32At(bytes, P), 0.55f);
    EXPECT_EQ(f32At(bytes, P + 40 + 8), 165.0f);
    EXPECT_EQ(f32At(bytes, P + 56 + 44), 20.0f);                   // port 2 flow
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[Q + 39]), 10), "Screw Root");
    EXPECT_EQ(bytes[Q + 39 * nS + 36 * 4 + 23], 'D');              // die barrel record

    ResultData back;
    ASSERT_EQ(records::parseResult(bytes, ResultExtent::WithExtruder, back), ResultCheck::Ok);
    EXPECT_EQ(back, d);
}

TEST(ResultFile, WithoutDieAndTheWorkFileBeforeTheExtruderIsAppended) {
    ResultData d = sampleResult(2, false, 1, 0);
    ASSERT_EQ(d.elements.back().Kind, "p");
    const auto work = records::packResult(d, ResultExtent::UpToPorts);
    EXPECT_EQ(work.size(), 327 + 119 * 3 + 16 + 24 + 56 + 44u);
    ResultData back;
    ASSERT_EQ(records::parseResult(work, ResultExtent::UpToPorts, back), ResultCheck::Ok);
    EXPECT_TRUE(back.screw.empty());
    EXPECT_EQ(back.elements, d.elements);
    EXPECT_EQ(back.profile.size(), 1u);
    // A complete reader wants the extruder records the copy announces.
    EXPECT_EQ(records::parseResult(work, ResultExtent::WithExtruder, back), ResultCheck::NotAResultFile);
    // A complete result also serves a reader that stops after the ports.
    const auto full = records::packResult(d, ResultExtent::WithExtruder);
    ASSERT_EQ(records::parseResult(full, ResultExtent::UpToPorts, back), ResultCheck::Ok);
    EXPECT_TRUE(back.barrel.empty());
    EXPECT_EQ(back.ports, d.ports);
}

TEST(ResultFile, WriterMakesCountsAgreeWithWhatFollows) {
    ResultData d = sampleResult(2, true, 2, 2);
    d.header.ElementCount = 99;
    d.header.PortCount = 1;
    d.header.ExtruderHeader.ScrewCount = 0;
    ResultData back;
    ASSERT_EQ(records::parseResult(records::packResult(d, ResultExtent::WithExtruder), ResultExtent::WithExtruder,
                                   back),
              ResultCheck::Ok);
    EXPECT_EQ(back.header.ElementCount, 4);
    EXPECT_EQ(back.header.PortCount, 2);
    EXPECT_EQ(back.screw.size(), 4u);

    d.profile.resize(1);  // LastProfileRow 2 but one row
    EXPECT_THROW(records::packResult(d, ResultExtent::WithExtruder), rt::Error);
    d.runState.LastProfileRow = -1;
    EXPECT_THROW(records::packResult(d, ResultExtent::WithExtruder), rt::Error);
}

TEST(ResultFile, TruncatedPaddedInflatedAndGarbageFilesAreNotResultFiles) {
    const ResultData d = sampleResult(3, true, 2, 3);
    const auto good = records::packResult(d, ResultExtent::WithExtruder);
    ResultData out = sampleResult(1, false, 1, 0);
    const ResultData untouched = out;

    // Every shorter length, and one byte more.
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(records::parseResult(cut, ResultExtent::WithExtruder, out), ResultCheck::NotAResultFile) << n;
    }
    auto padded = good;
    padded.push_back(0);
    EXPECT_EQ(records::parseResult(padded, ResultExtent::WithExtruder, out), ResultCheck::NotAResultFile);
    EXPECT_EQ(records::parseResult(padded, ResultExtent::UpToPorts, out), ResultCheck::NotAResultFile);

    auto patched = [&](std::size_t at, std::int16_t v) {
        auto b = good;
        b[at] = static_cast<std::uint8_t>(v & 0xFF);
        b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
        return records::parseResult(b, ResultExtent::WithExtruder, out);
    };
    const std::size_t E = 327 + 119 * 5;
    EXPECT_EQ(patched(75, 32767), ResultCheck::NotAResultFile);      // element count inflated
    EXPECT_EQ(patched(75, -1), ResultCheck::NotAResultFile);
    EXPECT_EQ(patched(73, 32767), ResultCheck::NotAResultFile);      // port count
    EXPECT_EQ(patched(73, -3), ResultCheck::NotAResultFile);
    EXPECT_EQ(patched(77 + 201, 32767), ResultCheck::NotAResultFile);  // screw records
    EXPECT_EQ(patched(77 + 203, -32768), ResultCheck::NotAResultFile);  // barrel records
    EXPECT_EQ(patched(E + 14, 32767), ResultCheck::NotAResultFile);  // profile rows
    EXPECT_EQ(patched(E + 14, -1), ResultCheck::NotAResultFile);

    auto wrongMarker = good;
    wrongMarker[8] = 4;
    EXPECT_EQ(records::parseResult(wrongMarker, ResultExtent::WithExtruder, out), ResultCheck::NotAResultFile);

    std::vector<std::uint8_t> garbage(4000);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    garbage[8] = 5;
    EXPECT_EQ(records::parseResult(garbage, ResultExtent::WithExtruder, out), ResultCheck::NotAResultFile);
    EXPECT_EQ(out, untouched);
}

class ResultFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velkor_result_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(ResultFileOnDisk, WrittenWholeAndReadBack) {
    const std::string path = (dir_ / "flow.tmp").string();
    // A longer old file is replaced, not written over.
    std::ofstream(path, std::ios::binary) << std::string(20000, 'x');
    const ResultData d = sampleResult(4, true, 2, 5);
    records::writeResultFile(path, d, ResultExtent::WithExtruder);
    EXPECT_EQ(fs::file_size(path), records::packResult(d, ResultExtent::WithExtruder).size());
    ResultData back;
    ASSERT_EQ(records::readResultFile(path, ResultExtent::WithExtruder, back), ResultCheck::Ok);
    EXPECT_EQ(back, d);

    const std::string missing = (dir_ / "none.flw").string();
    EXPECT_THROW(records::readResultFile(missing, ResultExtent::WithExtruder, back), rt::Error);
    EXPECT_FALSE(fs::exists(missing));

    const std::string big = (dir_ / "big.flw").string();
    {
        std::ofstream o(big, std::ios::binary);
        o.seekp(64 * 1024 * 1024);
        o.put('\0');
    }
    EXPECT_EQ(records::readResultFile(big, ResultExtent::WithExtruder, back), ResultCheck::NotAResultFile);
}

}  // namespace
