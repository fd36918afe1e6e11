#include "simulation/tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// value(q, k) of a synthetic row: k = 1 .. 10 is the value for n = (11 - k) / 10.
using ValueFn = std::function<float(float q, int k)>;

struct SyntheticRecord {
    std::string key;
    float q0 = -0.25f;  // q of row 2; rows step by dq
    float dq = 0.01f;
    ValueFn value = [](float q, int k) { return 100.0f * q + static_cast<float>(k); };
    ValueFn row1 = [](float, int k) { return 0.01f * static_cast<float>(k); };
};

void putFloat(std::vector<char>& out, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

std::vector<char> packRecord(const SyntheticRecord& r) {
    std::vector<char> out;
    std::string key = r.key;
    key.resize(sim::kTableKeySize, ' ');
    out.insert(out.end(), key.begin(), key.end());
    putFloat(out, 0.0f);
    for (int k = 1; k <= 10; ++k) putFloat(out, r.row1(0.0f, k));
    for (int row = 2; row <= 52; ++row) {
        const float q = r.q0 + r.dq * static_cast<float>(row - 2);
        putFloat(out, q);
        for (int k = 1; k <= 10; ++k) putFloat(out, r.value(q, k));
    }
    return out;
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velkor_tables_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "screwflw");
        fs::create_directories(dir_ / "kneadflw");
        source_.appDir = dir_.string() + "/";
        source_.category = "LAB30";
        source_.notify = [this](const std::string& text, const std::string& title) {
            messages_.emplace_back(text, title);
        };
        source_.closeCalculation = [this] { ++closed_; };
    }
    void TearDown() override { fs::remove_all(dir_); }

    void writeTable(const std::string& sub, const std::string& ext, const std::vector<SyntheticRecord>& recs,
                    std::size_t cutBytes = 0) {
        std::vector<char> bytes;
        for (const auto& r : recs) {
            auto p = packRecord(r);
            bytes.insert(bytes.end(), p.begin(), p.end());
        }
        if (cutBytes > 0 && cutBytes <= bytes.size())
            bytes.erase(bytes.end() - static_cast<std::ptrdiff_t>(cutBytes), bytes.end());
        std::ofstream(dir_ / sub / ("LAB30" + ext), std::ios::binary).write(bytes.data(),
                                                                           static_cast<std::streamsize>(bytes.size()));
    }
    void writeScrew(const std::vector<SyntheticRecord>& recs) {
        writeTable("screwflw", ".dp1", recs);
        writeTable("screwflw", ".het", recs);
    }

    fs::path dir_;
    sim::TableSource source_;
    std::vector<std::pair<std::string, std::string>> messages_;
    int closed_ = 0;
};

const float kN1 = 1.0f;
const float kN01 = 0.1f;

TEST_F(TableTest, CapAtExactlyQuarterIsSilentAndAboveItEachLookupSaysSoOnce) {
    writeScrew({{"SE42/"}});
    auto r = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.25, kN1);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(sim::LookupFlowRate, 0.25f);
    EXPECT_FLOAT_EQ(r.value, 26.0f);

    sim::ReadFlowTable(source_, "S", "SE42/42", 0.30, kN1);
    sim::ReadFlowTable2(source_, "s", "SE42/42", 0.30, kN1);
    auto h = sim::ReadHeatTable(source_, "S", "SE42/42", 7.0, kN1);
    sim::ReadHeatTable(source_, "S", "SE42/42", std::nan(""), kN1);
    ASSERT_EQ(messages_.size(), 4u);
    EXPECT_EQ(messages_[0].first, "Flow rate too large. Default maximum is used");
    EXPECT_EQ(messages_[1].first, "Flow rate too large. default maximum is used.");
    EXPECT_EQ(messages_[2].first, "Flow rate too large. Default maximun is used.");
    EXPECT_EQ(messages_[3].first, "Flow rate too large. Default maximun is used.");  // not a number
    for (auto& m : messages_) EXPECT_EQ(m.second, "Calculation");
    EXPECT_EQ(sim::LookupFlowRate, 0.25f);
    EXPECT_FLOAT_EQ(h.value, 26.0f);  // the capped rate is the one looked up
    EXPECT_EQ(closed_, 0);
}

TEST_F(TableTest, ExactRowToleranceAndInterpolationBetweenRows) {
    SyntheticRecord rec{"SE42/"};
    rec.value = [](float q, int k) { return 1000.0f * q * q + static_cast<float>(k); };  // curved in q
    writeScrew({rec});
    const float rowQ = -0.25f + 0.01f * 30.0f;  // row 32
    const float rowValue = 1000.0f * rowQ * rowQ + 1.0f;
    auto exact = sim::ReadHeatTable(source_, "S", "SE42/42", rowQ + 0.5e-5, kN1);
    EXPECT_EQ(exact.value, rowValue);
    auto between = sim::ReadHeatTable(source_, "S", "SE42/42", rowQ + 5e-3, kN1);
    const float nextQ = -0.25f + 0.01f * 31.0f;
    const double expected = (rowValue * (nextQ - (rowQ + 5e-3f)) +
                             (1000.0f * nextQ * nextQ + 1.0f) * ((rowQ + 5e-3f) - rowQ)) /
                            (nextQ - rowQ);
    EXPECT_NEAR(between.value, expected, 1e-4);
    EXPECT_NE(between.value, 1000.0 * (rowQ + 5e-3) * (rowQ + 5e-3) + 1.0);  // chord, not the curve
}

TEST_F(TableTest, BelowTheFirstRowIsTheLineFromZeroAndEqualRowsDoNotDivideByZero) {
    SyntheticRecord rec{"SE42/"};
    rec.q0 = 0.02f;
    writeScrew({rec});
    const float rowValue = 100.0f * 0.02f + 1.0f;
    auto r = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.005, kN1);
    EXPECT_NEAR(r.value, rowValue * 0.005 / 0.02, 1e-5);

    SyntheticRecord atZero{"SE28/"};
    atZero.q0 = 0.0f;
    writeScrew({atZero});
    auto z = sim::ReadFlowTable2(source_, "S", "SE28/28", -0.1, kN1);
    ASSERT_TRUE(z.found());
    EXPECT_TRUE(std::isfinite(z.value));
    EXPECT_FLOAT_EQ(z.value, 1.0f);  // the row's own value
}

TEST_F(TableTest, GridEndsReturnStoredValuesAndRowOneGivesDragCapacity) {
    writeScrew({{"SE42/"}});
    auto n1 = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.0, kN1);
    auto n01 = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.0, kN01);
    EXPECT_FLOAT_EQ(n1.value, 1.0f);
    EXPECT_NEAR(n01.value, 10.0f, 1e-4);
    auto mid = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.0, 0.55f);
    EXPECT_NEAR(mid.value, 5.5, 1e-3);  // values linear in n: the polynomial is the line

    // Row 1: value k = 0.01 k, whatever the flow rate.
    auto d1 = sim::ReadFlowTable(source_, "S", "SE42/42", 0.1, kN1);
    auto d2 = sim::ReadFlowTable(source_, "S", "SE42/42", -0.2, kN1);
    EXPECT_FLOAT_EQ(d1.value, 0.01f);
    EXPECT_EQ(d1.value, d2.value);
    EXPECT_TRUE(d1.hasValue);
}

TEST_F(TableTest, ContinuationAcrossMatchingRecordsCarriesThePreviousRow) {
    SyntheticRecord low{"SE42/"};
    low.q0 = -0.5f;  // rows -0.5 .. 0.0, all below the flow rate
    low.value = [](float, int k) { return 2.0f * static_cast<float>(k); };
    SyntheticRecord other{"SE28/"};
    other.value = [](float, int) { return -77.0f; };
    SyntheticRecord high{"SE42/ continued"};
    high.q0 = 0.1f;
    high.value = [](float, int k) { return 5.0f * static_cast<float>(k); };
    writeScrew({low, other, high});
    auto r = sim::ReadHeatTable(source_, "S", "SE42/42", 0.05, kN1);
    ASSERT_TRUE(r.found());
    // Previous row: q = 0 (end of the first record), value 2; this row: q = 0.1, value 5.
    EXPECT_NEAR(r.value, (2.0 * (0.1 - 0.05) + 5.0 * (0.05 - 0.0)) / 0.1, 1e-5);

    // Beyond every row of every matching record: no value, reported.
    writeScrew({low});
    auto beyond = sim::ReadHeatTable(source_, "S", "SE42/42", 0.2, kN1);
    EXPECT_FALSE(beyond.hasValue);
    EXPECT_EQ(beyond.miss, sim::TableMiss::FlowRateBeyondRows);
    EXPECT_EQ(beyond.value, 0.0);
}

TEST_F(TableTest, KeyRules) {
    using sim::TableKeyMatches;
    // "S" codes search up to their first "/".
    EXPECT_TRUE(TableKeyMatches("XX/SE42/", "S", "SE42/42"));
    EXPECT_FALSE(TableKeyMatches("SE28/", "S", "SE42/42"));
    // Without "/" the search text is empty: every key matches.
    EXPECT_TRUE(TableKeyMatches("ANYTHING", "S", "PLAIN"));
    // "LH" must stand at the key's second character or later.
    EXPECT_FALSE(TableKeyMatches("LHSE20/LH", "S", "SE20/20LH"));
    EXPECT_TRUE(TableKeyMatches("SE20/LH", "S", "SE20/20LH"));
    EXPECT_FALSE(TableKeyMatches("SE20/", "S", "SE20/20LH"));
    // A right-handed code takes a left-handed key too (tables list right first).
    EXPECT_TRUE(TableKeyMatches("SE20/LH", "S", "SE20/20"));
    // "K" searches the whole code, "LH" included; case-sensitive.
    EXPECT_TRUE(TableKeyMatches("KB45/5/30LH", "K", "KB45/5/30LH"));
    EXPECT_FALSE(TableKeyMatches("KB45/5/30", "K", "KB45/5/30LH"));
    EXPECT_TRUE(TableKeyMatches("KB45/5/30LH", "k", "KB45/5/30"));
    EXPECT_FALSE(TableKeyMatches("kb45/5/30", "K", "KB45/5/30"));
}

TEST_F(TableTest, LookupsFollowTheKeyRulesThroughTheFile) {
    SyntheticRecord lhFirst{"LHSE20/LH"};
    lhFirst.row1 = [](float, int) { return 1.0f; };
    SyntheticRecord lhSecond{"SE20/LH"};
    lhSecond.row1 = [](float, int) { return 2.0f; };
    writeScrew({lhFirst, lhSecond});
    EXPECT_FLOAT_EQ(sim::ReadFlowTable(source_, "S", "SE20/20LH", 0, kN1).value, 2.0f);
    EXPECT_FLOAT_EQ(sim::ReadFlowTable(source_, "S", "SE20/20", 0, kN1).value, 1.0f);  // "SE20/" found in both
    EXPECT_FLOAT_EQ(sim::ReadFlowTable(source_, "S", "NOSLASH", 0, kN1).value, 1.0f);  // first record
    EXPECT_EQ(sim::FindTableRecord(source_.appDir + "screwflw/LAB30.dp1", "S", "SE20/20LH"), 1);

    SyntheticRecord k1{"KB45/5/30"};
    k1.row1 = [](float, int) { return 3.0f; };
    SyntheticRecord k2{"KB45/5/30LH"};
    k2.row1 = [](float, int) { return -3.0f; };
    writeTable("kneadflw", ".dp1", {k1, k2});
    EXPECT_FLOAT_EQ(sim::ReadFlowTable(source_, "K", "KB45/5/30", 0, kN1).value, 3.0f);
    EXPECT_FLOAT_EQ(sim::ReadFlowTable(source_, "k", "KB45/5/30LH", 0, kN1).value, -3.0f);
    auto none = sim::ReadFlowTable(source_, "K", "KB90/5/30", 0, kN1);
    EXPECT_EQ(none.value, -999.99);
    EXPECT_EQ(none.miss, sim::TableMiss::NoRecord);
    EXPECT_NE(none.missText().find("KB90/5/30"), std::string::npos);
    EXPECT_NE(none.missText().find("kneadflw"), std::string::npos);
}

TEST_F(TableTest, MissingEmptyAndCutShortTablesAreReportedAndNeverCreated) {
    auto missing = sim::ReadFlowTable(source_, "S", "SE42/42", 0.1, kN1);
    EXPECT_EQ(missing.value, -999.99);
    EXPECT_EQ(missing.miss, sim::TableMiss::NoTable);
    EXPECT_NE(missing.missText().find("SE42/42"), std::string::npos);
    EXPECT_NE(missing.missText().find("LAB30.dp1"), std::string::npos);
    auto missingHeat = sim::ReadHeatTable(source_, "S", "SE42/42", 0.1, kN1);
    EXPECT_FALSE(missingHeat.hasValue);
    EXPECT_EQ(missingHeat.value, 0.0);
    EXPECT_FALSE(fs::exists(dir_ / "screwflw" / "LAB30.dp1"));
    EXPECT_FALSE(fs::exists(dir_ / "screwflw" / "LAB30.het"));

    writeTable("screwflw", ".dp1", {});
    auto empty = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.1, kN1);
    EXPECT_EQ(empty.miss, sim::TableMiss::NoRecord);
    EXPECT_EQ(sim::ReadFlowTable(source_, "S", "SE42/42", 0.1, kN1).value, -999.99);

    // The record ends inside row 20; the flow rate lies beyond it.
    writeTable("screwflw", ".dp1", {{"SE42/"}}, 44 * 33 + 7);
    auto cut = sim::ReadFlowTable2(source_, "S", "SE42/42", 0.2, kN1);
    EXPECT_EQ(cut.miss, sim::TableMiss::RecordCutShort);
    EXPECT_FALSE(cut.hasValue);
    auto early = sim::ReadFlowTable2(source_, "S", "SE42/42", -0.2, kN1);
    EXPECT_TRUE(early.found());  // rows before the cut still serve
    writeTable("screwflw", ".dp1", {{"SE42/"}}, 2416 - 130);  // key and 2 bytes of row 1
    EXPECT_EQ(sim::ReadFlowTable(source_, "S", "SE42/42", 0.2, kN1).miss, sim::TableMiss::RecordCutShort);
    EXPECT_EQ(sim::ReadFlowTable(source_, "S", "SE42/42", 0.2, kN1).value, -999.99);
}

// A valid first record, then a second record cut at every length: every
// lookup of the second element returns a stored value or reports the miss.
TEST_F(TableTest, SecondRecordCutAtEveryLengthNeverGivesAValueFromBeyondTheFile) {
    const SyntheticRecord first{"SE42/"};
    SyntheticRecord second{"SE70/"};
    second.row1 = [](float, int k) { return 0.5f + 0.01f * static_cast<float>(k); };
    for (std::size_t cut = 0; cut <= sim::kTableRecordSize; ++cut) {
        writeTable("screwflw", ".dp1", {first, second}, cut);
        writeTable("screwflw", ".het", {first, second}, cut);
        SCOPED_TRACE("second record cut by " + std::to_string(cut) + " bytes");
        const std::size_t kept = sim::kTableRecordSize - cut;  // bytes of the second record in the file

        auto drag = sim::ReadFlowTable(source_, "S", "SE70/70", 0.0, kN1);
        if (cut == 0) {
            EXPECT_FLOAT_EQ(static_cast<float>(drag.value), 0.51f);  // row 1 at n = 1.0 is value k = 1
        } else if (kept < sim::kTableKeySize) {
            EXPECT_EQ(drag.miss, sim::TableMiss::NoRecord);
            EXPECT_EQ(drag.value, -999.99);
        } else {
            EXPECT_EQ(drag.miss, sim::TableMiss::RecordCutShort);
            EXPECT_EQ(drag.value, -999.99);
        }
        // Row r (2..52) lies at q = -0.25 + 0.01 (r - 2): q = 0.2 is row 47.
        const std::size_t rowsNeeded = sim::kTableKeySize + 47 * 44;
        for (auto lookup : {&sim::ReadFlowTable2, &sim::ReadHeatTable}) {
            auto r = lookup(source_, "S", "SE70/70", 0.2, kN1);
            if (kept >= rowsNeeded) {
                ASSERT_TRUE(r.found());
                EXPECT_NEAR(r.value, 100.0 * 0.2 + 1.0, 1e-4);
            } else {
                EXPECT_FALSE(r.hasValue);
                EXPECT_EQ(r.miss, kept < sim::kTableKeySize ? sim::TableMiss::NoRecord
                                                            : sim::TableMiss::RecordCutShort);
            }
        }
        // The first element's record is whole and unaffected.
        EXPECT_FLOAT_EQ(static_cast<float>(sim::ReadFlowTable(source_, "S", "SE42/42", 0.0, kN1).value), 0.01f);
    }
}

TEST_F(TableTest, UnknownElementTypeShowsEachLookupsMessageAndHeatClosesTheWindow) {
    writeScrew({{"SE42/"}});
    auto a = sim::ReadFlowTable(source_, "X", "SE42/42", 0.1, kN1);
    auto b = sim::ReadFlowTable2(source_, "X", "SE42/42", 0.1, kN1);
    EXPECT_EQ(closed_, 0);
    auto c = sim::ReadHeatTable(source_, "", "SE42/42", 0.1, kN1);
    EXPECT_EQ(closed_, 1);
    ASSERT_EQ(messages_.size(), 3u);
    EXPECT_EQ(messages_[0].first, "Element file not defined");
    EXPECT_EQ(messages_[1].first, "Elements not defined");
    EXPECT_EQ(messages_[2].first, "Element type not defined");
    EXPECT_EQ(a.value, -999.99);
    EXPECT_EQ(a.miss, sim::TableMiss::UnknownType);
    EXPECT_FALSE(b.hasValue);
    EXPECT_EQ(c.miss, sim::TableMiss::UnknownType);
}

TEST_F(TableTest, GarbageTableNeverCrashes) {
    std::vector<char> junk(5000);
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    std::ofstream(dir_ / "screwflw" / "LAB30.het", std::ios::binary).write(junk.data(), 5000);
    auto r = sim::ReadHeatTable(source_, "S", "NOSLASH", 0.1, 0.5f);  // matches the first garbage key
    EXPECT_TRUE(r.found() || r.miss == sim::TableMiss::FlowRateBeyondRows ||
                r.miss == sim::TableMiss::RecordCutShort);
}

}  // namespace
